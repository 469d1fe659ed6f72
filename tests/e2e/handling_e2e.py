"""Handling the ruler with the mouse: the mini buttons, the double click, the axis lock on
a drag, the ruler menu with its units and presets, and the cursor line."""
import os
import re
import time

import vindle

LIGHT_YELLOW = vindle.LIGHT_YELLOW
RED = (0xFF, 0x00, 0x00)
BLACK = (0, 0, 0)

# Along the default horizontal ruler the buttons sit at 18 + 12 * slot, two pixels below its
# top edge: close, rotate, flip, turn.
CLOSE, ROTATE, FLIP, TURN = 18, 30, 42, 54
BUTTON_TOP = 2


def box(window):
    return window.x, window.y, window.width, window.height


def button_pixels(shot, win, along, top=BUTTON_TOP, skip_column=None):
    return [shot.pixel(win.x + along + dx, win.y + top + dy)
            for dy in range(11) for dx in range(11) if along + dx != skip_column]


def vertical_ruler(s):
    return s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height > w.width],
                      "a vertical ruler")[0]


def horizontal_ruler(s):
    return s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.width > w.height],
                      "a horizontal ruler")[0]


def new_popup(s, before):
    return [w for w in s.find_windows("") if w.id not in before and w.height > 100]


def open_ruler_menu(s, x, y):
    before = {w.id for w in s.find_windows("")}
    s.right_click(x, y)
    return s.wait_for(lambda: new_popup(s, before), "the ruler menu to open")[0]


def ticks_in_bottom_row(shot, win, x0=20, x1=200):
    return [x for x in range(x0, x1) if shot.pixel(win.x + x, win.y + win.height - 2) == BLACK]



def scenario_hovering_a_button_highlights_only_that_button(s):
    process, win = vindle.ruler_at_default(s)
    column = ROTATE + 5
    # The same column just below the buttons: the cursor line is in the same place in both shots.
    vindle.hover(s, win.x + column, win.y + 22)
    plain = s.screenshot("beside-rotate")
    s.move(win.x + column, win.y + BUTTON_TOP + 5)
    hot = s.wait_for(lambda: (lambda shot: shot if button_pixels(shot, win, ROTATE, skip_column=column)
                              != button_pixels(plain, win, ROTATE, skip_column=column) else None)(
        s.screenshot("rotate-hot")), "the rotate button to light up")
    s.expect_equal(button_pixels(hot, win, FLIP), button_pixels(plain, win, FLIP), "the flip button stays plain")
    s.expect_equal(button_pixels(hot, win, CLOSE), button_pixels(plain, win, CLOSE), "the close button stays plain")
    # Off the button the highlight goes again.
    s.move(win.x + column, win.y + 22)
    s.wait_for(lambda: button_pixels(s.screenshot("left-rotate"), win, ROTATE, skip_column=column)
               == button_pixels(plain, win, ROTATE, skip_column=column), "the highlight to go")
    vindle.exit_vindle(s, process)


def scenario_button_clicks_rotate_flip_turn_and_hide(s):
    process, win = vindle.ruler_at_default(s)
    s.expect(20 in ticks_in_bottom_row(s.screenshot("plain"), win), "a tick 20 pixels from the left end")

    s.click(win.x + FLIP + 5, win.y + BUTTON_TOP + 5)
    s.move(win.x + 400, win.y + 200)
    flipped = s.screenshot("flipped")
    ticks = ticks_in_bottom_row(flipped, win)
    s.expect(20 not in ticks and 24 in ticks, f"flipped: ticks count from the right end (got {ticks[:6]})")
    s.expect_equal(box(vindle.ruler(s)), box(win), "flipping keeps the window")

    s.click(win.x + TURN + 5, win.y + BUTTON_TOP + 5)
    s.move(win.x + 400, win.y + 200)
    turned = s.screenshot("turned")
    s.expect_pixel(turned, win.x + 24, win.y + 1, BLACK, "turned: the ticks hang from the top edge")
    s.expect_pixel(turned, win.x + 24, win.y + win.height - 2, LIGHT_YELLOW, "turned: none at the bottom")

    # Turned, the buttons run along the bottom edge.
    s.click(win.x + ROTATE + 5, win.y + win.height - 13 + 5)
    vertical = vertical_ruler(s)
    s.screenshot("rotated")
    # On the vertical ruler the close button is the first one down the left edge.
    s.click(vertical.x + 2 + 5, vertical.y + CLOSE + 5)
    s.wait_for(lambda: not s.find_windows(vindle.RULER_TITLE), "the ruler to hide")
    s.screenshot("hidden")
    vindle.exit_vindle(s, process)


