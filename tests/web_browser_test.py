#!/usr/bin/env python3
"""The browser build in a real headless Chromium, served on 127.0.0.1 as any static host
serves it, driven by Chromium's own input (the DevTools protocol's mouse, keys and touch)
and judged by its screenshots:

- the splash and its four seconds, the menu's texts, its greyed levels;
- a two-player game to its end message, pressed with every mouse button, each cell read
  back from the page's pixels after every move and checked against the rules as this
  test keeps them; a press on the other player's cell is no move;
- games against both levels: the hourglass through the computer's delay, the hand after
  it, and after each person's move exactly one move of the computer (a move the rules
  allow that turns the board into what the page shows);
- #S# into the page's storage, #L# of a damaged save refused, Enter and Esc on the boxes;
- Esc during the computer's delay, "?" and "X";
- a reload with the server gone (offline);
- a phone in portrait: the layout scaled to its width, a whole game by taps, the
  browser's Back for Esc.

    web_browser_test.py FOLDER MORVEL-CLI
"""
import base64
import io
import os
import random
import sys
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import xdriver  # noqa: E402
from local_chromium import chromium, serve, url  # noqa: E402
from xdriver import Failure  # noqa: E402

COLUMNS, ROWS, FULL = 7, 8, 4


class Rules:
    """The game as its rules say, kept apart from the game's own code: a move adds a piece
    to an empty cell or one of the mover's; while a cell holds more than four, the first
    such cell row by row keeps one and gives one to each neighbour, which becomes the
    mover's; after the first round a player with no pieces has lost."""

    def __init__(self):
        self.cells = {(c, r): (0, 0) for r in range(1, ROWS + 1) for c in range(1, COLUMNS + 1)}
        self.player, self.round = 1, 1

    def copy(self):
        other = Rules()
        other.cells, other.player, other.round = dict(self.cells), self.player, self.round
        return other

    def legal(self):
        return [(c, r) for r in range(1, ROWS + 1) for c in range(1, COLUMNS + 1)
                if self.cells[c, r][0] in (0, self.player)]

    def play(self, at):
        mover = self.player
        self.cells[at] = (mover, self.cells[at][1] + 1)
        while True:
            over = next(((c, r) for r in range(1, ROWS + 1) for c in range(1, COLUMNS + 1)
                         if self.cells[c, r][1] > FULL), None)
            if over is None:
                break
            c, r = over
            self.cells[over] = (self.cells[over][0], 1)
            for near in ((c - 1, r), (c + 1, r), (c, r - 1), (c, r + 1)):
                if near in self.cells:
                    self.cells[near] = (mover, self.cells[near][1] + 1)
        self.player = 3 - mover
        if self.player == 1:
            self.round += 1

    def after(self, at):
        other = self.copy()
        other.play(at)
        return other

    def pieces(self, player):
        return sum(n for owner, n in self.cells.values() if owner == player)

    def loser(self):
        if self.round <= 1:
            return 0
        return 1 if self.pieces(1) == 0 else 2 if self.pieces(2) == 0 else 0

    def attack(self, rng):
        """The move that leaves the mover furthest ahead, piling onto its fullest cell."""
        me = self.player

        def worth(at):
            then = self.after(at)
            own = self.cells[at][1] if self.cells[at][0] == me else -1
            return then.pieces(me) - then.pieces(3 - me), own, rng.random()
        return max(self.legal(), key=worth)

    def huddle(self, rng):
        """Piles onto its own fullest cell short of bursting, else goes next to the other
        player's fullest cell: a player the other soon takes."""
        mine = [(n, rng.random(), at) for at, (owner, n) in self.cells.items()
                if owner == self.player and n < FULL]
        if mine:
            return max(mine)[2]
        theirs = [(n, at) for at, (owner, n) in self.cells.items() if owner == 3 - self.player]
        if not theirs:
            return rng.choice(self.legal())
        tc, tr = max(theirs)[1]
        return min(self.legal(), key=lambda a: (abs(a[0] - tc) + abs(a[1] - tr), rng.random()))


def cell_number(at):
    """The cell's number, 1..56, row by row, as the cell table counts them."""
    c, r = at
    return 7 * (r - 1) + c


