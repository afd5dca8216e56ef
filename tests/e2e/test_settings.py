"""The registry settings and the language choice, through a helper program that calls the
program's own functions, checked and prepared from outside with Wine's reg tool."""
import os
import shutil
import unittest

import harness
from harness import RUN_KEY, SETTINGS_KEY, reg, reg_values

PROBE = os.path.join(harness.TOOLS, "settings_probe.exe")


def clear_registry():
    reg("delete", SETTINGS_KEY, "/f")
    reg("delete", RUN_KEY, "/v", "Vellumshot", "/f")


class RegistryTest(harness.SessionTest):
    def setUp(self):
        super().setUp()
        clear_registry()
        self.addCleanup(clear_registry)

    def probe(self, *args, exe=PROBE, env=None):
        result = harness.run(list(args), exe=exe, cwd=self.dir, env=env)
        self.assertEqual(result.code, 0, result.out)
        return "\n".join(result.out.decode("utf-8").splitlines())

    def import_reg(self, text):
        path = self.path("values.reg")
        with open(path, "w", encoding="utf-8", newline="\r\n") as f:
            f.write("Windows Registry Editor Version 5.00\n\n" + text)
        code, out = reg("import", harness.winpath(path))
        self.assertEqual(code, 0, out)


class HotkeySettingsTest(RegistryTest):
    def test_without_the_key_the_hotkey_is_ctrl_shift_a(self):
        self.assertNotEqual(reg("query", SETTINGS_KEY)[0], 0)
        self.assertEqual(self.probe("load"), "6 65")

    def test_saved_hotkey_is_two_dwords_and_reads_back(self):
        self.probe("save", "9", "0xBA")
        self.assertEqual(reg_values(SETTINGS_KEY), {
            "HotkeyModifiers": ("REG_DWORD", "0x9"),
            "HotkeyVk": ("REG_DWORD", "0xba"),
        })
        self.assertEqual(self.probe("load"), "9 186")

    def test_stored_numbers_are_used_unchecked(self):
        reg("add", SETTINGS_KEY, "/v", "HotkeyModifiers", "/t", "REG_DWORD", "/d", "0x4003", "/f")
        reg("add", SETTINGS_KEY, "/v", "HotkeyVk", "/t", "REG_DWORD", "/d", "0", "/f")
        self.assertEqual(self.probe("load"), "16387 0")

    def test_key_of_another_type_falls_back_while_the_modifiers_are_kept(self):
        reg("add", SETTINGS_KEY, "/v", "HotkeyModifiers", "/t", "REG_DWORD", "/d", "3", "/f")
        reg("add", SETTINGS_KEY, "/v", "HotkeyVk", "/t", "REG_SZ", "/d", "66", "/f")
        self.assertEqual(self.probe("load"), "3 65")
        # Eight bytes of 66: too long for a DWORD and of another type.
        self.import_reg("[HKEY_CURRENT_USER\\SOFTWARE\\Vellumshot]\n"
                        '"HotkeyVk"=hex(b):42,00,00,00,00,00,00,00\n')
        self.assertEqual(reg_values(SETTINGS_KEY)["HotkeyVk"][0], "REG_QWORD")
        self.assertEqual(self.probe("load"), "3 65")

    def test_modifiers_of_another_type_fall_back_while_the_key_is_kept(self):
        # Four bytes like a DWORD, but REG_BINARY.
        reg("add", SETTINGS_KEY, "/v", "HotkeyModifiers", "/t", "REG_BINARY", "/d", "03000000",
            "/f")
        reg("add", SETTINGS_KEY, "/v", "HotkeyVk", "/t", "REG_DWORD", "/d", "0x74", "/f")
        self.assertEqual(self.probe("load"), "6 116")


