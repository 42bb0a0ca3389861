"""The browser build served on 127.0.0.1 as a static host serves it, and Debian's
Chromium driven headless against it: shared by the browser test and the budget tool."""
import functools
import http.server
import threading

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """A server of `folder` on a free port of 127.0.0.1, running in a thread."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(_Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def url(server):
    return "http://127.0.0.1:%d/index.html" % server.server_address[1]


def chromium(*arguments):
    """A fresh headless Chromium with a 1024 × 768 window."""
    options = Options()
    for argument in ["--headless=new", "--no-sandbox", "--disable-gpu",
                     "--window-size=1024,768", *arguments]:
        options.add_argument(argument)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
