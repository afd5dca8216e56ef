"""Helpers for the tray end-to-end tests: start Vellumshot.exe without arguments, find its
icon in Wine's own notification window (shown when no X system tray runs), open the context
menu with a right click, choose items with the keyboard and read the hotkey dialog.

The session's window manager decorates Wine's tray window (its position is read in screen
coordinates) and gives the keyboard focus to each new window and to the window under the
pointer. Wine's menus are unmanaged X windows, which no window manager focuses: the menu
is given the focus as the program's own SetForegroundWindow gives it on Windows."""
import os
import subprocess

from harness import ENV, EXE, TOOLS, WINE, focused_window, point_at, read_root, run, settled_screen, start, \
    tool, wait_for, SCREEN_W, SCREEN_H

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SHOTS = os.path.join(os.environ["VLS_BUILD"], "e2e-shots")
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
SETTINGS_KEY = r"HKCU\Software\Vellumshot"

# Menu rows reached with Down from a menu that has no selection yet (separators skipped).
MENU_SCREENSHOT, MENU_AUTOSTART, MENU_HOTKEY, MENU_LANGUAGE, MENU_ABOUT, MENU_EXIT = range(1, 7)

def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], env=ENV, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode()


def reg(*args):
    return subprocess.run([WINE, "reg"] + list(args), env=ENV, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode("utf-8", "replace")


def reg_values(key):
    """{name: (type, data)} of a registry key, as `wine reg query` prints them."""
    values = {}
    for line in reg("query", key).splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2])
    return values


def tray_window_id():
    ids = xdotool("search", "--onlyvisible", "--name", "Wine System Tray").split()
    return ids[0] if ids else None


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


def tray_window():
    """(x, y, width, height) of the visible "Wine System Tray" window's inside, or None.
    The window manager's frame moves it: its own geometry is relative to the frame."""
    window = tray_window_id()
    return window_area(window) if window else None


def _icon_template():
    """The icon file's 16-pixel image as RGBA rows, decoded by ImageMagick."""
    data = tool(["convert", os.path.join(REPO, "resources", "vellumshot.ico") + "[0]",
                 "-depth", "8", "rgba:-"])
    assert len(data) == 16 * 16 * 4
    return data


def screen_rgb():
    return read_root()


