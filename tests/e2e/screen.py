"""Reading the capture overlay off the X screen and working it: how a pixel of the known
picture looks dimmed, selected or framed, where the toolbar and its buttons stand, a mouse
drag through xdotool and the save dialog."""
import harness
from harness import SCREEN_W, wait_for

FRAME_RGB = (66, 133, 244)  # the selection frame's COLORREF 0xF48542
DIM = [c * 155 // 255 for c in range(256)]


def pixel(rgb, x, y):
    i = (y * SCREEN_W + x) * 3
    return tuple(rgb[i:i + 3])


def dimmed_everywhere(shown, original, step=997):
    """Every sampled byte is the original's 155/255, within one step."""
    return all(abs(shown[i] - DIM[original[i]]) <= 1 for i in range(0, len(original), step))


def region_equal(shown, original, x, y, w, h):
    return (harness.crop_rgb(shown, SCREEN_W, x, y, w, h)
            == harness.crop_rgb(original, SCREEN_W, x, y, w, h))


def region_dimmed(shown, original, x, y, w, h):
    a = harness.crop_rgb(shown, SCREEN_W, x, y, w, h)
    b = harness.crop_rgb(original, SCREEN_W, x, y, w, h)
    return all(abs(p - DIM[q]) <= 1 for p, q in zip(a, b))


# Wine's tray window sits in the top-left corner, and its caption changes with the focus:
# whole-screen comparisons leave that corner out.
TRAY_CORNER = (240, 80)


def same_picture(shown, original):
    """The screen shows the picture as it was, the tray corner aside."""
    w, h = TRAY_CORNER
    return (region_equal(shown, original, 0, h, SCREEN_W, harness.SCREEN_H - h)
            and region_equal(shown, original, w, 0, SCREEN_W - w, h))


def dimmed_picture(shown, original, step=997):
    """The overlay covers the picture: every sampled byte below the tray corner dimmed."""
    start = TRAY_CORNER[1] * SCREEN_W * 3
    return dimmed_everywhere(shown[start:], original[start:], step)


def drag(x1, y1, x2, y2):
    """A left-button drag in three moves, with real X events."""
    xdo = ["xdotool", "mousemove", x1, y1, "mousedown", 1]
    for k in (1, 2, 3):
        xdo += ["mousemove", x1 + (x2 - x1) * k // 3, y1 + (y2 - y1) * k // 3]
    harness.tool([str(a) for a in xdo + ["mouseup", 1]])


# The selection the markup tests drag out: left, top, right, bottom.
SELECTION = (300, 200, 1300, 800)
PEN, ARROW, RECTANGLE, ELLIPSE, TEXT, MOSAIC, COLOUR, WIDTH, UNDO, PIN, COPY, SAVE, CLOSE = \
    range(13)
# The panel: 13 buttons 30 px square, 34 px apart, inside a 6 px margin.
PANEL_W, BUTTON, PITCH, MARGIN = 450, 30, 34, 6


def toolbar_origin(selection):
    """The panel's top-left for a selection with room below it: right-aligned with the
    selection, 8 px below it."""
    left, top, right, bottom = selection
    assert right - PANEL_W >= 0 and bottom + 8 + 2 * MARGIN + BUTTON <= harness.SCREEN_H
    return right - PANEL_W, bottom + 8


def button_corner(selection, position):
    """The top-left pixel of the toolbar button at `position` (0 is Pen)."""
    bar_x, bar_y = toolbar_origin(selection)
    return bar_x + MARGIN + PITCH * position, bar_y + MARGIN


def toolbar_button(selection, position):
    """The centre of the toolbar button at `position`."""
    x, y = button_corner(selection, position)
    return x + BUTTON // 2, y + BUTTON // 2


def pin_origin(selection):
    """The top-left of a pin of the selection: it opens centred on the screen."""
    left, top, right, bottom = selection
    return (SCREEN_W - (right - left)) // 2, (harness.SCREEN_H - (bottom - top)) // 2


def click_button(selection, position):
    harness.tool(["xdotool", "mousemove", *map(str, toolbar_button(selection, position)),
                  "click", "1"])


def save_dialogs():
    """Visible windows titled like the save dialog (its replace question shares the title)."""
    return harness.subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Save Image$"],
                                  env=harness.ENV, stdout=harness.subprocess.PIPE,
                                  stderr=harness.subprocess.DEVNULL).stdout.decode().split()


def save_through_dialog(folder, name, confirm_replace=False, type_delay=12):
    """In the open save dialog: the path typed over the proposed name, Enter, and Yes when
    the dialog asks before replacing a file. Waits until every save dialog has gone."""
    if not wait_for(save_dialogs, timeout=10):
        raise AssertionError("no save dialog")
    harness.tool(["xdotool", "key", "ctrl+a"])
    path = harness.winpath(folder) + "\\" + name
    harness.tool(["xdotool", "type", "--delay", str(type_delay), path])
    harness.tool(["xdotool", "key", "Return"])
    if confirm_replace:
        if not wait_for(lambda: len(save_dialogs()) == 2, timeout=10):
            raise AssertionError("no question before replacing the file")
        harness.shoot("save-replace-question")
        harness.tool(["xdotool", "key", "Return"])  # Yes
    if not wait_for(lambda: not save_dialogs(), timeout=10):
        raise AssertionError("the save dialog stayed")
