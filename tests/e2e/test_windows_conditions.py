"""Conditions that real Windows creates and Wine on its own does not: an older Windows 10
without the newer DPI functions, a display at 200 % and more, a taskbar that restarts.
Each is recreated here from outside the program, which then runs as a user would run it."""
import os
import unittest

from harness import (EXE, TOOLS, SessionTest, import_table, paint_root, reg, run, shoot,
                     test_picture, wait_for)
from tray import (IDCANCEL, IDOK, KEY_NAME, MENU_EXIT, MENU_HOTKEY, PROMPT, Tray, centre, dialog,
                  tray_icons, xdotool)

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"

# Exported by user32 only from Windows 10 1607 (GetDpiForWindow, SystemParametersInfoForDpi)
# and 1703 (SetProcessDpiAwarenessContext): a static import keeps older builds from starting it.
NEWER_USER32 = ("SetProcessDpiAwarenessContext", "GetDpiForWindow", "SystemParametersInfoForDpi")


def imported_names(exe):
    return {line.split()[-1] for line in import_table(exe) if line.startswith("\t")}


class OlderWindows10(unittest.TestCase):
    def test_newer_dpi_functions_are_not_imported(self):
        names = imported_names(EXE)
        self.assertIn("RegisterHotKey", names)  # the table was read at all
        self.assertEqual(names & set(NEWER_USER32), set())


def taskbar(action):
    return run([action], exe=os.path.join(TOOLS, "taskbar_created.exe")).code


class TaskbarRestart(SessionTest):
    def test_the_icon_comes_back_and_answers_when_the_taskbar_is_created_again(self):
        paint_root(test_picture())
        tray = Tray(self.dir)
        self.addCleanup(tray.stop)
        self.assertIsNotNone(tray.icon)
        # A restarted Explorer's notification area holds none of the old icons.
        self.assertEqual(taskbar("remove"), 0)
        self.assertTrue(wait_for(lambda: tray.icon not in tray_icons()), "the icon stayed")
        self.assertEqual(taskbar("broadcast"), 0)
        self.assertTrue(wait_for(lambda: tray.icon in tray_icons()), "the icon did not return")
        # It answers: its menu's Exit ends the program.
        tray.choose(MENU_EXIT)
        self.assertTrue(wait_for(lambda: not tray.running()), "Exit from the menu did nothing")



class HighDpi(SessionTest):
    """The display at 200 % and 250 %: Wine takes the prefix's LogPixels as the DPI."""

    def start_tray_at(self, dpi):
        reg("add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        try:
            return Tray(self.dir)
        finally:
            # Only the tray needed it; later programs run at 96 DPI again.
            reg("delete", DESKTOP_KEY, "/v", "LogPixels", "/f")

    def test_every_control_of_the_hotkey_dialog_lies_inside_its_client_area(self):
        for dpi in (192, 240):
            with self.subTest(dpi=dpi):
                tray = self.start_tray_at(dpi)
                try:
                    self.check_dialog(tray, dpi)
                finally:
                    tray.stop()

    def check_dialog(self, tray, dpi):
        self.assertIsNotNone(tray.icon)
        tray.choose(MENU_HOTKEY)
        shown = wait_for(dialog)
        self.assertIsNotNone(shown, "the hotkey dialog did not open")
        left, top, right, bottom = shown["window"][0]
        shoot(f"hotkey-dialog-{dpi}-dpi", (left, top, right - left, bottom - top))
        client = shown["client"][0]
        for control in (PROMPT, KEY_NAME, IDOK, IDCANCEL):
            rect = shown[control][0]
            self.assertTrue(client[0] <= rect[0] and client[1] <= rect[1] and
                            rect[2] <= client[2] and rect[3] <= client[3],
                            f"control {control} at {rect} leaves the client area {client}")
        # OK can be reached: a click on it closes the dialog.
        xdotool("mousemove", *centre(shown[IDOK][0]))
        xdotool("click", 1)
        self.assertTrue(wait_for(lambda: dialog() is None, timeout=5), "OK did not close it")

if __name__ == "__main__":
    unittest.main()
