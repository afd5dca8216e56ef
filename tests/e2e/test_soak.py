"""Long uptime through the real tray: captures in a row, each marked with every tool and
finished in turn by Copy, Save (through Wine's save dialog), Pin (the pin then closed) and
Esc. The tray's committed memory must settle, the screen must come back clean and the tray
must still answer its hotkey and its menu.

The default run makes 20 captures, VLS_SOAK_CAPTURES=200 the long one. 20 are enough to
catch a leaked selection image with certainty: committed memory does not move with pages
coming and going, and after the 8 captures of the baseline (each finish twice, so its
caches are filled) each finish runs 3 more times, so an image of 1000 x 600 (2,368 kB
committed, as a Pin keeping a copy showed) kept by even one of the four finishes keeps
3 x 2,368 = 7,104 kB, 1.7 times the growth allowed."""
import os
import time
import unittest

import xpixels
from harness import SCREEN_W, crop_rgb, read_root, shoot, wait_for
from screen import (ARROW, COPY, DIM, ELLIPSE, FRAME_RGB, MOSAIC, PANEL_W, PEN, PIN, RECTANGLE,
                    SAVE, SELECTION as SEL, TEXT, button_corner, drag, pin_origin, pixel,
                    same_picture, save_through_dialog, toolbar_button, toolbar_origin)
from tray import (SharedTrayTest, committed_kb, overlay_windows, own_windows, press_hotkey,
                  tray_window_id, xdotool)
from tray import tearDownModule  # noqa: F401  (ends the module's shared tray)

