"""The capture overlay as a user opens it: the real Vellumshot.exe runs in the tray, the
real Ctrl+Shift+A hotkey opens overlays, xdotool drags and presses keys on them and
ImageMagick reads back what the X screen shows."""
import time
import unittest

import harness
from harness import SCREEN_W, SCREEN_H, read_root, shoot, wait_for
from screen import BUTTON, FRAME_RGB, PITCH, WIDTH, button_corner, dimmed_picture, drag, pixel, \
    region_dimmed, region_equal, same_picture
from tray import (SharedTrayTest, committed_kb, overlay_windows, press_hotkey,
                  tray_icons, tray_window_id, xdotool)
from tray import tearDownModule  # noqa: F401  (ends the module's shared tray)


class OverlayByHotkeyTest(SharedTrayTest):
    def open_overlay(self):
        press_hotkey()
        return self.screen_when(lambda r: dimmed_picture(r, self.original),
                              "the hotkey opened no dimmed overlay")

    def close_with_escape(self):
        xdotool("key", "Escape")
        self.screen_when(lambda r: same_picture(r, self.original), "the screen did not come back after Esc")

    def test_hotkey_shows_the_screen_dimmed(self):
        shown = self.open_overlay()
        # Denser than the sampling above: every 101st byte and whole rows at both edges.
        self.assertTrue(dimmed_picture(shown, self.original, step=101))
        self.assertTrue(region_dimmed(shown, self.original, 0, 0, SCREEN_W, 2))
        self.assertTrue(region_dimmed(shown, self.original, 0, SCREEN_H - 2, SCREEN_W, 2))
        self.assertTrue(region_dimmed(shown, self.original, SCREEN_W - 2, 0, 2, SCREEN_H))
        self.close_with_escape()

    def test_drag_selects_an_undimmed_framed_region(self):
        self.open_overlay()
        drag(1400, 800, 900, 450)  # reversed: the selection is (900, 450)-(1400, 800)
        shown = self.screen_when(lambda r: region_equal(r, self.original, 910, 460, 480, 330),
                               "selection not undimmed")
        shoot("overlay-tray-selection")
        for x, y in ((900, 600), (1150, 450), (1399, 600), (1150, 799)):
            near = {pixel(shown, x + dx, y + dy) for dx in (-1, 0) for dy in (-1, 0)}
            self.assertIn(FRAME_RGB, near, f"no frame colour at {x},{y}")
        self.assertTrue(region_dimmed(shown, self.original, 100, 500, 700, 300))
        self.assertTrue(region_dimmed(shown, self.original, 1450, 850, 400, 200))
        # The size label's black box reaches 4 pixels left of the selection, above it.
        self.assertEqual(pixel(shown, 897, 442), (0, 0, 0))
        # The width button says "Medium" inside its own edges, clear of the gaps beside it.
        x, y = button_corner((900, 450, 1400, 800), WIDTH)
        shown = self.screen_when(lambda r: width_label_ink(r, x, y) is not None,
                                 "no width label on the toolbar")
        left, right = width_label_ink(shown, x, y)
        self.close_with_escape()
        self.assertGreaterEqual(left, x)
        self.assertLessEqual(right, x + BUTTON)
        self.assertTrue(self.tray.running())

    def test_drag_of_three_pixels_confirms_nothing(self):
        self.open_overlay()
        drag(700, 600, 703, 603)
        # The overlay still waits for a selection: the next drag starts a fresh one, and
        # the three pixels stay dimmed.
        drag(800, 650, 1000, 750)
        shown = self.screen_when(lambda r: region_equal(r, self.original, 810, 660, 180, 80),
                               "the next drag was not a fresh selection")
        self.assertTrue(region_dimmed(shown, self.original, 690, 590, 30, 30))
        self.close_with_escape()

    def test_right_button_closes(self):
        self.open_overlay()
        xdotool("mousemove", 800, 500)
        xdotool("click", 3)
        self.screen_when(lambda r: same_picture(r, self.original), "the screen did not come back")
        # And in the middle of a drag.
        self.open_overlay()
        xdotool("mousemove", 300, 300)
        xdotool("mousedown", 1)
        xdotool("mousemove", 500, 450)
        xdotool("click", 3)
        xdotool("mouseup", 1)
        self.screen_when(lambda r: same_picture(r, self.original), "the screen did not come back")
        self.assertTrue(self.tray.running())

    def test_second_hotkey_press_stacks_and_the_lower_overlay_keeps_working(self):
        self.open_overlay()
        # Keys reach Wine only through the X window that has the focus: once the window
        # manager has moved it from the tray window onto the overlay, the hotkey arrives.
        xdotool("mousemove", 960, 540)
        self.assertTrue(wait_for(lambda: harness.focused_window() != str(tray_window_id()),
                                 timeout=5), "the overlay never got the focus")
        xdotool("key", "ctrl+shift+a")
        # A second full-screen window of ours. What it froze depends on whether the grab
        # sees the first, layered, overlay (Windows' BitBlt without CAPTUREBLT does not),
        # so its windows are counted rather than its picture compared.
        self.assertTrue(wait_for(lambda: len(overlay_windows()) == 2, timeout=10),
                        "the second press opened no second overlay")
        shoot("overlay-tray-two-overlays")
        xdotool("key", "Escape")
        self.screen_when(lambda r: dimmed_picture(r, self.original), "first overlay not shown")
        drag(1000, 500, 1300, 800)
        self.screen_when(lambda r: region_equal(r, self.original, 1010, 510, 280, 280),
                       "first overlay does not select")
        self.close_with_escape()

    def test_version_argument_leaves_the_tray_running(self):
        icons = tray_icons()
        result = harness.run(["version"], timeout=30)
        self.assertEqual(result.code, 0)
        self.assertEqual(result.out, b"Vellumshot 1.0.0\n")
        self.assertTrue(self.tray.running())
        self.assertEqual(tray_icons(), icons)
        self.open_overlay()
        self.close_with_escape()