class Shot:
    def __init__(self, png):
        self.image = Image.open(io.BytesIO(png)).convert("RGB")

    def at(self, x, y):
        return self.image.getpixel((x, y))


class Page:
    def __init__(self, address, phone=False):
        self.driver = chromium()
        # The page has the focus, as the one window on a player's screen has.
        self.cdp("Emulation.setFocusEmulationEnabled", enabled=True)
        if phone:
            self.cdp("Emulation.setDeviceMetricsOverride",
                     width=360, height=640, deviceScaleFactor=2, mobile=True)
            self.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
        self.driver.get(address)
        self.started = time.monotonic()

    def cdp(self, command, **arguments):
        return self.driver.execute_cdp_cmd(command, arguments)

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

    def rect(self, selector):
        return self.js("return document.querySelector(arguments[0]).getBoundingClientRect()"
                       ".toJSON()", selector)

    # -- Chromium's own input, at points of the page in CSS pixels ------------------------
    def mouse(self, x, y, button="left"):
        self.cdp("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        for kind in ("mousePressed", "mouseReleased"):
            self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                     clickCount=1)

    def touch(self, x, y):
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def key(self, name, code):
        """A key pressed and let go; Enter also types its character, as a keyboard does."""
        text = {"Enter": "\r"}.get(name)
        down = dict(type="keyDown", text=text) if text else dict(type="rawKeyDown")
        for event in (down, dict(type="keyUp")):
            self.cdp("Input.dispatchKeyEvent", key=name, code=name, windowsVirtualKeyCode=code,
                     **event)

    def click(self, selector, tap=False):
        """A press on the middle of the control, as the player gives it."""
        r = self.rect(selector)
        self.check(selector + " is shown", r["width"] > 0)
        (self.touch if tap else self.mouse)(r["x"] + r["width"] / 2, r["y"] + r["height"] / 2)

    def cell_point(self, at):
        x1, y1, x2, y2 = xdriver.CELLS[cell_number(at) - 1]
        board = self.rect("#plocha")
        k = board["width"] / 306 / 15  # CSS pixels to a twip
        return board["x"] + (x1 + x2) / 2 * k, board["y"] + (y1 + y2) / 2 * k

    def press(self, at, button="left"):
        self.mouse(*self.cell_point(at), button=button)

    def tap(self, at):
        self.touch(*self.cell_point(at))

    # -- what the page shows ---------------------------------------------------------------
    def shot(self, clip):
        """What the page shows in a box of CSS pixels, in the screen's pixels."""
        return Shot(base64.b64decode(self.cdp(
            "Page.captureScreenshot", format="png", optimizeForSpeed=True,
            clip=dict(clip, scale=1))["data"]))

    def board(self):
        """Every cell as (owner, count), read from a screenshot's pixels."""
        board = self.rect("#plocha")
        shot = self.shot({key: board[key] for key in ("x", "y", "width", "height")})
        k = shot.image.width / 306 / 15  # the shot's pixels to a twip

        def spot(n, ox, oy):
            x1, y1 = xdriver.CELLS[n - 1][:2]
            return int((x1 + ox) * k), int((y1 + oy) * k)
        return {at: xdriver.cell(shot, cell_number(at), spot) for at in Rules().cells}

    def board_when(self, test, timeout=1.0):
        """The board once `test` accepts it: a screenshot may show the frame before the
        last drawing, the next one the drawing. The last board read, if none is."""
        end = time.monotonic() + timeout
        while True:
            shown = self.board()
            if test(shown) or time.monotonic() > end:
                return shown

    def check_board(self, rules, what):
        shown = self.board_when(lambda shown: shown == rules.cells)
        wrong = ["(%d,%d) shows %s, not %s" % (*at, shown[at], rules.cells[at])
                 for at in sorted(shown) if shown[at] != rules.cells[at]]
        self.check(what + ": " + "; ".join(wrong[:6]), not wrong)

    def moves(self):
        return int(self.js("return Number(document.body.dataset.moves || 0)"))

    def cursor(self):
        return self.js("return getComputedStyle(document.getElementById('hra')).cursor")

    def box(self):
        return self.js("const b = document.getElementById('box');"
                       "return b.open ? document.getElementById('box-text').textContent : null")

    def menu_open(self):
        return self.js("return document.getElementById('nas').open")

    def answer_box(self, how):
        """Closes the open box by a tap on its OK button, Enter or Esc."""
        if how == "tap":
            self.click("#box-ok", tap=True)
        else:
            self.key(*{"enter": ("Enter", 13), "esc": ("Escape", 27)}[how])
        self.wait("the box to close", lambda: self.box() is None)


