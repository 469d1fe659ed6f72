"""The settings dialog driven by a user: opened from the tray and from the ruler, its pages,
what OK applies to the ruler and Cancel does not, the ruler's z-order around it, and the
autostart entry of installed and portable copies."""
import os
import shutil
import subprocess
import time

import vindle

TITLE = "^Settings$"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
BLACK = (0, 0, 0)

# Client coordinates of what the scenarios click (96 dpi, as Wine runs here).
NAV_ROW_CENTRE = lambda row: (70, 8 + 2 + 27 * row + 13)  # noqa: E731
OK = (272, 276)
CANCEL = (360, 276)
PAGE = (152, 8)
SUB_PAGE = (152, 36)
WIDTH_EDIT = (SUB_PAGE[0] + 90 + 30, SUB_PAGE[1] + 46 + 10)
UNIT_COMBO = (SUB_PAGE[0] + 90 + 60, SUB_PAGE[1] + 132 + 10)
BACKGROUND_BOX = (SUB_PAGE[0] + 12 + 100, SUB_PAGE[1] + 18 + 12)
AUTOSTART_BOX = (PAGE[0] + 12 + 8, PAGE[1] + 20 + 8)
ROW_NAMES = ["general", "configuration", "colors", "magnifier", "handling", "parameters"]


def states(s, target="Settings"):
    """(class, text, flags, rect) of a window and all its descendants, read by a helper."""
    out = os.path.join(s.shots_dir, "states.txt")
    helper = s.path("tests/win/WindowStates.exe")

    def read():
        if os.path.exists(out):
            os.remove(out)
        code = subprocess.run(["wine", helper, target, s.windows_path(out)], capture_output=True,
                              timeout=30).returncode
        return code == 0 and os.path.exists(out)
    # A window that has just appeared on the X side may still be on its way on the Windows side.
    s.wait_for(read, f"{target} to be found by {helper}", timeout=15, interval=0.5)
    rows = []
    with open(out, encoding="utf-8") as f:
        for line in f.read().splitlines():
            cls, text, flags, rect = line.split("\t")
            rows.append((cls, text, flags, tuple(int(v) for v in rect.split())))
    return rows


def wait_painted(s, menu):
    """Keys reach a menu only once it runs its loop; by then it has painted its last row."""
    s.wait_for(lambda: s.screenshot("menu").pixel(menu.x + 4, menu.y + menu.height - 4) != (0, 0, 0),
               "the menu to be painted", timeout=20, interval=0.3)


def control(rows, text):
    found = [r for r in rows if r[1] == text]
    assert found, f"no control {text!r} in {[r[1] for r in rows]}"
    return found[0]


def ruler_topmost(s):
    return "T" in states(s, "class:TVindleRuler")[0][2]


def origin(s):
    """The dialog's client origin on the screen, from where its OK button is."""
    ok = control(states(s), "OK")[3]
    return ok[0] - 232, ok[1] - 264


def click(s, o, point):
    s.click(o[0] + point[0], o[1] + point[1])
    time.sleep(0.3)


def open_from_tray(s):
    wait_painted(s, vindle.open_tray_menu(s))
    # From the bottom: Exit, the three configurations, then the settings item.
    s.key(*(["Up"] * 5), "Return")
    s.wait_window(TITLE, timeout=30)
    return origin(s)


def open_from_ruler(s, win):
    before = {w.id for w in s.find_windows("")}
    s.right_click(win.x + 200, win.y + 15)
    wait_painted(s, s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                               "the ruler menu to open")[0])
    # Rotate, Flip, Turn, then (past the separator) "Settings...".
    s.key(*(["Down"] * 4), "Return")
    s.wait_window(TITLE, timeout=30)
    return origin(s)


def close(s, o, button):
    click(s, o, button)
    s.wait_no_window(TITLE)


def pick(s, o, combo, index):
    """Opens a drop-down with the mouse and picks an item with the keyboard."""
    click(s, o, combo)
    s.key("Home", *(["Down"] * index), "Return")
    time.sleep(0.3)


