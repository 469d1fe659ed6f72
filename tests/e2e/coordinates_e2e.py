"""The coordinates tool window: tray toggle, first place, what it shows, a restart, snapping."""
import harness
import vindle

COORDINATES = vindle.COORDINATES_WINDOW
RED, BLUE = (255, 0, 0), (0, 0, 255)
SWATCH_CENTRE = (78, 12)        # client coordinates of the swatch's middle
LABELS = (0, 5, 65, 18)         # both coordinate labels, client coordinates


def scenario_tray_shows_and_hides_it_at_its_first_place(s):
    process, _, win = COORDINATES.first_shown(s)
    s.screenshot("shown")
    s.expect_equal(win.x + win.width, harness.SCREEN_WIDTH - 8, "right edge 8 pixels inside the work area")
    s.expect_equal(win.y, harness.SCREEN_HEIGHT - 2 * win.height - 8,
                   "top one window height above the colour picker's place (the work area is the whole screen)")
    COORDINATES.toggle(s)
    s.wait_no_window(COORDINATES.title)
    s.screenshot("hidden")
    COORDINATES.show(s)
    vindle.exit_vindle(s, process)


def scenario_shows_the_cursor_position_and_the_colour_under_it(s):
    process, _, win = COORDINATES.first_shown(s)
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")

    def swatch_and_labels(x, y, colour, label):
        s.move(x, y)

        def painted():
            shot = s.screenshot(label)
            left, top = COORDINATES.client_origin(win)
            if shot.pixel(left + SWATCH_CENTRE[0], top + SWATCH_CENTRE[1]) != colour:
                return None
            return shot, left, top
        shot, left, top = s.wait_for(painted, f"the swatch to show {colour} under {x},{y}", timeout=5)
        s.expect_pixel(shot, left + SWATCH_CENTRE[0] - 6, top + SWATCH_CENTRE[1], (0, 0, 0), "the swatch's outline")
        x0, y0, x1, y1 = LABELS
        return [shot.row(top + row, left + x0, left + x1) for row in range(y0, y1)]

    red_labels = swatch_and_labels(probe.x + 60, probe.y + 60, RED, "over-red")
    blue_labels = swatch_and_labels(probe.x + 3, probe.y + 3, BLUE, "over-blue")
    s.expect(red_labels != blue_labels, "the coordinate labels change with the cursor")
    s.expect(any((0, 0, 0) in row for row in blue_labels), "the coordinates are written in black")
    vindle.exit_vindle(s, process)


def scenario_its_place_survives_a_restart(s):
    process, _, win = COORDINATES.first_shown(s)
    moved = COORDINATES.drag_by_caption(s, win, (-400, -300))
    s.expect_equal((moved.x - win.x, moved.y - win.y), (-400, -300), "offset of the dragged window")
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), encoding="utf-8", errors="replace") as stored:
        text = stored.read()
    s.expect("<cursorcoordinates>" in text, "the settings file keeps the window's place")

    process = vindle.start(s)
    vindle.ruler(s)
    again = COORDINATES.show(s)
    s.screenshot("after-restart")
    s.expect_equal((again.x, again.y), (moved.x, moved.y), "the place after a restart")
    vindle.exit_vindle(s, process)


def scenario_snaps_to_the_rulers_edge(s):
    COORDINATES.check_snaps_to_the_rulers_edge(s)
