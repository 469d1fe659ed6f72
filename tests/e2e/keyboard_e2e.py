"""The ruler from the keyboard: arrows move it to the pixel, Ctrl + arrows stretch it, Ctrl + C
copies its length, Shift + F10 and the menu key open its menu beside the buttons."""
import os
import subprocess

import vindle

BLACK = (0, 0, 0)
# The default background 0xA0FFFF moved a quarter of the way to black: the end zones.
END_ZONE = (0xC0, 0xC0, 0x78)
# A row of the horizontal ruler through its end zones, clear of buttons, ticks and numbers.
ROW = 8


def ruler_edges(s, label):
    """The ruler's left and right outline columns on screen, read from the pixels of the end
    zones in one row: the outline lies just outside them."""
    win = vindle.ruler(s)
    shot = s.screenshot(label)
    y = win.y + ROW
    zone = [x for x in range(max(0, win.x - 40), min(shot.width, win.x + win.width + 40))
            if shot.pixel(x, y) == END_ZONE]
    s.expect(len(zone) >= 20, f"{label}: end zones in row {y} ({len(zone)} pixels)")
    left, right = zone[0] - 1, zone[-1] + 1
    s.expect_pixel(shot, left, y, BLACK, f"{label}: the left outline")
    s.expect_pixel(shot, right, y, BLACK, f"{label}: the right outline")
    return left, right


def ruler_top(s, label, left):
    """The ruler's top outline row, read down a column of the left end zone."""
    win = vindle.ruler(s)
    shot = s.screenshot(label)
    x = left + 8
    zone = [y for y in range(max(0, win.y - 40), min(shot.height, win.y + win.height + 40))
            if shot.pixel(x, y) == END_ZONE]
    s.expect(len(zone) >= 20, f"{label}: end zone in column {x}")
    return zone[0] - 1


def clipboard_text(s):
    out = os.path.join(s.shots_dir, "clipboard.txt")
    if os.path.exists(out):
        os.remove(out)
    helper = s.path("tests/win/ClipboardText.exe")
    code = subprocess.run(["wine", helper, s.windows_path(out)], capture_output=True, timeout=30).returncode
    s.expect(code == 0 and os.path.exists(out), f"text on the clipboard (helper exit code {code})")
    with open(out, encoding="utf-8") as f:
        return f.read()


def new_popups(s, before):
    return [w for w in s.find_windows("") if w.id not in before and w.height > 100]


def focus_ruler(s, win):
    """Keys go to the window under the pointer: rest it on the ruler's middle (off the end
    zones the scenario reads) and click there once, which moves nothing."""
    s.click(win.x + win.width // 2, win.y + 15)


def scenario_arrow_keys_move_and_ctrl_arrows_stretch_the_ruler_to_the_pixel(s):
    process, win = vindle.ruler_at_default(s)
    focus_ruler(s, win)
    left, right = ruler_edges(s, "before")
    top = ruler_top(s, "before-top", left)
    s.expect_equal((left, top, right - left + 1), (win.x, win.y, win.width), "the ruler as its window says")

    s.key("Right")
    s.expect_equal(ruler_edges(s, "right-1"), (left + 1, right + 1), "Right: one pixel to the right")
    s.key("shift+Right")
    s.expect_equal(ruler_edges(s, "shift-right-10"), (left + 11, right + 11), "Shift+Right: ten more")
    s.key("Down", "Down", "shift+Down")
    s.expect_equal(ruler_top(s, "down-12", left + 11), top + 12, "Down, Down, Shift+Down: twelve pixels down")
    s.key("Left", "shift+Up")
    s.expect_equal(ruler_edges(s, "left-1"), (left + 10, right + 10), "Left: one pixel back")
    s.expect_equal(ruler_top(s, "up-10", left + 10), top + 2, "Shift+Up: ten pixels up")

    # The scale begins at the left end, which stays; the right end follows the arrows.
    s.key("ctrl+Right")
    s.expect_equal(ruler_edges(s, "ctrl-right"), (left + 10, right + 11), "Ctrl+Right: one pixel longer")
    s.key("ctrl+shift+Left")
    s.expect_equal(ruler_edges(s, "ctrl-shift-left"), (left + 10, right + 1), "Ctrl+Shift+Left: ten shorter")
    s.key("ctrl+Up")
    s.expect_equal(ruler_edges(s, "ctrl-up"), (left + 10, right + 1), "Ctrl+Up on a horizontal ruler: no change")
    moved = vindle.ruler(s)
    s.expect_equal((moved.x, moved.y, moved.width, moved.height), (win.x + 10, win.y + 2, win.width - 9, 30),
                   "the window where the pixels put it")

    # Ctrl+C: the length in pixels, as the ruler is set up by default.
    s.key("ctrl+c")
    s.expect_equal(clipboard_text(s), f"{win.width - 9} px", "the copied length")

    vindle.exit_vindle(s, process)
    # Stored like any move: the next start puts the ruler where the keys left it.
    process = vindle.start(s)
    again = vindle.ruler(s)
    s.expect_equal((again.x, again.y, again.width), (moved.x, moved.y, moved.width), "the ruler after a restart")
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
    s.expect_equal(clipboard_text(s), "6.67 in", "the length copied from the menu")

    # Its accelerator is C.
    s.key("shift+F10")
    s.wait_for(lambda: new_popups(s, before), "the menu to open again")
    s.key("u", "c")  # centimetres
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")
    s.key("shift+F10")
    s.wait_for(lambda: new_popups(s, before), "the menu to open once more")
    s.key("c")
    s.wait_for(lambda: not new_popups(s, before), "the menu to close")
    s.expect_equal(clipboard_text(s), "16.9 cm", "the length in centimetres")
    vindle.exit_vindle(s, process)
