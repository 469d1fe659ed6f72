"""The ruler from the keyboard: arrows move it to the pixel, Ctrl + arrows stretch it, Ctrl + C
copies its length, Shift + F10 and the menu key open its menu beside the buttons."""

import harness
import vindle

BLACK = (0, 0, 0)
# The default background 0xA0FFFF moved a quarter of the way to black: the end zones.
END_ZONE = (0xC0, 0xC0, 0x78)
# A row of the horizontal ruler through its end zones, clear of buttons, ticks and numbers.
ROW = 8


def edges(shot, win, dy=0):
    """The ruler's left and right outline columns on screen, read from the pixels of the end
    zones in one row (the outline lies just outside them) of the ruler moved down by dy;
    None when the row shows none."""
    y = win.y + dy + ROW
    zone = [x for x in range(max(0, win.x - 60), min(shot.width, win.x + win.width + 60))
            if shot.pixel(x, y) == END_ZONE]
    if len(zone) < 20 or shot.pixel(zone[0] - 1, y) != BLACK or shot.pixel(zone[-1] + 1, y) != BLACK:
        return None
    return zone[0] - 1, zone[-1] + 1


def top(shot, win, left):
    """The ruler's top outline row, read down a column of its left end zone."""
    x = left + 8
    zone = [y for y in range(max(0, win.y - 60), min(shot.height, win.y + win.height + 60))
            if shot.pixel(x, y) == END_ZONE]
    return zone[0] - 1 if len(zone) >= 20 else None


def expect_settles(s, label, read, expected, what):
    """Waits until the screen shows what the keys should have done (the program handles them
    in its own time), then checks it."""
    seen = []

    def settled():
        seen.append(read(s.screenshot(label)))
        return seen[-1] == expected

    try:
        s.wait_for(settled, what, timeout=10)
    except harness.ScenarioFailure:
        s.expect_equal(seen[-1], expected, what)


def new_popups(s, before):
    return [w for w in s.find_windows("") if w.id not in before and w.height > 100]


def focus_ruler(s, win):
    """Keys go to the window under the pointer: rest it on the ruler's middle (off the end
    zones the scenario reads) and click there once, which moves nothing."""
    s.click(win.x + win.width // 2, win.y + 15)


def scenario_arrow_keys_move_and_ctrl_arrows_stretch_the_ruler_to_the_pixel(s):
    process, win = vindle.ruler_at_default(s)
    focus_ruler(s, win)
    shot = s.screenshot("before")
    left, right = edges(shot, win)
    s.expect_equal((left, top(shot, win, left), right - left + 1), (win.x, win.y, win.width),
                   "the ruler's pixels where its window is")
    y0 = win.y

    def moved(label, keys, dy, expected, what):
        s.key(*keys)
        expect_settles(s, label, lambda shot: edges(shot, win, dy), expected, what)

    def lowered(label, keys, left_now, expected, what):
        s.key(*keys)
        expect_settles(s, label, lambda shot: top(shot, win, left_now), expected, what)

    moved("right-1", ["Right"], 0, (left + 1, right + 1), "Right: one pixel to the right")
    moved("shift-right-10", ["shift+Right"], 0, (left + 11, right + 11), "Shift+Right: ten more")
    lowered("down-12", ["Down", "Down", "shift+Down"], left + 11, y0 + 12, "Down, Down, Shift+Down: twelve down")
    moved("left-1", ["Left"], 12, (left + 10, right + 10), "Left: one pixel back")
    lowered("up-10", ["shift+Up"], left + 10, y0 + 2, "Shift+Up: ten pixels up")

    # The scale begins at the left end, which stays; the right end follows the arrows.
    moved("ctrl-right", ["ctrl+Right"], 2, (left + 10, right + 11), "Ctrl+Right: one pixel longer")
    moved("ctrl-shift-left", ["ctrl+shift+Left"], 2, (left + 10, right + 1), "Ctrl+Shift+Left: ten shorter")
    moved("ctrl-up", ["ctrl+Up"], 2, (left + 10, right + 1), "Ctrl+Up on a horizontal ruler: no change")
    placed = vindle.ruler(s)
    s.expect_equal((placed.x, placed.y, placed.width, placed.height), (win.x + 10, win.y + 2, win.width - 9, 30),
                   "the window where the pixels put it")

    # Ctrl+C: the length in pixels, as the ruler is set up by default.
    s.key("ctrl+c")
    vindle.expect_clipboard(s, f"{win.width - 9} px", "the copied length")

    vindle.exit_vindle(s, process)
    # Stored like any move: the next start puts the ruler where the keys left it.
    process = vindle.start(s)
    again = vindle.ruler(s)
    s.expect_equal((again.x, again.y, again.width), (placed.x, placed.y, placed.width), "the ruler after a restart")
    vindle.exit_vindle(s, process)


def scenario_shift_f10_and_the_menu_key_open_the_menu_with_copy_length(s):
    process, win = vindle.ruler_at_default(s)
    focus_ruler(s, win)

    before = {w.id for w in s.find_windows("")}
    s.key("shift+F10")
    menu = s.wait_for(lambda: new_popups(s, before), "Shift+F10 to open the ruler menu")[0]
    s.screenshot("shift-f10-menu")
    # The scale is at the bottom edge; the buttons, and the menu, are above, at the first button.
    s.expect(menu.y + menu.height <= win.y, f"the menu above the ruler, off its scale ({menu.rect})")
    s.expect_equal(menu.x, win.x + 18, "the menu's left edge at the first button")
    # By the keyboard: the unit submenu, then "Inch".
    s.key("u", "i")
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")

    # The item before the last separator and "&Hide" is "&Copy length": Up twice from the top.
    s.move(win.x + win.width // 2, win.y + 15)
    s.key("Menu")
    s.wait_for(lambda: new_popups(s, before), "the menu key to open the ruler menu")
    s.screenshot("menu-key-menu")
    s.key("Up", "Up")
    s.screenshot("copy-length-selected")
    s.key("Return")
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")
    # 640 pixels at 96 pixels per inch.
    vindle.expect_clipboard(s, "6.67 in", "the length copied from the menu")

    # Its accelerator is C.
    s.key("shift+F10")
    s.wait_for(lambda: new_popups(s, before), "the menu to open again")
    s.key("u", "c")  # centimetres
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")
    s.key("shift+F10")
    s.wait_for(lambda: new_popups(s, before), "the menu to open once more")
    s.key("c")
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")
    vindle.expect_clipboard(s, "16.9 cm", "the length in centimetres")
    vindle.exit_vindle(s, process)
