"""Marking up a selection and finishing it, as a user does: the real tray, the real hotkey,
xdotool presses on the toolbar and drags on the selection, the marks read back off the X
screen with ImageMagick, and the copied image read back with xclip."""
import subprocess
import unittest

import harness
import xpixels
from harness import SCREEN_W, Held, clipboard_image, crop_rgb, read_root, shoot, wait_for
from screen import (ARROW, COLOUR, COPY, ELLIPSE, MOSAIC, PEN, RECTANGLE, SAVE, SELECTION as SEL,
                    TEXT, WIDTH, click_button, dimmed_picture, drag, pin_origin, pixel,
                    region_equal, same_picture, save_dialogs, save_through_dialog)
from tray import SharedTrayTest, centre, dialog, overlay_windows, press_hotkey, xdotool
from tray import tearDownModule  # noqa: F401  (ends the module's shared tray)

RED = (255, 0, 0)
WHITE = (255, 255, 255)


def press(position):
    click_button(SEL, position)


def column_red(rgb, x, y1, y2):
    return sum(pixel(rgb, x, y) == RED for y in range(y1, y2))


def highlighted(shown):
    """Pixels of the text box's line at (800, 600) in a highlight blue."""
    blue = [pixel(shown, x, y) for x in range(802, 1048) for y in range(604, 626)]
    return sum(1 for r, g, b in blue if b > 180 and r < 120 and b - g > 40)