def width_label_ink(shown, x, y):
    """The first and one past the last column, from the gap left of the button at (x, y) to
    the gap right of it, holding a pixel far from the panel's 0x333333."""
    gap = PITCH - BUTTON
    columns = [c for c in range(x - gap, x + BUTTON + gap)
               if any(sum(abs(v - 0x33) for v in pixel(shown, c, r)) > 200
                      for r in range(y, y + BUTTON))]
    return (columns[0], columns[-1] + 1) if columns else None


class TrayOverlayResourceTest(SharedTrayTest):
    # Committed memory moves only with what the tray keeps: a screen-sized bitmap kept by
    # every overlay (8 MB at 1080p) shows after the first cycle, and over 20 cycles even
    # 205 kB kept per overlay passes the 4 MB allowed.
    CYCLES = 20

    def test_overlays_give_the_tray_its_memory_back(self):
        def cycle():
            press_hotkey()
            self.assertTrue(wait_for(lambda: dimmed_picture(read_root(), self.original),
                                     timeout=15, interval=0.05), "no overlay")
            xdotool("key", "Escape")
            self.assertTrue(wait_for(lambda: same_picture(read_root(), self.original),
                                     timeout=15, interval=0.05), "overlay did not close")

        for _ in range(3):  # warm up: first use loads fonts, caches and X resources
            cycle()
        start = committed_kb()
        began = time.time()
        for _ in range(self.CYCLES):
            cycle()
        seconds = time.time() - began
        end = committed_kb()
        print(f"\n{self.CYCLES} overlays in {seconds:.0f} s; committed {start} kB -> {end} kB")
        # One leaked screen-sized bitmap alone would be 8 MB at 1080p.
        self.assertLess(end - start, 4 * 1024, f"committed memory {start} kB -> {end} kB")


if __name__ == "__main__":
    unittest.main()
