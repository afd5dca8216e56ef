"""Copies to the clipboard as another X program reads them back, and the messages and
exit codes when the clipboard is busy."""
import os
import subprocess
import unittest

import harness
from harness import SCREEN_H, SCREEN_W, Held, PictureTest, clipboard, clipboard_image


def clipboard_targets():
    return clipboard("TARGETS").decode(errors="replace").split()


def put_text_on_clipboard(text):
    # xclip stays in the background as the selection owner until someone else takes it.
    subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=harness.ENV, stdin=subprocess.PIPE,
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).communicate(text.encode())
    harness.wait_for(lambda: clipboard("UTF8_STRING") == text.encode())


class Clipboard(PictureTest):
    def clipboard_pixels(self):
        return clipboard_image(self.path("clip.bmp"))

    def test_copy_alone_puts_the_screen_on_the_clipboard_and_writes_no_file(self):
        put_text_on_clipboard("earlier contents")
        result = self.run_exe("screenshot", "-c")
        self.assertEqual(result.out, f"Copied {SCREEN_W}x{SCREEN_H} to clipboard.\n".encode())
        self.assertEqual(result.code, 0)
        self.assertEqual(os.listdir(self.dir), [])
        width, height, rgb = self.clipboard_pixels()
        self.assertEqual((width, height), (SCREEN_W, SCREEN_H))
        self.assertTrue(rgb == self.root, "clipboard pixels differ from the screen")
        self.assertNotIn(b"earlier contents", clipboard("UTF8_STRING"))

    def test_region_copy_then_save(self):
        result = self.run_exe("screenshot", "--clipboard", "-r", "-10,20,70,30", "-o", "both.png")
        self.assertEqual(result.out, ("Copied 70x30 to clipboard.\n"
                                      f"Saved {harness.winpath(self.dir)}\\both.png (70x30).\n").encode())
        self.assertEqual(result.code, 0)
        expected = harness.crop_rgb(self.root, SCREEN_W, 0, 20, 70, 30)
        self.assertEqual(self.clipboard_pixels(), (70, 30, expected))
        self.assertEqual(harness.image_rgb(self.path("both.png")), (70, 30, expected))

    def test_quiet_copy_prints_nothing(self):
        result = self.run_exe("screenshot", "-c", "-q", "-r", "5,5,3,2")
        self.assertEqual((result.out, result.code), (b"", 0))
        self.assertEqual(self.clipboard_pixels(), (3, 2, harness.crop_rgb(self.root, SCREEN_W, 5, 5, 3, 2)))

    def test_busy_clipboard_fails_with_exit_1(self):
        with Held("clipboard"):
            result = self.run_exe("screenshot", "-c")
            self.assertEqual((result.out, result.code), (b"Clipboard copy failed.\n", 1))
            result = self.run_exe("screenshot", "-c", "-q")
            self.assertEqual((result.out, result.code), (b"", 1))
            # The file is still saved, after the failed copy; the exit code still says 1.
            result = self.run_exe("screenshot", "-c", "-r", "0,0,4,4", "-o", "a.png")
            self.assertEqual(result.out, ("Clipboard copy failed.\n"
                                          f"Saved {harness.winpath(self.dir)}\\a.png (4x4).\n").encode())
            self.assertEqual(result.code, 1)
            self.assertTrue(os.path.exists(self.path("a.png")))
        # Once the clipboard is free again the copy works.
        result = self.run_exe("screenshot", "-c", "-r", "0,0,4,4")
        self.assertEqual((result.out, result.code), (b"Copied 4x4 to clipboard.\n", 0))


if __name__ == "__main__":
    unittest.main()