class MarkupTest(SharedTrayTest):
    def back_to_picture(self, shown):
        return same_picture(shown, self.original)

    def open_with_selection(self):
        press_hotkey()
        self.screen_when(lambda r: dimmed_picture(r, self.original), "no overlay opened")
        drag(SEL[0], SEL[1], SEL[2], SEL[3])
        self.screen_when(lambda r: region_equal(r, self.original, 400, 300, 800, 400),
                         "the selection was not confirmed")
        # Keys reach the overlay only once the window manager has given it the focus,
        # which a loaded machine does late: a Ctrl+P pressed before that is lost.
        overlays = overlay_windows()
        if overlays:
            harness.point_at(int(overlays[-1], 16), 700, 500)

    def test_each_tool_marks_and_copy_takes_exactly_what_was_shown(self):
        self.open_with_selection()
        # Pen, Medium (4 px), red: a horizontal stroke.
        drag(400, 300, 700, 300)
        shown = self.screen_when(lambda r: column_red(r, 550, 290, 310) >= 3, "no pen stroke")
        self.assertIn(column_red(shown, 550, 290, 310), (4, 5), "Medium is 4 px")

        # Rectangle: an outline, its inside untouched.
        press(RECTANGLE)
        drag(800, 300, 1000, 450)
        shown = self.screen_when(lambda r: column_red(r, 800, 350, 400) == 50, "no rectangle")
        self.assertTrue(region_equal(shown, self.original, 850, 350, 100, 50), "filled")

        # Arrow: a 4 px shaft and a filled head pointing at the release point.
        press(ARROW)
        drag(400, 500, 700, 500)
        shown = self.screen_when(lambda r: column_red(r, 685, 480, 520) > 8, "no arrow head")
        self.assertIn(column_red(shown, 550, 490, 510), (4, 5))
        self.assertEqual(pixel(shown, 698, 500), RED)
        self.assertEqual(column_red(shown, 704, 480, 520), 0, "the head passes the release")

        # Mosaic: flat 12 x 12 cells on the grid from (0, 0), each the frozen screen's
        # colour at its centre.
        press(MOSAIC)
        drag(1010, 605, 1100, 650)
        cell = (1008, 600)  # 84 and 50 cells from the origin
        expected = pixel(self.original, cell[0] + 6, cell[1] + 6)
        shown = self.screen_when(lambda r: pixel(r, cell[0], cell[1]) == expected, "no mosaic")
        block = {pixel(shown, cell[0] + i, cell[1] + j) for i in range(12) for j in range(12)}
        self.assertEqual(block, {expected})
        self.assertNotEqual(pixel(shown, cell[0] - 1, cell[1]), expected)

        # Bold ellipse, then Ctrl+Z takes it away again.
        press(WIDTH)
        press(WIDTH)
        before = read_root()
        press(ELLIPSE)
        drag(400, 600, 600, 700)
        self.screen_when(lambda r: column_red(r, 500, 590, 615) >= 9, "no Bold ellipse")
        xdotool("key", "ctrl+z")
        self.screen_when(lambda r: region_equal(r, before, 390, 590, 220, 120), "undo failed")

        # Text: typed into the box, a mark once Enter commits it. A double-click on the
        # second word selects it, and the selection shows in the highlight colour.
        press(TEXT)
        xdotool("mousemove", 800, 600, "click", 1)
        xdotool("type", "abc def")
        self.screen_when(lambda r: highlighted(r) == 0 and pixel(r, 900, 615) == WHITE,
                         "no text box")
        xdotool("mousemove", 850, 615, "click", "--repeat", 2, "--delay", 80, 1)
        self.screen_when(lambda r: highlighted(r) > 100, "the double-click selected nothing")
        xdotool("key", "Return")
        shown = self.screen_when(
            lambda r: sum(pixel(r, x, y) == RED for x in range(800, 860) for y in range(600, 650))
            > 40, "no text mark")
        # A rectangle reaching past the selection's bottom-right corner.
        press(RECTANGLE)
        drag(1200, 650, 1400, 900)
        shown = self.screen_when(lambda r: column_red(r, 1400, 650, 900) > 200, "no rectangle")
        shoot("markup-all-tools")

        # Enter copies, here while a pen stroke is still being drawn: the clipboard holds the
        # frozen screen inside the selection with the committed marks exactly as the overlay
        # showed them (the 2 px frame band aside), cut at its edge, without the stroke.
        press(PEN)
        xdotool("mousemove", 400, 700, "mousedown", 1, "mousemove", 600, 720)
        self.screen_when(lambda r: pixel(r, 500, 710) == RED, "no stroke in progress")
        xdotool("key", "Return")
        xdotool("mouseup", 1)
        self.screen_when(self.back_to_picture, "Enter did not close the overlay")
        w, h, image = clipboard_image(self.path("copy.bmp"))
        self.assertEqual((w, h), (SEL[2] - SEL[0], SEL[3] - SEL[1]))
        inner = crop_rgb(image, w, 2, 2, w - 4, h - 4)
        self.assertEqual(inner, crop_rgb(shown, SCREEN_W, SEL[0] + 2, SEL[1] + 2, w - 4, h - 4))
        self.assertEqual(crop_rgb(image, w, 0, 0, 50, 50),
                         crop_rgb(self.original, SCREEN_W, SEL[0], SEL[1], 50, 50))

    def test_a_copy_the_clipboard_refuses_keeps_the_overlay_for_another_try(self):
        with Held("clipboard"):
            self.open_with_selection()
            drag(400, 300, 700, 300)
            self.screen_when(lambda r: column_red(r, 550, 290, 310) >= 3, "no pen stroke")
            xdotool("key", "ctrl+c")
            xdotool("key", "Return")
        # Had a refused copy closed the overlay, this press would reach no overlay.
        press(COPY)
        self.screen_when(self.back_to_picture, "Copy after the refused copies did not copy")
        w, h, image = clipboard_image(self.path("copy.bmp"))
        self.assertEqual((w, h), (SEL[2] - SEL[0], SEL[3] - SEL[1]))
        self.assertIn(column_red(_as_screen(image, w), 250, 90, 110), (4, 5))

    def save_as(self, name, confirm_replace=False):
        """Save on the toolbar, the name typed into Wine's save dialog, Enter; Yes when the
        dialog asks before replacing a file."""
        press(SAVE)
        save_through_dialog(self.dir, name, confirm_replace)

    def test_save_asks_for_a_name_and_the_name_alone_picks_the_format(self):
        w, h = SEL[2] - SEL[0], SEL[3] - SEL[1]
        expected = crop_rgb(self.original, SCREEN_W, SEL[0], SEL[1], w, h)
        self.open_with_selection()
        # Cancel returns to the overlay, which then saves as asked.
        press(SAVE)
        self.assertTrue(wait_for(lambda: save_dialogs(), timeout=10), "no save dialog")
        shoot("markup-save-dialog")
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not save_dialogs(), timeout=10))
        self.save_as("shot.BMP")
        self.screen_when(self.back_to_picture, "saving did not close the overlay")
        with open(self.path("shot.BMP"), "rb") as f:
            self.assertEqual(f.read(2), b"BM")
        self.assertEqual(harness.image_rgb(self.path("shot.BMP")), (w, h, expected))

        self.open_with_selection()
        self.save_as("shot.bmp.png")
        self.screen_when(self.back_to_picture, "saving did not close the overlay")
        harness.tool(["pngcheck", self.path("shot.bmp.png")])
        self.assertEqual(harness.image_rgb(self.path("shot.bmp.png")), (w, h, expected))

    def test_a_save_that_cannot_be_written_keeps_the_overlay(self):
        busy = self.path("busy.png")
        with open(busy, "wb") as f:
            f.write(b"old contents")
        with Held("file", harness.winpath(busy)):
            self.open_with_selection()
            drag(400, 300, 700, 300)
            self.screen_when(lambda r: column_red(r, 550, 290, 310) >= 3, "no pen stroke")
            self.save_as("busy.png", confirm_replace=True)
            # Had the failed save closed the overlay, this Ctrl+C would reach no overlay. A
            # loaded Wine gives the overlay the keyboard back a while after the dialog has
            # gone, so it is pressed again until it copies.
            for _ in range(4):
                xdotool("key", "ctrl+c")
                if wait_for(lambda: self.back_to_picture(read_root()), timeout=5):
                    break
            self.screen_when(self.back_to_picture, "Ctrl+C did not copy after the failed save")
        with open(busy, "rb") as f:
            self.assertEqual(f.read(), b"old contents")
        w, h, image = clipboard_image(self.path("copy.bmp"))
        self.assertIn(column_red(_as_screen(image, w), 250, 90, 110), (4, 5), "the mark is kept")

    def test_pin_shows_the_selection_centred_until_right_clicked(self):
        self.open_with_selection()
        xdotool("mousemove", 700, 500, "key", "ctrl+p")
        w, h = SEL[2] - SEL[0], SEL[3] - SEL[1]
        x, y = pin_origin(SEL)
        inside = crop_rgb(self.original, SCREEN_W, SEL[0] + 1, SEL[1] + 30, w - 60, h - 60)
        self.screen_when(lambda r: crop_rgb(r, SCREEN_W, x + 1, y + 30, w - 60, h - 60) == inside
                         and pixel(r, 5, 5) == pixel(self.original, 5, 5),
                         "no pin of the selection at the screen's centre")
        xdotool("mousemove", x + w // 2, y + h // 2)
        shoot("markup-pin")
        xdotool("click", 3)
        self.screen_when(self.back_to_picture, "a right click did not close the pin")

    def test_a_pin_follows_a_real_drag_and_a_ctrl_drag_up_scales_it(self):
        self.open_with_selection()
        xdotool("mousemove", 700, 500, "key", "ctrl+p")
        w, h = SEL[2] - SEL[0], SEL[3] - SEL[1]
        left, top = pin_origin(SEL)
        x, y = left + w // 2, top + h // 2
        xdotool("mousemove", x, y)
        # Wherever a failure leaves the pin, it is closed so the next test sees the picture.
        centre = [x, y]
        self.addCleanup(lambda: centre and xdotool("mousemove", *centre, "click", 3))
        self.pin_at(x, y, (left, top, w, h), "no hovered pin at the screen's centre")
        # The overlay went at the press of Ctrl+P. Until the window manager hands the X
        # focus to another Wine window, the releases of P and Ctrl reach no Wine program,
        # and Wine goes on counting Ctrl as held in the mouse messages' flags: a plain drag
        # would zoom. Once a Wine window has the focus, a tap of Ctrl leaves it released.
        wait_for(wine_has_the_focus, timeout=5)
        xdotool("key", "ctrl")

        # 100 x 50 px in ten steps, as slowly as a hand: the pin follows every step (under
        # Wine moving a window releases the capture, which once ended the drag at the first).
        xdotool("mousedown", 1)
        for k in range(1, 11):
            xdotool("mousemove", x + 10 * k, y + 5 * k)
            self.pin_at(x + 10 * k, y + 5 * k, (left + 10 * k, top + 5 * k, w, h),
                        f"the pin did not follow step {k} of the drag")
        xdotool("mouseup", 1)
        left, top, x, y = left + 100, top + 50, x + 100, y + 50
        centre[:] = [x, y]
        self.assertEqual(crop_rgb(read_root(), SCREEN_W, left + 1, top + 30, w - 60, h - 60),
                         crop_rgb(self.original, SCREEN_W, SEL[0] + 1, SEL[1] + 30, w - 60,
                                  h - 60), "the pin does not show the selection")

        # Ctrl held, 100 px up in ten steps: 1.5 times the size about the same centre,
        # measured from where the press was. The button stays down until the pin shows the
        # new size, so a loaded Wine cannot take the release before the moves.
        xdotool("keydown", "ctrl", "mousedown", 1)
        for k in range(1, 11):
            xdotool("mousemove", x, y - 10 * k)
        big_w, big_h = w * 3 // 2, h * 3 // 2
        self.pin_at(x, y - 100, (x - big_w // 2, y - big_h // 2, big_w, big_h),
                    "the Ctrl-drag did not scale the pin to 1.5x")
        xdotool("mouseup", 1, "keyup", "ctrl")
        shoot("markup-pin-dragged-and-scaled")
        xdotool("click", 3)
        self.screen_when(self.back_to_picture, "a right click did not close the pin")
        centre.clear()  # closed: nothing left for the clean-up

    def pin_at(self, x, y, expected, what):
        """Waits until the hovered pin's frame around (x, y) is `expected` (left, top, width,
        height) within 1 px."""
        found = wait_for(lambda: near(pin_frame(x, y), expected), timeout=10, interval=0.02)
        self.assertTrue(found, f"{what}: frame {pin_frame(x, y)}, expected {expected}")

    def test_colour_dialog_sets_the_next_marks_colour_and_cancel_keeps_it(self):
        self.open_with_selection()
        press(COLOUR)
        controls = wait_for(lambda: dialog("#32770"), timeout=10)
        self.assertTrue(controls, "no colour dialog")
        shoot("markup-colour-dialog")
        # The dialog's Red, Green and Blue fields (ids 706 to 708), then OK.
        for ident, value in ((706, "0"), (707, "255"), (708, "0")):
            x, y = centre(controls[ident][0])
            xdotool("mousemove", x, y, "click", "--repeat", "2", 1)
            xdotool("key", "ctrl+a", "BackSpace")
            xdotool("type", value)
        x, y = centre(controls[1][0])
        xdotool("mousemove", x, y, "click", 1)
        self.assertTrue(wait_for(lambda: not dialog("#32770"), timeout=10))
        drag(400, 300, 700, 300)
        green = (0, 255, 0)
        self.screen_when(lambda r: pixel(r, 550, 300) == green, "the stroke is not green")
        # Cancel keeps green.
        press(COLOUR)
        self.assertTrue(wait_for(lambda: dialog("#32770"), timeout=10))
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not dialog("#32770"), timeout=10))
        drag(400, 400, 700, 400)
        self.screen_when(lambda r: pixel(r, 550, 400) == green, "Cancel changed the colour")
        xdotool("key", "Escape")

    def test_the_toolbar_stands_below_above_or_inside_the_selection(self):
        panel = (0x33, 0x33, 0x33)
        # (selection corners, where the panel's top-left is)
        cases = (((600, 300, 1200, 600), (750, 608)),     # below, right-aligned
                 ((20, 1000, 300, 1060), (0, 950)),        # above; pushed right at x = 0
                 ((100, 20, 900, 1075), (450, 24)))        # neither fits: inside the top
        for (l, t, r, b), (x, y) in cases:
            press_hotkey()
            self.screen_when(lambda s: dimmed_picture(s, self.original), "no overlay")
            drag(l, t, r, b)
            # Inside the rounded corners: the panel's fill at its own top-left margin.
            shown = self.screen_when(lambda s: pixel(s, x + 3, y + 3) == panel,
                                     f"no toolbar at {x},{y} for {l},{t},{r},{b}")
            self.assertEqual(pixel(shown, x + 447, y + 39), panel)
            self.assertNotEqual(pixel(shown, x + 451, y + 20), panel)
            xdotool("key", "Escape")
            self.screen_when(self.back_to_picture, "Esc did not close the overlay")