def ruler_face(s, win, label):
    shot = s.screenshot(label)
    return shot, [shot.pixel(win.x + x, win.y + win.height - 2) for x in range(70, win.width - 20)]


def scenario_opens_on_general_from_the_tray_and_on_configuration_from_the_ruler(s):
    process, win = vindle.ruler_at_default(s)
    o = open_from_tray(s)
    rows = states(s)
    s.expect("V" in control(rows, "Show ruler on startup")[2], "the General page is shown")
    s.expect("V" not in control(rows, "Granularity")[2], "the Configuration page is not shown")
    s.screenshot("from-tray")
    # Escape is the Cancel button.
    s.move(o[0] + 200, o[1] + 150)
    s.key("Escape")
    s.wait_no_window(TITLE)

    o = open_from_ruler(s, vindle.ruler(s))
    rows = states(s)
    s.expect("V" in control(rows, "Granularity")[2], "the Configuration page is shown")
    s.expect("V" not in control(rows, "Show ruler on startup")[2], "the General page is not shown")
    s.screenshot("from-ruler")
    # Every page, for review.
    for row, name in enumerate(ROW_NAMES):
        click(s, o, NAV_ROW_CENTRE(row))
        s.screenshot(f"page-{row}-{name}")
    rows = states(s)
    s.expect("V" in control(rows, "Pixels per inch")[2], "the last row shows the Parameters page")
    close(s, o, CANCEL)
    vindle.exit_vindle(s, process)


def mapped_dlls(process):
    """The DLL file names the running program has mapped, lower case."""
    with open(f"/proc/{process.pid}/maps") as f:
        return {line.split("/")[-1].strip().lower() for line in f if ".dll" in line.lower()}


def scenario_the_common_controls_come_with_the_dialog_not_with_the_ruler(s):
    # The ruler and the tray alone need no common controls; mapping them at start would cost
    # every run about 2.5 MB. The dialog loads them and still gets the visual-style controls.
    process, win = vindle.ruler_at_default(s)
    s.expect("comctl32.dll" not in mapped_dlls(process), "no common controls for the ruler and the tray")
    o = open_from_tray(s)
    s.expect("comctl32.dll" in mapped_dlls(process), "the dialog's controls loaded the common controls")
    rows = states(s)
    s.expect("V" in control(rows, "Show ruler on startup")[2], "the dialog shows its General page")
    s.screenshot("dialog-with-common-controls")
    close(s, o, CANCEL)
    vindle.exit_vindle(s, process)


def scenario_a_wider_ruler_keeps_its_bottom_edge(s):
    process, win = vindle.ruler_at_default(s)
    s.expect_equal(win.height, 30, "the default thickness")
    top, bottom = win.y, win.y + win.height
    o = open_from_ruler(s, win)
    click(s, o, WIDTH_EDIT)
    s.key("End", "BackSpace", "BackSpace", "BackSpace")
    s.type("50")
    s.screenshot("width-50")
    close(s, o, OK)
    wide = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == 50],
                      "the ruler to become 50 pixels thick")[0]
    s.screenshot("ruler-50")
    s.expect_equal(wide.y + wide.height, bottom, "the bottom edge")
    s.expect_equal(wide.y, top - 20, "the top edge")
    vindle.exit_vindle(s, process)
    s.expect("<width>50</width>" in open(vindle.settings_file(), encoding="utf-8").read(),
             "the width reaches the settings file at exit")


def scenario_unit_and_colour_change_the_ruler_after_ok_and_not_after_cancel(s):
    process, win = vindle.ruler_at_default(s)
    s.move(win.x + 100, win.y + 300)
    plain_shot, plain = ruler_face(s, win, "before")

    for button in (CANCEL, OK):
        o = open_from_ruler(s, win)
        pick(s, o, UNIT_COMBO, 3)  # inch
        click(s, o, NAV_ROW_CENTRE(2))
        s.right_click(o[0] + BACKGROUND_BOX[0], o[1] + BACKGROUND_BOX[1])
        time.sleep(0.5)
        s.key("b")  # "&Black"
        time.sleep(0.3)
        s.screenshot("colors-page-black")
        close(s, o, button)
        s.move(win.x + 100, win.y + 300)
        time.sleep(0.5)
        shot, face = ruler_face(s, win, "after-" + ("ok" if button == OK else "cancel"))
        background = shot.pixel(win.x + 130, win.y + 3)
        if button == CANCEL:
            s.expect_equal(face, plain, "the scale after Cancel")
            s.expect_equal(background, vindle.LIGHT_YELLOW, "the background after Cancel")
        else:
            s.expect(face != plain, "the scale changes to inches after OK")
            s.expect_equal(background, BLACK, "the background after OK")
    vindle.exit_vindle(s, process)


