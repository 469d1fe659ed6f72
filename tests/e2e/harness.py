"""End-to-end harness: drives real programs under Wine on the private Xvfb display that
./test (or ./run) started, with real X input from xdotool, and reads the screen back.

Scenarios read like a user's steps:

    def scenario_drag_probe(s):
        app = s.start("tests/win/ProbeWindow.exe")
        win = s.wait_window("Vindle probe")
        s.drag((win.x + 50, win.y + 50), (win.x + 150, win.y + 90))
        shot = s.screenshot("after-drag")
        s.expect_pixel(shot, win.x + 105, win.y + 45, (0, 0, 255), "blue corner moved")

Every failure says what was expected and names the last screenshot.
"""
import os
import re
import shlex
import struct
import subprocess
import time


class ScenarioFailure(AssertionError):
    pass


def _screen_size():
    """Width and height of the private display, as tools/wine-env.sh starts it: VINDLE_SCREEN
    (width x height x depth), 1280x1024x24 unless set."""
    geometry = os.environ.get("VINDLE_SCREEN", "1280x1024x24")
    match = re.fullmatch(r"(\d+)x(\d+)x\d+", geometry)
    if not match:
        raise ValueError(f"VINDLE_SCREEN is width x height x depth, like 1280x1024x24, not {geometry!r}")
    return int(match[1]), int(match[2])


SCREEN_WIDTH, SCREEN_HEIGHT = _screen_size()


class Shot:
    """A screenshot: the PNG kept for people, the pixels kept for checks."""

    def __init__(self, path, width, height, rgb):
        self.path, self.width, self.height, self._rgb = path, width, height, rgb

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise ScenarioFailure(f"pixel ({x},{y}) is outside the {self.width}x{self.height} screen; see {self.path}")
        i = (y * self.width + x) * 3
        return tuple(self._rgb[i:i + 3])

    def row(self, y, x0, x1):
        return [self.pixel(x, y) for x in range(x0, x1)]

    def column(self, x, y0, y1):
        return [self.pixel(x, y) for y in range(y0, y1)]

    def find_runs(self, y, x0, x1, colour):
        """x positions in [x0, x1) of row y whose pixel is exactly `colour`."""
        return [x for x in range(x0, x1) if self.pixel(x, y) == colour]


