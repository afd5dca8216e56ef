"""Makes the README's pictures from the real program: the overlay with a selection, the
toolbar and a few marks, and a pinned window. Run by scripts/readme-pictures.sh inside a
test session: readme_pictures.py DOCS_DIR PICTURE.ppm writes DOCS_DIR/overlay.png and pin.png."""
import os
import sys
import tempfile

import harness
from harness import SETTINGS_KEY, read_root, reg, wait_for
from screen import click_button, dimmed_picture, drag, pin_origin, pixel, toolbar_origin
from tray import Tray, press_hotkey, xdotool

DOCS = sys.argv[1]
SEL = (560, 180, 1460, 760)
BAR_X, BAR_Y = toolbar_origin(SEL)


def press(position):
    click_button(SEL, position)


def sweep(points):
    """A left-button drag through every point, with real X events."""
    args = ["mousemove", *points[0], "mousedown", 1]
    for point in points[1:]:
        # Wine merges pointer motion that arrives at once; a pause keeps each position.
        args += ["mousemove", *point, "sleep", "0.01"]
    xdotool(*args, "mouseup", 1)


def settle():
    last = None
    for _ in range(50):
        now = read_root()
        if now == last:
            return
        last = now


def save(name, crop):
    path = os.path.join(DOCS, name)
    harness.tool(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % crop, "+repage", path])
    print("wrote", path)


reg("delete", SETTINGS_KEY, "/f")
harness.paint_root(sys.argv[2])
tray = Tray(tempfile.mkdtemp(prefix="vls-"))
original = read_root()  # with the tray window on it
try:
    press_hotkey()
    assert wait_for(lambda: dimmed_picture(read_root(), original), timeout=10), "no overlay"
    drag(*SEL)
    assert wait_for(lambda: pixel(read_root(), BAR_X + 3, BAR_Y + 3) == (0x33, 0x33, 0x33),
                    timeout=10), "no toolbar"
    press(2)  # rectangle
    drag(600, 420, 840, 560)
    press(1)  # arrow
    drag(1000, 300, 860, 410)
    press(5)  # mosaic
    # Over the photo-like area: every 6 px along three rows, so each cell is reached.
    sweep([(x, y) for y in (690, 702, 714, 726, 738) for x in range(960, 1320, 8)])
    press(4)  # text
    xdotool("mousemove", 1000, 240, "click", 1)
    xdotool("type", "Ship it")
    xdotool("key", "Return")
    press(0)  # pen
    drag(620, 660, 720, 700)
    settle()
    save("overlay.png", (1100, 700, SEL[0] - 100, SEL[1] - 50))
    xdotool("key", "ctrl+p")
    pw, ph = SEL[2] - SEL[0], SEL[3] - SEL[1]
    px, py = pin_origin(SEL)
    assert wait_for(lambda: pixel(read_root(), 5, 200) == pixel(original, 5, 200), timeout=10)
    xdotool("mousemove", px + pw // 2, py + ph // 2)
    settle()
    save("pin.png", (pw + 200, ph + 120, px - 100, py - 60))
    xdotool("click", 3)
finally:
    tray.stop()
