"""The command line's texts and exit codes, byte for byte, as a script sees them with
standard output redirected to a file."""
import os
import unittest

from harness import SessionTest, TOOLS, run

USAGE = (
    "Vellumshot - lightweight Windows screenshot tool\n"
    "\n"
    "USAGE:\n"
    "  Vellumshot.exe <command> [options]\n"
    "\n"
    "COMMANDS:\n"
    "  screenshot     Capture the screen (or a region) to a file and/or clipboard\n"
    "  help           Show this help\n"
    "  version        Show version\n"
    "\n"
    "SCREENSHOT OPTIONS:\n"
    "  -o, --output <PATH>    Save to PATH (.png or .bmp). Default: .\\Vellumshot_<timestamp>.png\n"
    "  -r, --region <X,Y,W,H> Capture a region (screen pixels) instead of the full screen\n"
    "  -c, --clipboard        Copy the capture to the Windows clipboard\n"
    "  -q, --quiet            Suppress console output\n"
    "  -h, --help             Show this help\n"
    "\n"
    "EXAMPLES:\n"
    "  Vellumshot.exe screenshot\n"
    "  Vellumshot.exe screenshot -o shot.png\n"
    "  Vellumshot.exe screenshot -r 0,0,800,600 -o region.png\n"
    "  Vellumshot.exe screenshot --clipboard\n"
    "\n"
    "Run with no arguments to launch the tray application.\n"
    "Note: this is a GUI-subsystem exe; from a script use `start /wait` to wait for it.\n"
).encode()

REGION_MESSAGE = b"--region requires X,Y,W,H (integers, screen pixels).\n"


class Texts(SessionTest):
    def expect(self, args, code, out):
        result = self.run_exe(*args)
        # Together, so that a wrong text also shows how the process ended.
        self.assertEqual((result.code, result.out), (code, out), args)
        self.assertEqual(os.listdir(self.dir), [], "no file may be written")

    def test_version_and_its_aliases(self):
        for arg in ("version", "--version", "VERSION", "Version"):
            self.expect([arg], 0, b"Vellumshot 1.0.0\n")

    def test_help_prints_the_25_line_usage(self):
        self.assertEqual(USAGE.count(b"\n"), 25)
        for args in (["help"], ["--help"], ["-h"], ["HELP"], ["screenshot", "-h"],
                     ["shot", "--help", "-x"], ["capture", "-c", "-h", "-o"]):
            self.expect(args, 0, USAGE)

    def test_unknown_commands_show_the_lowered_name_then_usage(self):
        self.expect(["Foo"], 2, b"Unknown command: foo\n\n" + USAGE)
        self.expect([""], 2, b"Unknown command: \n\n" + USAGE)
        self.expect(["-V", "screenshot"], 2, b"Unknown command: -v\n\n" + USAGE)
        # Only A-Z are lowered; the rest of the text passes through as UTF-8.
        self.expect(["\u00dcNI\u00c7\u00d6DE\u4e2d"], 2,
                    "Unknown command: \u00dcni\u00c7\u00d6de\u4e2d\n\n".encode() + USAGE)

    def test_usage_errors_exit_2_and_capture_nothing(self):
        cases = [
            (["screenshot", "-O", "x.png"], b"Unknown option: -O\n"),
            (["screenshot", "-x", "-h"], b"Unknown option: -x\n"),
            (["screenshot", "--output=x.png"], b"Unknown option: --output=x.png\n"),
            (["screenshot", "-cq"], b"Unknown option: -cq\n"),
            (["screenshot", "-o"], b"--output requires a path argument.\n"),
            (["screenshot", "-c", "--output"], b"--output requires a path argument.\n"),
            (["screenshot", "-r"], REGION_MESSAGE),
            (["screenshot", "-q", "--region"], REGION_MESSAGE),
        ]
        for value in ("0,0,800", "0,0,800,600,1", "0,0,0,600", "0,0,800,-1", "a,0,800,600",
                      "0,0,800,600x", "-,0,1,1", "0,0,99999999999,1", ""):
            cases.append((["screenshot", "-q", "-r", value, "-o", "x.png"], REGION_MESSAGE))
        for args, out in cases:
            self.expect(args, 2, out)

    def test_unpaired_surrogates_are_shown_as_replacement_characters(self):
        # A Unix shell cannot pass a lone UTF-16 surrogate; a Windows parent can.
        result = run([os.path.join(TOOLS, "..", "Vellumshot.exe"), "ab\\ud800c"], cwd=self.dir,
                     exe=os.path.join(TOOLS, "spawn_wide.exe"))
        self.assertEqual(result.out, "Unknown command: ab\ufffdc\n\n".encode() + USAGE)
        self.assertEqual(result.code, 2)


if __name__ == "__main__":
    unittest.main()
