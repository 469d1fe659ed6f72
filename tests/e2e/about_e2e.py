"""The about box from the tray menu: version, logo, link and the usage statistics."""
import os
import re
import subprocess
import time

import vindle

ABOUT_TITLE = "^About Vindle$"
INK = (0x1F, 0x3B, 0x73)          # the logo's lettering
RULER_YELLOW = (0xFF, 0xDC, 0x4A)  # the logo's ruler
LINK_BLUE = (0, 0, 0xFF)
LINK_RED = (0xFF, 0, 0)


def program_version(s):
    """The version the build wrote into the program, from the top CMakeLists.txt."""
    with open(s.path("generated/VindleVersion.h"), encoding="utf-8") as f:
        return re.search(r'#define VINDLE_VERSION_TEXT "([^"]+)"', f.read()).group(1)


def about_lines(s):
    """The box's caption and controls as (text, (left, top, right, bottom)), read from the
    running program by a helper, in the order of the box."""
    out = os.path.join(s.shots_dir, "about-texts.txt")
    if os.path.exists(out):
        os.remove(out)
    helper = s.path("tests/win/WindowTexts.exe")
    code = subprocess.run(["wine", helper, "About Vindle", s.windows_path(out)], capture_output=True,
                          timeout=30).returncode
    s.expect(code == 0 and os.path.exists(out), f"the about box to be found by {helper}, exit code {code}")
    lines = []
    with open(out, encoding="utf-8") as f:
        for line in f.read().splitlines():
            text, _, rect = line.partition("\t")
            lines.append((text, tuple(int(v) for v in rect.split())))
    return lines


def open_about(s):
    vindle.choose_from_tray_menu(s, "a")
    return s.wait_window(ABOUT_TITLE, timeout=10)


def close_about(s, box):
    s.move(*box.centre())           # keys go to the window under the pointer
    s.key("Return")
    s.wait_no_window(ABOUT_TITLE)


def count_pixels(shot, rect, colour):
    left, top, right, bottom = rect
    return sum(1 for y in range(top, bottom) for x in range(left, right) if shot.pixel(x, y) == colour)


def longest_run(shot, rect, colour):
    """The longest horizontal run of `colour` in any row of rect."""
    left, top, right, bottom = rect
    best = 0
    for y in range(top, bottom):
        run = 0
        for x in range(left, right):
            run = run + 1 if shot.pixel(x, y) == colour else 0
            best = max(best, run)
    return best


def scenario_second_start_counts_two_starts(s):
    s.restart_wine()
    vindle.forget_settings()
    process = vindle.start(s)
    box = open_about(s)
    first = about_lines(s)
    s.screenshot("first-start")
    texts = [t for t, _ in first]
    s.expect_equal(texts[0], "About Vindle", "caption")
    s.expect(not any("times started" in t for t in texts), f"no start count on the first start, got {texts}")
    s.expect(any(re.fullmatch(r"\d\d:\d\d:\d\d used", t) for t in texts), f"a usage line, got {texts}")
    first_height = box.height
    close_about(s, box)
    vindle.exit_vindle(s, process)

    process = vindle.start(s)
    box = open_about(s)
    lines = about_lines(s)
    texts = [t for t, _ in lines]
    version = program_version(s)
    s.expect_equal(texts[1:6], ["Vindle", f"Version {version}", f"({version})", "Copyright \u00a9 2026 Qorvel",
                                "https://qorvel.example/vindle"], "product, versions, copyright and link")
    s.expect_equal(texts[-1], "OK", "the button")
    s.expect_equal(texts[-3], "2 times started", "the start count of the second start")
    s.expect_equal(box.height - first_height, 16, "the box grew by the one count line")

    shot = s.screenshot("second-start")
    # The count line is drawn: dark text in its row.
    count_rect = lines[-3][1]
    dark = sum(1 for y in range(count_rect[1], count_rect[3]) for x in range(count_rect[0], count_rect[2])
               if sum(shot.pixel(x, y)) < 200)
    s.expect(dark > 40, f"the count line's text on the screen, found {dark} dark pixels")
    # The logo shows above the product name.
    logo_band = (box.x, box.y, box.x + box.width, lines[1][1][1])
    s.expect(count_pixels(shot, logo_band, INK) > 2000, "the logo's lettering")
    s.expect(count_pixels(shot, logo_band, RULER_YELLOW) > 2000, "the logo's ruler")

    # The usage line ticks every second.
    usage_rect = lines[-2][1]
    before = shot.row((usage_rect[1] + usage_rect[3]) // 2, usage_rect[0], usage_rect[2])
    s.wait_for(lambda: s.screenshot("ticking").row((usage_rect[1] + usage_rect[3]) // 2, usage_rect[0],
                                                   usage_rect[2]) != before,
               "the usage time to advance", timeout=5, interval=0.5)

    # The link: blue, underlined under the pointer, red while pressed. Releasing it
    # elsewhere does not open it.
    link = lines[5][1]
    s.move(box.x + 5, link[3] + 30)
    plain = s.screenshot("link")
    text_width = link[2] - link[0]
    s.expect(count_pixels(plain, link, LINK_BLUE) > 50, "blue link text")
    s.expect(longest_run(plain, link, LINK_BLUE) < text_width // 2, "no underline without the pointer")
    vindle.hover(s, (link[0] + link[2]) // 2, (link[1] + link[3]) // 2)
    s.wait_for(lambda: longest_run(s.screenshot("link-hover"), link, LINK_BLUE) > text_width // 2,
               "the link to be underlined under the pointer")
    s._xdotool("mousedown", 1)
    s.wait_for(lambda: longest_run(s.screenshot("link-pressed"), link, LINK_RED) > text_width // 2,
               "the pressed link in red")
    s.move(box.x + 5, link[3] + 30)
    s._xdotool("mouseup", 1)
    time.sleep(0.3)
    s.expect(s.find_windows(ABOUT_TITLE), "the box stays open")

    close_about(s, box)
    vindle.exit_vindle(s, process)
