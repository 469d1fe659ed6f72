"""The ruler's magnifier: what lies under the mouse, enlarged, in the square at the ruler's end."""
import vindle

ZOOM = 3        # configuration 3's magnifier
SIDE = 50       # its ruler is 50 pixels thick; the square is as wide
SHOWN = 17      # screen pixels across: 48 inner pixels need 16, rounded up to an odd count
CENTRE = 25     # the target's square is 24..26; the crosshairs run through its middle


def scenario_magnifier_shows_the_screen_under_the_mouse_enlarged(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.choose_from_tray_menu(s, "3")
    ruler = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == SIDE],
                       "the 50-pixel ruler of configuration 3")[0]
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")

    # The mouse on the first red pixel diagonally off the probe's 10 x 10 blue corner.
    tx, ty = probe.x + 10, probe.y + 10
    s.move(tx, ty)
    mx, my = ruler.x + ruler.width - SIDE, ruler.y   # "end", not flipped: the right end
    red, blue, black = (255, 0, 0), (0, 0, 255), (0, 0, 0)

    def centre_shows_the_target():
        shot = s.screenshot("magnified")
        return shot if shot.pixel(mx + 24, my + 24) == red and shot.pixel(mx + 20, my + 20) == blue else None

    shot = s.wait_for(centre_shows_the_target, "the magnifier to show the probe's corner")
    s.expect_pixel(shot, mx + 2, my + 2, blue, "upper left: the blue corner")
    s.expect_pixel(shot, mx + 23, my + 23, blue, "the last blue square before the target")
    s.expect_pixel(shot, mx + 45, my + 45, red, "lower right: the red face")
    s.expect_pixel(shot, mx, my + 10, black, "the border, black on the silver ruler")
    s.expect_pixel(shot, mx + CENTRE, my + 5, black, "the upper arm of the open cross")

    # Pixel by pixel: each screen pixel as a 3 x 3 square, the image starting at the
    # square's corner (17 x 3 = 51 pixels, cropped at the right and bottom).
    half = SHOWN // 2
    for y in range(1, SIDE - 1):
        for x in range(1, SIDE - 1):
            if x == CENTRE or y == CENTRE:
                continue
            expected = shot.pixel(tx - half + x // ZOOM, ty - half + y // ZOOM)
            s.expect_pixel(shot, mx + x, my + y, expected, f"magnified pixel {x},{y}")
    vindle.exit_vindle(s, process)
