"""The measure tool over a window of known rectangles: the probe window is 200 x 120 pixels of
red at (100, 100) with a blue 10 x 10 corner. Started by its hotkey (under Wine a hotkey arrives
while a Wine window has the X keyboard focus, so the probe takes it first) or from the tray menu
(whose fading menu must not reach the snapshot), read back with Ctrl+C, from a screen reader and
on the screen, pinned, snapped and ended."""
import vindle

MEASURE_CHORD = "ctrl+alt+shift+m"
OVERLAY = "^Measure$"
LINE = (0xE6, 0x00, 0x63)   # the default line colour
RED = (255, 0, 0)


def measure_over_probe(s, from_tray_menu=False):
    process = vindle.start(s, wait_for_tray=True)
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")
    s.wait_for(lambda: s.screenshot("probe").pixel(probe.x + 2, probe.y + 2) == (0, 0, 255),
               "the probe to paint its blue corner")
    if from_tray_menu:
        vindle.choose_from_tray_menu(s, "m")
    else:
        s.click(probe.x + 60, probe.y + 60)
        s.move(200, 160)
        s.key(MEASURE_CHORD)
    s.wait_window(OVERLAY)
    return process


def scenario_spacing_inside_a_rectangle_is_read_pinned_and_the_desktop_restored(s):
    vindle.forget_settings()
    process = measure_over_probe(s)
    s.wait_for(lambda: s.screenshot("spacing").pixel(100, 160) == LINE, "the horizontal span drawn")
    shot = s.screenshot("spacing-drawn")
    for x, y in ((100, 160), (299, 160), (200, 100), (200, 219)):
        s.expect_pixel(shot, x, y, LINE, f"the span reaching ({x}, {y})")
    s.expect_pixel(shot, 300, 160, shot.pixel(300, 150), "nothing beyond the rectangle's edge")
    s.key("ctrl+c")
    vindle.expect_clipboard(s, "200 \u00d7 120 px", "the spacing inside the probe copied")
    heard = vindle.read_accessible(s, "TVindleMeasureOverlay")["TVindleMeasureOverlay"]
    s.expect_equal(heard["value"], "200 \u00d7 120 px", "what a screen reader hears")

    # Pinned, it stays when the pointer moves on; a click pins the blue corner as well. The
    # horizontal span pinned at the same place gets a label of its own beside the first.
    s.key("Return")
    s.key("shift+Return")
    s.screenshot("pins-at-one-place")
    s.move(500, 400)
    s.wait_for(lambda: s.screenshot("pinned-after-move").pixel(500, 160) == LINE, "the spacing at the new place")
    s.expect_pixel(s.screenshot("pinned-after-move"), 299, 160, LINE, "the pinned span still drawn")
    s.key("shift+Left")   # the keyboard moves the pointer by ten pixels
    s.wait_for(lambda: s.pointer() == (490, 400), "the pointer ten pixels left after Shift+Left")
    s.click(104, 104)
    s.key("ctrl+shift+c")
    vindle.expect_clipboard(s, "200 \u00d7 120 px\n200 px\n10 \u00d7 10 px",
                            "the pinned measurements copied, one per line")

    s.key("Escape")
    s.wait_no_window(OVERLAY)
    s.wait_for(lambda: s.screenshot("ended").pixel(100, 160) == RED, "the desktop as it was")
    vindle.exit_vindle(s, process)


def scenario_a_bounds_drag_snaps_and_a_line_reads_its_angle(s):
    vindle.forget_settings()
    process = measure_over_probe(s, from_tray_menu=True)
    # Alt snaps the dragged rectangle to what lies inside it: the probe.
    s.drag((70, 80), (340, 260), hold=("alt",))
    s.wait_for(lambda: s.screenshot("bounds-snapped").pixel(100, 180) == LINE,
               "the snapped rectangle's left side on the probe's")
    s.key("ctrl+c")
    vindle.expect_clipboard(s, "200 \u00d7 120 px", "the snapped bounds copied")

    s.key("3")   # distance and angle
    s.drag((400, 400), (500, 300))
    s.screenshot("line")
    s.key("ctrl+c")
    vindle.expect_clipboard(s, "141.4 px at 45.0\u00b0", "the line's length and angle")
    s.right_click(600, 500)
    s.wait_no_window(OVERLAY)
    vindle.exit_vindle(s, process)
