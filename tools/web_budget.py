#!/usr/bin/env python3
"""The browser build's budgets, measured: what the first load at a pixel ratio of 1
transfers with gzip (every file the page fetches there), the whole folder, and when the
splash is painted after navigation in headless Chromium on 127.0.0.1 (the median of
several loads, each in a fresh browser).

    tools/web_budget.py FOLDER [LOADS]
"""
import gzip
import os
import statistics
import sys

from local_chromium import chromium, serve, url


def main():
    folder = sys.argv[1]
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    server = serve(folder)
    paints, fetched = [], set()
    for _ in range(loads):
        driver = chromium("--force-device-scale-factor=1")
        driver.get(url(server))
        driver.execute_script("return new Promise(r => setTimeout(r, 4500))")
        paints.append(driver.execute_script(
            "const e = performance.getEntriesByName('first-contentful-paint')[0];"
            "return e ? e.startTime : -1"))
        fetched |= {os.path.basename(e) if "/icons/" not in e else "icons/" + os.path.basename(e)
                    for e in driver.execute_script(
                        "return [location.href].concat(performance.getEntriesByType('resource')"
                        ".map(e => e.name))")}
        driver.quit()
    server.shutdown()
    first = 0
    for name in sorted(fetched):
        path = os.path.join(folder, name.split("?")[0])
        if os.path.isfile(path):
            with open(path, "rb") as f:
                first += len(gzip.compress(f.read(), 9))
    whole = sum(os.path.getsize(os.path.join(d, f)) for d, _, files in os.walk(folder)
                for f in files)
    print("first load at a pixel ratio of 1: %d files, %.0f KB with gzip (budget 500 KB)"
          % (len(fetched), first / 1024))
    print("the whole folder: %.0f KB (budget 1536 KB)" % (whole / 1024))
    print("the splash painted after %.0f ms, median of %d loads (budget 150 ms): %s"
          % (statistics.median(paints), loads, ", ".join("%.0f" % p for p in paints)))


if __name__ == "__main__":
    sys.exit(main())
