#!/usr/bin/env python3
"""Start-up time and memory of the real game under Xvfb.

usage: measure_game.py --program build/app/morvel --probe build/tools/cursor_probe
                       [--baseline build/tools/empty-window] [--runs N]

Prints the time from starting the process to its first window on screen and the resident
memory at that moment (medians of the runs), the same for the baseline (the smallest Qt
window with one label) when given, the time to the splash, and the resident memory of the
running game with the menu shown and after a two-player game of a few moves.
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


def first_window(shot):
    """Anything drawn on the black screen of a fresh Xvfb: a window has appeared."""
    for y in range(0, shot.height, 16):
        for x in range(0, shot.width, 16):
            if shot.at(x, y) != (0, 0, 0):
                return True
    return False


def first_window_of(session, program):
    """Seconds from starting `program` to its first window on screen, and MiB resident then."""
    session.start_x()
    started = time.monotonic()
    session.start_program(program)
    session.wait("a window", first_window, timeout=10)
    return time.monotonic() - started, resident_mib(session.program.pid)


def median_line(what, samples):
    times, memory = zip(*samples)
    return ("%s: first window after %.0f ms (min %.0f, max %.0f), %.1f MiB resident then"
            % (what, statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000,
               statistics.median(memory)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--baseline")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    args.artifacts = "/tmp/morvel-measure"
    firsts = {"game": [], "baseline": []}
    for run in range(args.runs):
        for what, program in (("game", args.program), ("baseline", args.baseline)):
            if not program:
                continue
            session = x.Session(args, "measure")
            try:
                firsts[what].append(first_window_of(session, program))
            finally:
                session.stop()
    print(median_line("morvel", firsts["game"]))
    if args.baseline:
        print(median_line("an empty Qt window with one label", firsts["baseline"]))
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