def scenario_press_on_a_button_moved_off_before_the_release_does_nothing(s):
    process, win = vindle.ruler_at_default(s)
    rotate = (win.x + ROTATE + 5, win.y + BUTTON_TOP + 5)
    beside = (win.x + 200, win.y + 15)
    s.move(*rotate)
    s.move(rotate[0] + 1, rotate[1])
    s._xdotool("mousedown", 1)
    for x in range(rotate[0], beside[0], 20):
        s._xdotool("mousemove", x, beside[1])
        time.sleep(0.03)
    s.move(*beside)
    pressed_off = s.screenshot("pressed-moved-off")
    s._xdotool("mouseup", 1)
    time.sleep(0.5)
    s.expect_equal(box(vindle.ruler(s)), box(win), "the ruler after a cancelled press (neither moved nor rotated)")
    released = s.screenshot("released-off")
    s.expect_equal(button_pixels(released, win, ROTATE), button_pixels(pressed_off, win, ROTATE),
                   "the button is not highlighted after the release")

    # Off and back on before the release: the click counts.
    s.move(*rotate)
    s._xdotool("mousedown", 1)
    s._xdotool("mousemove", *beside)
    time.sleep(0.1)
    s._xdotool("mousemove", *rotate)
    time.sleep(0.1)
    s._xdotool("mouseup", 1)
    vertical_ruler(s)
    s.screenshot("rotated")
    vindle.exit_vindle(s, process)


def scenario_right_click_opens_the_menu_beside_a_button_but_not_on_it(s):
    process, win = vindle.ruler_at_default(s)
    before = {w.id for w in s.find_windows("")}
    s.right_click(win.x + ROTATE + 5, win.y + BUTTON_TOP + 5)
    time.sleep(0.8)
    s.screenshot("right-click-on-rotate")
    s.expect(not new_popup(s, before), "no menu after a right click on a button")

    # The one-pixel gap after the rotate button belongs to the ruler.
    menu = open_ruler_menu(s, win.x + ROTATE + 11, win.y + BUTTON_TOP + 5)
    s.screenshot("ruler-menu")
    s.expect(menu.x >= win.x + ROTATE + 11 - 2 and menu.y >= win.y, f"the menu opens at the click ({box(menu)})")
    s.key("Escape")
    s.wait_for(lambda: not new_popup(s, before), "the menu to close")
    vindle.exit_vindle(s, process)


def tick_starts(shot, win, x0=20, x1=200):
    """Where the ticks along the scale edge begin: antialiased ticks may cover two pixels."""
    row = [shot.pixel(win.x + x, win.y + win.height - 2) != LIGHT_YELLOW for x in range(x0 - 1, x1)]
    return [x0 + i for i in range(len(row) - 1) if row[i + 1] and not row[i]]


def scenario_unit_items_change_the_scale(s):
    process, win = vindle.ruler_at_default(s)
    s.move(win.x + 400, win.y + 200)
    pixels = tick_starts(s.screenshot("pixel-scale"), win)
    s.expect_equal({b - a for a, b in zip(pixels, pixels[1:])}, {5}, "pixel ticks 5 pixels apart")

    def chosen_unit(key, what, condition):
        open_ruler_menu(s, win.x + 300, win.y + 15)
        s.key("u", key)
        s.move(win.x + 400, win.y + 200)
        seen = []

        def settled():
            seen.append(tick_starts(s.screenshot(what), win))
            return condition(seen[-1])

        s.wait_for(settled, f"the {what}")
        return seen[-1]

    # At 96 pixels per inch a millimetre is about 3.8 pixels.
    centimetres = chosen_unit("c", "centimetre scale", lambda t: bool(t) and t != pixels)
    gaps = {b - a for a, b in zip(centimetres, centimetres[1:])}
    s.expect(gaps <= {3, 4}, f"millimetre ticks 3 or 4 pixels apart, got gaps {sorted(gaps)}")
    chosen_unit("n", "scale without ticks", lambda t: t == [])
    chosen_unit("p", "pixel scale again", lambda t: t == pixels)
    vindle.exit_vindle(s, process)


def choose_preset(s, win, index):
    open_ruler_menu(s, win.x + 200, win.y + 15)
    s.key("p", *(["Down"] * index), "Return")


def scenario_presets_resize_and_keep_the_end_where_the_scale_begins(s):
    process, win = vindle.ruler_at_default(s)
    choose_preset(s, win, 0)
    s.wait_for(lambda: vindle.ruler(s).width == 400, "the ruler to be 400 pixels long")
    s.expect_equal(box(vindle.ruler(s)), (win.x, win.y, 400, 30), "the 400-pixel ruler keeps its left end")
    s.screenshot("preset-400")

    # Flipped, the scale begins at the right end: that end stays.
    s.click(win.x + FLIP + 5, win.y + BUTTON_TOP + 5)
    choose_preset(s, win, 1)
    s.wait_for(lambda: vindle.ruler(s).width == 500, "the ruler to be 500 pixels long")
    s.expect_equal(box(vindle.ruler(s)), (win.x + 400 - 500, win.y, 500, 30),
                   "the flipped 500-pixel ruler keeps its right end")
    s.screenshot("preset-500-flipped")
    vindle.exit_vindle(s, process)


