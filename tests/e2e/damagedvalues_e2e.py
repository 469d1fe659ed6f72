"""Absurd values in a hand-edited settings file: the program starts usable and writes them back held."""
import re

import vindle

# Edits of a file the program wrote (count 0: all); the first match is in the active configuration.
RECENT = rb"(?s)<recent>.*?</recent>"
CASES = {
    "huge-width-with-magnifier": [(rb"<width>30<", b"<width>100000<", 1), (rb"<visible>False<", b"<visible>True<", 1)],
    "negative-width-config-7": [(rb"<width>\d+<", b"<width>-5<", 0), (rb"<configuration>0<", b"<configuration>7<", 1)],
    "many-recent-colours": [(RECENT, b"<recent>" + b"<item>#102030</item>" * 10000 + b"</recent>", 1)]}


def scenario_damaged_values_start_usable_and_are_written_back_held(s):
    process, _ = vindle.ruler_at_default(s)
    vindle.exit_vindle(s, process)
    written = open(vindle.settings_file(), "rb").read()
    for name, edits in CASES.items():
        text = written
        for pattern, replacement, count in edits:
            text = re.sub(pattern, replacement, text, count=count)
        open(vindle.settings_file(), "wb").write(text)
        process = vindle.start(s)
        s.expect(5 <= vindle.ruler(s).height <= 100, f"{name}: a ruler 5 to 100 pixels thick")
        s.screenshot(name)
        # No question and no error box (it carries the program's title); the tray menu still works.
        s.expect(len(s.find_windows("^(Vindle|Error loading settings)$")) == 1, f"{name}: the ruler alone")
        vindle.exit_vindle(s, process)
        text = open(vindle.settings_file(), "rb").read()
        held = all(5 <= int(w) <= 100 for w in re.findall(rb"<width>(-?\d+)<", text)) and b"<configuration>7<" not in text
        s.expect(held and re.search(RECENT, text)[0].count(b"<item>") <= 20, f"{name}: values written back held")
