"""The tray application as a user meets it: the icon in the notification area, the context
menu in both languages, start-on-boot, a second start, capture triggers and Exit."""
import unittest

import tray
from harness import RUN_KEY, SessionTest, paint_root, read_root, reg, reg_values, run, shoot, \
    test_picture, wait_for
from tray import (MENU_AUTOSTART, MENU_EXIT, MENU_SCREENSHOT, SharedTrayTest, Tray, overlay_shown,
                  tray_icons, tray_window, xdotool)
from tray import tearDownModule  # noqa: F401  (ends the module's shared tray)


class TrayTest(SharedTrayTest):
    def setUp(self):
        super().setUp()
        reg("delete", RUN_KEY, "/v", "Vellumshot", "/f")

    def menu_shot(self, name):
        """The screen's top-left corner, where the menu opens, saved for a person to see."""
        return read_root(), shoot(name, (0, 0, 300, 200))

    def test_icon_shows_in_wines_tray_window(self):
        self.assertEqual(len(tray_icons()), 1)
        shoot("tray-icon", tray_window())

    def test_second_start_exits_at_once_and_adds_no_icon(self):
        result = run([], timeout=30)
        self.assertEqual(result.code, 0)
        self.assertEqual(result.out, b"")
        # Any icon it added would have shown before it exited.
        self.assertEqual(len(tray_icons()), 1)
        self.assertTrue(self.tray.running())

    def test_menu_opens_on_right_click_and_closes_with_escape(self):
        before = read_root()
        self.tray.open_menu()
        shown, _ = self.menu_shot("menu-en")
        self.assertNotEqual(shown, before)
        self.tray.close_menu()
        self.assertTrue(wait_for(lambda: read_root() == before, timeout=5),
                        "the menu stayed on screen")
        # A second opening works too (the next menu must not vanish at once).
        self.tray.open_menu()
        self.assertNotEqual(read_root(), before)
        self.tray.close_menu()

    def test_start_on_boot_toggles_the_run_value_and_its_check_mark(self):
        self.tray.open_menu()
        unchecked, _ = self.menu_shot("menu-autostart-off")
        self.tray.close_menu()

        self.tray.choose(MENU_AUTOSTART)
        value = wait_for(lambda: reg_values(RUN_KEY).get("Vellumshot"))
        self.assertIsNotNone(value, "start on boot wrote no Run value")
        self.assertEqual(value[0], "REG_SZ")
        self.assertRegex(value[1], r'^"[A-Z]:\\.*\\Vellumshot\.exe"$')

        self.tray.open_menu()
        checked, _ = self.menu_shot("menu-autostart-on")
        self.tray.close_menu()
        self.assertNotEqual(checked, unchecked, "the check mark did not appear")

        self.tray.choose(MENU_AUTOSTART)
        self.assertTrue(wait_for(lambda: "Vellumshot" not in reg_values(RUN_KEY)))
        self.tray.open_menu()
        again, _ = self.menu_shot("menu-autostart-off-again")
        self.tray.close_menu()
        self.assertEqual(again, unchecked)

    def test_exit_ends_the_process_and_removes_the_icon(self):
        self.tray.choose(MENU_EXIT)
        self.assertIsNotNone(wait_for(lambda: self.tray.process.poll() is not None, timeout=15),
                             "Exit did not end the process")
        self.assertEqual(self.tray.process.returncode, 0)
        self.assertEqual(wait_for(lambda: tray_icons() == [], timeout=5), True)

    def test_double_click_and_menu_command_open_the_overlay(self):
        self.tray.double_click_icon()
        self.assertTrue(wait_for(lambda: overlay_shown(self.original)), "no overlay")
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not overlay_shown(self.original)))
        self.tray.choose(MENU_SCREENSHOT)
        self.assertTrue(wait_for(lambda: overlay_shown(self.original)), "no overlay")
        xdotool("key", "Escape")

    def test_single_click_opens_nothing(self):
        self.tray.point_at_icon()
        xdotool("click", 1)
        # The tray handles the click before the right click after it: once the menu is up,
        # an overlay opened by the click would be on the screen (or would have taken the
        # right click, and no menu would open).
        self.tray.open_menu()
        self.assertFalse(overlay_shown(self.original))
        self.tray.close_menu()


class ChineseTrayTest(SessionTest):
    def test_menu_in_chinese_then_english_after_switching(self):
        tray.stop_shared_tray()  # one instance at a time
        paint_root(test_picture())
        chinese_tray = Tray(self.dir, lang="zh_CN.UTF-8")
        self.addCleanup(chinese_tray.stop)
        self.assertIsNotNone(chinese_tray.icon)
        chinese_tray.open_menu()
        chinese = read_root()
        shoot("menu-zh", (0, 0, 300, 200))
        # Language submenu: Right opens it on its first item (中文), Down moves to English.
        chinese_tray.close_menu()
        chinese_tray.open_menu()
        xdotool("key", "Down", "Down", "Down", "Down", "Right", "Down", "Return")
        chinese_tray.wait_menu_closed()
        chinese_tray.open_menu()
        english = read_root()
        shoot("menu-zh-switched-to-en", (0, 0, 300, 200))
        chinese_tray.close_menu()
        self.assertNotEqual(english, chinese)


if __name__ == "__main__":
    unittest.main()
