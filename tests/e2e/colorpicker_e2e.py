"""The colour picker tool window: tray toggle, first place, eyedropper, a restart, snapping."""
import re

import harness
import vindle

PICKER = vindle.COLOR_PICKER_WINDOW
RED, WHITE = (255, 0, 0), (255, 255, 255)
EYEDROPPER = (10, 12)           # client coordinates of the eyedropper square's middle
FACE = (28, 4)                  # a face pixel clear of the caption, the glyph and the frame


def face_colour(s, win, label):
    shot = s.screenshot(label)
    left, top = PICKER.client_origin(win)
    return shot.pixel(left + FACE[0], top + FACE[1])


def wait_face(s, win, colour, label):
    s.wait_for(lambda: face_colour(s, win, label) == colour, f"the colour box to show {colour}", timeout=8)


def pick_red(s, win):
    """Drags from the eyedropper onto the probe window's red area and lets go there."""
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")
    left, top = PICKER.client_origin(win)
    s.drag((left + EYEDROPPER[0], top + EYEDROPPER[1]), (probe.x + 60, probe.y + 60), steps=15)
    wait_face(s, win, RED, "picked")
    return probe


def scenario_tray_shows_and_hides_it_at_its_first_place(s):
    process, _, win = PICKER.first_shown(s)
    wait_face(s, win, WHITE, "shown")
    s.expect_equal(win.x + win.width, harness.SCREEN_WIDTH - 8, "right edge 8 pixels inside the work area")
    s.expect_equal(win.y + win.height, harness.SCREEN_HEIGHT - 8, "bottom edge 8 pixels inside the work area")

    coordinates = vindle.COORDINATES_WINDOW.show(s)
    s.screenshot("both")
    s.expect_equal((coordinates.x, coordinates.y + coordinates.height), (win.x, win.y),
                   "the coordinates window sits directly above the picker")

    PICKER.toggle(s)
    s.wait_no_window(PICKER.title)
    s.screenshot("hidden")
    again = PICKER.show(s)
    s.expect_equal((again.x, again.y), (win.x, win.y), "shown again where it was")
    vindle.exit_vindle(s, process)


def scenario_eyedropper_picks_the_colour_under_the_pointer(s):
    process, _, win = PICKER.first_shown(s)
    wait_face(s, win, WHITE, "white")
    pick_red(s, win)
    s.screenshot("red")
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), encoding="utf-8", errors="replace") as stored:
        text = stored.read()
    s.expect("<color>0000FFh</color>" in text, "the picked red is stored as the picker's colour")


def scenario_colour_component_and_place_survive_a_restart(s):
    process, _, win = PICKER.first_shown(s)
    pick_red(s, win)
    moved = PICKER.drag_by_caption(s, win, (-500, -400))
    s.expect_equal((moved.x - win.x, moved.y - win.y), (-500, -400), "offset of the dragged window")
    vindle.exit_vindle(s, process)

    # Another colour component, as the colour dialog would have left it.
    path = vindle.settings_file()
    with open(path, encoding="utf-8") as stored:
        text = stored.read()
    s.expect("<colorpicker>" in text and "<component>pccHue</component>" in text, "the picker's settings are stored")
    with open(path, "w", encoding="utf-8") as stored:
        stored.write(text.replace("<component>pccHue</component>", "<component>pccBlue</component>", 1))

    process = vindle.start(s)
    vindle.ruler(s)
    again = PICKER.show(s)
    wait_face(s, again, RED, "after-restart")
    s.expect_equal((again.x, again.y), (moved.x, moved.y), "the place after a restart")
    vindle.exit_vindle(s, process)
    with open(path, encoding="utf-8") as stored:
        text = stored.read()
    picker = re.search(r"<colorpicker>(.*?)</colorpicker>", text, re.S)
    s.expect(picker is not None, "the picker's settings are stored again")
    if picker:
        s.expect("<color>0000FFh</color>" in picker.group(1), "the colour came back and was stored again")
        s.expect("<component>pccBlue</component>" in picker.group(1), "the component came back and was stored again")


def scenario_snaps_to_the_rulers_edge(s):
    PICKER.check_snaps_to_the_rulers_edge(s)


def scenario_clicking_the_face_opens_the_colour_dialog_and_cancel_keeps_the_colour(s):
    process, _, win = PICKER.first_shown(s)
    wait_face(s, win, WHITE, "white")
    left, top = PICKER.client_origin(win)
    s.click(left + 44, top + 12)
    dialog = s.wait_window("^Select color$")
    s.screenshot("dialog")
    s.key("Escape")
    s.wait_no_window("^Select color$")
    wait_face(s, win, WHITE, "cancelled")
    s.expect(dialog.width > 200, "the dialog opened at its full size")
    vindle.exit_vindle(s, process)
