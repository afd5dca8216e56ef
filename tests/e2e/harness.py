"""Shared helpers for the end-to-end tests: run Vellumshot.exe under Wine in the test
session, put known pictures on the X display and read back what the program produced
with independent tools (ImageMagick, pngcheck, xclip, wine reg)."""
import os
import resource
import shlex
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

SESSION_FILE = os.environ["VLS_SESSION"]
BUILD = os.environ["VLS_BUILD"]
EXE = os.path.join(BUILD, "Vellumshot.exe")
TOOLS = os.path.join(BUILD, "tests")


def _session_env():
    env = dict(os.environ)
    with open(SESSION_FILE) as f:
        for line in f:
            line = line.strip()
            if line.startswith("export "):
                key, _, value = line[len("export "):].partition("=")
                env[key] = shlex.split(value)[0] if value else ""
    return env


ENV = _session_env()
WINE = ENV["VLS_WINE"]
SCREEN_W, SCREEN_H = (int(v) for v in ENV["VLS_SCREEN"].split("x"))


class Result:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err

    @property
    def lines(self):
        return self.out.decode("utf-8").split("\n")


def _file_limit(kib):
    """In the child: files cannot grow past `kib` KiB; the write that would fails with
    EFBIG (the signal ignored), as on a full disk."""
    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (kib * 1024, kib * 1024))
    return limit


def run(args, cwd=None, env=None, timeout=60, exe=EXE, file_limit_kib=None):
    """Runs a Windows program with standard output and error redirected to files (as a
    script would), and returns its exit code and both outputs as bytes. Without a cwd it
    runs in a scratch directory that is removed afterwards."""
    if cwd is None:
        with tempfile.TemporaryDirectory(prefix="vls-") as scratch:
            return run(args, scratch, env, timeout, exe, file_limit_kib)
    full_env = dict(ENV)
    full_env.update(env or {})
    limit = _file_limit(file_limit_kib) if file_limit_kib else None
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.call([WINE, exe] + list(args), cwd=cwd, env=full_env,
                               stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=timeout,
                               preexec_fn=limit)
        out.seek(0)
        err.seek(0)
        return Result(code, out.read(), err.read())


def start(args, cwd=None, exe=EXE, env=None):
    """Starts a Windows program in the background; output goes to files in cwd."""
    cwd = cwd or tempfile.mkdtemp(prefix="vls-")
    full_env = dict(ENV)
    full_env.update(env or {})
    out = open(os.path.join(cwd, "stdout.txt"), "wb")
    return subprocess.Popen([WINE, exe] + list(args), cwd=cwd, env=full_env,
                            stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)


def tool(args, **kw):
    """Runs a Unix tool on the session's display; returns its standard output as bytes."""
    return subprocess.run(args, env=ENV, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, **kw).stdout


SETTINGS_KEY = r"HKCU\Software\Vellumshot"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def reg(*args):
    """Wine's reg tool on the session's prefix; returns (exit code, output text)."""
    done = subprocess.run([WINE, "reg"] + list(args), env=ENV, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    return done.returncode, done.stdout.decode("utf-8", "replace")


def reg_values(key):
    """{name: (type, data)} of a registry key as `reg query` lists them; {} without it."""
    code, out = reg("query", key)
    values = {}
    if code == 0:
        for line in out.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return values


def clipboard(target):
    """The clipboard's contents in the target's format as another X program reads them."""
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], env=ENV,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=20).stdout


def clipboard_image(path):
    """The clipboard's image as a BMP through xclip, kept at `path` and decoded by
    ImageMagick: (width, height, raw RGB bytes)."""
    data = wait_for(lambda: clipboard("image/bmp"))
    if data[:2] != b"BM":
        raise AssertionError("the clipboard holds no BMP image")
    with open(path, "wb") as f:
        f.write(data)
    return image_rgb(path)


def import_table(exe):
    """The lines of the executable's import table as objdump prints them."""
    objdump = shutil.which("x86_64-w64-mingw32-objdump") or "objdump"
    return subprocess.run([objdump, "-p", exe], check=True,
                          stdout=subprocess.PIPE).stdout.decode().splitlines()


def winpath(unix_path):
    return tool(["winepath" if shutil.which("winepath") else "winepath-stable", "-w", unix_path],
                ).decode().strip()


