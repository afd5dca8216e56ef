"""Long uptime through the real tray: 200 captures in a row, each marked with every tool
and finished in turn by Copy, Save (through Wine's save dialog), Pin (the pin then closed)
and Esc. The tray's resident memory must settle, the screen must come back clean and the
tray must still answer its hotkey and its menu."""
import os
import tempfile
import time
import unittest

import harness
from harness import SCREEN_W, SCREEN_H, read_root, wait_for
from screen import dimmed_everywhere, drag, pixel, region_dimmed, region_equal
from tray import (SETTINGS_KEY, Tray, overlay_windows, own_windows, press_hotkey, reg, rss_kb,
                  shoot, tray_window_id, xdotool)

CAPTURES = 200
SETTLED_AFTER = 10   # captures after which the memory is taken as the baseline
CURVE_STEP = 20
ALLOWED_GROWTH_KB = 4 * 1024  # one leaked 1000 x 600 selection alone is 2.3 MB

RED = (255, 0, 0)
SEL = (300, 200, 1300, 800)
BAR_X, BAR_Y = SEL[2] - 450, SEL[3] + 8
PEN, ARROW, RECTANGLE, ELLIPSE, TEXT, MOSAIC = range(6)
PIN, COPY, SAVE = 9, 10, 11
PIN_SIZE = f"{SEL[2] - SEL[0]}x{SEL[3] - SEL[1]}+"

tray = None


def setUpModule():
    global tray
    reg("delete", SETTINGS_KEY, "/f")  # the default hotkey
    harness.paint_root(harness.test_picture())
    tray = Tray(tempfile.mkdtemp(prefix="vls-"))
    if tray.icon is None:
        tray.stop()
        raise AssertionError("the tray icon never appeared")


def tearDownModule():
    tray.stop()


def button(position):
    return [BAR_X + 6 + 34 * position + 15, BAR_Y + 6 + 15]


def count_red(rgb, x, y, w, h):
    return sum(pixel(rgb, i, j) == RED for i in range(x, x + w) for j in range(y, y + h))


def pin_windows():
    return own_windows(PIN_SIZE)


