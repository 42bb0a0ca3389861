#!/usr/bin/env python3
"""End-to-end tests of the real morvel program in a real X server (Xvfb).

Only what needs a real X server is checked here: real input events, the menu's place on
the screen, the pointer images, the computer's real delay and
the real program writing and reading its real file. Everything else is proven in the
unit and window tests.

usage: e2e_test.py --program PATH --probe PATH --artifacts DIR
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xdriver import (AGAINST_COMPUTER, HAND, HIGH_LEVEL, HOURGLASS, LOAD_BUTTON,  # noqa: E402
                     SAVE_BUTTON, START_BUTTON, Failure, Session, board_shown, cell,
                     cell_centre, empty_cells, menu_shown, pieces, splash_shown)


def start_up_save_and_load(s):
    s.start_x()
    s.start_program()
    # The splash's four seconds are timed by the window tests.
    s.wait("the splash", splash_shown, timeout=10)
    s.wait("the game window with the menu centred over it", menu_shown, timeout=8)
    s.check("the splash is gone", not splash_shown(s.last))

    s.click(START_BUTTON)
    s.wait("the board", board_shown)
    s.click(cell_centre(1))
    s.wait("a blue disc on cell 1", lambda sh: cell(sh, 1) == (1, 1))
    s.click(cell_centre(2), button=3)
    s.wait("a red disc on cell 2 from the right button", lambda sh: cell(sh, 2) == (2, 1))
    s.click(SAVE_BUTTON)
    saved = os.path.join(s.folder, "hra.dat")
    s.wait("hra.dat beside the program", lambda sh: os.path.exists(saved))
    with open(saved, "rb") as f:  # owner and count of each cell: 1 1, then 2 1, then empty
        s.check("hra.dat holds the board",
                f.read() == b"".join(b" %d \r\n" % v for v in [1, 1, 2, 1] + [0] * 108))

    s.click(cell_centre(8))
    s.wait("a blue disc on cell 8", lambda sh: cell(sh, 8) == (1, 1))
    s.click(LOAD_BUTTON)
    s.wait("the saved board back on screen",
           lambda sh: cell(sh, 8) == (0, 0) and cell(sh, 1) == (1, 1) and cell(sh, 2) == (2, 1))

    s.key("Escape")
    s.wait("the menu after Esc", lambda sh: menu_shown(sh) and not board_shown(sh))
    status = s.quit()
    s.check("X ended the program with status 0 (got %s)" % status, status == 0)


def computer_at_high_level(s):
    s.start_x()
    s.start_program()
    s.wait("the menu", menu_shown, timeout=12)
    s.click(AGAINST_COMPUTER)
    s.click(HIGH_LEVEL)
    s.click(START_BUTTON)
    took = s.wait("the computer's opening piece", lambda sh: pieces(sh, 2) == 1, timeout=3)
    s.check("the opening came within about a second (%.2fs)" % took, took < 1.5)

    for turn in range(2):
        reds = pieces(s.shot(), 2)
        target = empty_cells(s.last)[-1 - 7 * turn]
        s.click(cell_centre(target))
        clicked = time.monotonic()
        s.wait("player 1's piece", lambda sh: cell(sh, target) == (1, 1))
        s.check("the pointer is the hourglass while the computer waits (%s)" % (s.pointer(),),
                s.pointer() == HOURGLASS)
        s.wait("one red piece more", lambda sh: pieces(sh, 2) == reds + 1, timeout=4)
        delay = time.monotonic() - clicked
        s.check("the computer answered about a second later (%.2fs)" % delay, 0.7 <= delay <= 2.5)
        time.sleep(0.3)
        s.check("exactly one red piece followed", pieces(s.shot(), 2) == reds + 1)
        s.check("the hand is back (%s)" % (s.pointer(),), s.pointer() == HAND)

    s.key("Escape")
    s.wait("the menu", menu_shown)
    s.check("X ended the program with status 0", s.quit() == 0)


SCENARIOS = {
    "start_up_save_and_load": start_up_save_and_load,
    "computer_at_high_level": computer_at_high_level,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()
    passed = failed = 0
    for name, scenario in SCENARIOS.items():
        session = Session(args, name)
        try:
            scenario(session)
            print("ok: " + name)
            passed += 1
        except Failure as e:
            print("FAIL: %s: %s" % (name, e))
            if session.program and session.program.poll() is not None:
                print("the program ended with status %s; it said:\n%s" % (
                    session.program.returncode,
                    session.program.stderr.read().decode(errors="replace")))
            failed += 1
        finally:
            session.stop()
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
