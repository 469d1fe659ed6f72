"""Colours as text in the real program: "Copy as" in the colour picker's menu puts every format
on the clipboard, hotkey picks become recent colours in the tray menu and survive a restart,
the colour dialog shows the contrast of two known colours and the default format, and a
5 x 5 pick takes the median that the magnifier outlines."""
import os
import time

import vindle

PICKER = vindle.COLOR_PICKER_WINDOW
COLOR_CHORD = "ctrl+alt+shift+c"
ORANGE_FILE = "0080FFh"   # #FF8000 as the settings file stores a colour (blue first)
# #FF8000 in every format, in the order the settings below offer them (the default first).
ORANGE = [
    "rgb(255, 128, 0)", "#FF8000", "FF8000", "hsl(30.1, 100%, 50%)", "hsv(30.1, 100%, 100%)",
    "cmyk(0%, 49.8%, 100%, 0%)", "lab(67.82 45.49 74.84)", "oklch(73.19% 0.1858 52.98)", "33023",
    "0x000080FF", "(1.000, 0.502, 0.000, 1.0)", "Color(255, 128, 0)",
]
FORMATS = ["hex", "hexbare", "hsl", "hsv", "cmyk", "lab", "oklch", "colorref", "colorrefhex", "vec4", "template"]


def start_with(s, colors="", picker=ORANGE_FILE, show_picker=True):
    vindle.forget_settings()
    os.makedirs(os.path.dirname(vindle.settings_file()), exist_ok=True)
    with open(vindle.settings_file(), "w", encoding="utf-8", newline="\r\n") as f:
        f.write(f"""<settings>
  <colorpicker><color>{picker}</color></colorpicker>
  <colors>{colors}</colors>
  <startup><showcolorpicker>{show_picker}</showcolorpicker></startup>
</settings>
""")
    process = vindle.start(s)
    vindle.ruler(s)
    return process


def open_box_menu(s, win):
    left, top = PICKER.client_origin(win)
    before = {w.id for w in s.find_windows("")}
    s.right_click(left + 44, top + 12)
    return s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
                      "the colour box's menu to open")[0]


def scenario_copy_as_puts_every_format_on_the_clipboard(s):
    items = "".join(f"<item>{f}</item>" for f in FORMATS)
    process = start_with(s, f"<defaultformat>rgb</defaultformat><formats>{items}</formats>"
                            "<template>Color({r}, {g}, {b})</template>")
    win = s.wait_window(PICKER.title)
    for index, expected in enumerate(ORANGE):
        open_box_menu(s, win)
        s.key("a")            # Copy as: opens the submenu on its first item
        time.sleep(0.3)
        s.key(*["Down"] * index)
        s.screenshot(f"copy-as-{index}")
        s.key("Return")
        vindle.expect_clipboard(s, expected, f"Copy as item {index + 1}")
    vindle.exit_vindle(s, process)


def scenario_hotkey_picks_are_recent_colours_after_a_restart(s):
    process = start_with(s, "<defaultformat>hsl</defaultformat>", show_picker=False)
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")
    s.wait_for(lambda: s.screenshot("probe").pixel(probe.x + 2, probe.y + 2) == (0, 0, 255),
               "the probe to paint its blue corner")
    s.click(probe.x + 60, probe.y + 60)
    picked = []
    for x, y in ((probe.x + 60, probe.y + 60), (probe.x + 4, probe.y + 4)):
        s.move(x, y)
        picked.append(s.screenshot("pointer").pixel(x, y))
        s.key(COLOR_CHORD)
        time.sleep(0.5)
    s.expect(picked[0] != picked[1], "two different colours picked")
    vindle.expect_clipboard(s, "hsl(240, 100%, 50%)", "the blue corner in the default format")
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), encoding="utf-8") as stored:
        text = stored.read()
    r, g, b = picked[1]
    s.expect(f"<item>#{r:02X}{g:02X}{b:02X}</item>" in text, "the newest pick stored first")

    process = vindle.start(s)
    vindle.ruler(s)
    menu = vindle.open_tray_menu(s)
    s.key("r")                # Recent colors
    time.sleep(0.5)
    shot = s.screenshot("recent-colours")
    # The submenu opens right of the tray menu (or left of it near the screen's edge): find
    # the newest pick's swatch beside the menu.
    found = any(shot.pixel(x, y) == picked[1] for x in range(max(menu.x - 300, 0), min(menu.x + menu.width + 300,
                                                                                      shot.width), 2)
                for y in range(max(menu.y - 200, 0), min(menu.y + menu.height, shot.height), 2))
    s.expect(found, "the newest pick's swatch shows in the Recent colors submenu")
    s.key("Return")           # its first item: the newest pick, in the default format
    vindle.expect_clipboard(s, "hsl(240, 100%, 50%)", "a recent colour copied in the default format")
    vindle.exit_vindle(s, process)


