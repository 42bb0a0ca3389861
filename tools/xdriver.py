"""Drives the real morvel program in a real X server (Xvfb): X input through xdotool,
screenshots through xwd, the pointer image through cursor_probe. Used by the end-to-end
test, tools/measure_game.py and tools/screenshots.py. With `args.wine` (a folder holding
morvel.exe) it drives the Windows program under Wine instead.

Every wait polls the screen against a deadline; a failing check keeps its screenshot in
the artefacts folder.
"""

import os
import shutil
import struct
import subprocess
import tempfile
import time

SCREEN_W, SCREEN_H = 1024, 768
TWIPS = 15

# The cell table of the board picture (left, top, right, bottom in twips, cells 1..56) and
# the board's place on the screen, in pixels: the program's own, from `morvel-cli
# geometry`, filled in by load_geometry() before a session starts.
CELLS = []
BOARD_X = BOARD_Y = None

BLUE, RED = (0, 0, 255), (255, 0, 0)

# The menu, centred on the screen, and its controls (window coordinates).
MENU_X = (SCREEN_W - 1) // 2 - 316 // 2
MENU_Y = (SCREEN_H - 1) // 2 - 212 // 2
START_BUTTON = (MENU_X + 256 + 22, MENU_Y + 176 + 13)
TWO_PLAYERS = (MENU_X + 8 + 6, MENU_Y + 24 + 16 + 8)
AGAINST_COMPUTER = (MENU_X + 8 + 6, MENU_Y + 24 + 32 + 8)
HIGH_LEVEL = (MENU_X + 8 + 6, MENU_Y + 160 + 8)
QUIT_BUTTON = (MENU_X + 296 + 8, MENU_Y + 8 + 8)
SAVE_BUTTON = (48 + 24, 72 + 8)
LOAD_BUTTON = (48 + 24, 56 + 8)


class Failure(Exception):
    pass


def load_geometry(cli):
    """Takes the board's place and the cell table from the program's own code."""
    global BOARD_X, BOARD_Y
    cli = cli if isinstance(cli, list) else [cli]
    out = subprocess.run(cli + ["geometry", "--screen", "%dx%d" % (SCREEN_W, SCREEN_H)],
                         check=True, capture_output=True, text=True).stdout
    cells = {}
    for line in out.splitlines():
        words = line.split()
        if words[0] == "board":
            BOARD_X, BOARD_Y = int(words[1]), int(words[2])
        elif words[0] == "cell":
            cells[int(words[1])] = tuple(int(w) for w in words[2:6])
    if BOARD_X is None or sorted(cells) != list(range(1, 57)):
        raise Failure("morvel-cli geometry gave no board place or not 56 cells")
    CELLS[:] = [cells[n] for n in range(1, 57)]


class Shot:
    """One screenshot of the root window, read from xwd's output."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        header_size, self.width, self.height = header[0], header[4], header[5]
        byte_order, bits_per_pixel, self.bytes_per_line = header[7], header[11], header[12]
        masks, ncolors = header[14:17], header[19]
        if bits_per_pixel not in (24, 32):
            raise Failure("expected a 24- or 32-bit screen, got %d bits" % bits_per_pixel)
        self.step = bits_per_pixel // 8
        self.little = byte_order == 0
        self.shifts = [(m, (m & -m).bit_length() - 1) for m in masks]
        self.pixels = data[header_size + 12 * ncolors:]
        self.raw = data

    def at(self, x, y):
        offset = y * self.bytes_per_line + x * self.step
        value = int.from_bytes(self.pixels[offset:offset + self.step],
                               "little" if self.little else "big")
        return tuple((value & m) >> s for m, s in self.shifts)


GAME_TITLE = "Morvel   tým Morvel, 2026"


def shift_window(dx, dy):
    """The game window's inside starts at (dx, dy) on the screen, not at its corner."""
    global BOARD_X, BOARD_Y, SAVE_BUTTON, LOAD_BUTTON
    BOARD_X, BOARD_Y = BOARD_X + dx, BOARD_Y + dy
    SAVE_BUTTON = (SAVE_BUTTON[0] + dx, SAVE_BUTTON[1] + dy)
    LOAD_BUTTON = (LOAD_BUTTON[0] + dx, LOAD_BUTTON[1] + dy)


