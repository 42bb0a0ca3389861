#!/usr/bin/env python3
"""Start-up time and memory of the real game under Xvfb.

usage: measure_game.py --program build/app/morvel --probe build/tools/cursor_probe [--runs N]

Prints the time from starting the process to the splash on screen (median of the runs),
and the resident memory of the running game with the menu shown and after a two-player
game of a few moves.
"""

import argparse
import statistics
import time

import xdriver as x


def resident_mib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    args.artifacts = "/tmp/morvel-measure"
    splash_times = []
    menu_rss = game_rss = 0.0
    for run in range(args.runs):
        session = x.Session(args, "measure")
        try:
            session.start_x()
            started = time.monotonic()
            session.start_program()
            session.wait("the splash", x.splash_shown, timeout=10)
            splash_times.append(time.monotonic() - started)
            session.wait("the menu", x.menu_shown, timeout=8)
            menu_rss = max(menu_rss, resident_mib(session.program.pid))
            session.click(x.START_BUTTON)
            session.wait("the board", x.board_shown)
            for n in (1, 2, 1, 2, 1, 2):
                session.click(x.cell_centre(n))
            session.wait("the moves", lambda sh: x.cell(sh, 1) == (1, 3))
            game_rss = max(game_rss, resident_mib(session.program.pid))
        finally:
            session.stop()
    print("start-up to splash: median %.0f ms over %d runs (min %.0f, max %.0f)"
          % (statistics.median(splash_times) * 1000, len(splash_times),
             min(splash_times) * 1000, max(splash_times) * 1000))
    print("resident memory: %.1f MiB with the menu shown, %.1f MiB during a game"
          % (menu_rss, game_rss))


if __name__ == "__main__":
    main()