def splash_and_menu(page):
    """The splash stands four seconds, then the game window with the menu."""
    page.wait("the splash", lambda: page.js("return !document.getElementById('logo').hidden"), 3)
    page.wait("the menu", page.menu_open, 8)
    shown = time.monotonic() - page.started
    page.check("the menu came after %.1f s, not after the splash's four" % shown, shown >= 3.9)


def play_to_the_end(page, rng, give, scramble, answer):
    """Two people from a new game to its end message: `scramble` moves anywhere, then one
    player attacks and the other huddles. Each move is given by `give(at, number)`; after
    each, every cell and both labels are checked. The end message is answered by
    `answer` (Page.answer_box). Ends with the menu back."""
    rules, played = Rules(), page.moves()
    while True:
        mover = rules.player
        number = rules.round * 2 - (2 - mover)
        at = (rng.choice(rules.legal()) if number <= scramble
              else rules.attack(rng) if mover == 1 else rules.huddle(rng))
        if number % 7 == 0:
            theirs = [a for a, (owner, _) in rules.cells.items() if owner == 3 - mover]
            if theirs:
                give(theirs[0], number)
                page.check("a press on the other player's cell is no move",
                           page.moves() == played and
                           page.text("label-player") == "Hráč:%d" % mover)
        give(at, number)
        played += 1
        page.wait("move %d at %s" % (number, at), lambda: page.moves() == played)
        rules.play(at)
        loser = rules.loser()
        if loser:
            text = "Konec hry hráč %d prohrál" % loser
            page.wait("the end message", lambda: page.box() == text)
            page.answer_box(answer)
            page.wait("the menu after the end message", page.menu_open)
            return number
        page.check_board(rules, "after move %d at %s" % (number, at))
        page.check("the labels after move %d" % number,
                   page.text("label-round") == "%d kolo" % rules.round and
                   page.text("label-player") == "Hráč:%d" % rules.player)


def against_the_computer(page, rng, high):
    """A new game against the computer at a level (at the high level the computer opens):
    after each of three person's moves the hourglass, then exactly one move of the
    computer after its delay, and the hand."""
    page.click("#jhra1")
    page.click("#obtt1" if high else "#obtt0")
    before = page.moves()
    page.click("#pp3")
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    rules = Rules()
    if high:
        rules.player = 2
        computer_moved(page, rules, before, "opening")
    page.check("the hand on the board", "hand.png" in page.cursor())
    for turn in range(3):
        before = page.moves()
        at = rules.attack(rng)
        page.press(at)
        rules.play(at)
        page.wait("the person's move", lambda: page.moves() == before + 1, 1)
        page.check("the hourglass during the computer's delay", "hourglass.png" in page.cursor())
        if turn == 0:
            time.sleep(0.5)
            page.check("the computer waits its delay", page.moves() == before + 1)
        computer_moved(page, rules, before + 1, "move %d" % (turn + 1))
        page.check("the hand after the computer's move", "hand.png" in page.cursor())
    return rules


def computer_moved(page, rules, before, what):
    """The computer's one move after `before` moves: a move the rules allow it that gives
    the board the page shows. `rules` takes it."""
    page.wait("the computer's " + what, lambda: page.moves() == before + 1, 3)
    shown = page.board_when(lambda shown: any(rules.after(a).cells == shown
                                              for a in rules.legal()))
    answers = [a for a in rules.legal() if rules.after(a).cells == shown]
    page.check("the board after the computer's %s is one move of the rules: %s" % (
        what, {at: shown[at] for at in shown if shown[at] != rules.cells[at]}), answers)
    rules.play(answers[0])
    time.sleep(0.3)
    page.check("one computer move at a time", page.moves() == before + 1)


