"""A library planted beside Vellumshot.exe (a stray msimg32.dll in a Downloads folder)
never runs in it, from the command line or in the tray: the executable imports only
Windows' KnownDLLs, which always come from the system folder, and the common controls,
which its manifest binds side by side to the system's copy. Wine is told to prefer a DLL
beside the program for each name (the order Windows uses for a name that is not a
KnownDLL); the planted DLL marks every load with a file beside itself."""
import os
import shutil
import unittest

import tray
from harness import ENV, EXE, TOOLS, SessionTest, import_table, paint_root, test_picture, wait_for

# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of 64-bit Windows 10,
# and ntdll, which every process maps from the system folder before anything else.
KNOWN_DLLS = {name.lower() for name in (
    "advapi32.dll", "clbcatq.dll", "combase.dll", "COMDLG32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "IMAGEHLP.dll", "IMM32.dll", "kernel32.dll", "MSCTF.dll",
    "MSVCRT.dll", "NORMALIZ.dll", "NSI.dll", "ole32.dll", "OLEAUT32.dll", "PSAPI.DLL",
    "rpcrt4.dll", "sechost.dll", "Setupapi.dll", "SHCORE.dll", "SHELL32.dll", "SHLWAPI.dll",
    "user32.dll", "WLDAP32.dll", "wow64.dll", "wow64cpu.dll", "wow64win.dll", "WS2_32.dll",
    "ntdll.dll")}
# Bound by the manifest to Microsoft.Windows.Common-Controls 6.0 in the system's WinSxS.
SIDE_BY_SIDE = {"comctl32.dll"}
# Where AlphaBlend lives: not a KnownDLL, so never to be imported.
ALPHABLEND_DLL = "msimg32.dll"
# A library that Wine's own DLLs take from beside the executable when told to: planting
# it shows that a planted DLL is seen when it loads.
WINE_TAKES_FROM_BESIDE = "version.dll"


def imported_dlls(exe):
    return {line.split(":", 1)[1].strip().lower() for line in import_table(exe)
            if line.strip().startswith("DLL Name:")}


class ImportTable(unittest.TestCase):
    def test_only_known_dlls_and_the_side_by_side_common_controls_are_imported(self):
        dlls = imported_dlls(EXE)
        self.assertIn("user32.dll", dlls)  # the table was read at all
        self.assertEqual(dlls - KNOWN_DLLS - SIDE_BY_SIDE, set())


class PlantedLibraries(SessionTest):
    def plant(self, names):
        """Vellumshot.exe copied into the test folder with the marking DLL beside it under
        each name; returns the copy and the environment that makes Wine prefer them."""
        exe = shutil.copy(EXE, self.dir)
        overrides = [ENV.get("WINEDLLOVERRIDES", "")]
        for name in names:
            shutil.copy(os.path.join(TOOLS, "planted.dll"), self.path(name))
            overrides.append(os.path.splitext(name)[0] + "=n,b")
        return exe, {"WINEDLLOVERRIDES": ";".join(o for o in overrides if o)}

    def marks(self):
        return sorted(f for f in os.listdir(self.dir) if f.lower().endswith(".loaded"))

    def plantable(self):
        """Every imported name outside the KnownDLLs."""
        return sorted(imported_dlls(EXE) - KNOWN_DLLS)

    def test_a_planted_dll_that_loads_leaves_its_mark(self):
        exe, env = self.plant([WINE_TAKES_FROM_BESIDE])
        result = self.run_exe("version", exe=exe, env=env)
        self.assertEqual(self.marks(), [WINE_TAKES_FROM_BESIDE + ".loaded"])
        self.assertNotEqual(result.code, 0, "the planted DLL refuses to load, stopping the run")

    def test_the_command_line_runs_none(self):
        # And AlphaBlend's library, which the command line once imported.
        exe, env = self.plant(sorted(set(self.plantable()) | {ALPHABLEND_DLL}))
        result = self.run_exe("version", exe=exe, env=env)
        self.assertEqual((result.out, result.code), (b"Vellumshot 1.0.0\n", 0))
        result = self.run_exe("screenshot", "-r", "0,0,8,8", "-o", "x.png", exe=exe, env=env)
        self.assertEqual(result.code, 0, result.out)
        self.assertEqual(open(self.path("x.png"), "rb").read(4), b"\x89PNG")
        self.assertEqual(self.marks(), [])

    def test_the_tray_runs_none_through_its_dialog_and_an_overlay(self):
        picture = paint_root(test_picture())
        # Not msimg32 here: Wine's own uxtheme loads it by name for a themed window, past the
        # program's default DLL directories (Windows' loader keeps to them; README, hand check).
        exe, env = self.plant(self.plantable())
        running = tray.Tray(self.dir, exe=exe, env=env)
        self.addCleanup(running.stop)
        self.assertIsNotNone(running.icon, f"no tray icon; marks: {self.marks()}")
        running.choose(tray.MENU_HOTKEY)
        shown = wait_for(tray.dialog)
        self.assertIsNotNone(shown, "the hotkey dialog did not open")
        tray.xdotool("mousemove", *tray.centre(shown[tray.IDCANCEL][0]), "click", 1)
        self.assertTrue(wait_for(lambda: tray.dialog() is None), "Cancel left the dialog open")
        # The overlay dims the screen: the drawing that used to call msimg32.
        tray.press_hotkey()
        self.assertTrue(wait_for(lambda: tray.overlay_shown(picture)), "no dimmed overlay")
        tray.xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not tray.overlay_windows()), "Esc left the overlay")
        running.stop()
        self.assertEqual(running.process.returncode, 0)
        self.assertEqual(self.marks(), [])


if __name__ == "__main__":
    unittest.main()
