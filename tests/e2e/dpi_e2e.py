"""The ruler and its tools at 100 %, 150 % and 200 % scaling (96, 144 and 192 dpi): the
ruler stays in device pixels, inches and centimetres follow the screen's resolution, the
cursor line sits on the pointer's pixel, and the dialogs and tool windows grow."""
import math
import os
import subprocess
import time

import harness
import vindle

DPIS = (96, 144, 192)
LIGHT_YELLOW = vindle.LIGHT_YELLOW
RED, BLACK = (255, 0, 0), (0, 0, 0)
END_ZONE = 16
LONG_ONLY_ROW = 7     # rows above the scale edge that only long ticks reach (long 8, medium 6)
MEDIUM_ROW = 6        # rows above the scale edge that medium and long ticks reach


def scaled(value96, dpi):
    """What the program's layouts do with a 96-dpi length: MulDiv, rounded half up."""
    return (value96 * dpi + 48) // 96


def tick_centres(shot, win, rows_up, x0=END_ZONE, x1=None):
    """The ticks that reach `rows_up` rows above the scale edge, each at its darkest pixel
    (an antialiased tick shares its ink between two columns), along the ruler."""
    x1 = win.width - END_ZONE if x1 is None else x1
    y = win.y + win.height - rows_up
    centres, run = [], []
    for x in range(x0, x1 + 1):
        pixel = shot.pixel(win.x + x, y) if x < x1 else LIGHT_YELLOW
        if pixel != LIGHT_YELLOW:
            run.append((sum(pixel), x))
        elif run:
            centres.append(min(run)[1])
            run = []
    return centres


def start_fresh(s, settings=None):
    """A first start (or one with the given settings file), without the tray: Wine's own
    tray window is drawn at the system's scale, and nothing here needs it."""
    vindle.forget_settings()
    if settings:
        os.makedirs(os.path.dirname(vindle.settings_file()), exist_ok=True)
        with open(vindle.settings_file(), "w", encoding="utf-8", newline="\r\n") as f:
            f.write(settings)
    process = s.start(vindle.EXE)
    # Right after a Wine restart for another resolution, a start can be lost while the
    # prefix's own processes come up: it ends without a window. Start once more then; a
    # program that hangs without its window still fails here.
    deadline = time.time() + 30
    while not s.find_windows(vindle.RULER_TITLE) and process.poll() is None and time.time() < deadline:
        time.sleep(0.1)
    if not s.find_windows(vindle.RULER_TITLE) and process.poll() is not None:
        print(f"the first start ended with {process.returncode} and no window: started again")
        s.start(vindle.EXE)
    win = vindle.ruler(s, timeout=30)
    s.wait_for(lambda: s.screenshot("painted").pixel(win.x + 130, win.y + 3) == LIGHT_YELLOW,
               "the ruler to be painted")
    return win


def away(s, win):
    """The pointer beyond the ruler's end, so that no cursor line crosses the ticks."""
    s.move(win.x + win.width + 100, win.y + 200)


def choose_unit(s, win, key, what, condition):
    before = {w.id for w in s.find_windows("")}
    s.right_click(win.x + 300, win.y + 15)
    s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
               "the ruler menu to open")
    s.key("u", key)
    away(s, win)
    return s.wait_for(lambda: (lambda shot: shot if condition(shot) else None)(s.screenshot(what)), f"the {what}")