def scenario(page):
    splash_and_menu(page)
    texts = page.js("return [...document.querySelectorAll('#nas .option, #title')]"
                    ".map(e => e.textContent)")
    page.check("the menu reads " + repr(texts), texts == [
        "Morvel V1.3", "Hra dvou hráčů", "Hra hráč proti počítači", "Obtížnost malá",
        "Obtížnost velká"])
    page.click("#obtt1")
    page.check("the levels are greyed, and take no click, for two players",
               page.js("return document.querySelector('#obtt0 input').disabled && "
                       "!document.querySelector('#obtt1 input').checked"))

    # Two people to the end, with the left, right and middle buttons by turns.
    page.click("#pp3")
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    page.check("the new game's labels", page.text("label-round") == "1kolo" and
               page.text("label-player") == "Hráč:1")
    buttons = ["left", "right", "middle"]
    moves = play_to_the_end(page, random.Random(2), lambda at, n: page.press(at, buttons[n % 3]),
                            scramble=6, answer="enter")
    print("web_browser_test: a two-player game of %d moves, every cell read back" % moves)

    # Both levels; Esc between them brings the menu.
    rng = random.Random(3)
    against_the_computer(page, rng, high=False)
    page.key("Escape", 27)
    page.wait("the menu after Esc", page.menu_open)
    rules = against_the_computer(page, rng, high=True)

    # #S# keeps the board's text in the page's storage; a damaged one is refused, and the
    # board stays.
    board = page.board_when(lambda shown: shown == rules.cells)
    page.click("#sav")
    saved = page.js("return localStorage.getItem('morvel.hra.dat')")
    page.check("the save's text", saved is not None and saved.count("\r\n") == 112)
    page.js("localStorage.setItem('morvel.hra.dat', ' 1 \\r\\n 9 \\r\\n')")
    page.click("#nah")
    page.wait("the damaged save refused", lambda: (page.box() or "").startswith(
        "Hru se nepodařilo nahrát. "))
    page.answer_box("esc")
    page.check_board(rules, "the board after a refused load")

    # Esc during the computer's delay: the menu, and no move of the computer.
    page.press(next(at for at, (owner, _) in sorted(board.items()) if owner in (0, 1)))
    moves = page.moves()
    page.key("Escape", 27)
    page.wait("the menu after Esc", page.menu_open, 1)
    time.sleep(1.2)
    page.check("the computer did not move after Esc", page.moves() == moves)

    # "?" shows the information; Esc brings the menu back; "X" ends the game.
    page.click("#info")
    page.wait("the information", lambda: page.phase() == "Information")
    page.check("the information text", page.js(
        "return getComputedStyle(document.getElementById('information')).visibility")
        == "visible")
    page.key("Escape", 27)
    page.wait("the menu after Esc", page.menu_open)
    page.click("#command2")
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
    page.click("#pp3")
    page.wait("the board, offline", lambda: page.phase() == "PersonToMove")
    page.press((3, 3))
    page.wait("a move, offline", lambda: page.moves() == 1)
    rules = Rules()
    rules.play((3, 3))
    page.check_board(rules, "the board, offline")


def phone(page):
    """A phone in portrait: the layout, scaled to the screen's width, shows the board whole;
    a whole game by taps; the browser's Back brings the menu."""
    splash_and_menu(page)
    page.click("#pp3", tap=True)
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    board, width, height = page.rect("#plocha"), *page.js("return [innerWidth, innerHeight]")
    page.check("the board whole on the phone's screen: %s" % board,
               board["x"] >= 0 and board["y"] >= 0 and board["right"] <= width and
               board["bottom"] <= height and board["width"] < 306)
    moves = play_to_the_end(page, random.Random(4), lambda at, n: page.tap(at), scramble=0,
                            answer="tap")
    print("web_browser_test: a game of %d moves by taps on a phone's screen" % moves)
    page.click("#pp3", tap=True)
    page.wait("the board", lambda: page.phase() == "PersonToMove")
    page.js("history.back()")
    page.wait("the menu after Back", page.menu_open)


def main():
    folder, cli = sys.argv[1:3]
    xdriver.load_geometry(cli)
    server = serve(folder)
    page = Page(url(server))
    try:
        scenario(page)
        offline(page, server)
        page.driver.quit()
        server = serve(folder)
        page = Page(url(server), phone=True)
        phone(page)
        print("web_browser_test: ok")
        return 0
    except Failure as failure:
        print("web_browser_test: FAIL: %s" % failure)
        return 1
    finally:
        page.driver.quit()


if __name__ == "__main__":
    sys.exit(main())