PIN_BORDER = bytes((244, 133, 66))  # the hovered pin's 1 px frame


def pin_frame(x, y):
    """Left, top, width and height of the hovered pin's frame around (x, y), read live: the
    outermost frame pixels on the row and the column through it, or None."""
    row, column = xpixels.region(0, y, SCREEN_W, 1), xpixels.region(x, 0, 1, harness.SCREEN_H)
    across = [i for i in range(SCREEN_W) if row[3 * i:3 * i + 3] == PIN_BORDER]
    down = [j for j in range(harness.SCREEN_H) if column[3 * j:3 * j + 3] == PIN_BORDER]
    if not across or not down:
        return None
    return across[0], down[0], across[-1] - across[0] + 1, down[-1] - down[0] + 1


def wine_has_the_focus():
    """Whether the X window with the keyboard focus belongs to a Wine program."""
    try:
        window = harness.focused_window()
        klass = subprocess.run(["xprop", "-id", window, "WM_CLASS"], env=harness.ENV,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    except Exception:
        return False
    return b".exe" in klass.lower()


def near(found, expected):
    """Each of the four within 1 px."""
    return found is not None and all(abs(a - b) <= 1 for a, b in zip(found, expected))


def _as_screen(image, width):
    """An image's RGB bytes padded to screen-wide rows, so pixel() reads it."""
    rows = [image[y * width * 3:(y + 1) * width * 3] for y in range(len(image) // (width * 3))]
    return b"".join(row + bytes((SCREEN_W - width) * 3) for row in rows)


if __name__ == "__main__":
    unittest.main()
