"""The program in the notification area: icon, tray menu, single instance, exit."""
import os
import subprocess
import time

import vindle


def scenario_tray_icon_tooltip_and_menu(s):
    s.restart_wine()
    vindle.forget_settings()
    process = vindle.start(s)
    tip = vindle.icon_tooltip(s)
    s.screenshot("tooltip")
    # "Vindle" in the tooltip font is about 35 pixels wide; a longer title would be wider.
    s.expect(25 <= tip.width <= 50, f"tooltip of the width of 'Vindle', got {tip}")

    menu = vindle.open_tray_menu(s)
    s.screenshot("tray-menu")
    # Fourteen items: four with images, recent colours, three separators, about, settings, three
    # configurations, exit.
    s.expect(180 <= menu.height <= 270, f"a tray menu of fourteen items, got {menu}")
    s.key("Escape")
    vindle.exit_vindle(s, process)


def scenario_icon_click_hides_and_shows_the_ruler(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    s.click(*vindle.tray_icon(s))           # the ruler stays on top by default: a click hides it
    s.wait_no_window(vindle.RULER_TITLE)
    s.click(*vindle.tray_icon(s))
    vindle.ruler(s)
    s.screenshot("ruler-back")
    vindle.exit_vindle(s, process)


def scenario_configuration_items_switch_the_look(s):
    vindle.forget_settings()
    process = vindle.start(s)
    win = vindle.ruler(s)
    s.wait_for(lambda: s.screenshot("configuration-1").pixel(win.x + 130, win.y + 3) == (0xFF, 0xFF, 0xA0),
               "the light yellow background of configuration 1")
    vindle.choose_from_tray_menu(s, "2")
    s.wait_for(lambda: s.screenshot("configuration-2").pixel(win.x + 130, win.y + 3) == (0, 0, 0),
               "the black ruler of configuration 2")
    vindle.choose_from_tray_menu(s, "3")
    thick = s.wait_for(lambda: [w for w in s.find_windows(vindle.RULER_TITLE) if w.height == 50],
                       "the 50-pixel ruler of configuration 3")[0]
    shot = s.screenshot("configuration-3")
    s.expect_pixel(shot, thick.x + 130, thick.y + 3, (0xC0, 0xC0, 0xC0), "silver background of configuration 3")
    s.expect_equal(thick.y + thick.height, win.y + win.height, "the scale edge stays where it was")
    # Hidden rulers come back when a configuration is chosen.
    s.click(*vindle.tray_icon(s))
    s.wait_no_window(vindle.RULER_TITLE)
    vindle.choose_from_tray_menu(s, "1")
    vindle.ruler(s)
    vindle.exit_vindle(s, process)


def scenario_second_start_shows_the_first_and_exits(s):
    vindle.forget_settings()
    first = vindle.start(s)
    vindle.ruler(s)
    s.click(*vindle.tray_icon(s))
    s.wait_no_window(vindle.RULER_TITLE)
    second = s.start(vindle.EXE)
    s.wait_exit(second, timeout=5)
    vindle.ruler(s)   # the first instance showed its ruler
    trays = s.find_windows("^Wine System Tray$")
    s.expect(trays and trays[0].width <= 160 + 20, f"no second tray icon, got {trays}")
    s.expect(first.poll() is None, "the first instance still runs")
    vindle.exit_vindle(s, first)


def scenario_exit_ends_the_process_and_removes_the_icon(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.exit_vindle(s, process)
    s.wait_for(lambda: not vindle.tray_icon_present(s), "the tray icon to go", timeout=5)
    s.wait_no_window(vindle.RULER_TITLE)


def scenario_portable_copy_names_itself_portable(s):
    folder = os.path.join(s.shots_dir, "portable")
    os.makedirs(folder, exist_ok=True)
    exe = os.path.join(folder, "Vindle.exe")
    with open(s.path(vindle.EXE), "rb") as source, open(exe, "wb") as target:
        target.write(source.read() + b"PORTABLE")
    s.restart_wine()
    process = vindle.start(s, exe=exe)
    tip = vindle.icon_tooltip(s)
    s.screenshot("portable-tooltip")
    s.expect(tip.width >= 70, f"a tooltip as wide as 'Vindle portable', got {tip}")
    beside = os.path.join(folder, "Vindle.xml")
    if os.path.exists(beside):
        os.remove(beside)
    vindle.exit_vindle(s, process)
    s.expect(os.path.isfile(beside), "the portable copy keeps its settings beside itself as Vindle.xml")


def scenario_close_request_ends_the_first_instance(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    control = s.start("tests/win/InstanceControl.exe", "close")
    s.expect_equal(s.wait_exit(control), 0, "exit code of the close request")
    s.wait_exit(process, timeout=10)
    s.wait_for(lambda: not vindle.tray_icon_present(s), "the tray icon to go", timeout=5)
    s.expect(os.path.isfile(vindle.settings_file()), "the closed instance saved its settings")


def scenario_icon_comes_back_after_the_tray_restarts(s):
    vindle.forget_settings()
    process = vindle.start(s)
    control = s.start("tests/win/InstanceControl.exe", "retray")
    s.wait_for(lambda: not vindle.tray_icon_present(s), "the icon to be gone from the tray", timeout=5)
    s.expect_equal(s.wait_exit(control), 0, "exit code of the tray restart")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the icon to be added again", timeout=5)
    s.screenshot("icon-back")
    vindle.exit_vindle(s, process)


def scenario_tray_menu_opens_at_the_first_right_click_after_dialogs(s):
    """Right after the settings dialog was opened from the tray menu and closed, twice, the
    next right click on the icon opens the menu (not only the icon's tooltip)."""
    process, _ = vindle.ruler_at_default(s)
    for _ in range(2):
        vindle.open_tray_menu(s)
        s.key(*(["Up"] * 5), "Return")  # from the bottom: Exit, three configurations, Settings
        dialog = s.wait_window("^Settings$", timeout=20)
        s.move(*dialog.centre())        # keys go to the window under the pointer
        s.key("Escape")
        s.wait_no_window("^Settings$")
    before = {w.id for w in s.find_windows("")}
    s.right_click(*vindle.tray_icon(s))
    opened = s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                        "the tray menu to open at the first right click", timeout=5)
    s.screenshot("menu-after-dialogs")
    s.expect(opened, "the tray menu opened")
    s.key("Escape")
    vindle.exit_vindle(s, process)
