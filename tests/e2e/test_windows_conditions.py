"""Conditions that real Windows creates and Wine on its own does not: an older Windows 10
without the newer DPI functions, a display at 200 % and more, a taskbar that restarts.
Each is recreated here from outside the program, which then runs as a user would run it."""
import os
import shutil
import subprocess
import unittest

from harness import EXE, TOOLS, SessionTest, paint_root, run, test_picture, wait_for
from tray import MENU_EXIT, Tray, tray_icons

# Exported by user32 only from Windows 10 1607 (GetDpiForWindow) and 1703
# (SetProcessDpiAwarenessContext): a static import keeps older builds from starting it.
NEWER_USER32 = ("SetProcessDpiAwarenessContext", "GetDpiForWindow")


def imported_names(exe):
    objdump = shutil.which("x86_64-w64-mingw32-objdump") or "objdump"
    table = subprocess.run([objdump, "-p", exe], check=True, stdout=subprocess.PIPE).stdout
    return {line.split()[-1] for line in table.decode().splitlines() if line.startswith("\t")}


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


if __name__ == "__main__":
    unittest.main()
