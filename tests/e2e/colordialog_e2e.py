"""The colour selection dialog opened from the colour picker: live previews while dragging on
the chart and the bar, Cancel and OK, every component, and user colours shared with a dialog
of another program."""
import vindle

PICKER = "^Color picker$"
DIALOG = "^Select color$"
HOST = "^Host dialog$"
WHITE = (255, 255, 255)
FACE = (28, 4)                  # a face pixel of the picker's colour box, clear of caption and glyph
CLIENT = (463, 366)
CHART = (8, 8)                  # the chart's top-left corner; content from (1, 1) to (256, 256)
BAR = (272, 8)
PREVIEW_NEW = (304 + 76, 8 + 80)  # inside the preview's lower part: the new colour
# The select half of the first user colour, in its top rows: the hover label "set" is drawn
# across its middle, as wide and high as the fonts make it.
SLOT = (8 + 34, 272 + 2)
PUSH_BUTTON = 0x2B  # the role a screen reader announces
HEX_FIELD = (384 + 56, 234 + 8)
OK, CANCEL = (304 + 36, 288 + 12), (384 + 36, 288 + 12)
COMPONENTS = ["hue", "saturation", "brightness", "red", "green", "blue"]


def client_origin(win, width, height):
    """Our windows' frames are drawn evenly on the sides and bottom, the caption on top."""
    border = (win.width - width) // 2
    return win.x + border, win.y + win.height - border - height


class Dialog:
    def __init__(self, s, win):
        self.s, self.win = s, win
        self.left, self.top = client_origin(win, *CLIENT)

    def at(self, point):
        return self.left + point[0], self.top + point[1]

    def chart(self, x, y):
        return self.at((CHART[0] + x, CHART[1] + y))

    def bar(self, y):
        return self.at((BAR[0] + 13, BAR[1] + y))

    def pixel(self, shot, point):
        return shot.pixel(*self.at(point))


def show_picker(s):
    vindle.open_tray_menu(s)
    s.key("Down", "Down", "Return")
    win = s.wait_window(PICKER)
    left, top = client_origin(win, 88, 24)
    return win, (left + FACE[0], top + FACE[1])


def open_dialog(s, face):
    s.click(*face)
    return Dialog(s, s.wait_window(DIALOG))


def wait_face(s, face, colour, label):
    s.wait_for(lambda: s.screenshot(label).pixel(*face) == colour, f"the colour box to show {colour}", timeout=8)


def start_with_picker(s):
    vindle.forget_settings()
    process = vindle.start(s)
    vindle.ruler(s)
    win, face = show_picker(s)
    wait_face(s, face, WHITE, "picker")
    return process, face


def scenario_drags_show_live_in_the_colour_box_and_cancel_restores_it(s):
    process, face = start_with_picker(s)
    d = open_dialog(s, face)
    shot = s.screenshot("opened")
    s.expect_equal(d.pixel(shot, PREVIEW_NEW), WHITE, "the preview shows the box's colour")

    # Hue chart of white: drag toward the top right, a light red.
    s.drag(d.chart(40, 200), d.chart(230, 20), steps=12)
    shot = s.screenshot("chart-dragged")
    chosen = d.pixel(shot, PREVIEW_NEW)
    s.expect(chosen != WHITE and chosen[0] > chosen[1] + 100 and abs(chosen[1] - chosen[2]) <= 2,
             f"a red of the hue chart in the preview, got {chosen}")
    s.expect_equal(shot.pixel(*face), chosen, "the colour box shows the preview live")

    # The hue bar from red up to past green: the box follows again.
    s.drag(d.bar(250), d.bar(150), steps=12)
    shot = s.screenshot("bar-dragged")
    moved = d.pixel(shot, PREVIEW_NEW)
    s.expect(moved[1] > moved[0], f"a green hue after moving the bar, got {moved}")
    s.expect_equal(shot.pixel(*face), moved, "the colour box follows the bar")

    s.click(*d.at(CANCEL))
    s.wait_no_window(DIALOG)
    wait_face(s, face, WHITE, "cancelled")
    vindle.exit_vindle(s, process)


def scenario_ok_returns_the_chosen_colour(s):
    process, face = start_with_picker(s)
    d = open_dialog(s, face)
    s.click(*d.at(HEX_FIELD))
    s.key("End", *["BackSpace"] * 6)
    s.type("3366cc")
    s.wait_for(lambda: d.pixel(s.screenshot("typed"), PREVIEW_NEW) == (0x33, 0x66, 0xCC), "the typed code in the preview")
    s.click(*d.at(OK))
    s.wait_no_window(DIALOG)
    wait_face(s, face, (0x33, 0x66, 0xCC), "ok")

    # A click on the chart and OK: the box keeps what the preview showed.
    d = open_dialog(s, face)
    s.click(*d.chart(128, 64))
    shot = s.screenshot("clicked")
    chosen = d.pixel(shot, PREVIEW_NEW)
    s.click(*d.at(OK))
    s.wait_no_window(DIALOG)
    wait_face(s, face, chosen, "ok-again")
    vindle.exit_vindle(s, process)


