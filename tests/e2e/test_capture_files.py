"""Screenshots written to PNG and BMP files: pixels equal what X shows, the file formats
are as laid out, and the result lines, paths and exit codes are right."""
import datetime
import os
import random
import re
import struct
import subprocess
import unittest
import zlib

import harness
from harness import SCREEN_H, SCREEN_W, Held, PictureTest


def png_chunks(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "PNG signature"
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc = struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]
        assert crc == zlib.crc32(kind + body), "chunk CRC"
        chunks.append((kind.decode(), body))
        at += 12 + length
    return chunks


def opaque(rgb):
    """RGB bytes as RGBA with alpha 255."""
    rgba = bytearray(len(rgb) // 3 * 4)
    rgba[0::4], rgba[1::4], rgba[2::4] = rgb[0::3], rgb[1::3], rgb[2::3]
    rgba[3::4] = b"\xff" * (len(rgb) // 3)
    return bytes(rgba)


def pattern_bgrx(width, height):
    """Smooth gradients with edges, so neighbouring pixels differ, rows repeat nothing and
    some channel falls from one pixel to the next (the filter's bytes wrap)."""
    row = bytearray(width * 4)
    row[0::4] = bytes((x * 5) & 255 for x in range(width))
    row[1::4] = bytes((x * 253 + 17) & 255 for x in range(width))
    row[2::4] = bytes((x // 7 * 40) & 255 for x in range(width))
    row[3::4] = bytes((0x00, 0x7F, 0xFF)[x % 3] for x in range(width))
    shifted = [bytes.maketrans(bytes(range(256)), bytes((v + y) & 255 for v in range(256)))
               for y in range(256)]
    return b"".join(bytes(row).translate(shifted[(y * 3) & 255]) for y in range(height))


def noise_bgrx(width, height):
    return random.Random(19).randbytes(width * height * 4)


class CaptureFiles(PictureTest):
    def zdir(self):
        return harness.winpath(self.dir)

    def assert_pixels(self, path, x, y, w, h):
        width, height, rgb = harness.image_rgb(path)
        self.assertEqual((width, height), (w, h))
        expected = harness.crop_rgb(self.root, SCREEN_W, x, y, w, h)
        self.assertTrue(rgb == expected, f"{path}: pixels differ from the screen block {x},{y} {w}x{h}")

    def assert_minimal_png(self, path, width, height, rgba):
        """The file as tools nobody here wrote read it: pngcheck accepts it, ImageMagick
        decodes it to exactly `rgba`, its chunks are IHDR, IDAT, IEND with the right CRCs
        (Python's zlib) and every scanline of the stream (Python's zlib) has filter 1."""
        subprocess.run(["pngcheck", "-q", path], check=True, stdout=subprocess.DEVNULL)
        decoded = harness.tool(["convert", path, "-depth", "8", "rgba:-"])
        self.assertEqual(harness.tool(["identify", "-format", "%w %h", path]).decode(),
                         f"{width} {height}")
        self.assertTrue(decoded == rgba, f"{path}: pixels differ from the input")
        with open(path, "rb") as f:
            chunks = png_chunks(f.read())
        self.assertEqual([kind for kind, _ in chunks], ["IHDR", "IDAT", "IEND"])
        self.assertEqual(struct.unpack(">IIBBBBB", chunks[0][1]), (width, height, 8, 6, 0, 0, 0))
        raw = zlib.decompress(chunks[1][1])
        stride = 1 + width * 4
        self.assertEqual(len(raw), stride * height)
        self.assertEqual(raw[0::stride], b"\x01" * height, "every row uses the Sub filter")

    def test_full_screen_png_is_exactly_the_screen_and_minimal(self):
        result = self.run_exe("screenshot", "-o", "full.png")
        self.assertEqual(result.out, f"Saved {self.zdir()}\\full.png ({SCREEN_W}x{SCREEN_H}).\n".encode())
        self.assertEqual(result.code, 0)
        self.assert_minimal_png(self.path("full.png"), SCREEN_W, SCREEN_H, opaque(self.root))

    def test_the_png_writer_at_every_size_from_one_pixel_to_4k(self):
        # Through the program's own writer (png_probe), at sizes no test screen has. The
        # pictures' fourth bytes vary; the files must hold 255. The 4K picture is noise,
        # which compresses worse than the writer's first guess of the stream's size.
        for width, height in ((1, 1), (1, 2), (3, 1), (1021, 9), (1920, 1080), (3840, 2160)):
            with self.subTest(size=f"{width}x{height}"):
                bgrx = noise_bgrx(width, height) if width == 3840 else pattern_bgrx(width, height)
                pixels = self.path("in.bgrx")
                with open(pixels, "wb") as f:
                    f.write(bgrx)
                result = harness.run([pixels, str(width), str(height), "out.png"], cwd=self.dir,
                                     exe=os.path.join(harness.TOOLS, "png_probe.exe"))
                self.assertEqual(result.code, 0)
                rgba = bytearray(bgrx)
                rgba[0::4], rgba[2::4], rgba[3::4] = bgrx[2::4], bgrx[0::4], b"\xff" * (width * height)
                self.assert_minimal_png(self.path("out.png"), width, height, bytes(rgba))

    def test_a_disk_that_fills_after_the_file_was_created_leaves_no_file(self):
        # Files limited to half the size of the screen's PNG: its write fails once the
        # file exists.
        self.assertEqual(self.run_exe("screenshot", "-o", "whole.png").code, 0)
        limit_kib = os.path.getsize(self.path("whole.png")) // 2048
        self.assertGreater(limit_kib, 0)
        os.remove(self.path("whole.png"))
        result = self.run_exe("screenshot", "-o", "full.png", file_limit_kib=limit_kib)
        self.assertEqual(result.out, f"Failed to save {self.zdir()}\\full.png.\n".encode())
        self.assertEqual(result.code, 1)
        self.assertEqual(os.listdir(self.dir), [])

    def test_full_screen_bmp_has_its_header_and_bottom_up_rows(self):
        result = self.run_exe("SHOT", "--output", "full.bmp")
        self.assertEqual(result.out, f"Saved {self.zdir()}\\full.bmp ({SCREEN_W}x{SCREEN_H}).\n".encode())
        data = open(self.path("full.bmp"), "rb").read()
        size = SCREEN_W * SCREEN_H * 4
        self.assertEqual(len(data), 54 + size)
        header = struct.unpack("<2sIHHIIiiHHIIiiII", data[:54])
        self.assertEqual(header, (b"BM", 54 + size, 0, 0, 54, 40, SCREEN_W, SCREEN_H, 1, 32, 0, size,
                                  2835, 2835, 0, 0))
        # Read the rows ourselves: the first stored row is the bottom of the screen.
        stride = SCREEN_W * 4
        for screen_row in (0, 1, SCREEN_H // 2, SCREEN_H - 1):
            stored = data[54 + (SCREEN_H - 1 - screen_row) * stride:54 + (SCREEN_H - screen_row) * stride]
            rgb = bytearray(SCREEN_W * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = stored[2::4], stored[1::4], stored[0::4]
            self.assertEqual(bytes(rgb), harness.crop_rgb(self.root, SCREEN_W, 0, screen_row, SCREEN_W, 1),
                             f"screen row {screen_row}")
        self.assert_pixels(self.path("full.bmp"), 0, 0, SCREEN_W, SCREEN_H)

    def test_regions_are_clamped_to_the_display(self):
        cases = [("100,100,50,40", (100, 100, 50, 40)),
                 ("-100,0,300,200", (0, 0, 300, 200)),
                 (f"{SCREEN_W - 120},0,400,100", (SCREEN_W - 120, 0, 120, 100)),
                 (f"0 {SCREEN_H - 7} 9 9", (0, SCREEN_H - 7, 9, 7)),
                 ("-5000,-5000,10,10", (0, 0, 10, 10))]
        for i, (region, (x, y, w, h)) in enumerate(cases):
            for ext in ("png", "bmp"):
                name = f"r{i}.{ext}"
                result = self.run_exe("screenshot", "-r", region, "-o", name)
                self.assertEqual(result.out, f"Saved {self.zdir()}\\{name} ({w}x{h}).\n".encode())
                self.assertEqual(result.code, 0)
                self.assert_pixels(self.path(name), x, y, w, h)

    def test_a_region_off_the_display_fails_with_exit_1(self):
        for region in (f"{SCREEN_W},0,10,10", "5000,0,100,100", f"0,{SCREEN_H},5,5"):
            result = self.run_exe("screenshot", "-q", "-r", region, "-o", "x.png")
            self.assertEqual(result.out, b"Failed to capture the screen (empty or invalid region).\n")
            self.assertEqual(result.code, 1)
        self.assertEqual(os.listdir(self.dir), [])

    def test_format_follows_only_the_bmp_ending(self):
        self.run_exe("screenshot", "-r", "0,0,8,8", "-o", "out.BMP")
        self.run_exe("screenshot", "-r", "0,0,8,8", "-o", "out.jpg")
        self.run_exe("screenshot", "-r", "0,0,8,8", "-o", "out.bmp.png")
        self.assertEqual(open(self.path("out.BMP"), "rb").read(2), b"BM")
        self.assertEqual(open(self.path("out.jpg"), "rb").read(4), b"\x89PNG")
        self.assertEqual(open(self.path("out.bmp.png"), "rb").read(4), b"\x89PNG")

    def test_display_paths_follow_the_join_rules(self):
        os.mkdir(self.path("sub"))
        z = self.zdir()
        drive = z[:2]
        root_file = f"\\vls-root-{os.getpid()}.png"
        cases = [(".\\a.png", f"{z}\\.\\a.png", "a.png"),
                 ("sub/../b.png", f"{z}\\sub/../b.png", "b.png"),
                 (f"{z}\\c.png", f"{z}\\c.png", "c.png"),
                 (root_file, drive + root_file, None)]
        for typed, shown, name in cases:
            result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", typed)
            self.assertEqual(result.out, f"Saved {shown} (4x4).\n".encode(), typed)
            if name:
                self.assertTrue(os.path.exists(self.path(name)), name)
        os.remove("/" + root_file[1:])

    def test_non_ascii_paths_are_written_and_printed_as_utf8(self):
        name = "\u0109apture \u00e9t\u00e9 \u4e2d\u6587 \U0001f600.png"
        result = self.run_exe("screenshot", "-r", "0,0,16,16", "-o", name)
        self.assertEqual(result.out, f"Saved {self.zdir()}\\{name} (16x16).\n".encode("utf-8"))
        self.assertNotIn(b"\r", result.out)
        self.assert_pixels(self.path(name), 0, 0, 16, 16)

    def test_output_value_is_taken_verbatim_even_when_it_looks_like_an_option(self):
        result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", "-c")
        self.assertEqual(result.out, f"Saved {self.zdir()}\\-c (4x4).\n".encode())
        self.assertEqual(open(self.path("-c"), "rb").read(4), b"\x89PNG")

    def test_an_existing_file_is_replaced(self):
        with open(self.path("old.bmp"), "wb") as f:
            f.write(b"x" * 100000)
        self.run_exe("screenshot", "-r", "0,0,2,1", "-o", "old.bmp")
        self.assertEqual(os.path.getsize(self.path("old.bmp")), 62)

    def test_quiet_hides_success_but_not_a_failed_save(self):
        result = self.run_exe("screenshot", "-q", "-r", "0,0,4,4", "-o", "q.png")
        self.assertEqual((result.out, result.code), (b"", 0))
        self.assertTrue(os.path.exists(self.path("q.png")))
        result = self.run_exe("screenshot", "-q", "-o", "missing/q.png")
        self.assertEqual(result.out, f"Failed to save {self.zdir()}\\missing/q.png.\n".encode())
        self.assertEqual(result.code, 1)

    def test_failed_saves_are_never_reported_as_success(self):
        os.mkdir(self.path("folder.png"))
        with open(self.path("busy.png"), "wb") as f:
            f.write(b"old contents")
        for typed in ("missing\\x.png", "missing\\x.bmp", "folder.png"):
            result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", typed)
            self.assertEqual(result.out, f"Failed to save {self.zdir()}\\{typed}.\n".encode(), typed)
            self.assertEqual(result.code, 1)
        # An existing file that cannot be replaced stays as it was.
        with Held("file", harness.winpath(self.path("busy.png"))):
            for typed in ("busy.png",):
                result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", typed)
                self.assertEqual(result.out, f"Failed to save {self.zdir()}\\{typed}.\n".encode())
                self.assertEqual(result.code, 1)
        self.assertEqual(open(self.path("busy.png"), "rb").read(), b"old contents")
        self.assertFalse(os.path.exists(self.path("missing")))
        self.assertTrue(os.path.isdir(self.path("folder.png")))

    def test_a_name_that_opens_a_device_is_a_failed_save(self):
        for typed in ("NUL", "nul.png", "AUX.png", "COM1.png", "CON.bmp"):
            result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", typed)
            self.assertEqual(result.out, f"Failed to save {self.zdir()}\\{typed}.\n".encode(), typed)
            self.assertEqual(result.code, 1, typed)
        self.assertEqual(os.listdir(self.dir), [])

    def test_format_and_line_follow_the_name_windows_creates(self):
        # Windows drops the trailing dots and spaces of the last component.
        for typed, created, kind in (("shot.bmp.", "shot.bmp", "BMP"), ("x.png. .", "x.png", "PNG")):
            result = self.run_exe("screenshot", "-r", "0,0,4,4", "-o", typed)
            self.assertEqual(result.out, f"Saved {self.zdir()}\\{created} (4x4).\n".encode(), typed)
            found = harness.tool(["identify", "-format", "%m", self.path(created)]).decode()
            self.assertTrue(found.startswith(kind), f"{typed}: {found}")
        self.assertEqual(sorted(os.listdir(self.dir)), ["shot.bmp", "x.png"])

    def test_a_path_longer_than_max_path_is_saved(self):
        folders = ["a" * 100, "b" * 100, "c" * 100]
        os.makedirs(self.path(os.path.join(*folders)))
        for name in ("long.png", "long.bmp"):
            typed = "\\".join(folders + [name])
            self.assertGreater(len(self.zdir()) + 1 + len(typed), 300)
            result = self.run_exe("screenshot", "-r", "10,20,30,40", "-o", typed)
            self.assertEqual(result.out, f"Saved {self.zdir()}\\{typed} (30x40).\n".encode())
            self.assertEqual(result.code, 0)
            self.assert_pixels(self.path(os.path.join(*folders, name)), 10, 20, 30, 40)

    def run_under_ctrl_c_storm(self, events, args, name):
        """One run under console_events. Wine delivers each console event by creating a
        thread from a signal handler, which deadlocks in glibc's malloc when the signal lands
        while the program's thread is inside malloc on Wine's Unix side (seen in gdb: both
        threads waiting on main_arena, one in NtGdiCreateCompatibleBitmap, one in
        pthread_create). A normal run takes about a second; a run that outlasts 20 s is that
        deadlock: its processes are ended, its console window goes, and it is made again."""
        for attempt in range(4):
            try:
                return harness.run(args, cwd=self.dir, exe=events, timeout=20)
            except subprocess.TimeoutExpired:
                for image in ("console_events.exe", "Vellumshot.exe", "conhost.exe"):
                    harness.run(["/f", "/im", image], exe="taskkill", timeout=30)
                harness.paint_root(harness.test_picture())
                print(f"\n{name}: Wine deadlocked delivering Ctrl+C (attempt {attempt + 1}); "
                      "made again", flush=True)
                if os.path.exists(self.path(name)):
                    os.remove(self.path(name))
        self.fail(f"{name}: every run under the Ctrl+C storm hung")

    def test_ctrl_c_on_the_console_never_cuts_a_save_short(self):
        # console_events runs the program on its own console, as from a prompt, and presses
        # Ctrl+C there without pause from the moment the program has attached. (The program's
        # lines go to that console; Wine's client now and then reports a lost event on the
        # standard error the test sees, so that is not checked here.) Wine shows that console
        # as a window in the top-left corner, so the capture keeps clear of it.
        events = os.path.join(harness.TOOLS, "console_events.exe")
        x, y, w, h = 800, 500, SCREEN_W - 800, SCREEN_H - 500
        args = [harness.winpath(harness.EXE), "screenshot", "-r", f"{x},{y},{w},{h}", "-o"]
        for name in ("part.png", "part.bmp"):
            result = self.run_under_ctrl_c_storm(events, args + [name], name)
            sent = int(result.out.decode().split()[-1])
            self.assertGreater(sent, 0, "no Ctrl+C reached the console while it ran")
            self.assertEqual(result.code, 0, f"{name}: ended by Ctrl+C after {sent} events")
            self.assert_pixels(self.path(name), x, y, w, h)
        subprocess.run(["pngcheck", "-q", self.path("part.png")], check=True, stdout=subprocess.DEVNULL)
        self.assertEqual(sorted(os.listdir(self.dir)), ["part.bmp", "part.png"])

    def test_default_name_is_the_local_time_and_never_replaces_a_file(self):
        # Claim every name the next few seconds could produce, so the program must number.
        now = datetime.datetime.now()
        claimed = {}
        for s in range(-1, 6):
            name = (now + datetime.timedelta(seconds=s)).strftime("Vellumshot_%Y%m%d_%H%M%S.png")
            claimed[name] = f"keep {s}".encode()
            with open(self.path(name), "wb") as f:
                f.write(claimed[name])
        first = self.run_exe("screenshot", "-r", "0,0,4,4")
        second = self.run_exe("screenshot", "-r", "0,0,4,4")
        pattern = re.escape(f"Saved {self.zdir()}\\") + r"(Vellumshot_\d{8}_\d{6}_(\d+)\.png)" + re.escape(" (4x4).\n")
        names = []
        for result in (first, second):
            self.assertEqual(result.code, 0)
            match = re.fullmatch(pattern, result.out.decode())
            self.assertIsNotNone(match, result.out)
            names.append(match.group(1))
            self.assertIn(match.group(1).rsplit("_", 1)[0] + ".png", claimed)
            self.assertEqual(open(self.path(match.group(1)), "rb").read(4), b"\x89PNG")
        self.assertNotEqual(names[0], names[1])
        for name, contents in claimed.items():
            self.assertEqual(open(self.path(name), "rb").read(), contents, name)

    def test_default_name_without_clashes(self):
        result = self.run_exe("screenshot")
        files = os.listdir(self.dir)
        self.assertEqual(len(files), 1)
        self.assertRegex(files[0], r"^Vellumshot_\d{8}_\d{6}\.png$")
        stamp = datetime.datetime.strptime(files[0], "Vellumshot_%Y%m%d_%H%M%S.png")
        self.assertLess(abs((datetime.datetime.now() - stamp).total_seconds()), 30)
        self.assertEqual(result.out, f"Saved {self.zdir()}\\{files[0]} ({SCREEN_W}x{SCREEN_H}).\n".encode())


if __name__ == "__main__":
    unittest.main()
