"""Helpers for the tray end-to-end tests: start Vellumshot.exe without arguments, find its
icon in Wine's own notification window (shown when no X system tray runs), open the context
menu with a right click, choose items with the keyboard and read the hotkey dialog.

The session's window manager decorates Wine's tray window (its position is read in screen
coordinates) and gives the keyboard focus to each new window and to the window under the
pointer. Wine's menus are unmanaged X windows, which no window manager focuses: the menu
is given the focus as the program's own SetForegroundWindow gives it on Windows."""
import os
import shutil
import subprocess
import tempfile

import harness
from harness import (ENV, EXE, SETTINGS_KEY, TOOLS, focused_window, point_at, read_root, reg, run,
                     settled_screen, start, tool, wait_for, window_area, SCREEN_W, SCREEN_H)
from screen import same_picture

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Menu rows reached with Down from a menu that has no selection yet (separators skipped).
MENU_SCREENSHOT, MENU_AUTOSTART, MENU_HOTKEY, MENU_LANGUAGE, MENU_ABOUT, MENU_EXIT = range(1, 7)
# The hotkey dialog's controls.
IDOK, IDCANCEL, PROMPT, KEY_NAME = 1, 2, 100, 101


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], env=ENV, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode()


def tray_window_id():
    ids = xdotool("search", "--onlyvisible", "--name", "Wine System Tray").split()
    return ids[0] if ids else None


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
        self.hotkey_touched = False  # the hotkey dialog was opened: the hotkey may differ
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
        self.hotkey_touched |= row == MENU_HOTKEY
        self.open_menu()
        xdotool("key", *(["Down"] * row), "Return")
        self.wait_menu_closed()

    def close_menu(self):
        xdotool("key", "Escape")
        self.wait_menu_closed()

    def double_click_icon(self):
        self.point_at_icon()
        xdotool("click", "--repeat", 2, "--delay", 80, 1)

    def open_hotkey_dialog(self):
        """Opens the hotkey dialog from the menu and returns what it shows. The pointer stays
        on the tray icon: the dialog must take the keyboard itself when it opens, as on
        Windows."""
        self.choose(MENU_HOTKEY)
        shown = wait_for(dialog)
        if shown is None:
            raise AssertionError("the hotkey dialog did not open")
        titled = lambda: xdotool("getwindowname", focused_window()).strip() == "Hotkey Settings"
        if not wait_for(titled, timeout=5):
            raise AssertionError("the dialog did not take the keyboard")
        # Keys typed before Wine itself has made the dialog the foreground window still go
        # to the window that had it. Wine now and then leaves the foreground behind the X
        # focus (its SetForegroundWindow races the window manager's own activation); a
        # click on the dialog's prompt then activates it, as a user's would.
        foreground = lambda: (dialog() or {}).get("foreground")
        if not wait_for(foreground, timeout=3):
            xdotool("mousemove", *centre(dialog()[PROMPT][0]), "click", 1)
        if not wait_for(foreground, timeout=5):
            raise AssertionError("the dialog did not become the foreground window")
        return shown

    def clear(self):
        """Whether the instance is as a new one would be once what it shows has closed (a
        test may end on the Esc that closes it). A test that failed may have left a window
        open, and the hotkey dialog may have given it another hotkey: a new instance is
        quicker than closing the one or setting Ctrl+Shift+A back through the other."""
        if not wait_for(lambda: not visible_windows(), timeout=3):
            print(f"\nwindows left open: {visible_windows()}", flush=True)
            return False
        if self.hotkey_touched:
            if hotkey_free(6, 0x41):
                return False
            reg("delete", SETTINGS_KEY, "/f")
            self.hotkey_touched = False
        return True

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


def visible_windows():
    """The program's X windows that are on the screen."""
    return xdotool("search", "--onlyvisible", "--classname", "^vellumshot\\.exe$").split()


def start_default_tray():
    """A tray instance with the default hotkey (other modules may have stored another),
    started over the test picture; fails when its icon never appears."""
    reg("delete", SETTINGS_KEY, "/f")
    harness.paint_root(harness.test_picture())
    tray = Tray(tempfile.mkdtemp(prefix="vls-"))
    if tray.icon is None:
        tray.stop()
        raise AssertionError("the tray icon never appeared")
    return tray


_shared = None  # the default tray the tests of a module share


def shared_tray():
    """The module's shared default tray, cleared of what the last test left: started anew
    when there is none yet, it has gone, it left a window open or its hotkey may have
    changed."""
    global _shared
    if _shared is not None and _shared.running() and _shared.clear():
        return _shared
    stop_shared_tray()
    _shared = start_default_tray()
    return _shared


def stop_shared_tray():
    """Ends the shared tray, for a test that needs its own instance, and at a module's end."""
    global _shared
    if _shared is not None:
        _shared.stop()
        shutil.rmtree(_shared.cwd, True)
        _shared = None


def tearDownModule():
    """A test module that imports this ends the shared tray after its last test."""
    stop_shared_tray()


class SharedTrayTest(harness.SessionTest):
    """Base for tests on the module's shared tray (`self.tray`), each begun on the test
    picture (`original`, as the screen showed it when the class began) with nothing of the
    tray's over it."""

    @classmethod
    def setUpClass(cls):
        shared_tray()
        cls.original = read_root()

    def setUp(self):
        super().setUp()
        self.tray = shared_tray()
        self.screen_when(lambda r: same_picture(r, self.original),
                         "the screen is not the test picture", timeout=10)