def window_texts(s, title):
    """The dialog's controls as (text, rectangle) pairs, and the helper's whole output."""
    out = os.path.join(s.shots_dir, "texts.txt")
    if os.path.exists(out):
        os.remove(out)
    s.expect_equal(s.wait_exit(s.start("tests/win/WindowTexts.exe", title, s.windows_path(out)), timeout=30), 0,
                   "the texts helper's exit code")
    with open(out, encoding="utf-8") as f:
        raw = f.read()
    return [line.split("\t") for line in raw.split("\n") if "\t" in line], raw


def scenario_the_dialog_shows_the_contrast_of_two_known_colours(s):
    process = start_with(s, "<defaultformat>oklch</defaultformat>", picker="767676h")
    win = s.wait_window(PICKER.title)
    left, top = PICKER.client_origin(win)
    s.click(left + 44, top + 12)
    dialog = s.wait_window("^Select color$")
    time.sleep(0.5)
    # Against the colour it began with, then white typed into the hex field.
    texts, raw = window_texts(s, "Select color")
    shown = [t[0] for t in texts]
    s.expect("1.00:1" in shown, f"the contrast of the colour with itself, in {shown}")
    s.expect("oklch(56.58% 0 0)" in shown, "the default format under the hex field")
    hex_rect = shown.index("web-safe") + 1   # the hex field follows its check box
    l, t, r, b = (int(v) for v in texts[hex_rect][1].split())
    s.click((l + r) // 2, (t + b) // 2)
    s.key("ctrl+a")
    s.type("FFFFFF")
    s.key("Tab")
    time.sleep(0.5)
    shot = s.screenshot("contrast")
    texts, raw = window_texts(s, "Select color")
    by_text = {t[0]: t[1] for t in texts}
    s.expect("4.54:1" in by_text, f"#767676 against white, in {raw}")
    s.expect("AA   text: pass   large, UI: pass\nAAA  text: fail   large: pass" in raw, "the verdicts of 4.54")
    s.expect("oklch(100% 0 0)" in by_text, "white in the default format")
    if "4.54:1" in by_text:
        l, t, r, b = (int(v) for v in by_text["4.54:1"].split())
        ink = sum(1 for x in range(l, r) for y in range(t, b) if shot.pixel(x, y) == (0, 0, 0))
        s.expect(ink > 20, "the ratio is drawn on the screen")

    # Swapped: white is now read against, the dialog's colour is the grey again.
    s.key("alt+p")
    time.sleep(0.5)
    texts, raw = window_texts(s, "Select color")
    shown = [t[0] for t in texts]
    s.expect("4.54:1" in shown and "oklch(56.58% 0 0)" in shown, f"the two colours swapped, in {shown}")
    s.screenshot("swapped")
    s.key("Escape")
    s.wait_no_window("^Select color$")
    vindle.exit_vindle(s, process)


def scenario_a_five_by_five_pick_ignores_the_corner(s):
    # The probe is red with a 10 x 10 blue corner: around the corner's last pixel (9, 9) only
    # 4 of 25 pixels are blue, so the median is red where one pixel would be blue.
    process = start_with(s, "<samplesize>5</samplesize>", picker="FFFFFFh")
    win = s.wait_window(PICKER.title)
    s.start("tests/win/ProbeWindow.exe")
    probe = s.wait_window("^Vindle probe")
    left, top = PICKER.client_origin(win)
    s.move(left + 10, top + 12)              # the eyedropper
    s._xdotool("mousedown", 1)
    for i in range(1, 16):
        s._xdotool("mousemove", left + 10 + (probe.x + 9 - left - 10) * i // 15,
                   top + 12 + (probe.y + 9 - top - 12) * i // 15)
        time.sleep(0.03)
    time.sleep(0.6)
    s.screenshot("picking-5x5")   # for review: the magnifier outlines the 5 x 5 square
    s._xdotool("mouseup", 1)
    time.sleep(0.5)
    s.wait_for(lambda: s.screenshot("picked").pixel(left + 28, top + 4) == (255, 0, 0),
               "the picker to take the median, red")
    s.key(COLOR_CHORD)
    vindle.expect_clipboard(s, "#FF0000", "the hotkey's 5 x 5 median at the blue corner's edge")
    vindle.exit_vindle(s, process)
