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


def dark_pixels(shot, x0, y0, x1, y1):
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if sum(shot.pixel(x, y)) < 200)


def scenario_controls_look(s):
    host = Host(s)
    shot = s.screenshot("value-controls")
    l, t, r, b = host.at["ppi"]
    s.expect(dark_pixels(shot, r - 22, t + 3, r - 3, b - 3) > 10, "the caption \"px\" drawn inside the field")
