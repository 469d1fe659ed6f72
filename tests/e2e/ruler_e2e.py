"""The ruler window: first placement, scale pixels, dragging, stretching, snapping, rotating,
configurations and transparency."""
import subprocess

import harness
import vindle

LIGHT_YELLOW = vindle.LIGHT_YELLOW


def scenario_first_start_shows_the_default_ruler(s):
    process, win = vindle.ruler_at_default(s)
    screen_w, screen_h = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
    s.expect_equal((win.width, win.height), (screen_w // 2, 30), "size of the first ruler")
    s.expect_equal((win.x, win.y + win.height), ((screen_w - screen_w // 2) // 2, screen_h // 2),
                   "its scale edge lies on the horizontal centre line, horizontally centred")
    s.move(win.x + 400, win.y + 200)   # keep the cursor line out of the way
    shot = s.screenshot("first-start")
    bottom = win.y + win.height - 2     # the row just inside the scale edge
    for along in range(20, 110, 5):    # past the 16-pixel end zone
        s.expect_pixel(shot, win.x + along, bottom, (0, 0, 0), f"tick at {along} pixels")
        s.expect_pixel(shot, win.x + along + 2, bottom, LIGHT_YELLOW, f"no tick at {along + 2} pixels")
    vindle.exit_vindle(s, process)


def scenario_drag_moves_and_snaps_to_the_work_area(s):
    process, win = vindle.ruler_at_default(s)
    s.drag((win.x + 300, win.y + 15), (win.x + 350, win.y - 85))
    moved = vindle.ruler(s)
    s.expect_equal((moved.x, moved.y, moved.width), (win.x + 50, win.y - 100, win.width), "the ruler after a drag")
    # Dragged to 3 pixels from the left edge of the work area, it snaps onto it.
    s.drag((moved.x + 300, moved.y + 15), (300 + 3, moved.y + 15))
    snapped = vindle.ruler(s)
    s.expect_equal(snapped.x, 0, "left edge snapped to the work area")
    # 20 pixels away it stays where it is dropped.
    s.drag((snapped.x + 300, snapped.y + 15), (snapped.x + 320, snapped.y + 15))
    s.expect_equal(vindle.ruler(s).x, 20, "no snapping 20 pixels away")
    s.screenshot("after-drags")
    vindle.exit_vindle(s, process)


def scenario_stretch_at_the_end_keeps_at_least_100_pixels(s):
    process, win = vindle.ruler_at_default(s)
    right = win.x + win.width - 8
    s.drag((right, win.y + 15), (right + 100, win.y + 15))
    longer = vindle.ruler(s)
    s.expect_equal((longer.x, longer.width, longer.height), (win.x, win.width + 100, 30), "stretched ruler")
    right = longer.x + longer.width - 8
    s.drag((right, longer.y + 15), (longer.x - 300, longer.y + 15), steps=15)
    shortest = vindle.ruler(s)
    s.expect_equal((shortest.x, shortest.width), (win.x, 100), "the ruler stops at 100 pixels")
    s.screenshot("shortest")
    vindle.exit_vindle(s, process)


def scenario_space_rotates_to_the_vertical_placement(s):
    process, win = vindle.ruler_at_default(s)
    s.click(win.x + 300, win.y + 15)    # focus the ruler
    s.key("space")
    vertical = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height > w.width],
                          "a vertical ruler")[0]
    screen_w, screen_h = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
    s.expect_equal((vertical.x, vertical.y, vertical.width, vertical.height),
                   (screen_w // 2 - 30, (screen_h - screen_h // 2) // 2, 30, screen_h // 2),
                   "the first vertical ruler: centred, scale edge on the vertical centre line")
    s.screenshot("vertical")
    s.move(vertical.x + 15, vertical.y + 200)
    s.key("space")
    back = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.width > w.height],
                      "the horizontal ruler again")[0]
    s.expect_equal((back.x, back.y, back.width, back.height), (win.x, win.y, win.width, win.height),
                   "rotating twice returns to the same rectangle")
    vindle.exit_vindle(s, process)


def window_opacity(s, win):
    out = subprocess.run(["xprop", "-id", str(win.id), "_NET_WM_WINDOW_OPACITY"], capture_output=True,
                         text=True).stdout
    return int(out.split("=")[1].strip()) if "=" in out else None


def scenario_translucent_configuration_is_layered_with_alpha_166(s):
    process, win = vindle.ruler_at_default(s)
    s.expect_equal(window_opacity(s, win), None, "an opaque ruler is not layered")
    vindle.choose_from_tray_menu(s, "3")
    silver = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == 50],
                        "the 50-pixel ruler of configuration 3")[0]
    opacity = s.wait_for(lambda: window_opacity(s, silver), "the ruler to become translucent")
    s.expect_equal(round(opacity * 255 / 0xFFFFFFFF), 166, "alpha of the translucent ruler")
    s.screenshot("translucent")
    vindle.exit_vindle(s, process)
