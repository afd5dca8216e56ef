"""The capture overlay seen from outside: a program that opens overlays as the tray does
(on start and on Ctrl+Shift+A) runs under Wine, xdotool drives it with real mouse and key
events, and ImageMagick reads back what the X screen shows."""
import os
import subprocess
import time
import unittest

import harness
from harness import SCREEN_W, SCREEN_H

HOST = os.path.join(harness.TOOLS, "overlay_host.exe")
FRAME_RGB = (66, 133, 244)  # the frame's COLORREF 0xF48542
DIM = [c * 155 // 255 for c in range(256)]


def pixel(rgb, x, y):
    i = (y * SCREEN_W + x) * 3
    return tuple(rgb[i:i + 3])


def dimmed_everywhere(shown, original, step=997):
    """Every sampled byte is the original's 155/255, within one step."""
    return all(abs(shown[i] - DIM[original[i]]) <= 1 for i in range(0, len(original), step))


def same_everywhere(shown, original, step=997):
    return all(shown[i] == original[i] for i in range(0, len(original), step))


def region_equal(shown, original, x, y, w, h):
    return (harness.crop_rgb(shown, SCREEN_W, x, y, w, h)
            == harness.crop_rgb(original, SCREEN_W, x, y, w, h))


def region_dimmed(shown, original, x, y, w, h):
    a = harness.crop_rgb(shown, SCREEN_W, x, y, w, h)
    b = harness.crop_rgb(original, SCREEN_W, x, y, w, h)
    return all(abs(p - DIM[q]) <= 1 for p, q in zip(a, b))


def xdo(*args):
    harness.tool(["xdotool"] + [str(a) for a in args])


def drag(x1, y1, x2, y2):
    xdo("mousemove", x1, y1)
    xdo("mousedown", 1)
    for k in (1, 2, 3):
        xdo("mousemove", x1 + (x2 - x1) * k // 3, y1 + (y2 - y1) * k // 3)
    xdo("mouseup", 1)


class Host:
    """overlay_host.exe in the background and the lines it prints."""

    def __init__(self, test, *args, env=None):
        self.dir = test.dir
        self.proc = harness.start(list(args), cwd=self.dir, exe=HOST, env=env)
        test.addCleanup(self.stop)
        self.seen = 0

    def output(self):
        with open(os.path.join(self.dir, "stdout.txt"), "rb") as f:
            return f.read().decode("utf-8", "replace")

    def lines(self):
        return [l.strip() for l in self.output().splitlines() if l.strip()]

    def wait_line(self, text, timeout=20):
        """Waits for `text` among the lines printed after the last line already waited for."""
        def found():
            lines = self.lines()
            for i in range(self.seen, len(lines)):
                if lines[i] == text:
                    self.seen = i + 1
                    return True
            return False
        if not harness.wait_for(found, timeout=timeout, interval=0.05):
            raise AssertionError(f"no {text!r} in output: {self.lines()}")

    def trigger(self):
        """Asks for a new overlay (the hotkey reaches Wine only while it has the focus)."""
        open(os.path.join(self.dir, "open-overlay"), "w").close()

    def running(self):
        return self.proc.poll() is None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=30)


class OverlayTest(harness.SessionTest):
    @classmethod
    def setUpClass(cls):
        cls.picture = harness.test_picture()
        harness.paint_root(cls.picture)
        cls.original = harness.read_root()

    def setUp(self):
        super().setUp()
        # Each test starts from the known picture, with no overlay left on it.
        harness.wait_for(lambda: harness.read_root() == self.original, timeout=10)
        self.assertEqual(harness.read_root(), self.original, "screen is not the test picture")

    def open_host(self, *args, env=None):
        host = Host(self, *args, env=env)
        host.wait_line("ready")
        return host

    def wait_root(self, predicate, what, timeout=15):
        shown = harness.wait_for(lambda: (lambda r: r if predicate(r) else None)(harness.read_root()),
                                 timeout=timeout, interval=0.2)
        self.assertTrue(shown, what)
        return shown

    def test_overlay_shows_the_frozen_screen_dimmed(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        shown = self.wait_root(lambda r: dimmed_everywhere(r, self.original), "screen not dimmed")
        # Full rows across the screen, not only samples.
        self.assertTrue(region_dimmed(shown, self.original, 0, 0, SCREEN_W, 2))
        self.assertTrue(region_dimmed(shown, self.original, 0, SCREEN_H - 2, SCREEN_W, 2))

    def test_drag_selects_an_undimmed_framed_region(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        self.wait_root(lambda r: dimmed_everywhere(r, self.original), "screen not dimmed")
        drag(500, 400, 260, 200)  # reversed: the selection is still (260, 200)-(500, 400)
        shown = self.wait_root(lambda r: region_equal(r, self.original, 270, 210, 220, 180),
                               "selection not undimmed")
        # The 2-pixel frame straddles each edge.
        for x, y in ((260, 300), (380, 200), (499, 300), (380, 399)):
            near = {pixel(shown, x + dx, y + dy) for dx in (-1, 0) for dy in (-1, 0)}
            self.assertIn(FRAME_RGB, near, f"no frame colour at {x},{y}")
        # Outside stays dimmed.
        self.assertTrue(region_dimmed(shown, self.original, 600, 500, 200, 100))
        self.assertTrue(region_dimmed(shown, self.original, 100, 420, 100, 50))
        # The size label's black box reaches 4 pixels left of the selection, above it.
        self.assertEqual(pixel(shown, 257, 192), (0, 0, 0))
        self.assertTrue(host.running())

    def test_drag_of_three_pixels_confirms_nothing(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        self.wait_root(lambda r: dimmed_everywhere(r, self.original), "screen not dimmed")
        drag(700, 600, 703, 603)
        time.sleep(1.0)
        shown = harness.read_root()
        self.assertTrue(region_dimmed(shown, self.original, 690, 590, 30, 30))
        # The overlay is still waiting for a selection: a real drag now confirms one.
        drag(700, 600, 900, 700)
        self.wait_root(lambda r: region_equal(r, self.original, 710, 610, 180, 80),
                       "the next drag was not a fresh selection")

    def test_escape_closes_in_every_state(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        self.wait_root(lambda r: dimmed_everywhere(r, self.original), "screen not dimmed")
        xdo("key", "Escape")
        host.wait_line("overlays 0")
        self.wait_root(lambda r: r == self.original, "screen not restored after Esc")
        # Again with a confirmed selection.
        host.trigger()
        host.wait_line("overlays 1")
        drag(100, 100, 400, 300)
        self.wait_root(lambda r: region_equal(r, self.original, 110, 110, 280, 180), "no selection")
        xdo("key", "Escape")
        host.wait_line("overlays 0")
        self.wait_root(lambda r: r == self.original, "screen not restored after Esc")
        self.assertTrue(host.running())

    def test_right_button_closes_in_every_state(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        xdo("mousemove", 800, 500)
        xdo("click", 3)
        host.wait_line("overlays 0")
        self.wait_root(lambda r: r == self.original, "screen not restored after right click")
        host.trigger()
        host.wait_line("overlays 1")
        xdo("mousemove", 300, 300)
        xdo("mousedown", 1)
        xdo("mousemove", 500, 450)
        xdo("click", 3)  # in the middle of the drag
        host.wait_line("overlays 0")
        xdo("mouseup", 1)
        self.wait_root(lambda r: r == self.original, "screen not restored after right click")

    def test_closing_the_top_overlay_leaves_the_other_working(self):
        host = self.open_host()
        host.wait_line("overlays 1")
        self.wait_root(lambda r: dimmed_everywhere(r, self.original), "screen not dimmed")
        xdo("key", "ctrl+shift+a")
        host.wait_line("overlays 2")
        time.sleep(0.5)
        xdo("key", "Escape")
        host.wait_line("overlays 1")
        # The first overlay shows its own frozen screen, dimmed once, and still selects.
        self.wait_root(lambda r: dimmed_everywhere(r, self.original), "first overlay not shown")
        drag(1000, 500, 1300, 800)
        self.wait_root(lambda r: region_equal(r, self.original, 1010, 510, 280, 280),
                       "first overlay does not select")
        xdo("key", "Escape")
        host.wait_line("overlays 0")
        self.wait_root(lambda r: r == self.original, "screen not restored")

    def test_a_failed_open_leaves_the_host_running(self):
        for fault, text in (("buffer", "CreateDIBSection failed"),
                            ("window", "CreateWindowExW failed")):
            with self.subTest(fault=fault):
                # Wine prints OutputDebugString text as a warning of its seh channel.
                host = self.open_host("--fail", fault, env={"WINEDEBUG": "-all,warn+seh"})
                try:
                    harness.wait_for(lambda: text in host.output(), timeout=10)
                    self.assertIn(text, host.output())
                    time.sleep(0.5)
                    self.assertTrue(host.running())
                    self.assertEqual(harness.read_root(), self.original)
                    host.trigger()
                    host.wait_line("overlays 1")
                    xdo("key", "Escape")
                    host.wait_line("overlays 0")
                finally:
                    host.stop()


if __name__ == "__main__":
    unittest.main()
