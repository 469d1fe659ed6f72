"""The harness against a window of the project's own toolkit: drag, clicks, keys, pixels."""
import os


def scenario_drag_moves_window_by_its_caption_zone(s):
    s.start("tests/win/ProbeWindow.exe")
    win = s.wait_window("^Vindle probe")
    shot = s.wait_for(lambda: (lambda shot: shot if shot.pixel(win.x + 2, win.y + 2) == (0, 0, 255) else None)(
        s.screenshot("probe-shown")), "the probe to paint its blue corner")
    s.expect_pixel(shot, win.x + 50, win.y + 50, (255, 0, 0), "red face of the probe")

    s.drag((win.x + 50, win.y + 50), (win.x + 170, win.y + 110))
    moved = s.wait_for(lambda: [w for w in s.find_windows("^Vindle probe") if (w.x, w.y) != (win.x, win.y)],
                       "the probe to move")[0]
    s.expect_equal((moved.x - win.x, moved.y - win.y), (120, 60), "offset of the dragged window")
    shot = s.screenshot("probe-dragged")
    s.expect_pixel(shot, moved.x + 2, moved.y + 2, (0, 0, 255), "blue corner after the drag")
    s.expect_pixel(shot, win.x + 2, win.y + 2, shot.pixel(5, 5), "old place shows the desktop again")


def scenario_clicks_and_keys_reach_the_window(s):
    log = os.path.join(s.shots_dir, "probe.log")
    if os.path.exists(log):
        os.remove(log)
    s.start("tests/win/ProbeWindow.exe", s.windows_path(log))
    win = s.wait_window("^Vindle probe")
    zone = (win.x + 190, win.y + 60)   # the client zone at the right edge
    s.click(*zone)
    s.double_click(*zone)
    s.right_click(*zone)
    s.type("ok")
    s.wait_for(lambda: os.path.exists(log) and "char k" in open(log).read(), "the probe to log the typed text")
    lines = open(log).read().split("\n")
    s.expect_equal([l for l in lines if l], ["click", "click", "double", "right", "char o", "char k"],
                   "what the probe received")
