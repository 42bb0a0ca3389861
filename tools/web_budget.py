#!/usr/bin/env python3
"""The browser build's budgets, measured: what the first load at a pixel ratio of 1
transfers with gzip (every file the page fetches there), the whole folder, and when the
splash is painted after navigation in headless Chromium on 127.0.0.1 (the median of
several loads, each in a fresh browser), and how long the page takes from a press on the
board to the board drawn again (the module's move, its effects, the canvas), over the moves
of a two-player game.

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
    moves = move_times(server)
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
    print("a press on the board to the board drawn again: median %.2f ms, the slowest %.2f ms,"
          " %d moves" % (statistics.median(moves), max(moves), len(moves)))


# Presses all over the board, each timed from the event to the end of its handler (which
# draws the canvas), as long as the game runs; only those that were moves count.
MOVES = """
const board = document.getElementById('plocha'), box = board.getBoundingClientRect();
const times = [];
let seed = 7;
const next = () => (seed = (seed * 1103515245 + 12345) % 2147483648, (seed >> 16) % 1000 / 1000);
while (times.length < 2000 && !document.getElementById('box').open) {
  const before = Number(document.body.dataset.moves || 0);
  const at = {clientX: box.left + next() * box.width, clientY: box.top + next() * box.height,
              bubbles: true, cancelable: true};
  const start = performance.now();
  board.dispatchEvent(new PointerEvent('pointerdown', at));
  const took = performance.now() - start;
  if (Number(document.body.dataset.moves || 0) > before) times.push(took);
}
return times;
"""


def move_times(server):
    driver = chromium("--force-device-scale-factor=1")
    driver.get(url(server))
    driver.execute_script("return new Promise(r => setTimeout(r, 4500))")
    driver.execute_script("document.getElementById('pp3').click()")
    driver.execute_script("return new Promise(r => setTimeout(r, 200))")
    times = driver.execute_script(MOVES)
    driver.quit()
    return times


if __name__ == "__main__":
    sys.exit(main())
