#!/usr/bin/env python3
"""Screenshots of the real game under Xvfb, for the README.

usage: screenshots.py --program build/app/morvel --probe build/tools/cursor_probe [--out docs]

Writes menu.png (the menu over the tiled background, as the game starts) and game.png
(a two-player game in progress: pieces of both players, a burst, the balance bar).
"""

import argparse
import os
import subprocess
import sys

import xdriver as x

# Cells clicked in turn by player 1 and player 2. Player 1's fifth piece on cell 25 bursts
# and takes two of player 2's cells, so the balance bar leans to player 1.
MOVES = [25, 26, 25, 32, 25, 50, 25, 51, 25, 50, 10, 44, 3, 52, 2, 44, 40, 43]


def save_png(shot, path):
    subprocess.run(["convert", "xwd:-", path], input=shot.raw, check=True)
    print("wrote", path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", default="docs")
    args = parser.parse_args()
    args.artifacts = os.path.join(args.out, "failed")
    os.makedirs(args.out, exist_ok=True)
    session = x.Session(args, "screenshots")
    try:
        session.start_x()
        session.start_program()
        session.wait("the menu", x.menu_shown, timeout=12)
        save_png(session.last, os.path.join(args.out, "menu.png"))
        session.click(x.START_BUTTON)
        session.wait("the board", x.board_shown)
        placed = 0
        for n in MOVES:
            session.click(x.cell_centre(n))
            placed += 1
            session.wait("move %d" % placed,
                         lambda sh: x.pieces(sh, 1) + x.pieces(sh, 2) == placed)
        session.move((x.SCREEN_W - 40, x.SCREEN_H - 40))  # the pointer out of the picture
        session.wait("both players on the board",
                     lambda sh: x.pieces(sh, 1) > 0 and x.pieces(sh, 2) > 0)
        save_png(session.last, os.path.join(args.out, "game.png"))
    except x.Failure as failure:
        print("screenshots: %s" % failure, file=sys.stderr)
        return 1
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
