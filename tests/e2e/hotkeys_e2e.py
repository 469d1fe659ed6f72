"""System-wide hotkeys pressed while another program has the keyboard: the ruler's chord hides
and shows the ruler, the colour chord copies the colour under the pointer. Under Wine a hotkey
arrives while a Wine window has the X keyboard focus, so a probe window of our own takes it."""
import vindle

RULER_CHORD = "ctrl+alt+shift+r"
COLOR_CHORD = "ctrl+alt+shift+c"


def focused_probe(s):
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")
    s.wait_for(lambda: s.screenshot("probe").pixel(probe.x + 2, probe.y + 2) == (0, 0, 255),
               "the probe to paint its blue corner")
    s.click(probe.x + 60, probe.y + 60)
    return probe


def scenario_the_ruler_chord_hides_and_shows_the_ruler(s):
    process, win = vindle.ruler_at_default(s)
    focused_probe(s)
    s.key(RULER_CHORD)
    s.wait_no_window(vindle.RULER_TITLE)   # kept on top by default, so the chord hides it
    s.key(RULER_CHORD)
    shown = vindle.ruler(s)
    s.expect_equal((shown.x, shown.y), (win.x, win.y), "the ruler back in its place")
    s.wait_for(lambda: s.screenshot("shown-again").pixel(shown.x + 130, shown.y + 3) == vindle.LIGHT_YELLOW,
               "the ruler painted again")
    vindle.exit_vindle(s, process)


def scenario_the_colour_chord_copies_the_colour_under_the_pointer(s):
    process, _ = vindle.ruler_at_default(s)
    probe = focused_probe(s)
    # Two places of other colours, so that the copied text follows the pixel.
    for x, y in ((probe.x + 4, probe.y + 4), (probe.x + 60, probe.y + 60)):
        s.move(x, y)
        r, g, b = s.screenshot("pointer").pixel(x, y)
        s.key(COLOR_CHORD)
        vindle.expect_clipboard(s, f"#{r:02X}{g:02X}{b:02X}", f"the colour at ({x}, {y}) on the clipboard")
    vindle.exit_vindle(s, process)