def synced_drag(x1, y1, x2, y2):
    """A left-button drag whose press waits until the pointer is really at its start: Wine
    can otherwise see a press that follows a jump of the pointer at its old position."""
    xdo = ["mousemove", "--sync", x1, y1, "mousedown", "1"]
    for k in (1, 2, 3):
        xdo += ["mousemove", x1 + (x2 - x1) * k // 3, y1 + (y2 - y1) * k // 3]
    xdotool(*xdo, "mouseup", "1")


def save_dialogs():
    return xdotool("search", "--onlyvisible", "--name", "^Save Image$").split()


class SoakTest(harness.SessionTest):
    def setUp(self):
        super().setUp()
        self.original = read_root()

    def screen_when(self, predicate, what, timeout=10):
        """As every session test's, polling faster (200 captures wait on it four times
        each) and keeping a picture of the screen when it fails."""
        shown = wait_for(lambda: (lambda r: r if predicate(r) else None)(read_root()),
                         timeout=timeout, interval=0.02)
        if not shown:
            shoot("soak-failed")
        self.assertTrue(shown, what)
        return shown

    def clean(self, shown):
        """The picture again, Wine's tray window in the top-left corner aside."""
        return (region_equal(shown, self.original, 0, 80, SCREEN_W, SCREEN_H - 80)
                and region_equal(shown, self.original, 240, 0, SCREEN_W - 240, 80))

    def marked(self, shown):
        """Every tool's mark is on the screen."""
        cell = pixel(self.original, 1008 + 6, 600 + 6)
        return (count_red(shown, 550, 290, 1, 20) >= 3            # pen
                and count_red(shown, 550, 390, 1, 20) >= 3         # arrow shaft
                and count_red(shown, 800, 350, 1, 50) >= 40        # rectangle's left edge
                and count_red(shown, 795, 560, 10, 30) >= 10       # ellipse's left end
                and count_red(shown, 400, 600, 120, 40) >= 20      # text
                and {pixel(shown, 1008 + i, 600 + j) for i in (0, 11) for j in (0, 11)}
                == {cell})                                         # one mosaic cell

    def capture(self, number, finish):
        press_hotkey()
        self.screen_when(lambda r: dimmed_everywhere(r, self.original),
                         f"capture {number}: no overlay")
        drag(*SEL)
        # The toolbar's presses are hit-tested against the buttons as last drawn.
        self.screen_when(lambda r: region_equal(r, self.original, 400, 300, 800, 400)
                         and region_dimmed(r, self.original, 0, 300, 200, 400)
                         and not region_dimmed(r, self.original, BAR_X, BAR_Y, 450, 42),
                         f"capture {number}: the selection was not confirmed")
        for tool, (x1, y1, x2, y2) in ((PEN, (400, 300, 700, 300)), (ARROW, (400, 400, 700, 400)),
                                       (RECTANGLE, (800, 300, 1000, 450)),
                                       (ELLIPSE, (800, 500, 1000, 650)),
                                       (MOSAIC, (1010, 605, 1018, 611))):
            xdotool("mousemove", "--sync", *button(tool), "mousedown", "1", "mouseup", "1")
            synced_drag(x1, y1, x2, y2)
        xdotool("mousemove", "--sync", *button(TEXT), "mousedown", "1", "mouseup", "1")
        xdotool("mousemove", "--sync", 400, 600, "mousedown", "1", "mouseup", "1")
        xdotool("type", "soak")
        xdotool("key", "Return")
        self.screen_when(self.marked, f"capture {number}: not every mark was drawn")

        if finish == "copy":
            xdotool("mousemove", "--sync", *button(COPY), "mousedown", "1", "mouseup", "1")
        elif finish == "save":
            xdotool("mousemove", "--sync", *button(SAVE), "mousedown", "1", "mouseup", "1")
            self.assertTrue(wait_for(save_dialogs, timeout=10), f"capture {number}: no dialog")
            name = f"soak{number}.png"
            xdotool("key", "ctrl+a")
            xdotool("type", "--delay", "2", harness.winpath(self.dir) + "\\" + name)
            xdotool("key", "Return")
            self.assertTrue(wait_for(lambda: not save_dialogs(), timeout=10))
            self.assertTrue(wait_for(lambda: os.path.getsize(self.path(name)) > 0
                                     if os.path.exists(self.path(name)) else False, timeout=10),
                            f"capture {number}: nothing saved")
            os.remove(self.path(name))
        elif finish == "pin":
            xdotool("mousemove", "--sync", *button(PIN), "mousedown", "1", "mouseup", "1")
            self.assertTrue(wait_for(pin_windows, timeout=10), f"capture {number}: no pin")
            xdotool("mousemove", "--sync", SCREEN_W // 2, SCREEN_H // 2, "mousedown", "3", "mouseup", "3")
        else:
            xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not overlay_windows() and not pin_windows(), timeout=10,
                                 interval=0.02),
                        f"capture {number}: still on the screen after {finish}")

    def test_two_hundred_marked_captures_give_the_memory_back(self):
        pid = wait_for(tray.linux_pid, timeout=10)
        self.assertIsNotNone(pid, "no Linux process runs the tray's Vellumshot.exe")
        curve = [(0, rss_kb(pid))]
        began = time.time()
        finishes = ("copy", "save", "pin", "escape")
        for number in range(1, CAPTURES + 1):
            self.capture(number, finishes[(number - 1) % 4])
            if number == SETTLED_AFTER or number % CURVE_STEP == 0:
                curve.append((number, rss_kb(pid)))
                self.screen_when(self.clean, f"after capture {number}: the screen is not clean")
        seconds = time.time() - began
        print(f"\n{CAPTURES} marked captures in {seconds:.0f} s; tray VmRSS by capture:")
        for number, kb in curve:
            print(f"  {number:4d}  {kb / 1024:7.1f} MB")

        # The screen is clean and nothing of ours is left on it.
        self.assertTrue(self.clean(read_root()), "the screen is not clean")
        self.assertEqual(overlay_windows(), [])
        self.assertEqual(pin_windows(), [])
        # Still answering: its hotkey opens an overlay, and its menu opens and closes.
        self.capture(CAPTURES + 1, "escape")
        # Wine's tray window is briefly unfindable while the focus moves off the overlay.
        self.assertTrue(wait_for(tray_window_id, timeout=10), "Wine's tray window has gone")
        tray.open_menu()
        tray.close_menu()

        baseline = dict(curve)[SETTLED_AFTER]
        end = curve[-1][1]
        self.assertLess(end - baseline, ALLOWED_GROWTH_KB,
                        f"resident memory {baseline} kB after {SETTLED_AFTER} captures, "
                        f"{end} kB after {CAPTURES}")


if __name__ == "__main__":
    unittest.main()