class Window:
    def __init__(self, session, wid):
        self.session, self.id = session, wid
        self.refresh()

    def refresh(self):
        out = self.session._xdotool("getwindowgeometry", "--shell", self.id)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        self.x, self.y = int(values["X"]), int(values["Y"])
        self.width, self.height = int(values["WIDTH"]), int(values["HEIGHT"])
        self.name = self.session._xdotool("getwindowname", self.id).strip()
        return self

    @property
    def rect(self):
        return (self.x, self.y, self.x + self.width, self.y + self.height)

    def centre(self):
        return (self.x + self.width // 2, self.y + self.height // 2)

    def __repr__(self):
        return f"<window {self.name!r} {self.width}x{self.height}+{self.x}+{self.y}>"


class Session:
    """One scenario's view of the desktop and the Wine prefix."""

    def __init__(self, name, build_dir, shots_dir):
        self.name = name
        self.build_dir = build_dir
        self.shots_dir = os.path.join(shots_dir, name)
        os.makedirs(self.shots_dir, exist_ok=True)
        self.last_shot = None
        self._processes = []
        self._shot_counter = 0
        self._last_click = 0.0

    # ---- programs -------------------------------------------------------------------
    def path(self, relative):
        """A file of the win32 build tree."""
        return os.path.join(self.build_dir, relative)

    def start(self, exe, *args, cwd=None):
        exe_path = exe if os.path.isabs(exe) else self.path(exe)
        process = subprocess.Popen(["wine", exe_path, *args], cwd=cwd or os.path.dirname(exe_path),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(process)
        return process

    def wait_exit(self, process, timeout=20):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise ScenarioFailure(f"expected the program to end within {timeout} s, it still runs")

    def windows_path(self, unix_path):
        return subprocess.run(["winepath", "-w", unix_path], capture_output=True, text=True).stdout.strip()

    def unix_path(self, windows_path):
        return subprocess.run(["winepath", "-u", windows_path], capture_output=True, text=True).stdout.strip()

    def reg_query(self, key, value):
        """The data of a registry value as text, or None when it does not exist."""
        out = subprocess.run(["wine", "reg", "query", key, "/v", value], capture_output=True, text=True).stdout
        for line in out.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == value.lower() and parts[1].startswith("REG_"):
                return parts[2].strip() if len(parts) > 2 else ""
        return None

    def restart_wine(self):
        """Ends every Windows process of the prefix and starts a fresh wineserver, so that
        the next program meets a freshly started desktop and tray (Wine's tray shows no
        tooltip for an icon re-added in the same tray session)."""
        self.end_all()
        # No pipes: a server started by these calls would hold them open for ever.
        quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run(["wineserver", "-k"], **quiet)
        subprocess.run(["wineserver", "-w"], **quiet)
        subprocess.run(["wineserver", "-p"], **quiet)

    DESKTOP_KEY = r"HKCU\Control Panel\Desktop"

    def set_dpi(self, dpi):
        """Gives the prefix a system resolution in dots per inch (100 % is 96, 150 % 144,
        200 % 192). Wine reads it when a program starts; Wine is restarted so that nothing
        still runs at the old one."""
        self.restart_wine()
        subprocess.run(["wine", "reg", "add", self.DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                        str(dpi), "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def at_dpi(self, dpi):
        """`with s.at_dpi(144): ...` runs the block at that resolution and returns the prefix
        to 96 dpi afterwards, pass or fail, so that later scenarios see the usual screen.
        96 is where every scenario starts: it costs no restart."""
        session = self

        class _AtDpi:
            def __enter__(self):
                if dpi != 96:
                    session.set_dpi(dpi)
                return dpi

            def __exit__(self, *exc):
                if dpi != 96:
                    session.set_dpi(96)
                return False

        return _AtDpi()

    def end_all(self):
        for process in self._processes:
            if process.poll() is None:
                process.kill()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    pass
        self._processes.clear()

    # ---- windows --------------------------------------------------------------------
    def _xdotool(self, *args, check=True):
        try:
            result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=20)
        except subprocess.TimeoutExpired:
            raise ScenarioFailure(f"xdotool {' '.join(map(str, args))} did not answer within 20 s")
        if check and result.returncode != 0:
            raise ScenarioFailure(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
        return result.stdout

    def find_windows(self, name=None, class_name=None):
        args = ["search", "--onlyvisible"]
        if name is not None:
            args += ["--name", name]
        if class_name is not None:
            args += ["--class", class_name]
        out = self._xdotool(*args, check=False)
        return [Window(self, wid) for wid in out.split()]

    def wait_window(self, name=None, class_name=None, timeout=20):
        """The first visible window whose title matches the regular expression `name`."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.find_windows(name, class_name)
            if found:
                return found[0]
            time.sleep(0.1)
        self.screenshot("window-missing")
        raise ScenarioFailure(f"expected a visible window named {name!r} within {timeout} s; see {self.last_shot}")

    def wait_no_window(self, name, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.find_windows(name):
                return
            time.sleep(0.1)
        self.screenshot("window-still-there")
        raise ScenarioFailure(f"expected the window {name!r} to disappear within {timeout} s; see {self.last_shot}")

    def tray_icon(self, index=0):
        """Centre of the index-th icon in Wine's standalone system tray window. Measured from
        the window's bottom edge: Wine sometimes draws a caption above the icons."""
        tray = self.wait_window("^Wine System Tray$", timeout=30)
        return (tray.x + 5 + index * 20 + 8, tray.y + tray.height - 10)

    # ---- input ----------------------------------------------------------------------
    def pointer(self):
        out = self._xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def move(self, x, y):
        # Not "--sync": it waits for a motion event, and a move to where the pointer already
        # is never makes one.
        self._xdotool("mousemove", x, y)
        deadline = time.time() + 1
        while self.pointer() != (x, y) and time.time() < deadline:
            time.sleep(0.01)
        time.sleep(0.05)

    DOUBLE_CLICK_TIME = 0.5   # the system default; clicks closer than this pair up

    def _separate_from_last_click(self):
        wait = self._last_click + self.DOUBLE_CLICK_TIME + 0.1 - time.time()
        if wait > 0:
            time.sleep(wait)

    def click(self, x, y, button=1):
        """A single click, never taken as the second half of a double click."""
        self.move(x, y)
        self._separate_from_last_click()
        self._xdotool("click", button)
        self._last_click = time.time()
        time.sleep(0.15)

    def right_click(self, x, y):
        self.click(x, y, button=3)

    def double_click(self, x, y):
        self.move(x, y)
        self._separate_from_last_click()
        self._xdotool("click", "--repeat", 2, "--delay", 80, 1)
        self._last_click = time.time()
        time.sleep(0.2)

    def drag(self, start, end, steps=10, hold=(), button=1):
        """Press at `start`, move in steps to `end` with `hold` keys down, release."""
        self.move(*start)
        for key in hold:
            self._xdotool("keydown", key)
        self._xdotool("mousedown", button)
        time.sleep(0.1)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self._xdotool("mousemove", x, y)
            time.sleep(0.03)
        time.sleep(0.1)
        self._xdotool("mouseup", button)
        for key in reversed(hold):
            self._xdotool("keyup", key)
        time.sleep(0.2)

    def key(self, *keys):
        """Presses keys (xdotool names: 'space', 'Escape', 'ctrl+c', ...) one after another."""
        for k in keys:
            self._xdotool("key", k)
            time.sleep(0.05)
        time.sleep(0.1)

    def type(self, text):
        self._xdotool("type", "--delay", 30, text)
        time.sleep(0.1)

    # ---- screen ---------------------------------------------------------------------
    def screenshot(self, label="screen"):
        self._shot_counter += 1
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "-", label)
        path = os.path.join(self.shots_dir, f"{self._shot_counter:02d}-{safe}.png")
        ppm = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True,
                             timeout=30).stdout
        width, height, rgb = parse_ppm(ppm)
        subprocess.run(["convert", "ppm:-", path], input=ppm, capture_output=True)
        self.last_shot = path
        return Shot(path, width, height, rgb)

    def wait_for(self, condition, what, timeout=10, interval=0.1):
        deadline = time.time() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.time() > deadline:
                self.screenshot("timeout")
                raise ScenarioFailure(f"expected {what} within {timeout} s; see {self.last_shot}")
            time.sleep(interval)

    # ---- checks ---------------------------------------------------------------------
    def expect(self, condition, message):
        if not condition:
            where = f"; see {self.last_shot}" if self.last_shot else ""
            raise ScenarioFailure(message + where)

    def expect_equal(self, actual, expected, what):
        self.expect(actual == expected, f"{what}: expected {expected!r}, got {actual!r}")

    def expect_pixel(self, shot, x, y, colour, what):
        actual = shot.pixel(x, y)
        if actual != tuple(colour):
            raise ScenarioFailure(f"{what}: expected pixel ({x},{y}) to be {tuple(colour)}, got {actual}; see {shot.path}")


def parse_ppm(data):
    """Width, height and RGB bytes of a binary (P6, 8-bit) PPM image."""
    match = re.match(rb"P6\s+(?:#.*\s+)*(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not match:
        raise ScenarioFailure("the screenshot could not be read (is the X display up?)")
    width, height, maxval = map(int, match.groups())
    if maxval != 255:
        raise ScenarioFailure(f"unexpected screenshot depth {maxval}")
    return width, height, data[match.end():match.end() + width * height * 3]
