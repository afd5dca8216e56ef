"""The hotkey dialog as a user meets it: opened from the tray menu, typed into with real
key presses, closed with OK, Cancel or the caption's close button."""
import unittest

import tray
from harness import SETTINGS_KEY, Held, reg, reg_values, shoot, wait_for
from tray import (IDCANCEL, IDOK, KEY_NAME, PROMPT, SharedTrayTest, centre, dialog, hotkey_free,
                  overlay_shown, xdotool)

NEED_MODIFIER = "At least one modifier key required (Ctrl/Shift/Alt/Win)"
TAKEN = "In use by another program: choose another combination"
# Only for our program: Wine's own tray window keeps its usual look.
X11_KEY = r"HKCU\Software\Wine\AppDefaults\Vellumshot.exe\X11 Driver"


def setUpModule():
    # Wine draws the dialog's caption itself, as Windows does, rather than leave it to the
    # window manager: the close button clicked below is the program's own.
    reg("add", X11_KEY, "/v", "Decorated", "/d", "N", "/f")


def tearDownModule():
    tray.stop_shared_tray()
    reg("delete", X11_KEY, "/v", "Decorated", "/f")


class HotkeyDialogTest(SharedTrayTest):
    def press(self, *keys):
        xdotool("key", "--delay", 60, *keys)

    def label(self):
        return dialog()[KEY_NAME][1]

    def expect_label(self, text, why=None):
        """Waits until the dialog shows `text` for the combination."""
        wait_for(lambda: self.label() == text, timeout=5, interval=0.05)
        self.assertEqual(self.label(), text, why)

    def click(self, control):
        xdotool("mousemove", *centre(dialog()[control][0]), "click", 1)

    def closed(self):
        return wait_for(lambda: dialog() is None, timeout=5)

    def ok_stores(self, modifiers, vk):
        """OK closes the dialog and stores the combination as two DWORDs."""
        self.click(IDOK)
        self.assertTrue(self.closed(), "OK did not close the dialog")
        stored = wait_for(lambda: (lambda v: "HotkeyVk" in v and v)(reg_values(SETTINGS_KEY)))
        self.assertEqual(stored, {"HotkeyModifiers": ("REG_DWORD", hex(modifiers)),
                                  "HotkeyVk": ("REG_DWORD", hex(vk))})

    def test_shows_the_current_hotkey_and_takes_ctrl_shift_p(self):
        shown = self.tray.open_hotkey_dialog()
        self.assertEqual(shown["window"][1], "Hotkey Settings")
        self.assertEqual(shown[PROMPT][1], "Press a new key combination:")
        self.assertEqual(shown[KEY_NAME][1], "Ctrl + Shift + A")
        self.assertEqual(shown[IDOK][1], "OK")
        self.assertEqual(shown[IDCANCEL][1], "Cancel")
        shoot("hotkey-dialog", (700, 420, 520, 240))
        self.press("ctrl+shift+p")
        self.expect_label("Ctrl + Shift + P")
        self.ok_stores(0x6, 0x50)
        # The new combination is held by the tray, the old one is free again.
        self.assertFalse(hotkey_free(6, 0x50))
        self.assertTrue(hotkey_free(6, 0x41))

    def test_f9_alone_is_accepted(self):
        self.tray.open_hotkey_dialog()
        self.press("F9")
        self.expect_label("F9")
        self.ok_stores(0x0, 0x78)

    def test_plain_keys_show_the_modifier_rule_and_ok_keeps_the_last_combination(self):
        self.tray.open_hotkey_dialog()
        self.press("ctrl+shift+x")
        self.expect_label("Ctrl + Shift + X")
        for key in ("q", "Return", "Escape"):
            self.press("ctrl+shift+x")
            self.expect_label("Ctrl + Shift + X", key)
            self.press(key)
            self.expect_label(NEED_MODIFIER, key)
            self.assertIsNotNone(dialog(), key + " must not close the dialog")
        shoot("hotkey-dialog-rule", (700, 420, 520, 240))
        # A lone modifier changes nothing: OK then keeps Ctrl+Shift+X (checked below).
        self.press("shift")
        self.ok_stores(0x6, 0x58)

    def test_after_a_refused_ok_the_next_keys_choose_another_combination(self):
        self.tray.open_hotkey_dialog()
        self.press("ctrl+alt+k")
        self.expect_label("Ctrl + Alt + K")
        # Taken by another program only now: a held hotkey's keys go to its holder.
        with Held("hotkey", str(0x3), "0x4B"):
            # A loaded Wine now and then misses a click that follows the pointer's move at
            # once; a refused OK may be clicked again.
            for _ in range(3):
                self.click(IDOK)
                if wait_for(lambda: self.label() == TAKEN, timeout=3, interval=0.05):
                    break
            self.expect_label(TAKEN, "OK took a combination another program holds")
            # The click put the keyboard on OK; the dialog must have taken it back.
            self.press("F9")
            self.expect_label("F9", "the key after the refused OK went to the button")
            self.ok_stores(0x0, 0x78)

    def test_caption_close_button_and_cancel_change_nothing(self):
        for how in ("caption", "cancel", None):
            shown = self.tray.open_hotkey_dialog()
            # The tray has finished with the previous dialog once it shows a new one.
            self.assertEqual(shown[KEY_NAME][1], "Ctrl + Shift + A", how)
            self.assertEqual(reg_values(SETTINGS_KEY), {}, how)
            self.assertFalse(hotkey_free(6, 0x41), how)
            self.assertTrue(hotkey_free(6, 0x50), how)
            if how is None:
                break
            self.press("ctrl+shift+p")
            self.expect_label("Ctrl + Shift + P")
            if how == "cancel":
                self.click(IDCANCEL)
            else:
                left, top, right, bottom = shown["window"][0]
                client_top = shown["client"][0][1]
                # Wine tracks the caption button from the pointer's last move: a click
                # that came before Wine saw the move (a loaded machine is slow to) is
                # taken again, after one more move onto the button.
                x, y = right - 14, (top + client_top) // 2 + 1
                for _ in range(6):
                    xdotool("mousemove", x - 1, y, "mousemove", x, y, "click", 1)
                    if wait_for(lambda: dialog() is None, timeout=3):
                        break
            self.assertTrue(self.closed(), how)
        self.click(IDCANCEL)

    def test_chosen_combination_opens_the_overlay_and_the_old_one_does_not(self):
        self.tray.open_hotkey_dialog()
        self.press("ctrl+shift+p")
        self.click(IDOK)
        self.assertTrue(self.closed())
        self.tray.point_at_icon()  # keys reach Wine only over one of its windows
        self.press("ctrl+shift+a", "ctrl+shift+p")
        self.assertTrue(wait_for(lambda: overlay_shown(self.original)), "no overlay")
        # Had the old combination opened one too, a second overlay would still show.
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not overlay_shown(self.original), timeout=5),
                        "more than one overlay opened")


if __name__ == "__main__":
    unittest.main()
