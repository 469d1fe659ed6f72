"""Steps a Vindle user takes, on top of the generic harness."""
import glob
import os
import subprocess
import time

import harness

RULER_TITLE = "^Vindle$"
LIGHT_YELLOW = (0xFF, 0xFF, 0xA0)   # the default ruler's background
EXE = "src/Vindle.exe"


def appdata_folder():
    """The Wine user's application-data folder (as a Unix path)."""
    prefix = os.environ["WINEPREFIX"]
    users = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming"))
    users = [u for u in users if "/Public/" not in u]
    return users[0] if users else os.path.join(prefix, "drive_c", "users", os.environ.get("USER", "root"),
                                               "AppData", "Roaming")


def settings_file():
    return os.path.join(appdata_folder(), "Qorvel", "Vindle", "Settings.xml")


def forget_settings():
    """A first start: no settings file and no backup."""
    folder = os.path.dirname(settings_file())
    for name in ("Settings.xml", "Settings.bak"):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            os.chmod(path, 0o644)
            os.remove(path)


def start(s, *args, exe=EXE, wait_for_tray=True):
    process = s.start(exe, *args)
    if wait_for_tray:
        s.wait_for(lambda: tray_icon_present(s), "the tray icon to appear", timeout=30)
    return process


def tray_icon_present(s):
    """Whether the first tray slot shows an icon (not the tray's plain background)."""
    trays = s.find_windows("^Wine System Tray$")
    if not trays:
        return False
    tray = trays[0]
    shot = s.screenshot("tray")
    bottom = tray.y + tray.height
    background = shot.pixel(tray.x + tray.width - 3, bottom - 10)
    return any(shot.pixel(tray.x + x, bottom - y) != background for x in range(4, 20) for y in range(3, 17))


def hover(s, x, y):
    """Rests the pointer on a point, arriving from elsewhere so that the hover registers."""
    s.move(x + 40, y + 40)
    s.move(x, y)


def _tooltips(s):
    return [w for w in s.find_windows("") if w.height < 30 and w.y < 100 and not w.name]


def notification_shown(s):
    """Whether a notification balloon shows beside the tray: a nameless window taller than a
    tooltip near the top of the screen, where Wine's tray sits."""
    return any(not w.name and 40 <= w.height <= 200 and w.width >= 200 and w.y < 150 for w in s.find_windows(""))


def icon_tooltip(s):
    """Hovers over the tray icon and answers the tooltip window that shows."""
    x, y = tray_icon(s)
    s.move(x + 300, y + 300)
    s.wait_for(lambda: not _tooltips(s), "earlier tooltips to close", timeout=8)
    hover(s, x, y)
    return s.wait_for(lambda: _tooltips(s), "the icon's tooltip", timeout=5)[0]


def tray_icon(s):
    return s.tray_icon(0)


def ruler(s, timeout=20):
    return s.wait_window(RULER_TITLE, timeout=timeout)


def open_tray_menu(s):
    before = {w.id for w in s.find_windows("")}
    s.right_click(*tray_icon(s))
    return s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                      "the tray menu to open")[0]


def choose_from_tray_menu(s, accelerator):
    """Opens the tray menu and chooses the item with that accelerator key."""
    open_tray_menu(s)
    s.key(accelerator)


def exit_vindle(s, process, timeout=20):
    choose_from_tray_menu(s, "x")
    return s.wait_exit(process, timeout)


def ruler_at_default(s):
    """A first start: no settings, the default ruler shown and painted."""
    forget_settings()
    process = start(s)
    win = ruler(s)
    s.wait_for(lambda: s.screenshot("painted").pixel(win.x + 130, win.y + 3) == LIGHT_YELLOW,
               "the ruler to be painted")
    return process, win


