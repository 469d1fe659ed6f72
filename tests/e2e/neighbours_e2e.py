"""Another program of the session beside a real Vindle (tests/win/HostileNeighbour.exe): one
that holds Vindle's locks and never lets go, makes its single-instance block first, writes
non-colours and foreign windows into the colour block, owns the clipboard and never renders
what it offered, or leaves hundreds of megabytes of text there. Vindle keeps answering
(a sent message within a second), starts or says why, and keeps the user's colours."""
import os

import vindle
from colordialog_e2e import DIALOG, HEX_FIELD, PREVIEW_NEW, WHITE, open_dialog, start_with_picker

NEIGHBOUR = "tests/win/HostileNeighbour.exe"


def neighbour(s, *args):
    """Starts the neighbour in a mode that keeps what it took; returns once it holds it."""
    ready = os.path.join(s.shots_dir, "neighbour-ready-" + "-".join(args))
    if os.path.exists(ready):
        os.remove(ready)
    process = s.start(NEIGHBOUR, *args, s.windows_path(ready))
    s.wait_for(lambda: os.path.exists(ready) or process.poll() is not None, f"the neighbour to {args[0]}")
    s.expect(process.poll() is None, f"the neighbour holds what it took ({args})")
    return process


def expect_answering(s, what):
    """Vindle answers a message sent to it within a second, once it has handled the input
    that came before (under load, a paste of megabytes is still being copied by the system)."""
    s.wait_for(lambda: s.wait_exit(s.start(NEIGHBOUR, "ping")) == 0,
               f"Vindle to answer a sent message within a second ({what})", timeout=20, interval=0.5)


def open_box_menu(s, face):
    """Right-clicks the colour picker's box and waits for a menu with its gray swatch nearby."""
    x, y = face
    s.right_click(x, y)

    def shown():
        shot = s.screenshot("menu")
        return any(shot.pixel(xx, yy) == (0x80, 0x80, 0x80)
                   for xx in range(max(x - 300, 0), min(x + 300, shot.width), 3)
                   for yy in range(max(y - 400, 0), min(y + 400, shot.height), 3))
    s.wait_for(shown, "the colour box menu with its swatches", timeout=8)


def scenario_locks_held_by_another_program_cost_a_bounded_wait(s):
    # Held before the start: Vindle says so and starts when told to.
    vindle.forget_settings()
    holder = neighbour(s, "hold", "VindleMutex")
    process = vindle.start(s, wait_for_tray=False)
    box = s.wait_window("^Vindle$", timeout=30)
    s.screenshot("does-not-answer")
    s.expect(box.width < 600, "a message box, not the ruler")
    s.key("Return")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the tray icon after starting anyway", timeout=30)
    expect_answering(s, "started anyway")
    vindle.exit_vindle(s, process)
    holder.kill()
    holder.wait()

    # Taken while Vindle runs: the colour menu opens and Exit ends the program.
    process, face = start_with_picker(s)
    holders = [neighbour(s, "hold", name) for name in ("VindleColorDefinitionServiceMutex", "VindleMutex")]
    open_box_menu(s, face)
    s.key("Escape")
    expect_answering(s, "after the menu")
    vindle.exit_vindle(s, process, timeout=30)
    for h in holders:
        h.kill()


def scenario_a_block_made_first_by_another_program_is_taken_over(s):
    for content in ("zero", "window", "small"):
        vindle.forget_settings()
        squatter = neighbour(s, "squat", "Vindle", content)
        process = vindle.start(s)
        vindle.ruler(s)
        expect_answering(s, f"block holding {content}")
        vindle.exit_vindle(s, process)
        squatter.kill()
        squatter.wait()


def scenario_non_colours_in_the_colour_block_never_reach_the_settings(s):
    process, face = start_with_picker(s)
    s.expect_equal(s.wait_exit(s.start(NEIGHBOUR, "colors")), 0, "the neighbour wrote into the colour block")
    d = open_dialog(s, face)
    s.click(*d.at((8 + 10, 272 + 12)))      # "set" on the first user colour
    s.screenshot("set")
    s.click(*d.at((384 + 36, 288 + 12)))    # Cancel: the slot is set all the same
    s.wait_no_window(DIALOG)
    expect_answering(s, "after writes into its colour block")
    vindle.exit_vindle(s, process)
    with open(vindle.settings_file(), encoding="utf-8") as f:
        text = f.read()
    for foreign in ("DEADBEEF", "3735928559", "-559038737"):
        s.expect(foreign.lower() not in text.lower(), f"{foreign} not in Settings.xml")


def scenario_a_clipboard_owner_that_never_renders_does_not_freeze_the_menu(s):
    process, face = start_with_picker(s)
    stalling = neighbour(s, "stall")
    open_box_menu(s, face)
    s.screenshot("menu-with-stalled-clipboard")
    s.key("Escape")
    expect_answering(s, "with a stalled clipboard owner")
    stalling.kill()
    vindle.exit_vindle(s, process)


def scenario_a_huge_text_pasted_into_the_hex_field_is_refused_unread(s):
    process, face = start_with_picker(s)
    s.expect_equal(s.wait_exit(s.start(NEIGHBOUR, "bigtext", "64"), timeout=60), 0, "64 MB of text on the clipboard")
    d = open_dialog(s, face)
    s.click(*d.at(HEX_FIELD))
    for _ in range(3):
        s.key("ctrl+v")
    expect_answering(s, "after the pastes")
    s.expect_equal(d.pixel(s.screenshot("pasted"), PREVIEW_NEW), WHITE, "the colour as it was")
    s.key("Escape")  # an error box in front would take this instead of the dialog
    s.wait_no_window(DIALOG)
    vindle.exit_vindle(s, process)
