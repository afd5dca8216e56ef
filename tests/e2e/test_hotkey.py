"""The capture hotkey registered as the tray does (on a message-only window), with the real
key combination pressed through the X server. Wine sees keys only while one of its windows
has the X focus, so the helper shows a window and the pointer rests on it (the session's
window manager gives the focus to the window under the pointer)."""
import os
import unittest

import harness

PROBE = os.path.join(harness.TOOLS, "hotkey_probe.exe")


class HotkeyTest(harness.SessionTest):
    def start_probe(self, *args):
        self.proc = harness.start(list(args), exe=PROBE, cwd=self.dir)
        self.addCleanup(self.stop_probe)
        self.wait_for_line("ready")
        window = harness.wait_for(lambda: self.find_window())
        self.assertTrue(window, "the helper's window did not appear")
        harness.tool(["xdotool", "mousemove", "--window", window, "100", "50"])
        self.assertTrue(harness.wait_for(lambda: harness.focused_window() == window, timeout=5),
                        "the helper's window did not get the focus")

    def find_window(self):
        try:
            return harness.tool(["xdotool", "search", "--name", "Vellumshot hotkey probe"]
                                ).decode().split()[0]
        except Exception:
            return None

    def stop_probe(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def lines(self):
        with open(os.path.join(self.dir, "stdout.txt")) as f:
            return f.read().split()

    def wait_for_line(self, line, count=1):
        found = harness.wait_for(lambda: " ".join(self.lines()).count(line) >= count, timeout=20)
        self.assertTrue(found, f"no {line!r} in {self.lines()}")

    def press(self, keys):
        harness.tool(["xdotool", "key", keys])

    def finish(self):
        """Esc ends the helper; everything pressed before it has been handled by then."""
        self.press("Escape")
        self.assertEqual(self.proc.wait(timeout=20), 0)
        text = open(os.path.join(self.dir, "stdout.txt")).read()
        return [line for line in text.splitlines() if line]

    def test_hotkey_arrives_as_wm_hotkey_and_not_after_unregistering(self):
        self.start_probe()
        self.press("ctrl+shift+a")
        self.wait_for_line("hotkey 1")
        self.press("ctrl+shift+a")
        lines = self.finish()
        self.assertEqual(lines.count("hotkey 1"), 1, lines)
        first = lines.index("hotkey 1")
        # Registered, the A key was taken by the hotkey; unregistered, it is a plain key.
        self.assertNotIn("key 41", lines[:first])
        self.assertEqual(lines[first + 1], "unregistered")
        self.assertIn("key 41", lines[first + 2:])
        self.assertEqual(lines[-1], "key 1B")

    def test_the_trays_current_hotkey_is_the_one_registered(self):
        self.start_probe("1", "0x74")  # Alt+F5
        self.press("ctrl+shift+a")
        self.press("shift+F5")
        self.press("alt+F5")
        self.wait_for_line("hotkey 1")
        lines = self.finish()
        # WM_HOTKEY is a posted message and is read before key messages still queued, so
        # a busy helper may print it before the keys pressed ahead of it: counts, not order.
        self.assertIn("key 41", lines, "Ctrl+Shift+A is not the hotkey now")
        self.assertEqual(lines.count("key 74"), 1, f"F5 is one plain key and one hotkey: {lines}")
        keys = [line for line in lines if line.startswith("key ")]
        self.assertEqual(keys[keys.index("key 74") - 1], "key 10", f"the plain F5 is not Shift+F5: {keys}")
        self.assertEqual(lines.count("hotkey 1"), 1, lines)


if __name__ == "__main__":
    unittest.main()
