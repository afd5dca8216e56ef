"""Reading the capture overlay off the X screen: how a pixel of the known picture looks
dimmed, selected or framed, and a mouse drag through xdotool."""
import harness
from harness import SCREEN_W

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


def toolbar_button(bar_x, bar_y, position):
    """The centre of the toolbar button at `position` (0 is Pen) of a panel at (bar_x, bar_y)."""
    return bar_x + 6 + 34 * position + 15, bar_y + 6 + 15