class StartOnBootTest(RegistryTest):
    def expect_run_value(self, exe_windows_path):
        """The Run value is the quoted path, as a REG_SZ whose size counts the UTF-16 text
        and its one terminating NUL."""
        command = '"' + exe_windows_path + '"'
        self.assertEqual(reg_values(RUN_KEY)["Vellumshot"], ("REG_SZ", command))
        raw = command.encode("utf-16-le") + b"\0\0"
        self.assertEqual(self.probe("run-value").split("\n"),
                         ["type 1 size %d" % len(raw), raw.hex()])

    def test_off_without_the_value(self):
        self.assertEqual(self.probe("autostart"), "off")
        self.assertEqual(self.probe("run-value"), "absent")

    def test_toggling_on_writes_the_quoted_path_and_off_deletes_it(self):
        self.probe("toggle")
        self.assertEqual(self.probe("autostart"), "on")
        self.expect_run_value(harness.winpath(PROBE))
        self.probe("toggle")
        self.assertEqual(self.probe("autostart"), "off")
        self.assertNotIn("Vellumshot", reg_values(RUN_KEY))
        self.assertEqual(reg("query", RUN_KEY)[0], 0, "the Run key itself stays")

    def test_toggling_four_times_ends_off_with_the_key_left(self):
        states = []
        for _ in range(4):
            self.probe("toggle")
            states.append(self.probe("autostart"))
        self.assertEqual(states, ["on", "off", "on", "off"])
        self.assertEqual(self.probe("run-value"), "absent")

    def test_executable_path_longer_than_max_path(self):
        parts = ["d" * 120, "e" * 120, "f" * 60, "settings_probe.exe"]
        os.makedirs(os.path.join(self.dir, *parts[:-1]))
        exe = os.path.join(self.dir, *parts)
        shutil.copy(PROBE, exe)
        # winepath stops at MAX_PATH, so the long name is put together here.
        windows_path = "\\".join([harness.winpath(self.dir)] + parts)
        self.assertGreater(len(windows_path), 300)
        self.probe("toggle", exe=exe)
        self.expect_run_value(windows_path)
        # Over 512 bytes of data, and still on: the next toggle turns it off.
        self.assertEqual(self.probe("autostart", exe=exe), "on")
        self.probe("toggle", exe=exe)
        self.assertEqual(self.probe("run-value"), "absent")

    def test_any_run_value_of_our_name_reads_as_on(self):
        for kind, data in [("REG_SZ", "x" * 300), ("REG_DWORD", "1"), ("REG_SZ", ""),
                           ("REG_EXPAND_SZ", "%SystemRoot%\\" + "y" * 400)]:
            with self.subTest(kind=kind, length=len(data)):
                code, out = reg("add", RUN_KEY, "/v", "Vellumshot", "/t", kind, "/d", data, "/f")
                self.assertEqual(code, 0, out)
                self.assertEqual(self.probe("autostart"), "on")
                self.probe("toggle")
                self.assertEqual(self.probe("autostart"), "off")
                self.assertNotIn("Vellumshot", reg_values(RUN_KEY))

    def test_other_run_values_are_left_alone(self):
        reg("add", RUN_KEY, "/v", "Other", "/t", "REG_SZ", "/d", "other.exe", "/f")
        self.addCleanup(reg, "delete", RUN_KEY, "/v", "Other", "/f")
        self.assertEqual(self.probe("autostart"), "off")
        self.probe("toggle")
        self.probe("toggle")
        self.assertEqual(reg_values(RUN_KEY)["Other"], ("REG_SZ", "other.exe"))


class LanguageTest(RegistryTest):
    def test_language_follows_the_users_locale(self):
        for locale, language in [("zh_CN.UTF-8", "Chinese"), ("zh_TW.UTF-8", "Chinese"),
                                 ("zh_HK.UTF-8", "Chinese"), ("en_US.UTF-8", "English"),
                                 ("ja_JP.UTF-8", "English"), ("fr_FR.UTF-8", "English")]:
            with self.subTest(locale=locale):
                self.assertEqual(self.probe("language", env={"LC_ALL": locale}), language)


if __name__ == "__main__":
    unittest.main()
