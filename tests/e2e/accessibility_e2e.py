"""What a screen reader in another process reads from the running program through the
system's accessibility functions: the ruler's length and the cursor on it in the active unit,
the colour picker's colour and the position the coordinates window shows. The reader is a
small test program that prints what it reads; the screen shows what it should match."""
import re
from decimal import Decimal, ROUND_HALF_UP

import vindle

PUSHBUTTON, STATICTEXT, CLIENT = 0x2B, 0x29, 0x0A   # ROLE_SYSTEM_ values
RULER, BOX, COORDINATES = "TVindleRuler", "TQorvelBoxWinControl", "TVindleCursorForm"


def wait_read(s, cls, field, pattern, what):
    """Reads until the field matches: the windows sample the cursor on their own timers."""
    seen = []

    def matched():
        seen.append(vindle.read_accessible(s, cls)[cls])
        return seen[-1] if re.fullmatch(pattern, seen[-1][field]) else None

    try:
        return s.wait_for(matched, what, timeout=15, interval=0.3)
    finally:
        if seen:
            print(f"  last read of {cls}: {seen[-1]}")


def inches(pixels, decimals=2):
    """A length in inches at 96 dpi as the program quotes it: one rounding, half away from zero."""
    step = Decimal(1).scaleb(-decimals)
    return str((Decimal(pixels) / Decimal(96)).quantize(step, rounding=ROUND_HALF_UP))


def open_ruler_menu(s, x, y):
    before = {w.id for w in s.find_windows("")}
    s.right_click(x, y)
    s.wait_for(lambda: [w for w in s.find_windows("") if w.id not in before and w.height > 100],
               "the ruler menu to open")


def scenario_a_screen_reader_reads_the_ruler_the_colour_and_the_coordinates(s):
    process, win = vindle.ruler_at_default(s)
    vindle.COLOR_PICKER_WINDOW.show(s)
    vindle.COORDINATES_WINDOW.show(s)

    # The cursor 150 pixels along the ruler, whose scale starts at its left end.
    along = 150
    s.move(win.x + along, win.y + win.height // 2)
    ruler = wait_read(s, RULER, "value", rf"length {win.width} px, cursor at {along} px",
                      "the ruler to read its length and the cursor in pixels")
    s.screenshot("cursor-on-the-ruler")
    s.expect_equal(ruler["name"], "Vindle ruler", "the ruler's name")
    s.expect_equal(ruler["role"], CLIENT, "the ruler's role")

    answers = vindle.read_accessible(s, BOX, COORDINATES)
    box = answers[BOX]
    s.expect_equal((box["name"], box["value"], box["role"]), ("Color", "#FFFFFF", PUSHBUTTON),
                   "the colour picker's box: a button named Color whose value is its white")
    x, y = s.pointer()
    coordinates = answers[COORDINATES]
    s.expect_equal((coordinates["name"], coordinates["role"]), ("Coordinates", STATICTEXT),
                   "the coordinates window's name and role")
    s.expect_equal(coordinates["value"], f"x {x}, y {y}", "the coordinates window's value: the pointer")
    # Under the pointer lies the ruler's cursor line.
    s.expect(re.fullmatch(r"color #[0-9A-F]{6}", coordinates["description"]),
             f"the colour under the pointer in the description, got {coordinates['description']!r}")

    # Inches, as the ruler menu's Unit item sets them: two decimals.
    open_ruler_menu(s, win.x + 300, win.y + 15)
    s.key("u", "i")
    s.move(win.x + along, win.y + win.height // 2)
    wait_read(s, RULER, "value", rf"length {re.escape(inches(win.width))} in, cursor at {re.escape(inches(along))} in",
              "the ruler to read in inches")
    s.screenshot("inches")

    # Elsewhere along the screen the ruler names no cursor; the coordinates follow the pointer.
    s.move(win.x - 40 if win.x >= 40 else win.x + win.width + 40, win.y + win.height // 2)
    wait_read(s, RULER, "value", rf"length {re.escape(inches(win.width))} in", "the ruler without the cursor")
    x, y = s.pointer()
    wait_read(s, COORDINATES, "value", f"x {x}, y {y}", "the coordinates of the new pointer position")
    vindle.exit_vindle(s, process)