def ruler_scales(s, dpi):
    with s.at_dpi(dpi):
        win = start_fresh(s)
        # Device pixels: the first ruler is as large and where it is at 100 %.
        screen_w, screen_h = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
        first = ((screen_w - screen_w // 2) // 2, screen_h // 2 - 30, screen_w // 2, 30)
        s.expect_equal((win.x, win.y, win.width, win.height), first, f"the first ruler at {dpi} dpi")
        away(s, win)
        shot = s.screenshot("pixel-scale")
        bottom = win.y + win.height - 2
        for along in range(20, 620, 5):
            s.expect_pixel(shot, win.x + along, bottom, BLACK, f"pixel tick at {along} at {dpi} dpi")
            s.expect_pixel(shot, win.x + along + 2, bottom, LIGHT_YELLOW, f"no pixel tick at {along + 2} at {dpi} dpi")

        # The cursor line lies on the pointer's own pixel, whatever the scaling.
        for along in (137, 301):
            s.move(win.x + along + 20, win.y + 20)
            s.move(win.x + along, win.y + 20)
            shot = s.wait_for(lambda: (lambda shot: shot if shot.pixel(win.x + along, win.y + 5) == RED else None)(
                s.screenshot(f"cursor-at-{along}")), f"the cursor line at {along} at {dpi} dpi")
            s.expect(shot.pixel(win.x + along - 1, win.y + 5) != RED and shot.pixel(win.x + along + 1, win.y + 5) != RED,
                     f"a one-pixel cursor line exactly under the pointer at {dpi} dpi")
            s.expect_pixel(shot, win.x + along, win.y + win.height - 2, RED, "the line reaches the scale edge")

        # Inches: a long tick every half inch, half an inch being dpi / 2 device pixels.
        half_inches = [k * dpi // 2 for k in range(1, 20) if END_ZONE <= k * dpi // 2 < win.width - END_ZONE]
        shot = choose_unit(s, win, "i", "inch scale", lambda shot: tick_centres(shot, win, LONG_ONLY_ROW) == half_inches)
        s.expect_equal(tick_centres(shot, win, LONG_ONLY_ROW), half_inches, f"half-inch ticks at {dpi} dpi")

        # Centimetres: a medium or long tick on every centimetre, 10 * dpi / 254 pixels (finer
        # screens get finer ticks in between), its ink on the pixel the exact position falls
        # in or shared with the next one; long ticks only on whole centimetres.
        exact = [k * dpi / 2.54 for k in range(1, 30) if END_ZONE <= k * dpi / 2.54 < win.width - END_ZONE - 1]

        def near_centimetre(x):
            return any(x in (math.floor(e), math.floor(e) + 1) for e in exact)

        def on_centimetres(shot):
            found = set(tick_centres(shot, win, MEDIUM_ROW))
            longs = tick_centres(shot, win, LONG_ONLY_ROW)
            return (all({math.floor(e), math.floor(e) + 1} & found for e in exact) and longs
                    and all(near_centimetre(x) for x in longs))
        choose_unit(s, win, "c", "centimetre scale", on_centimetres)

        s.end_all()


def control_rects(s, title):
    """{text: (left, top, right, bottom)} of a window and its controls, read by a helper."""
    out = os.path.join(s.shots_dir, "texts.txt")
    helper = s.path("tests/win/WindowTexts.exe")

    def read():
        if os.path.exists(out):
            os.remove(out)
        code = subprocess.run(["wine", helper, title, s.windows_path(out)], capture_output=True, timeout=30).returncode
        return code == 0 and os.path.exists(out)
    s.wait_for(read, f"{title} to be found by {helper}", timeout=15, interval=0.5)
    rects = {}
    with open(out, encoding="utf-8") as f:
        for line in f.read().splitlines():
            text, rect = line.split("\t")
            rects.setdefault(text, tuple(int(v) for v in rect.split()))
    return rects


SHOW_TOOLS = """<settings>
\t<startup>
\t\t<showcolorpicker>True</showcolorpicker>
\t\t<showcursorcoordinates>True</showcursorcoordinates>
\t\t<showruler>True</showruler>
\t</startup>
</settings>
"""


def windows_scale(s, dpi):
    with s.at_dpi(dpi):
        win = start_fresh(s, SHOW_TOOLS)
        # The tool windows: their client areas are their 96-dpi layouts at this scale.
        for title in ("^Coordinates$", "^Color picker$"):
            tool = s.wait_window(title)
            frame = tool.width - scaled(88, dpi)
            s.expect(0 <= frame <= 24 and tool.height - scaled(24, dpi) >= frame,
                     f"{title} holds an 88 x 24 layout at {dpi} dpi, got {tool!r}")
        s.screenshot(f"tools-at-{dpi}")

        # The settings dialog from the ruler's menu: Rotate, Flip, Turn, then "Settings...".
        before = {w.id for w in s.find_windows("")}
        s.right_click(win.x + 200, win.y + 15)
        s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                   "the ruler menu to open")
        s.key(*(["Down"] * 4), "Return")
        dialog = s.wait_window("^Settings$", timeout=30)
        rects = control_rects(s, "Settings")
        left, top, right, bottom = rects["OK"]
        s.expect_equal((right - left, bottom - top), (scaled(81, dpi), scaled(25, dpi)), f"the OK button at {dpi} dpi")
        s.expect(dialog.width >= scaled(409, dpi) and dialog.height >= scaled(297, dpi),
                 f"the dialog holds its 409 x 297 layout at {dpi} dpi, got {dialog!r}")
        s.screenshot(f"settings-at-{dpi}")
        s.key("Escape")
        s.end_all()


def _per_dpi(check, dpi):
    def scenario(s):
        check(s, dpi)
    return scenario


for _dpi in DPIS:
    globals()[f"scenario_ruler_scales_at_{_dpi}_dpi"] = _per_dpi(ruler_scales, _dpi)
    globals()[f"scenario_windows_scale_at_{_dpi}_dpi"] = _per_dpi(windows_scale, _dpi)


MAGNIFIED_ZOOM, MAGNIFIER_SIDE, MAGNIFIER_SHOWN, MAGNIFIER_CENTRE = 3, 50, 17, 25   # configuration 3


def magnifier_agrees(s, dpi):
    """The magnifier of configuration 3 shows, pixel for pixel, the screen around the very
    pixel the pointer is on: capture and pointer are in the same device pixels."""
    with s.at_dpi(dpi):
        win = start_fresh(s)
        before = {w.id for w in s.find_windows("")}
        s.right_click(win.x + 300, win.y + 15)
        s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                   "the ruler menu to open")
        s.key("3")
        ruler = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == MAGNIFIER_SIDE],
                           "the 50-pixel ruler of configuration 3")[0]
        s.start("tests/win/ProbeWindow.exe")
        probe = s.wait_window("^Vindle probe")
        tx, ty = probe.x + 10, probe.y + 10     # the first red pixel off the blue corner
        s.move(tx, ty)
        mx, my = ruler.x + ruler.width - MAGNIFIER_SIDE, ruler.y
        half = MAGNIFIER_SHOWN // 2

        def mismatches(shot):
            return [(x, y) for y in range(1, MAGNIFIER_SIDE - 1) for x in range(1, MAGNIFIER_SIDE - 1)
                    if x != MAGNIFIER_CENTRE and y != MAGNIFIER_CENTRE
                    and shot.pixel(mx + x, my + y) != shot.pixel(tx - half + x // MAGNIFIED_ZOOM,
                                                                 ty - half + y // MAGNIFIED_ZOOM)]
        shot = s.wait_for(lambda: (lambda shot: shot if not mismatches(shot) else None)(s.screenshot("magnified")),
                          f"the magnifier to show the pixels around the pointer at {dpi} dpi")
        s.expect_pixel(shot, mx + MAGNIFIER_CENTRE - 1, my + MAGNIFIER_CENTRE - 1, (255, 0, 0),
                       "the target square is the pointer's own (red) pixel")
        s.expect_pixel(shot, mx + MAGNIFIER_CENTRE - 3, my + MAGNIFIER_CENTRE - 3, (0, 0, 255),
                       "the square before it is the blue corner's last pixel")
        s.end_all()


for _dpi in DPIS:
    globals()[f"scenario_magnifier_agrees_with_the_pointer_at_{_dpi}_dpi"] = _per_dpi(magnifier_agrees, _dpi)


def eyedropper_agrees(s, dpi):
    """The eyedropper takes the colour of the very pixel it is let go on: one pixel further
    right is another colour."""
    with s.at_dpi(dpi):
        start_fresh(s, SHOW_TOOLS)
        picker = s.wait_window("^Color picker$")
        s.start("tests/win/ProbeWindow.exe")
        probe = s.wait_window("^Vindle probe")
        client_width, client_height = scaled(88, dpi), scaled(24, dpi)
        border = (picker.width - client_width) // 2
        left, top = picker.x + border, picker.y + picker.height - border - client_height
        eyedropper = (left + 10, top + client_height // 2)   # the box keeps it beside its left edge

        def face_count(colour):
            shot = s.screenshot("picked")
            return sum(shot.pixel(x, y) == colour for x in range(left + 20, left + client_width - 4)
                       for y in range(top + 2, top + client_height - 2))

        # The probe's blue corner is 10 x 10 pixels: (9, 9) is its last pixel, (10, 9) red.
        for (dx, colour, name) in ((9, (0, 0, 255), "blue"), (10, (255, 0, 0), "red"), (9, (0, 0, 255), "blue")):
            s.drag(eyedropper, (probe.x + dx, probe.y + 9), steps=15)
            s.wait_for(lambda: face_count(colour) > 50, f"the picker to show {name} picked at {dx},9 at {dpi} dpi",
                       timeout=8)
        s.end_all()


for _dpi in DPIS:
    globals()[f"scenario_eyedropper_agrees_with_the_pointer_at_{_dpi}_dpi"] = _per_dpi(eyedropper_agrees, _dpi)