def scenario_every_component_has_its_chart_and_bar(s):
    process, face = start_with_picker(s)
    d = open_dialog(s, face)
    s.click(*d.at(HEX_FIELD))
    s.key("End", *["BackSpace"] * 6)
    s.type("3399cc")
    corners = {}
    for i, name in enumerate(COMPONENTS):
        radio = (304 + 8 + 72 * (i // 3) + 6, 112 + 20 + 24 * (i % 3) + 8)
        s.click(*d.at(radio))
        shot = s.screenshot(name)
        corners[name] = (d.pixel(shot, (CHART[0] + 2, CHART[1] + 2)), d.pixel(shot, (CHART[0] + 255, CHART[1] + 255)))
    # Cells (2, 2) and (255, 255) per component, as the colour model computes them.
    s.expect_equal(corners["hue"], ((0xFC, 0xFD, 0xFD), (0, 0, 1)), "hue chart: near white top left, black bottom right")
    s.expect_equal(corners["red"], ((0x33, 1, 0xFE), (0x33, 0xFE, 1)), "red chart: green across, blue up")
    s.expect_equal(corners["green"][1], (0xFE, 0x99, 1), "green chart: red across, blue up")
    s.expect_equal(corners["blue"][1], (0xFE, 1, 0xCC), "blue chart: red across, green up")
    s.expect(len(set(corners.values())) == len(COMPONENTS), f"six different charts, got {corners}")
    s.key("Escape")
    s.wait_no_window(DIALOG)
    vindle.exit_vindle(s, process)


def scenario_set_shows_at_once_in_a_dialog_of_another_program(s):
    process, face = start_with_picker(s)
    d = open_dialog(s, face)
    # Move the dialog aside by its caption, so that the other program's dialog does not
    # cover it.
    caption = (d.win.x + d.win.width // 2, d.win.y + 8)
    s.drag(caption, (caption[0] - 380, caption[1]), steps=10)
    d = Dialog(s, s.wait_window(DIALOG))
    slot = SLOT
    before = d.pixel(s.screenshot("before"), slot)

    host = s.start("tests/win/ColorDialogHost.exe", "VindleColorDefinitionService", "C83214", "Host dialog")
    h = Dialog(s, s.wait_window(HOST))
    set_half = h.at((8 + 10, 272 + 12))
    s.move(*set_half)
    s.click(*set_half)
    shot = s.screenshot("set-in-host")
    s.expect_equal(h.pixel(shot, slot), (0xC8, 0x32, 0x14), "the host's slot holds its colour")
    s.wait_for(lambda: d.pixel(s.screenshot("shared"), slot) == (0xC8, 0x32, 0x14),
               f"the colour to show in Vindle's dialog (was {before})", timeout=5)
    s.key("Escape")
    s.wait_exit(host)
    s.click(*d.at(CANCEL))
    s.wait_no_window(DIALOG)
    vindle.exit_vindle(s, process)


def scenario_user_colours_and_revert_work_from_the_keyboard(s):
    process, face = start_with_picker(s)
    d = open_dialog(s, face)
    s.click(*d.at(HEX_FIELD))  # the pointer stays on the dialog, which has the keys
    s.key("End", *["BackSpace"] * 6)
    s.type("3366cc")

    def focused(name, what):
        s.wait_for(lambda: vindle.read_accessible(s, "focus")["focus"]["name"] == name, what, timeout=15)
        s.expect_equal(vindle.read_accessible(s, "focus")["focus"]["role"], PUSH_BUTTON, f"{name} is a button")

    s.key("Tab", "Tab", "Tab", "Tab", "Tab")  # OK, Cancel, Against, Swap, then the user colours
    focused("Set user color 1", "the first user colour's set half to have the focus")
    s.key("space")
    s.wait_for(lambda: d.pixel(s.screenshot("set"), SLOT) == (0x33, 0x66, 0xCC), "Space to store the colour")
    s.key("Right")
    focused("Use user color 1, #3366CC", "the arrow to move to the half that uses the colour")
    s.key("Tab")  # round to the first stop: the preview's revert
    focused("Revert to #FFFFFF", "the revert corner to have the focus")
    s.screenshot("revert-focused")
    s.key("Return")
    s.wait_for(lambda: d.pixel(s.screenshot("reverted"), PREVIEW_NEW) == WHITE, "Enter to revert to white")
    s.key("shift+Tab", "Right", "Return")
    s.wait_for(lambda: d.pixel(s.screenshot("used"), PREVIEW_NEW) == (0x33, 0x66, 0xCC), "Enter to use the user colour")
    s.key("Escape")
    s.wait_no_window(DIALOG)
    wait_face(s, face, WHITE, "cancelled")
    vindle.exit_vindle(s, process)