class Session:
    def __init__(self, args, name):
        self.args = args
        self.name = name
        self.wine = getattr(args, "wine", None)
        self.last = None
        self.xvfb = None
        self.program = None
        self.shifted = False
        if self.wine:
            # The unpacked Windows folder: the program saves beside itself there.
            self.folder = self.wine
            # A UTF-8 locale for the Czech file names (scripts/try-on-windows.sh chooses a
            # Czech one, whose Windows code page holds every Czech letter).
            self.wine_env = dict(os.environ, WINEDEBUG="-all",
                                 LC_ALL=os.environ.get("MORVEL_WINE_LOCALE", "C.UTF-8"))
            self.wine_env.pop("DISPLAY", None)
            load_geometry(["wine", os.path.join(self.wine, "morvel-cli.exe")]
                          if not getattr(args, "cli", None) else args.cli)
        else:
            # morvel-cli lies beside the pointer probe in a build tree, unless named.
            load_geometry(getattr(args, "cli", None) or
                          os.path.join(os.path.dirname(os.path.abspath(args.probe)), "morvel-cli"))
            self.folder = tempfile.mkdtemp(prefix="morvel-e2e-")

    # -- the X server and the program ---------------------------------------------------
    def start_x(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (SCREEN_W, SCREEN_H), "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip())
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env["XDG_RUNTIME_DIR"] = self.folder
        # Only start the program once the server really answers.
        deadline = time.monotonic() + 10
        while subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL).returncode != 0:
            if time.monotonic() > deadline:
                raise Failure("Xvfb does not answer")
            time.sleep(0.05)

    def start_program(self, program=None):
        if self.wine:
            env = dict(self.env, **{k: v for k, v in self.wine_env.items() if k != "DISPLAY"})
            # Wine's processes of the prefix serve one X display: whatever runs there now
            # would put the program on its own.
            subprocess.run(["wineserver", "-k"], env=env, check=False)
            shortcut = getattr(self.args, "start_with", None)
            if shortcut:
                # Through the shortcut, as the Start menu starts it: the launcher ends at
                # once, so the program is known only by its windows.
                subprocess.run(["wine", "start", "/unix", shortcut], env=env, cwd=self.folder,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
                return
            self.program = subprocess.Popen(["wine", os.path.join(self.folder, "morvel.exe")],
                                            env=env, cwd=self.folder, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.PIPE)
            return
        # A copy of the program in a folder of its own, so hra.dat lands there.
        self.binary = os.path.join(self.folder, os.path.basename(program or "morvel"))
        shutil.copy(program or self.args.program, self.binary)
        self.program = subprocess.Popen([self.binary], env=self.env, cwd=self.folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def stop(self):
        for process in (self.program, self.xvfb):
            if process and process.poll() is None:
                process.kill()
                process.wait()
        if self.wine:
            subprocess.run(["wineserver", "-k"], env=self.wine_env, check=False)
            if self.shifted:
                shift_window(-self.shifted[0], -self.shifted[1])
        else:
            shutil.rmtree(self.folder, ignore_errors=True)

    # -- the windows, as the X server lists them ------------------------------------------
    def window(self, title):
        """(x, y, width, height) of the viewable top-level window named `title`, or None."""
        out = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env,
                             capture_output=True, text=True).stdout
        for line in out.splitlines():
            line = line.strip()
            if line.split(" ", 1)[-1].startswith('"%s"' % title):
                geometry = line.split(")")[-1].split()[0]  # WxH+X+Y
                size, x0, y0 = geometry.split("+")[:3]
                w, h = size.split("x")
                info = subprocess.run(["xwininfo", "-id", line.split()[0]], env=self.env,
                                      capture_output=True, text=True).stdout
                if "IsViewable" in info:
                    return int(x0), int(y0), int(w), int(h)
        return None

    def menu_up(self, shot):
        """The menu is shown. Under Wine 8 without a window manager, a window opened wholly
        inside another is never painted: there the menu is known by its window."""
        if not self.wine:
            return menu_shown(shot)
        return self.window("Form1") == (MENU_X, MENU_Y, 317, 213)

    def box_up(self, shot):
        """A message box of the game is shown (under Wine: its window, as for the menu)."""
        return self.window("Morvel") is not None

    def game_window_found(self, shot):
        """Under Wine, where the game window's inside lies on the screen, once it shows."""
        if not self.wine or self.shifted:
            return True
        where = self.window(GAME_TITLE)
        if where:
            self.shifted = where[:2]
            shift_window(*self.shifted)
        return bool(where)

    # -- input ----------------------------------------------------------------------------
    def xdotool(self, *words):
        subprocess.run(["xdotool"] + [str(w) for w in words], env=self.env, check=True)

    def click(self, point, button=1):
        self.xdotool("mousemove", point[0], point[1], "click", button)

    def move(self, point):
        self.xdotool("mousemove", point[0], point[1])

    def key(self, name):
        self.xdotool("key", name)

    # -- output ---------------------------------------------------------------------------
    def shot(self):
        # xwd now and then trips over a window being mapped or destroyed at that instant
        # (BadDrawable); another try a moment later is a fresh screenshot.
        for attempt in range(10):
            grab = subprocess.run(["xwd", "-root", "-silent"], env=self.env,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            if grab.returncode == 0:
                self.last = Shot(grab.stdout)
                return self.last
            time.sleep(0.02)
        raise Failure("xwd could not take a screenshot: " + grab.stderr.decode(errors="replace"))

    def pointer(self):
        out = subprocess.run([self.args.probe], env=self.env, check=True,
                             stdout=subprocess.PIPE, text=True).stdout.split()
        return tuple(int(v) for v in out)

    def keep(self, label):
        if not self.last:
            return None
        os.makedirs(self.args.artifacts, exist_ok=True)
        path = os.path.join(self.args.artifacts, "%s-%s.xwd" % (self.name, label))
        with open(path, "wb") as f:
            f.write(self.last.raw)
        png = path[:-4] + ".png"
        if shutil.which("convert"):
            subprocess.run(["convert", "xwd:" + path, png], check=False)
        return png

    def wait(self, what, predicate, timeout=5.0):
        """Polls screenshots until predicate(shot) holds; returns the seconds it took."""
        start = time.monotonic()
        while True:
            if predicate(self.shot()):
                return time.monotonic() - start
            if self.program and self.program.poll() is not None:
                raise Failure("the program ended while waiting for: " + what)
            if time.monotonic() - start > timeout:
                raise Failure("timed out after %.1fs waiting for: %s (screenshot %s)"
                              % (timeout, what, self.keep("timeout")))
            time.sleep(0.05)

    def quit(self):
        """Presses the menu's X; returns the program's exit status, None if it runs on."""
        self.click(QUIT_BUTTON)
        deadline = time.monotonic() + 5
        while self.program.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.program.poll()

    def check(self, what, condition):
        if not condition:
            raise Failure("%s (screenshot %s)" % (what, self.keep("check")))


# -- what the screen shows ---------------------------------------------------------------

def on_board(dx, dy):
    return BOARD_X + dx, BOARD_Y + dy


def cell_centre(n):
    x1, y1, x2, y2 = CELLS[n - 1]
    return on_board((x1 + x2) // 2 // TWIPS, (y1 + y2) // 2 // TWIPS)


def spot(n, ox, oy):
    x1, y1 = CELLS[n - 1][:2]
    return on_board((x1 + ox) // TWIPS, (y1 + oy) // TWIPS)


def cell(shot, n, spot=spot):
    """(owner, count) of cell n read from its disc positions; owner 0 when empty. `spot`
    gives the screenshot's pixel at a point of the cell, in twips from its corner."""
    centre, top_left, top_right, bottom_right, bottom_left = (
        shot.at(*spot(n, ox, oy))
        for ox, oy in ((300, 300), (150, 150), (430, 150), (430, 430), (150, 430)))
    colour = next((c for c in (centre, top_left) if c in (BLUE, RED)), None)
    if colour is None:
        return 0, 0
    owner = 1 if colour == BLUE else 2
    if top_right == colour and bottom_left == colour:
        return owner, 4
    if centre == colour and top_left == colour and bottom_right == colour:
        return owner, 3
    if top_left == colour and bottom_right == colour:
        return owner, 2
    return owner, 1


def pieces(shot, owner):
    return sum(c for o, c in (cell(shot, n) for n in range(1, 57)) if o == owner)


def is_wood(c):
    return c[0] > 100 and c[0] > c[1] > c[2]


def board_shown(shot):
    return is_wood(shot.at(*cell_centre(1))) or cell(shot, 1)[0] != 0


def grey(c, low=140):
    return c[0] >= low and abs(c[0] - c[1]) < 12 and abs(c[1] - c[2]) < 12


def menu_shown(shot):
    # The start button's grey face, the menu's black frame, the tiled window around it.
    return (grey(shot.at(START_BUTTON[0] - 18, START_BUTTON[1] - 8))
            and shot.at(MENU_X + 2, MENU_Y + 200) == (0, 0, 0)
            and shot.at(MENU_X - 20, MENU_Y + 100) != (0, 0, 0))


def splash_shown(shot):
    # The yellow title across the top of the splash picture.
    left, top = (SCREEN_W - 257) // 2, (SCREEN_H - 237) // 2
    yellow = 0
    for y in range(top + 30, top + 75, 3):
        for x in range(left + 20, left + 236, 3):
            c = shot.at(x, y)
            yellow += c[0] > 200 and c[1] > 140 and c[2] < 120
    return yellow > 40


def empty_cells(shot):
    return [n for n in range(1, 57) if cell(shot, n) == (0, 0)]


HAND = (32, 32, 7, 7)
HOURGLASS = (32, 32, 0, 0)


