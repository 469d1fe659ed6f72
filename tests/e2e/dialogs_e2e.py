"""Every dialog and every page of it, as a careful user at 100 %, 150 % and 200 % scaling
would look at it: no caption wider than its control, no control over another, and from the
keyboard every enabled control reachable with Tab, each access key leading to one control.
The dialogs are built and walked by a helper linked with the program's own code (the
settings dialog on each row and configuration, installed and portable; the colour dialog;
both wizards' pages; the about box; the calibration window), at Wine's system DPI. Texts the
controls draw themselves (wizard headers, web links, drop-down items) are measured too."""
import os
import subprocess

DPIS = (96, 144, 192)
# Settings 2 x (General, Handling, Parameters, Hotkeys, Color formats, Measure + 3 configurations x 3 sub-pages), the colour
# dialog, setup 2 x 9 pages, uninstallation 3 pages, the about box and the calibration window:
# a helper that stops early or skips a dialog must not pass for a clean one.
PAGES = 2 * (6 + 3 * 3) + 1 + 2 * 9 + 3 + 1 + 1


def audit(s, mode):
    """The faults the helper found, after checking that it walked every page."""
    out = os.path.join(s.shots_dir, f"dialog-{mode}.txt")
    if os.path.exists(out):
        os.remove(out)
    helper = s.path("tests/win/DialogAudit.exe")
    result = subprocess.run(["wine", helper, mode, s.windows_path(out)], capture_output=True, timeout=180)
    s.expect(result.returncode == 0 and os.path.exists(out),
             f"{helper} {mode} to finish its walk, exit code {result.returncode}")
    with open(out, encoding="utf-8") as f:
        lines = f.read().splitlines()
    summary = lines.pop() if lines else ""
    s.expect(summary.startswith(f"audited {PAGES} pages"), f"the helper walked {PAGES} pages: {summary!r}")
    return lines


def captions_fit(s, dpi):
    with s.at_dpi(dpi):
        faults = audit(s, "layout")
        s.expect(not faults, f"{len(faults)} layout faults at {dpi} dpi:\n  " + "\n  ".join(faults))


def _at(dpi):
    def scenario(s):
        captions_fit(s, dpi)
    return scenario


for _dpi in DPIS:
    globals()[f"scenario_captions_fit_and_controls_stand_apart_at_{_dpi}_dpi"] = _at(_dpi)


def scenario_tab_reaches_every_enabled_control(s):
    faults = audit(s, "tabs")
    s.expect(not faults, f"{len(faults)} keyboard faults:\n  " + "\n  ".join(faults))