def read_clipboard(s):
    """The clipboard's text, read by a helper program; None when it holds none."""
    out = os.path.join(s.shots_dir, "clipboard.txt")
    if os.path.exists(out):
        os.remove(out)
    helper = s.path("tests/win/ClipboardText.exe")
    code = subprocess.run(["wine", helper, s.windows_path(out)], capture_output=True, timeout=30).returncode
    if code != 0 or not os.path.exists(out):
        return None
    with open(out, encoding="utf-8") as f:
        return f.read()


def expect_clipboard(s, expected, what):
    seen = []

    def arrived():
        seen.append(read_clipboard(s))
        return seen[-1] == expected

    try:
        s.wait_for(arrived, what, timeout=10, interval=0.3)
    except harness.ScenarioFailure:
        s.expect_equal(seen[-1], expected, what)


class ToolWindow:
    """The colour picker or the coordinates window: a small window that the tray menu shows and
    hides, and that snaps to the ruler."""

    def __init__(self, title, tray_item, caption_grip):
        self.title = title                  # its caption, as a regular expression
        self.tray_item = tray_item          # its place in the tray menu, counted from 1
        self.caption_grip = caption_grip    # where to take its caption, from the window's corner

    def toggle(self, s):
        open_tray_menu(s)
        s.key(*["Down"] * self.tray_item, "Return")

    def show(self, s):
        self.toggle(s)
        return s.wait_window(self.title)

    def first_shown(self, s):
        """A first start (no settings), then this window shown from the tray menu: the
        program, its ruler and this window."""
        forget_settings()
        process = start(s)
        ruler_window = ruler(s)
        return process, ruler_window, self.show(s)

    @staticmethod
    def client_origin(win):
        """The client area lies at the bottom of the window, centred horizontally in the frame."""
        border = (win.width - 88) // 2
        return win.x + border, win.y + win.height - border - 24

    def drag_by_caption(self, s, win, offset):
        """Drags the window by its caption by `offset` and answers it where it landed."""
        grip = (win.x + self.caption_grip[0], win.y + self.caption_grip[1])
        s.drag(grip, (grip[0] + offset[0], grip[1] + offset[1]))
        return s.wait_for(lambda: [w for w in s.find_windows(self.title) if (w.x, w.y) != (win.x, win.y)],
                          "the window to move")[0]

    def check_snaps_to_the_rulers_edge(self, s):
        process, ruler_window, win = self.first_shown(s)
        # Drop the window's left edge 3 pixels right of the ruler's right end, beside it.
        target = (ruler_window.x + ruler_window.width + 3, ruler_window.y + 10)
        snapped = self.drag_by_caption(s, win, (target[0] - win.x, target[1] - win.y))
        s.screenshot("snapped")
        s.expect_equal(snapped.x, ruler_window.x + ruler_window.width, "left edge snapped onto the ruler's right end")
        s.expect_equal(snapped.y, ruler_window.y + 10, "too far from the ruler's top to line up with it")
        exit_vindle(s, process)


COLOR_PICKER_WINDOW = ToolWindow("^Color picker$", tray_item=2, caption_grip=(30, 6))
COORDINATES_WINDOW = ToolWindow("^Coordinates$", tray_item=3, caption_grip=(20, 6))


def read_accessible(s, *classes):
    """Name, value, description and role of the client area of the first visible window of
    each class, as another process reads them."""
    out = os.path.join(s.shots_dir, "accessible.txt")
    if os.path.exists(out):
        os.remove(out)
    reader = s.start("tests/win/AccessibleReader.exe", s.windows_path(out), *classes)
    s.expect_equal(s.wait_exit(reader, timeout=30), 0, "the reader's exit code")
    with open(out, encoding="utf-8") as f:
        lines = [l.split("\t") for l in f.read().split("\n") if l]
    answers = {}
    for parts in lines:
        s.expect(len(parts) >= 2 and parts[1] == "ok", f"an accessible object for {parts[0]}, got {parts[1:]}")
        name, value, description, role = parts[2:6]
        answers[parts[0]] = dict(name=name, value=value, description=description, role=int(role))
    return answers