def test_picture(width=None, height=None):
    """A picture in which neighbouring pixels differ and every row and column is unique
    modulo 256 in some channel, so any shift, flip or channel swap shows. Returns the
    path of a binary PPM."""
    width = width or SCREEN_W
    height = height or SCREEN_H
    path = os.path.join(tempfile.gettempdir(), f"vls-picture-{width}x{height}.ppm")
    if not os.path.exists(path):
        rows = []
        for y in range(height):
            row = bytearray(width * 3)
            row[0::3] = bytes((x * 7 + y) & 255 for x in range(width))
            row[1::3] = bytes((y * 3 + (x >> 8) * 50) & 255 for x in range(width))
            row[2::3] = bytes((x + y * 11) & 255 for x in range(width))
            rows.append(bytes(row))
        with open(path + ".tmp", "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height))
            f.writelines(rows)
        os.replace(path + ".tmp", path)
    return path


_pictures = {}  # the pictures' raw RGB bytes, by path, as ImageMagick decoded them


def paint_root(ppm_path):
    """Sets the picture as the root window's background, under every window, and waits
    until the whole screen reads back as the picture. The window manager keeps the root
    repainted when windows close over it. A screen that already reads back as the picture
    has it as its background (nothing else draws it): it is left as it is."""
    if ppm_path not in _pictures:
        _pictures[ppm_path] = tool(["convert", ppm_path, "-depth", "8", "rgb:-"])
    expected = _pictures[ppm_path]
    if read_root() == expected:
        return expected
    # display exits with 1 even when it has set the picture: the screen read back decides.
    subprocess.run(["display", "-window", "root", ppm_path], env=ENV, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not wait_for(lambda: read_root() == expected, timeout=15):
        raise RuntimeError("the test picture did not appear on the screen")
    return expected


def read_root():
    """The screen as X sees it, as raw RGB bytes (read by ImageMagick, not by us)."""
    return tool(["import", "-window", "root", "-depth", "8", "rgb:-"])


def settled_screen(timeout=5.0):
    """The screen once two reads in a row agree (a window has finished drawing)."""
    last = read_root()
    deadline = time.time() + timeout
    while time.time() < deadline:
        now = read_root()
        if now == last:
            return now
        last = now
    raise AssertionError("the screen did not settle")


def image_rgb(path):
    """Any image file decoded by ImageMagick to (width, height, raw RGB bytes)."""
    size = tool(["identify", "-format", "%w %h", path]).decode().split()
    return int(size[0]), int(size[1]), tool(["convert", path, "-depth", "8", "rgb:-"])


def crop_rgb(rgb, width, x, y, w, h):
    stride = width * 3
    return b"".join(rgb[(y + r) * stride + x * 3:(y + r) * stride + (x + w) * 3] for r in range(h))


SHOTS = os.path.join(BUILD, "e2e-shots")


def shoot(name, crop=None):
    """Saves the screen, or the part (x, y, width, height) of it, for a person to look at;
    returns the path."""
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    tool(["import", "-window", "root", path])
    if crop:
        tool(["convert", path, "-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage", path])
    return path


def wait_for(predicate, timeout=10.0, interval=0.1):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return predicate()


def focused_window():
    """The X window that has the keyboard focus, as xdotool reports it."""
    return tool(["xdotool", "getwindowfocus"]).decode().strip()


def pointer():
    """Where the pointer is, as (x, y)."""
    where = dict(v.split(":") for v in tool(["xdotool", "getmouselocation"]).decode().split()[:2])
    return int(where["x"]), int(where["y"])


def window_area(window):
    """(x, y, width, height) of an X window's inside, in screen coordinates, or None."""
    info = subprocess.run(["xwininfo", "-id", str(window)], env=ENV, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode()
    fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    try:
        return tuple(int(fields[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                              "Width", "Height"))
    except KeyError:
        return None


def point_at(window, x, y):
    """Moves the pointer to (x, y) on the screen, over `window`, and waits until the window
    manager has given that window the keyboard focus (it follows the pointer). Wine sees
    keys, registered hotkeys included, only while one of its windows has the focus."""
    focused = lambda: focused_window() == str(window)
    away = ["mousemove", str(SCREEN_W - 1), str(SCREEN_H - 1)]
    there = ["mousemove", str(x), str(y)]
    px, py = pointer()
    area = window_area(window)
    inside = area and area[0] <= px < area[0] + area[2] and area[1] <= py < area[1] + area[3]
    # The focus follows the pointer as it enters: one already over the window (the window
    # above it closed) leaves and comes back.
    tool(["xdotool"] + (away + there if inside and not focused() else there))
    if wait_for(focused, timeout=5, interval=0.02):
        return
    tool(["xdotool"] + away + there)
    if not wait_for(focused, timeout=5, interval=0.02):
        raise AssertionError(f"window {window} did not get the focus under the pointer")


class SessionTest(unittest.TestCase):
    """Base for tests that run in a scratch directory of their own."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="vls-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def run_exe(self, *args, **kw):
        kw.setdefault("cwd", self.dir)
        result = run(list(args), **kw)
        self.assertEqual(result.err, b"", "nothing may go to standard error")
        return result

    def path(self, name):
        return os.path.join(self.dir, name)

    def screen_when(self, predicate, what, timeout=15):
        """The screen once predicate(screen) holds; fails with `what` if it never does."""
        shown = wait_for(lambda: (lambda r: r if predicate(r) else None)(read_root()),
                         timeout=timeout, interval=0.1)
        self.assertTrue(shown, what)
        return shown


class PictureTest(SessionTest):
    """Base for tests that compare what the program made with the test picture on the
    screen, read back once for the class as `root`."""

    @classmethod
    def setUpClass(cls):
        paint_root(test_picture())
        cls.root = read_root()


class Held:
    """Keeps the clipboard, or a file, busy from another Windows process while in use:
    with Held("clipboard"): ...   with Held("file", path): ..."""

    def __init__(self, *what):
        self.args = [os.path.join(TOOLS, "hold.exe")] + list(what)

    def __enter__(self):
        self.proc = subprocess.Popen([WINE] + self.args, env=ENV, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.proc.stdout.readline()
        if line.strip() != b"held":
            self.proc.kill()
            raise RuntimeError("could not take " + " ".join(self.args[1:-1]))
        return self

    def __exit__(self, *exc):
        # Closing its input makes the holder let go and exit; it says so first.
        self.proc.stdin.close()
        released = self.proc.stdout.readline().strip() == b"released"
        self.proc.stdout.close()
        if self.proc.wait(timeout=20) != 0 or not released:
            raise RuntimeError("the holder did not let go of " + " ".join(self.args[1:]))
