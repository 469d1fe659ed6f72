"""Absurd values in a hand-edited or damaged settings file: the program starts usable, asks
nothing, and the file it writes at exit holds only values the settings dialog allows."""
import re
import xml.etree.ElementTree as ET

import vindle


def _sub(pattern, replacement, count=1):
    def edit(text):
        edited, n = re.subn(pattern, replacement, text, count=count)
        assert n, f"{pattern!r} in the written file"
        return edited
    return edit


RECENT = b"<recent>" + b"".join(b"<item>#%06X</item>" % i for i in range(10000)) + b"</recent>"

# Each case edits a file the program wrote; the first match is configuration 0's.
CASES = {
    "huge-width-with-magnifier": [_sub(rb"<width>30</width>", b"<width>100000</width>"),
                                  _sub(rb"<visible>False</visible>", b"<visible>True</visible>"),
                                  _sub(rb"<zoom>3</zoom>", b"<zoom>100000</zoom>")],
    "negative-width-unknown-configuration": [_sub(rb"<width>\d+</width>", b"<width>-5</width>", 0),
                                             _sub(rb"<configuration>0</configuration>",
                                                  b"<configuration>7</configuration>"),
                                             _sub(rb"<transparent>False</transparent>",
                                                  b"<transparent>True</transparent>"),
                                             _sub(rb"<opacity>65</opacity>", b"<opacity>500</opacity>"),
                                             _sub(rb"<zoom>3</zoom>", b"<zoom>0</zoom>", 0)],
    "long-lists-and-unknown-choices": [_sub(rb"(?s)<recent>.*?</recent>", RECENT),
                                       _sub(rb"<doubleclickaction>0<", b"<doubleclickaction>9<"),
                                       _sub(rb"<snaptoaxis>1<", b"<snaptoaxis>-3<"),
                                       _sub(rb"<length>400</length>", b"<length>99999</length>", 0),
                                       _sub(rb"<pixelsperinch>96<", b"<pixelsperinch>0<"),
                                       _sub(rb"<samplesize>1<", b"<samplesize>4<")],
}

# What the settings dialog allows, by element path; None: any value of the list.
ALLOWED = {
    "configuration/ruler/width": range(5, 101),
    "configuration/ruler/opacity": range(10, 101),
    "configuration/ruler/labeling": range(0, 3),
    "configuration/magnifier/zoom": range(1, 10),
    "configuration/magnifier/crosshairs": range(0, 4),
    "general/configuration": range(0, 3),
    "general/orientation": range(0, 2),
    "handling/doubleclickaction": range(0, 5),
    "handling/snaptoaxis": range(0, 4),
    "horizontal/presets/preset/length": range(200, 2001),
    "vertical/presets/preset/length": range(200, 2001),
    "parameters/pixelsperinch": range(10, 601),
    "colors/samplesize": (1, 3, 5),
}


def check_sane(s, name, text):
    root = ET.fromstring(text)
    for path, allowed in ALLOWED.items():
        values = [int(e.text) for e in root.findall(path)]
        s.expect(values and all(v in allowed for v in values), f"{name}: {path} held, got {values}")
    recent = root.findall("colors/recent/item")
    s.expect(len(recent) <= 20, f"{name}: at most 20 recent colours written back, got {len(recent)}")


def scenario_damaged_values_start_usable_and_are_written_back_held(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), "rb") as f:
        written = f.read()

    for name, edits in CASES.items():
        text = written
        for edit in edits:
            text = edit(text)
        with open(vindle.settings_file(), "wb") as f:
            f.write(text)
        process = vindle.start(s)
        win = vindle.ruler(s)
        s.expect(5 <= win.height <= 100, f"{name}: a ruler 5 to 100 pixels thick, got {win}")
        s.screenshot(name)
        # Neither the damaged-file question nor an error box: the ruler is the only window
        # with the program's title, and the tray menu still ends the program.
        s.expect(not s.find_windows("^Error loading settings"), f"{name}: no question about the file")
        s.expect_equal(len(s.find_windows(vindle.RULER_TITLE)), 1, f"{name}: windows titled Vindle")
        vindle.exit_vindle(s, process)
        with open(vindle.settings_file(), "rb") as f:
            check_sane(s, name, f.read())