def scenario_double_click_rotates_and_exit_action_saves_the_settings(s):
    process, win = vindle.ruler_at_default(s)
    s.double_click(win.x + 300, win.y + 15)
    vertical = vertical_ruler(s)
    s.screenshot("double-click-rotated")
    s.double_click(vertical.x + 15, vertical.y + 300)
    horizontal_ruler(s)
    vindle.exit_vindle(s, process)

    # The exit action: the program ends and writes where the ruler was left.
    path = vindle.settings_file()
    with open(path, encoding="utf-8") as f:
        text = f.read()
    s.expect("<doubleclickaction>0</doubleclickaction>" in text, "the settings file has the double-click action")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text.replace("<doubleclickaction>0</doubleclickaction>", "<doubleclickaction>4</doubleclickaction>"))
    process = vindle.start(s)
    win = vindle.ruler(s)
    s.drag((win.x + 300, win.y + 15), (win.x + 340, win.y - 60))
    moved = vindle.ruler(s)
    s.expect_equal((moved.x, moved.y), (win.x + 40, win.y - 75), "the ruler after the drag")
    s.double_click(moved.x + 300, moved.y + 15)
    s.expect(s.wait_exit(process, 10) is not None, "Vindle ends after the exit double click")
    with open(path, encoding="utf-8") as f:
        saved = f.read()
    horizontal = re.search(r"<horizontal>.*?<x>(-?\d+)</x>\s*<y>(-?\d+)</y>", saved, re.S)
    s.expect(horizontal is not None, "the horizontal placement in the settings file")
    # The placement is the point where the left end meets the scale edge (the bottom).
    s.expect_equal((int(horizontal.group(1)), int(horizontal.group(2))), (moved.x, moved.y + moved.height),
                   "the saved horizontal position")
    s.expect("<doubleclickaction>4</doubleclickaction>" in saved, "the exit action is kept")


def scenario_shift_drag_moves_only_along_the_dominant_axis(s):
    process, win = vindle.ruler_at_default(s)
    start = (win.x + 300, win.y + 15)
    s.drag(start, (start[0] + 30, start[1] - 90), hold=("shift",))
    first = vindle.ruler(s)
    s.expect_equal((first.x, first.y), (win.x, win.y - 90), "mostly upwards with shift: only vertically")
    start = (first.x + 300, first.y + 15)
    s.drag(start, (start[0] + 120, start[1] + 40), hold=("shift",))
    second = vindle.ruler(s)
    s.expect_equal((second.x, second.y), (first.x + 120, first.y), "mostly sideways with shift: only horizontally")

    # Shift let go halfway: the drag is free again.
    start = (second.x + 300, second.y + 15)
    s.move(*start)
    s._xdotool("keydown", "shift")
    s._xdotool("mousedown", 1)
    for i in range(1, 6):
        s._xdotool("mousemove", start[0] + 10 * i, start[1] + 4 * i)
        time.sleep(0.04)
    s._xdotool("keyup", "shift")
    for i in range(6, 11):
        s._xdotool("mousemove", start[0] + 10 * i, start[1] + 4 * i)
        time.sleep(0.04)
    time.sleep(0.1)
    s._xdotool("mouseup", 1)
    time.sleep(0.3)
    third = vindle.ruler(s)
    s.expect_equal((third.x, third.y), (second.x + 100, second.y + 40), "free once shift is released")
    s.screenshot("after-drags")
    vindle.exit_vindle(s, process)


def scenario_cursor_line_and_label_follow_the_mouse(s):
    process, win = vindle.ruler_at_default(s)
    shots = {}
    for along in (137, 237):
        s.move(win.x + along + 20, win.y + 20)
        s.move(win.x + along, win.y + 20)
        shots[along] = s.wait_for(
            lambda: (lambda shot: shot if shot.pixel(win.x + along, win.y + 5) == RED else None)(
                s.screenshot(f"cursor-at-{along}")), f"the cursor line at {along}")
        shot = shots[along]
        s.expect_pixel(shot, win.x + along, win.y + win.height - 2, RED, "the line reaches the scale edge")
        s.expect(shot.pixel(win.x + along - 1, win.y + 5) != RED and shot.pixel(win.x + along + 1, win.y + 5) != RED,
                 "the line is one pixel wide")

    def label_part(shot, along, x0, x1):
        return [shot.pixel(win.x + along + dx, win.y + y) for dx in range(x0, x1) for y in range(win.height)]

    # The labels read "137" and "237": one glyph every 5 pixels from 4 pixels right of the line,
    # so "37" is the same in both and the first digit differs.
    s.expect_equal(label_part(shots[137], 137, 9, 19), label_part(shots[237], 237, 9, 19), "the digits '37'")
    s.expect(label_part(shots[137], 137, 4, 8) != label_part(shots[237], 237, 4, 8), "the digits '1' and '2' differ")
    s.expect(label_part(shots[137], 237, 4, 19) != label_part(shots[237], 237, 4, 19),
             "no label at 237 while the mouse is at 137")
    vindle.exit_vindle(s, process)