def scenario_a_ruler_on_top_steps_behind_the_dialog_and_returns(s):
    process, win = vindle.ruler_at_default(s)
    s.expect(ruler_topmost(s), "the ruler stays on top by default")
    for button in (CANCEL, OK):
        o = open_from_ruler(s, win)
        s.expect(not ruler_topmost(s), "the ruler is not topmost while the dialog is open")
        # The dialog is centred on the screen and the ruler lies just above the centre line:
        # where they overlap, the dialog is in front.
        s.expect(o[1] < win.y + 5 < o[1] + 297, f"the dialog at {o} overlaps the ruler at {win.y}")
        shot = s.screenshot("dialog-over-ruler")
        face = shot.pixel(o[0] + 148, o[1] + 5)  # between the list and the pages
        s.expect(face != vindle.LIGHT_YELLOW, "the dialog's face is not the ruler's colour")
        s.expect_equal(shot.pixel(o[0] + 148, win.y + 5), face, "the dialog's face over the ruler")
        close(s, o, button)
        s.wait_for(lambda: ruler_topmost(s), "the ruler to be topmost again after " +
                   ("OK" if button == OK else "Cancel"))
    vindle.exit_vindle(s, process)


def marked_copy(s, marker):
    """A copy of the program with an installation marker, in a folder of its own."""
    folder = os.path.join(s.shots_dir, marker.lower())
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    target = os.path.join(folder, "Vindle.exe")
    shutil.copyfile(s.path(vindle.EXE), target)
    with open(target, "ab") as f:
        f.write(marker.encode("ascii"))
    return target


def scenario_autostart_is_for_installed_copies_only(s):
    vindle.forget_settings()
    subprocess.run(["wine", "reg", "delete", RUN_KEY, "/v", "QorvelVindle", "/f"], capture_output=True)

    portable = marked_copy(s, "PORTABLE")
    process = vindle.start(s, exe=portable)
    o = open_from_tray(s)
    box = control(states(s), "Autostart Vindle (local installation only)")
    s.expect("E" not in box[2], "the portable copy's autostart box is disabled")
    s.screenshot("portable-general")
    close(s, o, CANCEL)
    vindle.exit_vindle(s, process)

    local = marked_copy(s, "LOCALAPP")
    try:
        autostart_of_an_installed_copy(s, local)
    finally:
        # A value left under the Run key would be started by the prefix's next boot.
        subprocess.run(["wine", "reg", "delete", RUN_KEY, "/v", "QorvelVindle", "/f"], capture_output=True)


def autostart_of_an_installed_copy(s, local):
    process = vindle.start(s, exe=local)
    o = open_from_tray(s)
    box = control(states(s), "Autostart Vindle")
    s.expect("E" in box[2] and "C" not in box[2], "the installed copy's box is enabled and clear")
    click(s, o, AUTOSTART_BOX)
    s.expect("C" in control(states(s), "Autostart Vindle")[2], "the box is ticked")
    s.screenshot("local-ticked")
    close(s, o, OK)
    s.expect_equal(s.reg_query(RUN_KEY, "QorvelVindle"), f'"{s.windows_path(local)}"', "the Run value, quoted")

    o = open_from_tray(s)
    s.expect("C" in control(states(s), "Autostart Vindle")[2], "the box shows the entry")
    click(s, o, AUTOSTART_BOX)
    close(s, o, OK)
    s.expect_equal(s.reg_query(RUN_KEY, "QorvelVindle"), None, "the Run value after unticking")
    vindle.exit_vindle(s, process)
