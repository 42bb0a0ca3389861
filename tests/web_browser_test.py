#!/usr/bin/env python3
"""The browser build in a real headless Chromium, served on 127.0.0.1 as any static host
serves it: the splash and its four seconds, the menu's texts, a two-player game to its end
message and the menu after it, a game against the computer with the hourglass during its
delay and the hand after its move, #S# into the page's storage and #L# of a damaged save,
Esc during the computer's delay, "?" and "X", and a reload with the server gone.

    web_browser_test.py FOLDER
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from local_chromium import chromium, serve, url  # noqa: E402


class Failure(Exception):
    pass


class Page:
    def __init__(self, address):
        self.driver = chromium()
        self.driver.get(address)
        self.started = time.monotonic()

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def phase(self):
        return self.js("return document.body.dataset.phase || ''")

    def wait(self, what, test, timeout=6.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if test():
                return
            time.sleep(0.02)
        raise Failure("timed out waiting for " + what + " (phase " + self.phase() + ")")

    def check(self, what, ok):
        if not ok:
            raise Failure(what)

    def text(self, id):
        return self.js("return document.getElementById(arguments[0]).textContent", id)

    def click(self, id):
        self.js("document.getElementById(arguments[0]).click()", id)

    def press(self, column, row):
        """A press on the middle of a cell, as the mouse gives it (pointer events)."""
        self.js("""
            const [column, row] = arguments;
            const board = document.getElementById('plocha'), box = board.getBoundingClientRect();
            const at = {clientX: box.left + 12 + (column - 1) * 42.3,
                        clientY: box.top + 14 + (row - 1) * 42, bubbles: true, button: 0};
            board.dispatchEvent(new PointerEvent('pointerdown', at));""", column, row)

    def moves(self):
        return int(self.js("return Number(document.body.dataset.moves || 0)"))

    def cursor(self):
        return self.js("return getComputedStyle(document.getElementById('hra')).cursor")

    def box(self):
        return self.js("const b = document.getElementById('box');"
                       "return b.open ? document.getElementById('box-text').textContent : null")

    def menu_open(self):
        return self.js("return document.getElementById('nas').open")


def scenario(page):
    # The splash stands four seconds, then the game window with the menu.
    page.wait("the splash", lambda: page.js(
        "return !document.getElementById('logo').hidden"), 3)
    page.wait("the menu", page.menu_open, 8)
    shown = time.monotonic() - page.started
    page.check("the menu came after %.1f s, not after the splash's four" % shown, shown >= 3.9)
    texts = page.js("return [...document.querySelectorAll('#nas .option, #title')]"
                    ".map(e => e.textContent)")
    page.check("the menu reads " + repr(texts), texts == [
        "Morvel V1.3", "Hra dvou hráčů", "Hra hráč proti počítači", "Obtížnost malá",
        "Obtížnost velká"])
    page.check("the levels are greyed for two players",
               page.js("return document.querySelector('#obtt0 input').disabled"))

    # Two people to the end: player 1 fills (2,1), player 2 (1,1); the fifth piece wins.
    page.click("pp3")
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    page.check("the new game's labels", page.text("label-round") == "1kolo" and
               page.text("label-player") == "Hráč:1")
    for turn in range(4):
        page.press(2, 1)
        page.press(1, 1)
        page.check("round %d played" % (turn + 1), page.moves() == 2 * (turn + 1))
    page.check("the labels after the moves", page.text("label-round") == "5 kolo")
    page.press(2, 1)
    page.wait("the end message", lambda: page.box() == "Konec hry hráč 2 prohrál")
    page.js("document.getElementById('box-ok').focus()")
    page.click("box-ok")
    page.wait("the menu after the end message", page.menu_open)

    # Against the computer: the hourglass through its delay, the hand after its move.
    page.js("document.querySelector('#jhra1 input').click()")
    page.click("pp3")
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    page.check("the hand on the board", "hand.png" in page.cursor())
    before = page.moves()
    page.press(4, 4)
    page.check("the hourglass during the computer's delay", "hourglass.png" in page.cursor())
    time.sleep(0.5)
    page.check("the computer waits its delay", page.moves() == before + 1)
    page.wait("the computer's move", lambda: page.moves() == before + 2, 3)
    page.check("the hand after the computer's move", "hand.png" in page.cursor())

    # #S# keeps the board's text in the page's storage; a damaged one is refused.
    page.click("sav")
    saved = page.js("return localStorage.getItem('morvel.hra.dat')")
    page.check("the save's text", saved is not None and saved.count("\r\n") == 112)
    page.js("localStorage.setItem('morvel.hra.dat', ' 1 \\r\\n 9 \\r\\n')")
    page.click("nah")
    page.wait("the damaged save refused", lambda: (page.box() or "").startswith(
        "Hru se nepodařilo nahrát. "))
    page.click("box-ok")

    # Esc during the computer's delay: the menu, and no move of the computer.
    page.press(7, 8)
    moves = page.moves()
    page.js("document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape'}))")
    page.check("Esc brought the menu", page.menu_open())
    time.sleep(1.2)
    page.check("the computer did not move after Esc", page.moves() == moves)

    # "?" shows the information; Esc brings the menu back; "X" ends the game.
    page.click("info")
    page.check("the information text", page.phase() == "Information" and page.js(
        "return getComputedStyle(document.getElementById('information')).visibility")
        == "visible")
    page.js("document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape'}))")
    page.check("the menu after Esc", page.menu_open())
    page.click("command2")
    page.check("the page says the game has ended", page.js(
        "return !document.getElementById('ended').hidden"))


def offline(page, server):
    """Once opened, the game plays with the server gone: a reload starts it again."""
    page.wait("the service worker", lambda: page.js(
        "return navigator.serviceWorker.controller !== null"), 10)
    server.shutdown()
    server.server_close()
    page.driver.refresh()
    page.started = time.monotonic()
    page.wait("the menu, offline", page.menu_open, 10)
    page.click("pp3")
    page.wait("the board, offline", lambda: page.phase() == "PersonToMove")
    page.press(3, 3)
    page.check("a move, offline", page.moves() == 1)


def main():
    server = serve(sys.argv[1])
    page = Page(url(server))
    try:
        scenario(page)
        offline(page, server)
        print("web_browser_test: ok")
        return 0
    except Failure as failure:
        print("web_browser_test: FAIL: %s" % failure)
        return 1
    finally:
        page.driver.quit()


if __name__ == "__main__":
    sys.exit(main())