def tray_icons(rgb=None):
    """Places in the tray window where the 16-pixel application icon is drawn."""
    area = tray_window()
    if area is None:
        return []
    rgb = rgb or read_root()
    x0, y0, w, h = area
    icon = _icon_template()

    def px(x, y):
        i = ((y0 + y) * SCREEN_W + x0 + x) * 3
        return rgb[i:i + 3]

    # Only the icon's opaque pixels are compared: they do not depend on the background.
    opaque = [(i % 16, i // 16, tuple(icon[i * 4:i * 4 + 3])) for i in range(256)
              if icon[i * 4 + 3] == 255]
    found = []
    for oy in range(0, h - 15):
        for ox in range(0, w - 15):
            if all(max(abs(p - e) for p, e in zip(px(ox + x, oy + y), colour)) <= 24
                   for x, y, colour in opaque):
                found.append((x0 + ox, y0 + oy))
    return found


def shoot(name, crop=None):
    """Saves the screen, or the part (x, y, width, height) of it, for a person to look at;
    returns the path."""
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    tool(["import", "-window", "root", path])
    if crop:
        tool(["convert", path, "-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage", path])
    return path


def corner():
    """The screen's top-left 100 x 20 pixels, as raw RGB."""
    rgb = read_root()
    return b"".join(rgb[y * SCREEN_W * 3:(y * SCREEN_W + 100) * 3] for y in range(20))


def purge_dead_icons():
    """Icons left by a process that was killed stay until the pointer passes over them,
    when Wine's tray notices their window is gone."""
    moves = []
    for x, y in tray_icons():
        moves += ["mousemove", x + 8, y + 8]
    xdotool(*moves, "mousemove", SCREEN_W // 2, SCREEN_H - 100)


def pointed_menu():
    """The X window of the program's menu under the pointer (an unmanaged window of
    Vellumshot.exe, smaller than the screen), or None."""
    window = dict(line.split("=") for line in xdotool("getmouselocation", "--shell").split())
    window = window.get("WINDOW")
    props = subprocess.run(["xprop", "-id", window, "WM_CLASS"], env=ENV,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.decode()
    area = window_area(window)
    if "vellumshot.exe" in props.lower() and area and area[2] < SCREEN_W:
        return window
    return None


def viewable(window):
    info = subprocess.run(["xwininfo", "-id", str(window)], env=ENV, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode()
    return "IsViewable" in info


class Tray:
    """One running tray instance."""

    def __init__(self, cwd, lang=None, exe=EXE, env=None):
        purge_dead_icons()
        before = len(tray_icons())
        env = dict(env or {})
        if lang:
            env["LC_ALL"] = lang
        self.cwd = cwd
        self.process = start([], cwd=cwd, exe=exe, env=env)
        # A new icon is added after the ones already there.
        def grown():
            icons = tray_icons()
            return len(icons) > before and icons
        icons = wait_for(grown, timeout=20)
        self.icon = icons[-1] if icons else None

    def running(self):
        return self.process.poll() is None

    def point_at_icon(self):
        point_at(tray_window_id(), self.icon[0] + 8, self.icon[1] + 8)

    def open_menu(self):
        """Right-clicks the icon until the menu is up: a window of the program under the
        pointer that has painted over the screen's top-left corner (the menu is pushed
        into it, above the tray window). Gives the menu the keyboard and waits until its
        picture holds still."""
        self.point_at_icon()
        before = corner()
        for _ in range(3):
            xdotool("click", 3)
            self.menu = wait_for(lambda: corner() != before and pointed_menu(), timeout=4)
            if self.menu:
                xdotool("windowfocus", self.menu)
                wait_for(lambda: focused_window() == self.menu, timeout=5, interval=0.02)
                settled_screen()
                return
        raise AssertionError("no menu appeared")

    def wait_menu_closed(self):
        if not wait_for(lambda: not viewable(self.menu), timeout=5, interval=0.05):
            raise AssertionError("the menu stayed on screen")

    def choose(self, row):
        """Opens the menu and chooses the row-th item (1 = Screenshot ... 6 = Exit)."""
        self.open_menu()
        xdotool("key", *(["Down"] * row), "Return")
        self.wait_menu_closed()

    def close_menu(self):
        xdotool("key", "Escape")
        self.wait_menu_closed()

    def double_click_icon(self):
        self.point_at_icon()
        xdotool("click", "--repeat", 2, "--delay", 80, 1)

    def stop(self):
        """Ends the instance through its own Exit, so its icon leaves the tray window (a
        killed process would leave a dead icon behind); kills it if that fails."""
        if self.running() and self.icon:
            xdotool("key", "Escape")  # whatever menu is still open
            try:
                self.choose(MENU_EXIT)
            except AssertionError:
                pass
            wait_for(lambda: not self.running(), timeout=10)
        if self.running():
            self.process.kill()
            self.process.wait()


def committed_kb():
    """The tray's committed private memory in KiB, read by tests/tools/memory_probe from
    inside Wine: what a kept heap block or bitmap moves, and resident pages coming and
    going do not."""
    result = run([], exe=os.path.join(TOOLS, "memory_probe.exe"))
    assert result.code == 0, "memory_probe found no tray or could not read it"
    return int(result.out.decode().strip())


def own_windows(size):
    """The X windows of Vellumshot whose geometry reads `size` ("WxH+X+Y" or its start)."""
    for _ in range(20):
        # A window closing during the walk makes xwininfo fail; the next walk misses it.
        listing = subprocess.run(["xwininfo", "-root", "-tree"], env=ENV, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        if listing.returncode == 0:
            return [line.split()[0] for line in listing.stdout.decode().splitlines()
                    if '"vellumshot.exe"' in line and size in line]
    raise AssertionError("xwininfo could not list the windows")


def overlay_windows():
    """The X windows of Vellumshot that cover the whole screen."""
    return own_windows(f"{SCREEN_W}x{SCREEN_H}+0+0")


def dialog(window_class="VLS_HkDlg"):
    """A visible window of the class (the hotkey dialog unless told otherwise) as
    window_texts reports it: {"window": (rect, text), "client": rect, id: (rect, text)},
    or None when it is not showing."""
    result = run([window_class], exe=os.path.join(TOOLS, "window_texts.exe"))
    if result.code != 0:
        return None
    info = {}
    for line in result.out.decode("utf-8").splitlines():
        kind, rest = line.split(" ", 1)
        if kind == "foreground":
            info[kind] = rest == "1"
            continue
        if kind == "child":
            ident, rest = rest.split(" ", 1)
            kind = int(ident)
        fields = rest.split(" ", 4)
        rect = tuple(int(v) for v in fields[:4])
        info[kind] = (rect, fields[4] if len(fields) > 4 else "")
    return info


def press_hotkey():
    """Ctrl+Shift+A with the pointer over Wine's tray window, where keys reach Wine."""
    x, y, w, h = tray_window()
    point_at(tray_window_id(), x + w - 4, y + h // 2)
    xdotool("key", "ctrl+shift+a")


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def hotkey_free(modifiers, vk):
    """Whether another program could register the combination now."""
    return run([str(modifiers), hex(vk)], exe=os.path.join(TOOLS, "hotkey_check.exe")).code == 0


def overlay_shown(picture_rgb):
    """Whether the screen is a dimmed copy of the picture: the overlay covers it."""
    now = read_root()
    step = len(now) // 3 // 997 * 3
    before = sum(picture_rgb[i] for i in range(0, len(picture_rgb), step))
    after = sum(now[i] for i in range(0, len(now), step))
    return after < before * 0.8


def start_default_tray():
    """A tray instance with the default hotkey (other modules may have stored another),
    started over the test picture; fails when its icon never appears."""
    import harness
    import tempfile
    reg("delete", SETTINGS_KEY, "/f")
    harness.paint_root(harness.test_picture())
    tray = Tray(tempfile.mkdtemp(prefix="vls-"))
    if tray.icon is None:
        tray.stop()
        raise AssertionError("the tray icon never appeared")
    return tray


shared = None  # the tray a test module's tests share, between the two functions below


def setUpModule():
    """A test module that imports this and tearDownModule shares one default tray,
    `tray.shared`, among its tests."""
    global shared
    shared = start_default_tray()


def tearDownModule():
    shared.stop()
    import shutil
    shutil.rmtree(shared.cwd, True)
