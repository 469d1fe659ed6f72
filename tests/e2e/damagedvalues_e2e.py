"""Absurd values in a hand-edited or damaged settings file: the program starts usable, asks
nothing, and the file it writes at exit holds values the settings dialog allows."""
import re
import xml.etree.ElementTree as ET

import vindle

RECENT = b"<recent>" + b"".join(b"<item>#%06X</item>" % i for i in range(10000)) + b"</recent>"
# (pattern, replacement, count) edits of a file the program wrote; the first match is
# configuration 0's, the active one.
CASES = {
    "huge-width-with-magnifier": [(rb"<width>30<", b"<width>100000<", 1), (rb"<visible>False<", b"<visible>True<", 1),
                                  (rb"<zoom>3<", b"<zoom>100000<", 1)],
    "negative-width-unknown-configuration": [(rb"<width>\d+<", b"<width>-5<", 0), (rb"<zoom>3<", b"<zoom>0<", 0),
                                             (rb"<configuration>0<", b"<configuration>7<", 1),
                                             (rb"<transparent>False<", b"<transparent>True<", 1),
                                             (rb"<opacity>65<", b"<opacity>500<", 1)],
    "long-lists-and-unknown-choices": [(rb"(?s)<recent>.*?</recent>", RECENT, 1),
                                       (rb"<doubleclickaction>0<", b"<doubleclickaction>9<", 1)],
}
# What the dialog allows, by element path.
ALLOWED = {"configuration/ruler/width": range(5, 101), "configuration/ruler/opacity": range(10, 101),
           "configuration/magnifier/zoom": range(1, 10), "general/configuration": range(0, 3),
           "handling/doubleclickaction": range(0, 5)}


def scenario_damaged_values_start_usable_and_are_written_back_held(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), "rb") as f:
        written = f.read()

    for name, edits in CASES.items():
        text = written
        for pattern, replacement, count in edits:
            text, n = re.subn(pattern, replacement, text, count=count)
            s.expect(n > 0, f"{name}: {pattern!r} in the written file")
        with open(vindle.settings_file(), "wb") as f:
            f.write(text)
        process = vindle.start(s)
        win = vindle.ruler(s)
        s.expect(5 <= win.height <= 100, f"{name}: a ruler 5 to 100 pixels thick, got {win}")
        s.screenshot(name)
        # No question about the file and no error box (it would carry the program's title),
        # and the tray menu still ends the program.
        s.expect(not s.find_windows("^Error loading settings"), f"{name}: no question about the file")
        s.expect_equal(len(s.find_windows(vindle.RULER_TITLE)), 1, f"{name}: windows titled Vindle")
        vindle.exit_vindle(s, process)
        with open(vindle.settings_file(), "rb") as f:
            root = ET.fromstring(f.read())
        for path, allowed in ALLOWED.items():
            values = [int(e.text) for e in root.findall(path)]
            s.expect(values and all(v in allowed for v in values), f"{name}: {path} held, got {values}")
        s.expect(len(root.findall("colors/recent/item")) <= 20, f"{name}: at most 20 recent colours")
