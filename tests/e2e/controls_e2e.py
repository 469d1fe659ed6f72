"""The value controls in their test host: numeric fields typed into with real keys, the
track bars' popup editor, context menu, keys and wheel. The host logs where its controls
sit and every change they report."""
import os
import time


class Host:
    def __init__(self, s):
        self.s = s
        self.log = os.path.join(s.shots_dir, "controls.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        s.start("tests/win/ValueControlsHost.exe", s.windows_path(self.log))
        s.wait_window("^Vindle value controls")
        s.wait_for(lambda: "ready" in self.lines(), "the host to lay out its controls")
        self.at = {}
        self.value = {}
        for line in self.lines():
            parts = line.split()
            if len(parts) == 6 and parts[1] in ("at", "value"):
                rect = tuple(int(v) for v in parts[2:])
                (self.at if parts[1] == "at" else self.value)[parts[0]] = rect
        self.mark = len(self.lines())

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [l for l in f.read().split("\n") if l]

    def new_lines(self):
        """What the host logged since the last call."""
        lines = self.lines()
        fresh, self.mark = lines[self.mark:], len(lines)
        return fresh

    def wait_logged(self, line, what):
        self.s.wait_for(lambda: line in self.lines()[self.mark:], what)

    def centre(self, name, rect=None):
        l, t, r, b = rect or self.at[name]
        return (l + r) // 2, (t + b) // 2


def hint_frame_rows(shot, bar):
    """Rows above the groove crossed by a long black line: the frame of a hint."""
    l, t, r, b = bar
    rows = []
    for y in range(t - 12, t + 20):
        run = best = 0
        for x in range(l, r):
            run = run + 1 if shot.pixel(x, y) == (0, 0, 0) else 0
            best = max(best, run)
        if best >= 40:
            rows.append(y)
    return rows


def region(shot, rect):
    l, t, r, b = rect
    return [shot.pixel(x, y) for y in range(t, b) for x in range(l, r)]


def open_value_editor(s, host, name):
    """Clicks the bar's value and waits for the popup editor to cover it."""
    l, t, r, b = host.value[name]
    around = (l - 4, t - 2, r + 4, b + 2)
    before = region(s.screenshot("before-popup"), around)
    s.click((l + r) // 2, (t + b) // 2)
    s.wait_for(lambda: region(s.screenshot("popup"), around) != before, "the popup editor to open over the value")
    return around, before


def dark_pixels(shot, x0, y0, x1, y1):
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if sum(shot.pixel(x, y)) < 200)


def scenario_controls_look(s):
    host = Host(s)
    shot = s.screenshot("value-controls")
    l, t, r, b = host.at["ppi"]
    s.expect(dark_pixels(shot, r - 22, t + 3, r - 3, b - 3) > 10, "the caption \"px\" drawn inside the field")
    s.expect(dark_pixels(shot, l + 4, t + 3, r - 24, b - 3) > 10, "the value left of the caption")
    # the value and the caption do not touch: a blank column between "96" and "px"
    columns = [x for x in range(r - 40, r - 20) if dark_pixels(shot, x, t + 3, x + 1, b - 3) == 0]
    s.expect(columns, "a gap between the typed value and the caption")


def scenario_typing_into_a_field_and_leaving_it(s):
    host = Host(s)
    field = host.centre("ppi")
    s.click(*field)
    s.key("End", "BackSpace", "BackSpace", "BackSpace")
    s.type("5x")                       # the letter is no digit and is dropped
    s.key("Tab")
    host.wait_logged("ppi exit 10", "a value below the range to become the minimum on leaving")
    s.expect("ppi change 10" in host.new_lines(), "the corrected value to be reported")

    s.click(*field)
    s.key("End", "BackSpace", "BackSpace")
    s.type("9999")                      # only three digits fit
    s.key("Tab")
    host.wait_logged("ppi exit 600", "a value above the range to become the maximum")
    host.new_lines()

    s.click(*field)
    s.key("End", "BackSpace", "BackSpace", "BackSpace")
    s.type("144")
    host.wait_logged("ppi change 144", "a valid typed value to be reported while typing")
    shot = s.screenshot("field-144-px")
    l, t, r, b = host.at["ppi"]
    s.expect(dark_pixels(shot, r - 22, t + 3, r - 3, b - 3) > 10, "the caption \"px\" still drawn after typing")
    s.key("Tab")
    host.wait_logged("ppi exit 144", "the value to stay on leaving")

    # a signed field with fixed length pads to the width of its range
    s.click(*host.centre("signed"))
    s.key("End", "BackSpace", "BackSpace", "BackSpace")
    s.key("minus")
    s.type("7")
    s.key("Tab")
    host.wait_logged("signed exit -07", "a negative value padded after the sign")


def scenario_popup_editor_from_a_click_on_the_value(s):
    host = Host(s)
    open_value_editor(s, host, "zoom")
    s.type("500")
    s.key("Return")
    host.wait_logged("zoom change 5", "Enter to apply the edited value")
    s.expect("zoom scroll 4 5" in host.lines(), "the edit reported as a command")
    host.new_lines()

    around, _ = open_value_editor(s, host, "zoom")
    s.type("700")
    s.key("Escape")
    time.sleep(0.5)
    s.expect(not [l for l in host.new_lines() if l.startswith("zoom change")], "Escape to close without applying")

    # a click anywhere else closes it too, without applying
    open_value_editor(s, host, "zoom")
    s.type("900")
    s.click(*host.centre("float"))
    time.sleep(0.5)
    s.expect(not [l for l in host.new_lines() if l.startswith("zoom change")], "a click elsewhere to apply nothing")
    s.screenshot("zoom-after-popup")


def scenario_context_menu_copies_and_pastes_the_value(s):
    host = Host(s)
    zoom = host.centre("zoom")
    s.right_click(*zoom)
    time.sleep(0.5)
    s.screenshot("zoom-context-menu")
    s.key("c")                                  # "&Copy value"
    # paste it into a field: the field shows what the bar copied
    s.click(*host.centre("ppi"))
    s.key("End", "BackSpace", "BackSpace", "BackSpace", "ctrl+v")
    host.wait_logged("ppi change 300", "\"300\" copied from the zoom bar at 300%")

    # copy "500" from the field and paste it onto the bar
    s.key("End", "BackSpace", "BackSpace", "BackSpace")
    s.type("500")
    s.key("shift+Home", "ctrl+c")
    s.right_click(*zoom)
    time.sleep(0.5)
    s.key("p")                                  # "&Paste value"
    host.wait_logged("zoom change 5", "pasting 500 to move the zoom bar to 5")
    s.expect("zoom scroll 4 5" in host.lines(), "a paste reported as a command")

    s.right_click(*zoom)
    time.sleep(0.5)
    s.key("r")                                  # "&Reset"
    host.wait_logged("zoom change 3", "Reset to return to the starting position")


def scenario_keyboard_and_wheel_steps(s):
    host = Host(s)
    l, t, r, b = host.at["steps"]
    thumb_x = l + (r - l - 25) // 2 + 12        # position 50 of 0..100
    band_y = b - 12
    s.click(thumb_x, band_y)                    # on the thumb: focus without a move
    s.key("Right")
    host.wait_logged("steps change 55", "Right to step by the small change of 5")
    s.key("Left", "Left")
    host.wait_logged("steps change 45", "Left to step back")
    s.key("Up")                                 # not along a horizontal bar
    time.sleep(0.3)
    s.expect(host.lines()[-1] == "steps change 45", "Up to leave a horizontal bar alone")
    s.click(thumb_x, band_y, button=5)          # wheel down on a horizontal bar: up the scale
    host.wait_logged("steps change 50", "wheel down to step up a horizontal bar")

    level = host.at["level"]
    s.click((level[0] + level[2]) // 2 + 8, (level[1] + level[3]) // 2)  # on the vertical thumb
    s.key("Up")
    host.wait_logged("level change 51", "Up to raise a vertical bar")
    s.click((level[0] + level[2]) // 2 + 8, (level[1] + level[3]) // 2 - 20, button=4)
    host.wait_logged("level change 52", "wheel up to raise a vertical bar")
    s.screenshot("after-steps")


def scenario_dragging_lands_on_steps_and_right_click_ends_it(s):
    host = Host(s)
    l, t, r, b = host.at["steps"]
    band_y = b - 12
    start = (l + (r - l - 25) // 2 + 12, band_y)
    s.drag(start, (start[0] + 37, band_y), steps=15)
    s.wait_for(lambda: any(x.startswith("steps scroll 8") for x in host.lines()), "the drag to end")
    positions = [int(x.split()[-1]) for x in host.lines() if x.startswith("steps change")]
    s.expect(positions and all(p % 5 == 0 for p in positions), f"only multiples of 5 while dragging: {positions}")
    s.expect(positions[-1] > 50, f"the thumb to follow the pointer: {positions}")

    # a click on the groove left of the thumb centres the thumb there
    host.new_lines()
    s.click(l + 20, band_y)
    host.wait_logged("steps scroll 5 5", "a groove click to move the thumb under the pointer")

    # the right button ends a drag where the thumb is; moving on changes nothing
    host.new_lines()
    s.move(l + 20, band_y)
    s._xdotool("mousedown", 1)
    for x in range(l + 20, l + 80, 6):
        s._xdotool("mousemove", x, band_y)
        time.sleep(0.03)
    time.sleep(0.2)
    shot = s.screenshot("steps-drag-with-hint")
    # the value hint: a tooltip with a black frame over the label
    s.expect(hint_frame_rows(shot, host.at["steps"]), "the value hint over the label while dragging")
    s._xdotool("click", 3)
    time.sleep(0.3)
    s.wait_for(lambda: any(x.startswith("steps scroll 8") for x in host.lines()[host.mark:]), "the right click to end the drag")
    ended = [int(x.split()[-1]) for x in host.lines()[host.mark:] if x.startswith("steps change")][-1]
    for x in range(l + 80, l + 200, 10):
        s._xdotool("mousemove", x, band_y)
        time.sleep(0.03)
    s._xdotool("mouseup", 1)
    time.sleep(0.5)
    after = [int(x.split()[-1]) for x in host.lines()[host.mark:] if x.startswith("steps change")][-1]
    s.expect_equal(after, ended, "the position after the right click ended the drag")
    shot = s.screenshot("steps-after-drag")
    s.expect(not hint_frame_rows(shot, host.at["steps"]), "the hint gone after the drag")
    s.expect(ended > 5, f"the drag to have moved the thumb first: {ended}")
