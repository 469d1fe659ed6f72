"""Colour boxes in their test host: picking a colour from the screen by dragging from the
eyedropper (with the shared magnifier beside it), the context menu with its swatches, its
mnemonics, copy and paste between boxes, and the keyboard. The host logs where its boxes
and its two colour patches lie, and every change and dialog request."""
import os
import time

BLUE = (0x24, 0x9E, 0xC8)
RED = (0xD0, 0x20, 0x30)


class Host:
    def __init__(self, s):
        self.s = s
        self.log = os.path.join(s.shots_dir, "colorbox.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        s.start("tests/win/ColorBoxHost.exe", s.windows_path(self.log))
        s.wait_window("^Vindle colour box host")
        s.wait_for(lambda: "ready" in self.lines(), "the host to lay out its boxes")
        self.rect = {}
        for line in self.lines():
            parts = line.split()
            if len(parts) == 6 and parts[1] in ("at", "eyedropper", "glyph"):
                self.rect[(parts[0], parts[1])] = tuple(int(v) for v in parts[2:])
        self.mark = len(self.lines())
        time.sleep(0.5)  # let the window settle before real input

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [l for l in f.read().split("\n") if l]

    def new_lines(self):
        lines = self.lines()
        fresh, self.mark = lines[self.mark:], len(lines)
        return fresh

    def wait_logged(self, line, what):
        self.s.wait_for(lambda: line in self.lines()[self.mark:], what)
        self.new_lines()

    def centre(self, name, part="at"):
        l, t, r, b = self.rect[(name, part)]
        return (l + r) // 2, (t + b) // 2

    def face_point(self, name):
        """A face pixel clear of the eyedropper, the glyph and the caption."""
        l, t, r, b = self.rect[(name, "at")]
        return l + 22, t + 4


def count_colour(shot, rect, colour, outside=()):
    l, t, r, b = rect
    n = 0
    for y in range(max(t, 0), min(b, shot.height)):
        for x in range(max(l, 0), min(r, shot.width)):
            if any(ol <= x < orr and ot <= y < ob for ol, ot, orr, ob in outside):
                continue
            if shot.pixel(x, y) == colour:
                n += 1
    return n


def colour_bounds(shot, rect, colour, outside=()):
    """The bounding box of the pixels of `colour` in `rect` outside the `outside` rectangles."""
    l, t, r, b = rect
    xs, ys = [], []
    for y in range(max(t, 0), min(b, shot.height), 2):
        for x in range(max(l, 0), min(r, shot.width), 2):
            if not any(ol <= x < orr and ot <= y < ob for ol, ot, orr, ob in outside) and shot.pixel(x, y) == colour:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def scenario_colorbox_look(s):
    host = Host(s)
    shot = s.screenshot("colour-boxes")
    s.expect_pixel(shot, *host.face_point("picker"), (0, 0, 0), "the picker box's black face")
    s.expect_pixel(shot, *host.face_point("bare"), (255, 255, 0), "the bare box's yellow face")
    l, t, r, b = host.rect[("picker", "eyedropper")]
    s.expect_pixel(shot, l, t, (255, 255, 255), "the eyedropper's corner mark, white on black")
    l, t, r, b = host.rect[("bare", "eyedropper")]
    s.expect_pixel(shot, l, t, (255, 255, 0), "no eyedropper on a box without the option")
    l, t, r, b = host.rect[("picker", "at")]
    s.expect_pixel(shot, l + 40, t, (0, 0, 0), "the black frame")


def scenario_colorbox_pick_from_the_screen(s):
    host = Host(s)
    start = host.centre("picker", "eyedropper")
    blue, red = host.rect[("blue", "at")], host.rect[("red", "at")]
    over_blue = ((blue[0] + blue[2]) // 2, (blue[1] + blue[3]) // 2 + 30)
    over_red = ((red[0] + red[2]) // 2, (red[1] + red[3]) // 2 - 30)
    screen = (0, 0, 640, 480)  # the host and the magnifier beside its picker lie in here

    s.move(*start)
    s._xdotool("mousedown", 1)
    time.sleep(0.2)
    for i in range(1, 11):
        s._xdotool("mousemove", start[0] + (over_blue[0] - start[0]) * i // 10,
                   start[1] + (over_blue[1] - start[1]) * i // 10)
        time.sleep(0.03)
    time.sleep(0.6)
    shot = s.screenshot("picking-over-blue")
    # The magnifier shows the blue around the cursor enlarged, outside the patch itself.
    enlarged = count_colour(shot, screen, BLUE, outside=[blue])
    s.expect(enlarged > 400, f"the magnifier to show the blue patch enlarged ({enlarged} blue pixels elsewhere)")
    ml, mt, mr, mb = colour_bounds(shot, screen, BLUE, outside=[blue])
    gap_x = max(ml - start[0], start[0] - mr, 0)
    gap_y = max(mt - start[1], start[1] - mb, 0)
    s.expect(gap_x < 60 and gap_y < 60, f"the magnifier next to the eyedropper, not at {(ml, mt, mr, mb)}")
    l, t, r, b = host.rect[("picker", "eyedropper")]
    s.expect_pixel(shot, l + 6, t + 6, BLUE, "the eyedropper square to show the colour under the cursor")
    s.expect(not host.new_lines(), "no change before the release")

    s.move(*over_red)
    time.sleep(0.6)
    shot = s.screenshot("picking-over-red")
    enlarged_red = count_colour(shot, screen, RED, outside=[red])
    s.expect(enlarged_red > 400, f"the magnifier to follow the cursor onto the red patch ({enlarged_red} pixels)")
    s._xdotool("mouseup", 1)
    host.wait_logged("change picker D02030", "the picked red to become the box's colour")
    time.sleep(0.4)
    shot = s.screenshot("picked-red")
    s.expect_pixel(shot, *host.face_point("picker"), RED, "the box to show the picked colour")
    gone = count_colour(shot, screen, RED, outside=[red, host.rect[("picker", "at")]])
    s.expect(gone < 50, "the magnifier to be gone after the release")


def open_menu(s, host, name):
    """Right-clicks the box's face and waits for the menu to cover the area below the mouse."""
    x, y = host.face_point(name)
    before = s.screenshot("before-menu")
    s.right_click(x, y)

    def changed():
        shot = s.screenshot("menu")
        return sum(1 for dy in range(5, 120, 7) for dx in range(5, 100, 9)
                   if shot.pixel(x + dx, y + dy) != before.pixel(x + dx, y + dy)) > 20 and shot
    return s.wait_for(changed, "the context menu to open")


def scenario_colorbox_menu_swatches_and_mnemonics(s):
    host = Host(s)
    shot = open_menu(s, host, "plain")
    x, y = host.face_point("plain")
    # The menu opens at the mouse; its swatches stand in a column at its left edge.
    column = [shot.pixel(x + 8, yy) for yy in range(y, y + 300)]
    s.expect((0x80, 0x80, 0x80) in column, "the 50% gray swatch")
    s.expect((0, 0, 0) in column and (255, 255, 255) in column, "the black and white swatches")
    s.key("g")
    host.wait_logged("change plain 808080", "\"50% &Gray\" chosen by its mnemonic")
    time.sleep(0.3)
    s.expect_pixel(s.screenshot("gray"), *host.face_point("plain"), (0x80, 0x80, 0x80), "the gray face")

    # Copy the picker's black, paste it into the plain box.
    open_menu(s, host, "picker")
    s.key("c")
    time.sleep(0.3)
    open_menu(s, host, "plain")
    s.key("p")
    host.wait_logged("change plain 000000", "the copied colour pasted")

    # Choosing the colour a box already has still reports a change.
    open_menu(s, host, "plain")
    s.key("b")
    host.wait_logged("change plain 000000", "\"&Black\" chosen on a black box")

    open_menu(s, host, "plain")
    s.key("Escape")
    time.sleep(0.3)
    s.expect(not host.new_lines(), "Escape to close the menu without a change")


def scenario_colorbox_glyph_keyboard_and_dialog(s):
    host = Host(s)
    # A click on the face asks for the dialog; a click on the glyph opens the menu.
    s.click(*host.face_point("bare"))
    host.wait_logged("dialog bare", "a click on the face to ask for the colour dialog")
    s.click(*host.centre("plain", "glyph"))
    time.sleep(0.6)
    shot = s.screenshot("glyph-menu")
    gx, gy = host.centre("plain", "glyph")
    s.expect((255, 255, 255) in [shot.pixel(gx + 8, yy) for yy in range(gy, gy + 300)],
             "the menu below the glyph with its white swatch")
    s.key("s")
    host.wait_logged("dialog plain", "\"&Select...\" to ask for the dialog")

    # The keyboard: Space asks for the dialog, the menu key opens the menu at the
    # bottom-left corner of the box.
    s.key("space")
    host.wait_logged("dialog plain", "Space on the focused box")
    l, t, r, b = host.rect[("plain", "at")]
    s.key("shift+F10")
    time.sleep(0.6)
    shot = s.screenshot("keyboard-menu")
    s.expect((255, 255, 255) in [shot.pixel(l + 8, yy) for yy in range(b, b + 300)],
             "the menu opened from the keyboard at the box's bottom-left corner")
    s.key("w")
    host.wait_logged("change plain FFFFFF", "\"&White\" chosen from the keyboard menu")
