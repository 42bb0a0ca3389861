#!/usr/bin/env python3
"""End-to-end tests of the real morvel program in a real X server (Xvfb).

Only what needs a real X server is checked here: real input events, the menu's place on
the screen, the pointer images, the computer's real delay and
the real program writing and reading its real file. Everything else is proven in the
unit and window tests.

usage: e2e_test.py --program PATH --probe PATH --cli PATH --artifacts DIR
       e2e_test.py --wine FOLDER --probe PATH --artifacts DIR [--saved-in DIR]
                   [--start-with SHORTCUT] [--only SCENARIO]

With --wine, FOLDER holds the Windows program (an unpacked zip, or an installed copy); it
runs under Wine in the Wine prefix $WINEPREFIX. The save must land in --saved-in, by
default the program's folder.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import xdriver  # noqa: E402
from xdriver import (AGAINST_COMPUTER, HAND, HIGH_LEVEL, HOURGLASS, START_BUTTON,  # noqa: E402
                     Failure, Session, board_shown, cell, cell_centre, empty_cells, pieces,
                     splash_shown)


def to_the_menu(s):
    """Starts the program and waits for the menu over the game window."""
    s.start_x()
    s.start_program()
    s.wait("the menu", s.menu_up, timeout=12)
    s.wait("the game window", s.game_window_found)


def start_up_save_and_load(s):
    s.start_x()
    s.start_program()
    # The splash's four seconds are timed by the window tests.
    s.wait("the splash", splash_shown, timeout=10)
    s.wait("the game window with the menu centred over it", s.menu_up, timeout=8)
    # (Wine without a window manager takes two seconds to hide a window.)
    s.wait("the splash gone", lambda sh: not splash_shown(sh), timeout=4)
    s.wait("the game window", s.game_window_found)

    s.click(START_BUTTON)
    s.wait("the board", board_shown)
    s.click(cell_centre(1))
    s.wait("a blue disc on cell 1", lambda sh: cell(sh, 1) == (1, 1))
    s.click(cell_centre(2), button=3)
    s.wait("a red disc on cell 2 from the right button", lambda sh: cell(sh, 2) == (2, 1))
    s.click(xdriver.SAVE_BUTTON)
    if s.args.told_in_a_box:
        # A save that had to go elsewhere says where in a box; its OK closes it.
        s.wait("the box saying where the game was saved", s.box_up)
        s.key("Return")
        s.wait("the box closed", lambda sh: not s.box_up(sh))
    saved = os.path.join(s.args.saved_in or s.folder, "hra.dat")
    s.wait("hra.dat in " + os.path.dirname(saved), lambda sh: os.path.exists(saved))
    with open(saved, "rb") as f:  # owner and count of each cell: 1 1, then 2 1, then empty
        s.check("hra.dat holds the board",
                f.read() == b"".join(b" %d \r\n" % v for v in [1, 1, 2, 1] + [0] * 108))

    s.click(cell_centre(8))
    s.wait("a blue disc on cell 8", lambda sh: cell(sh, 8) == (1, 1))
    s.click(xdriver.LOAD_BUTTON)
    s.wait("the saved board back on screen",
           lambda sh: cell(sh, 8) == (0, 0) and cell(sh, 1) == (1, 1) and cell(sh, 2) == (2, 1))

    s.key("Escape")
    s.wait("the menu after Esc", lambda sh: s.menu_up(sh) and not board_shown(sh))
    status = s.quit()
    s.check("X ended the program with status 0 (got %s)" % status, status == 0)


def a_lost_save_comes_back(s):
    """hra.dat gone and the temporary file of its save left, as a pulled stick or a power
    cut leaves them on FAT: the load takes that file, and the next save puts hra.dat back
    and removes it."""
    to_the_menu(s)
    s.click(START_BUTTON)
    s.wait("the board", board_shown)
    s.click(cell_centre(9))
    s.wait("a blue disc on cell 9", lambda sh: cell(sh, 9) == (1, 1))
    s.click(xdriver.SAVE_BUTTON)
    saved = os.path.join(s.args.saved_in or s.folder, "hra.dat")
    s.wait("hra.dat in " + os.path.dirname(saved), lambda sh: os.path.exists(saved))
    left = saved + ".4242-0.tmp"
    os.replace(saved, left)
    an_hour_ago = time.time() - 3600
    os.utime(left, (an_hour_ago, an_hour_ago))

    s.click(cell_centre(10))
    s.wait("a red disc on cell 10", lambda sh: cell(sh, 10) == (2, 1))
    s.click(xdriver.LOAD_BUTTON)
    s.wait("the lost save back on screen", lambda sh: cell(sh, 10) == (0, 0) and
           cell(sh, 9) == (1, 1))
    s.click(xdriver.SAVE_BUTTON)
    s.wait("hra.dat back, and the temporary file gone",
           lambda sh: os.path.exists(saved) and not os.path.exists(left))
    s.key("Escape")
    s.wait("the menu after Esc", s.menu_up)
    status = s.quit()
    s.check("X ended the program with status 0 (got %s)" % status, status == 0)


def two_players_to_the_end(s):
    to_the_menu(s)
    s.click(START_BUTTON)
    s.wait("the board", board_shown)
    # Player 1 fills cell 2 while player 2 fills cell 1 beside it: player 1's fifth piece
    # bursts cell 2, which takes cell 1, which bursts in turn; player 2 has nothing left.
    for turn in range(4):
        s.click(cell_centre(2))
        s.click(cell_centre(1))
        s.wait("round %d played" % (turn + 1),
               lambda sh: cell(sh, 2) == (1, turn + 1) and cell(sh, 1) == (2, turn + 1))
    s.click(cell_centre(2))
    s.wait("the end message", s.box_up)
    s.check("player 2 has no piece left", pieces(s.shot(), 2) == 0)
    s.key("Return")
    s.wait("the menu after the end message", s.menu_up)
    s.check("X ended the program with status 0", s.quit() == 0)


def computer_at_low_level(s):
    to_the_menu(s)
    s.click(AGAINST_COMPUTER)
    s.click(START_BUTTON)
    s.wait("the board", board_shown)
    s.check("the person opens at the low level", pieces(s.shot(), 2) == 0)
    s.click(cell_centre(25))
    s.wait("player 1's piece", lambda sh: cell(sh, 25) == (1, 1))
    s.check("the hourglass while the computer waits (%s)" % (s.pointer(),),
            s.pointer() == HOURGLASS)
    s.wait("the computer's answer", lambda sh: pieces(sh, 2) == 1, timeout=4)
    time.sleep(0.3)
    s.check("the hand is back (%s)" % (s.pointer(),), s.pointer() == HAND)
    s.key("Escape")
    s.wait("the menu", s.menu_up)
    s.check("X ended the program with status 0", s.quit() == 0)


def computer_at_high_level(s):
    to_the_menu(s)
    s.click(AGAINST_COMPUTER)
    s.click(HIGH_LEVEL)
    s.click(START_BUTTON)
    # (Under Wine without a window manager, the menu takes two seconds to go: Wine waits
    # that long for a manager to confirm it has hidden the window.)
    s.wait("the board", board_shown, timeout=5)
    took = s.wait("the computer's opening piece", lambda sh: pieces(sh, 2) == 1, timeout=3)
    s.check("the computer opened at once, not after its delay (%.2fs)" % took, took < 0.8)

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
    s.wait("the menu", s.menu_up)
    s.check("X ended the program with status 0", s.quit() == 0)


def from_the_start_menu(s):
    """Started through its shortcut (--start-with): the splash, the menu, and "X" closes the
    game window."""
    s.start_x()
    s.start_program()
    s.wait("the splash", splash_shown, timeout=15)
    s.wait("the menu", s.menu_up, timeout=8)
    s.click(xdriver.QUIT_BUTTON)
    s.wait("the game window gone after X", lambda sh: s.window(xdriver.GAME_TITLE) is None)


SCENARIOS = {
    "start_up_save_and_load": start_up_save_and_load,
    "a_lost_save_comes_back": a_lost_save_comes_back,
    "two_players_to_the_end": two_players_to_the_end,
    "computer_at_low_level": computer_at_low_level,
    "computer_at_high_level": computer_at_high_level,
    "from_the_start_menu": from_the_start_menu,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program")
    parser.add_argument("--wine")
    parser.add_argument("--probe", required=True)
    parser.add_argument("--cli")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--only", help="run this scenario alone")
    parser.add_argument("--saved-in", help="the folder the save must land in (default: the "
                        "program's own)")
    parser.add_argument("--told-in-a-box", action="store_true", help="the save is refused "
                        "where it was asked for, and a box says where it went instead")
    parser.add_argument("--start-with", help="under Wine, start the program through this "
                        "Windows shortcut (the .lnk file's path on this machine)")
    args = parser.parse_args()
    passed = failed = 0
    for name, scenario in SCENARIOS.items():
        # Through a shortcut only that scenario runs, and only through one that one.
        if (args.only and name != args.only) or ((name == "from_the_start_menu") !=
                                                 bool(args.start_with)):
            continue
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
