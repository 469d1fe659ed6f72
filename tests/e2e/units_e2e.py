"""Physical units that match the glass: with "measured for each monitor" the ruler's inch is the
monitor's own, read from its EDID. Wine gives its monitor no EDID (and makes its reported size
up from 96 dpi), so the scenario writes one where the program reads it on Windows: the EDID
value of the monitor's device key."""
import contextlib
import subprocess

import accessibility_e2e
import dpi_e2e
import vindle

EDID_KEY = r"HKLM\SYSTEM\CurrentControlSet\Enum\DISPLAY\Default_Monitor\0000&0000\Device Parameters"
MEASURED = "<settings>\n<parameters><measureddpi>True</measureddpi></parameters>\n</settings>\n"


def edid(width_mm, height_mm, pixels_x, pixels_y):
    """An EDID of 384 bytes, as most 4K and HDR monitors have: a base block (1.4) whose preferred
    timing has the given mode and size, then a CTA-861 block and a DisplayID block."""
    block = bytearray(128)
    block[0:8] = bytes([0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0])
    block[18:20] = bytes([1, 4])
    block[21], block[22] = round(width_mm / 10), round(height_mm / 10)
    d = 54
    block[d:d + 2] = bytes([0x28, 0x3C])
    block[d + 2], block[d + 4] = pixels_x & 0xFF, (pixels_x >> 8) << 4
    block[d + 5], block[d + 7] = pixels_y & 0xFF, (pixels_y >> 8) << 4
    block[d + 12], block[d + 13] = width_mm & 0xFF, height_mm & 0xFF
    block[d + 14] = ((width_mm >> 8) << 4) | (height_mm >> 8)
    block[126] = 2
    blocks = [block, bytearray([0x02, 0x03]) + bytearray(126), bytearray([0x70, 0x20]) + bytearray(126)]
    for b in blocks:
        b[127] = (256 - sum(b[:127]) % 256) % 256
    return b"".join(bytes(b) for b in blocks)


@contextlib.contextmanager
def monitor_edid(s, block):
    # Wine fills in its monitor's device key when its desktop comes up, after a restart with
    # the first window: bring it up first, so that the EDID written is the one read.
    s.start("tests/win/ProbeWindow.exe")
    s.wait_window("^Vindle probe")
    s.end_all()
    subprocess.run(["wine", "reg", "add", EDID_KEY, "/v", "EDID", "/t", "REG_BINARY", "/d", block.hex(), "/f"],
                   check=True, capture_output=True, timeout=60)
    try:
        yield
    finally:
        subprocess.run(["wine", "reg", "delete", EDID_KEY, "/v", "EDID", "/f"], capture_output=True, timeout=60)


def scenario_measured_inches_follow_the_monitors_edid(s):
    # 1280 x 1024 pixels on 254 x 203 mm of glass: 128 pixels to the inch, where the system says 96.
    with monitor_edid(s, edid(254, 203, 1280, 1024)):
        win = dpi_e2e.start_fresh(s, MEASURED)
        half_inches = [k * 64 for k in range(1, 20) if dpi_e2e.END_ZONE <= k * 64 < win.width - dpi_e2e.END_ZONE]
        shot = dpi_e2e.choose_unit(s, win, "i", "inch scale",
                                   lambda shot: dpi_e2e.tick_centres(shot, win, dpi_e2e.LONG_ONLY_ROW) == half_inches)
        s.expect_equal(dpi_e2e.tick_centres(shot, win, dpi_e2e.LONG_ONLY_ROW), half_inches,
                       "half-inch ticks 64 pixels apart on a 128-dpi monitor")


def read_centimetres(s, pixels, pixels_per_inch, what):
    """Waits until the ruler reads `pixels` at that resolution, give or take the last digit."""
    expected = pixels / round(pixels_per_inch, 3) * 2.54
    texts = "|".join(f"{expected + d:.1f}" for d in (-0.06, 0, 0.06))
    accessibility_e2e.wait_read(s, accessibility_e2e.RULER, "value", rf"length ({texts}) cm(, cursor .*)?", what)