CAPTURES = int(os.environ.get("VLS_SOAK_CAPTURES", "20"))
SETTLED_AFTER = 8   # captures after which the memory is taken as the baseline
CURVE_STEP = max(4, CAPTURES // 10)
ALLOWED_GROWTH_KB = 4 * 1024  # one leaked 1000 x 600 selection alone is 2,368 kB
ATTEMPTS = 5  # tries at a capture whose pointer events Wine misplaces

RED = (255, 0, 0)
HIGHLIGHT = (0x66, 0x66, 0x66)  # the chosen tool's button
BAR_X, BAR_Y = toolbar_origin(SEL)
PIN_SIZE = f"{SEL[2] - SEL[0]}x{SEL[3] - SEL[1]}+"


def button(position):
    return toolbar_button(SEL, position)


def move(x, y):
    xdotool("mousemove", "--sync", x, y)


def press(which=1):
    """A click where the pointer is."""
    xdotool("mousedown", which, "mouseup", which)


def red(x, y, w, h):
    """How many pixels of the rectangle on the screen are pure red."""
    rgb = xpixels.region(x, y, w, h)
    return sum(rgb[i:i + 3] == bytes(RED) for i in range(0, len(rgb), 3))


def pin_windows():
    return own_windows(PIN_SIZE)


class Missed(Exception):
    """A marking step's effect did not show on the screen."""


class SoakTest(SharedTrayTest):
    """Wine may place a press that follows a jump of the pointer closely at the pointer's
    old position. So the pointer goes to where the next press will be, then the test waits
    until the screen shows the previous step's effect, and only then presses."""

    def until(self, condition, what, timeout=10):
        if not wait_for(condition, timeout=timeout, interval=0.01):
            shoot("soak-failed")
            self.fail(what)

    def same(self, x, y, w, h):
        return xpixels.region(x, y, w, h) == crop_rgb(self.original, SCREEN_W, x, y, w, h)

    def dimmed(self, x, y, w, h):
        shown = xpixels.region(x, y, w, h)
        original = crop_rgb(self.original, SCREEN_W, x, y, w, h)
        return all(abs(p - DIM[q]) <= 1 for p, q in zip(shown, original))

    def need(self, condition, what, timeout=10):
        """Waits for a marking step's effect; a miss lets the capture start again."""
        if not wait_for(condition, timeout=timeout, interval=0.01):
            raise Missed(what)

    def choose(self, tool, number, then):
        """Presses the tool's button under the pointer, moves on to `then` and waits for
        the button's highlight (a dark grey corner)."""
        press()
        move(*then)
        x, y = button_corner(SEL, tool)
        self.need(lambda: xpixels.region(x, y, 2, 2) == bytes(HIGHLIGHT) * 4,
                  f"capture {number}: tool {tool} not chosen")

    def select(self, number):
        """Opens an overlay on the hotkey and drags out the selection, waiting after the
        press and first move until the screen shows the selection begun where it should."""
        mid_x, mid_y = (SEL[0] + SEL[2]) // 2, (SEL[1] + SEL[3]) // 2
        for attempt in range(1, ATTEMPTS + 1):
            press_hotkey()
            self.until(lambda: self.dimmed(0, 900, 200, 4) and self.dimmed(1700, 100, 200, 4),
                       f"capture {number}: no overlay")
            # Nothing on the overlay shows that Wine has seen the pointer arrive, so the
            # press can land at the pointer's previous spot (more often on a loaded
            # machine): the growing selection tells, and that overlay is closed and made
            # again.
            move(SEL[0], SEL[1])
            xdotool("mousedown", "1", "mousemove", mid_x, mid_y)
            # The frame's top edge, drawn as the drag goes, from the press to the pointer.
            top = bytes(FRAME_RGB) * 40
            begun = wait_for(lambda: xpixels.region(SEL[0] + 10, SEL[1], 40, 1) == top
                             and xpixels.region(mid_x - 50, SEL[1], 40, 1) == top, timeout=5,
                             interval=0.01)
            if begun:
                xdotool("mousemove", (mid_x + SEL[2]) // 2, (mid_y + SEL[3]) // 2,
                        "mousemove", SEL[2], SEL[3], "mouseup", "1")
                move(400, 300)
                # The toolbar's presses are hit-tested against the buttons as last drawn.
                if wait_for(lambda: self.same(500, 400, 100, 4) and self.dimmed(100, 400, 100, 4)
                            and not self.dimmed(BAR_X, BAR_Y, PANEL_W, 4), timeout=5,
                            interval=0.01):
                    return
            else:
                xdotool("mouseup", "1")
            print(f"\ncapture {number}: the selection was not made as dragged, made again "
                  f"(screen in {shoot(f'soak-selection-{number}-{attempt}')})", flush=True)
            self.close_unfinished(number)
        self.fail(f"capture {number}: the selection was not confirmed in {ATTEMPTS} tries")

    def close_unfinished(self, number):
        """Closes the overlay with the right button, away from the selection: an open text
        box would take Esc as its own, and the press may land where the pointer was. When
        the pointer's events do not reach the overlay (seen on a loaded machine), Esc does:
        the first closes a text box, the next the overlay."""
        move(150, 950)
        for attempt in range(6):
            if attempt < 3:
                press(3)
            else:
                xdotool("key", "Escape")
            if wait_for(lambda: not overlay_windows() and self.same(0, 900, 200, 4),
                        timeout=5, interval=0.01):
                return
        self.fail(f"capture {number}: the unfinished overlay did not close")

    def mark(self, number, finish):
        """Every tool's mark, each checked where its release put it; the pointer ends on
        the button of `finish`."""
        cell = bytes(pixel(self.original, 1008 + 6, 600 + 6))
        # (tool, drag from, drag to, what its mark shows), Pen the tool an overlay starts with
        strokes = ((PEN, (400, 300), (700, 300), "pen stroke",
                    lambda: red(550, 290, 1, 20) >= 3 and red(695, 290, 1, 20) >= 3),
                   (ARROW, (400, 400), (700, 400), "arrow",
                    lambda: red(698, 400, 1, 1) == 1 and red(685, 380, 1, 40) > 8
                    and red(704, 380, 1, 40) == 0),
                   (RECTANGLE, (800, 300), (1000, 450), "rectangle",
                    lambda: red(800, 350, 1, 50) >= 40 and red(900, 448, 1, 4) >= 3),
                   (ELLIPSE, (800, 500), (1000, 650), "ellipse",
                    lambda: red(798, 570, 6, 10) >= 5 and red(895, 645, 10, 8) >= 5
                    and red(895, 660, 10, 40) == 0),
                   (MOSAIC, (1010, 605), (1018, 611), "mosaic cell",
                    lambda: xpixels.region(1008, 600, 12, 12) == cell * 144))
        for k, (tool, start, end, mark, shown) in enumerate(strokes):
            if tool != PEN:
                self.choose(tool, number, then=start)
            drag(*start, *end)
            move(*button(strokes[k + 1][0] if k + 1 < len(strokes) else TEXT))
            self.need(shown, f"capture {number}: no {mark}")
        self.choose(TEXT, number, then=(400, 600))
        press()
        self.need(lambda: xpixels.region(410, 606, 40, 4) == b"\xff" * 480,
                  f"capture {number}: no text box")
        xdotool("type", "soak")
        xdotool("key", "Return")
        if finish in ("copy", "save", "pin"):
            move(*button({"copy": COPY, "save": SAVE, "pin": PIN}[finish]))
        self.need(lambda: red(400, 600, 120, 40) >= 20, f"capture {number}: no text mark")

    def capture(self, number, finish):
        # Wine now and then handles a pointer event near a jump of the pointer at the
        # wrong place (a stroke drawn to the next button: about once in a few thousand
        # steps on a quiet machine, once in a few dozen with both cores busy). Such a
        # capture is closed unfinished and made again, up to ATTEMPTS times in all.
        for attempt in range(1, ATTEMPTS + 1):
            self.select(number)
            try:
                self.mark(number, finish)
                break
            except Missed as missed:
                if attempt == ATTEMPTS:
                    shoot("soak-failed")
                    self.fail(str(missed))
                print(f"\n{missed}: closed unfinished and made again "
                      f"(screen in {shoot(f'soak-retried-{number}')})", flush=True)
                self.close_unfinished(number)

        if finish == "copy":
            press()
        elif finish == "save":
            press()
            name = f"soak{number}.png"
            try:
                save_through_dialog(self.dir, name, type_delay=2)
            except AssertionError as failed:
                shoot("soak-failed")
                self.fail(f"capture {number}: {failed}")
            self.until(lambda: os.path.exists(self.path(name))
                       and os.path.getsize(self.path(name)) > 0, f"capture {number}: not saved")
            os.remove(self.path(name))
        elif finish == "pin":
            press()
            # The pin is centred; the pointer, still on the Pin button, lies over it.
            left, top = pin_origin(SEL)
            self.until(lambda: xpixels.region(left + 850, top + 300, 40, 2)
                       == crop_rgb(self.original, SCREEN_W, SEL[0] + 850, SEL[1] + 300, 40, 2),
                       f"capture {number}: no pin")
            press(3)
        else:
            xdotool("key", "Escape")
        self.until(lambda: not overlay_windows() and not pin_windows()
                   and self.same(0, 900, 200, 4) and self.same(700, 500, 520, 4),
                   f"capture {number}: still on the screen after {finish}")

    def test_marked_captures_give_the_memory_back(self):
        self.assertGreater(CAPTURES, SETTLED_AFTER)
        curve = [(0, committed_kb())]
        began = time.time()
        finishes = ("copy", "save", "pin", "escape")
        for number in range(1, CAPTURES + 1):
            self.capture(number, finishes[(number - 1) % 4])
            if number == SETTLED_AFTER or number % CURVE_STEP == 0:
                curve.append((number, committed_kb()))
                self.assertTrue(same_picture(read_root(), self.original),
                                f"after capture {number}: the screen is not clean")
        seconds = time.time() - began
        print(f"\n{CAPTURES} marked captures in {seconds:.0f} s; "
              "tray's committed memory after capture:")
        for number, kb in curve:
            print(f"  {number:4d}  {kb:7d} kB")

        # The screen is clean (read by ImageMagick) and nothing of ours is left on it.
        self.assertTrue(same_picture(read_root(), self.original), "the screen is not clean")
        self.assertEqual(overlay_windows(), [])
        self.assertEqual(pin_windows(), [])
        # Still answering: its hotkey opens an overlay, and its menu opens and closes.
        self.capture(CAPTURES + 1, "escape")
        # Wine's tray window is briefly unfindable while the focus moves off the overlay.
        self.assertTrue(wait_for(tray_window_id, timeout=10), "Wine's tray window has gone")
        self.tray.open_menu()
        self.tray.close_menu()

        baseline = dict(curve)[SETTLED_AFTER]
        end = curve[-1][1]
        self.assertLess(end - baseline, ALLOWED_GROWTH_KB,
                        f"committed memory {baseline} kB after {SETTLED_AFTER} captures, "
                        f"{end} kB after {CAPTURES}")


if __name__ == "__main__":
    unittest.main()
