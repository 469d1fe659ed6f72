"""The settings file: written at exit, read at the next start, damaged files reported and kept."""
import os
import re
import time

import vindle


def run_once(s, steps=None):
    """Starts Vindle, lets `steps` act on the ruler, and exits through the tray menu."""
    process = vindle.start(s)
    win = vindle.ruler(s)
    if steps:
        steps(win)
    vindle.exit_vindle(s, process)
    return win


def read_settings():
    with open(vindle.settings_file(), "rb") as f:
        return f.read()


def scenario_first_start_writes_the_file_at_exit(s):
    vindle.forget_settings()
    folder = os.path.dirname(vindle.settings_file())
    if os.path.isdir(folder):
        os.rmdir(folder)
    run_once(s)
    s.expect(os.path.isfile(vindle.settings_file()), f"a settings file at {vindle.settings_file()}")
    text = read_settings()
    s.expect(text.startswith(b"<settings>\r\n"), "the file starts with the root element")
    s.expect(b"\t<general>\r\n" in text and text.rstrip().endswith(b"</settings>"), "a complete settings file")
    # The first start has no stored count to add to; from the second on, each start adds one.
    s.expect(b"<count>0</count>" in text, "no start counted yet")


def scenario_placement_and_edited_values_survive_a_restart(s):
    vindle.forget_settings()
    moved = {}

    def move_ruler(win):
        s.drag((win.x + 300, win.y + 15), (win.x + 260, win.y - 185))
        moved["win"] = vindle.ruler(s)

    run_once(s, move_ruler)
    again = run_once(s)
    s.expect_equal((again.x, again.y, again.width), (moved["win"].x, moved["win"].y, moved["win"].width),
                   "the ruler's place after a restart")

    # The user edits the file: configuration 0's ruler becomes 45 pixels thick.
    text = read_settings()
    edited, count = re.subn(rb"<width>30</width>", b"<width>45</width>", text, count=1)
    s.expect_equal(count, 1, "a ruler width in the written file")
    with open(vindle.settings_file(), "wb") as f:
        f.write(edited)
    process = vindle.start(s)
    thick = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == 45],
                       "a 45-pixel ruler")[0]
    s.expect_equal(thick.y + thick.height, again.y + again.height, "the scale edge stays on its line")
    s.screenshot("edited-width")
    vindle.exit_vindle(s, process)
    s.expect(b"<count>2</count>" in read_settings(), "the third start counted as the second after the first")


def scenario_damaged_file_is_reported_and_kept(s):
    vindle.forget_settings()
    run_once(s)
    damaged = read_settings().replace(b"<width>30</width>", b"<width>30</height>", 1)
    with open(vindle.settings_file(), "wb") as f:
        f.write(damaged)
    process = s.start(vindle.EXE)
    box = s.wait_window("^Error loading settings", timeout=10)
    shot = s.screenshot("damaged-file")
    s.expect(box.width > 200, f"a message box with the error text, got {box}")
    s.move(*box.centre())
    s.key("n")                              # No: keep the file
    s.wait_no_window("^Error loading settings")
    vindle.ruler(s)
    vindle.exit_vindle(s, process)
    s.expect(read_settings() == damaged, "the damaged file is left byte for byte as it was")


def scenario_every_unit_on_the_default_ruler(s):
    """Screenshots of the default ruler in each unit (kept for the README)."""
    import subprocess
    vindle.forget_settings()
    run_once(s)
    original = read_settings()
    for unit, name in ((0, "none"), (1, "pixels"), (2, "points"), (3, "inches"), (4, "centimetres")):
        text, count = re.subn(rb"<scaleunit>1</scaleunit>", b"<scaleunit>%d</scaleunit>" % unit, original, count=1)
        s.expect_equal(count, 1, "the unit of configuration 0 in the file")
        with open(vindle.settings_file(), "wb") as f:
            f.write(text)
        process = vindle.start(s)
        win = vindle.ruler(s)
        s.move(win.x + 187, win.y + 15)      # the cursor line shows at 187 pixels
        time.sleep(0.3)
        shot = s.screenshot(f"unit-{name}")
        subprocess.run(["convert", shot.path, "-crop", f"{win.width}x{win.height}+{win.x}+{win.y}", "+repage",
                        os.path.join(s.shots_dir, f"ruler-{name}.png")], check=True)
        vindle.exit_vindle(s, process)