def scenario_a_stretched_mode_measures_each_axis_with_its_own_inch(s):
    # The 1280 x 1024 desktop stretched over a 16:9 panel of 527 x 296 mm: 61.7 pixels to the
    # inch across and 87.9 down, where their mean would be 74.8 both ways.
    with monitor_edid(s, edid(527, 296, 1920, 1080)):
        win = dpi_e2e.start_fresh(s, MEASURED)
        dpi_e2e.choose_unit(s, win, "c", "centimetre scale", lambda shot: True)
        read_centimetres(s, win.width, 1280 * 25.4 / 527, "the ruler's length across in centimetres")
        s.screenshot("stretched-across")
        s.click(win.x + 300, win.y + 15)
        s.key("space")
        upright = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height > w.width],
                             "the ruler turned upright")[0]
        dpi_e2e.away(s, upright)
        read_centimetres(s, upright.height, 1024 * 25.4 / 296, "the upright ruler's length in centimetres")
        s.screenshot("stretched-down")


def open_calibration(s, win):
    before = {w.id for w in s.find_windows("")}
    s.right_click(win.x + 300, win.y + 15)
    s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
               "the ruler menu to open")
    s.key("u", "a")  # Unit, Calibrate...
    return s.wait_window("^Calibrate$")


def ruler_of_width(s, width, what):
    return s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.width == width],
                      f"{what} ({width} pixels)")[0]


def scenario_the_calibration_window_takes_the_keyboard(s):
    win = dpi_e2e.start_fresh(s)
    calibration = open_calibration(s, win)
    ruler_of_width(s, 324, "the card's length")
    # Keys go to the window under the pointer.
    s.move(calibration.x + 20, calibration.y + calibration.height - 8)
    s.key("alt+o", "Down", "Down")  # the object box, then "Another length:" (100 mm)
    ruler_of_width(s, 378, "100 mm")
    s.key("Tab")  # into the length, selected whole
    s.type("50")
    ruler_of_width(s, 189, "a typed 50 mm")
    s.key("Escape")
    s.wait_no_window("^Calibrate$")
    ruler_of_width(s, win.width, "the length Escape gave back")

    calibration = open_calibration(s, win)
    ruler_of_width(s, 324, "the card's length again")
    s.move(calibration.x + 20, calibration.y + calibration.height - 8)
    s.key("Return")
    s.wait_no_window("^Calibrate$")
    dpi_e2e.choose_unit(s, win, "i", "inch scale", lambda shot: True)
    accessibility_e2e.wait_read(s, accessibility_e2e.RULER, "description", "in, calibrated",
                                "Enter to keep the calibration, as OK does")


def scenario_a_calibration_drag_puts_the_inches_where_the_object_says(s):
    # A credit card (85.60 mm) that covers 431 pixels on this screen: 128 pixels to the inch.
    win = dpi_e2e.start_fresh(s)
    open_calibration(s, win)
    card = ruler_of_width(s, 324, "the ruler set to the card's 85.60 mm at 96 dpi")
    s.drag((card.x + card.width - 5, card.y + 15), (card.x + 431 - 5, card.y + 15), steps=20)
    s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.width == 431], "the ruler dragged to 431 px")
    ok = dpi_e2e.control_rects(s, "Calibrate")["OK"]
    s.click((ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2)
    s.wait_no_window("^Calibrate$")
    calibrated = vindle.ruler(s)
    half_inches = [k * 64 for k in range(1, 20) if dpi_e2e.END_ZONE <= k * 64 < calibrated.width - dpi_e2e.END_ZONE]
    shot = dpi_e2e.choose_unit(s, calibrated, "i", "inch scale",
                               lambda shot: dpi_e2e.tick_centres(shot, calibrated, dpi_e2e.LONG_ONLY_ROW) == half_inches)
    s.expect_equal(dpi_e2e.tick_centres(shot, calibrated, dpi_e2e.LONG_ONLY_ROW), half_inches,
                   "half-inch ticks 64 pixels apart after the calibration")
    accessibility_e2e.wait_read(s, accessibility_e2e.RULER, "description", "in, calibrated",
                                "a screen reader told what the inches rest on")


def scenario_logical_pixels_count_at_the_monitors_scale(s):
    # At 150 % a logical pixel is one and a half of the device's: the 640-pixel first ruler
    # measures 427 logical ones, and its numbers say so.
    with s.at_dpi(144):
        win = dpi_e2e.start_fresh(s, "<settings>\n<parameters><logicalpixels>True</logicalpixels></parameters>\n</settings>\n")
        dpi_e2e.away(s, win)
        accessibility_e2e.wait_read(s, accessibility_e2e.RULER, "value", rf"length {round(win.width / 1.5)} px \(logical\)",
                                    "the ruler's length in logical pixels")
        s.screenshot("logical-pixels")
        s.end_all()
