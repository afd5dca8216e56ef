"""Runs the command-line benchmark in one test session and prints its figures, or prints
the tables of several sessions' figures.

  measure.py run [--loaded] SESSION_ENV BUILD NATIVE_DIR WORKDIR RUNS PICTURE > results.txt
  measure.py table results-1.txt results-2.txt ...

A run stops (exit 3) when another process used a core while it measured (see Quiet);
with --loaded it carries on and its figures are marked "(loaded)".

A result line is "name median_ms min_ms [bytes]"; "size W H" names the screen,
"peak_kib EXTRA ALLOCATED" the native encode's memory, "ratio_png_scrot MEDIAN MIN" the
pairwise ratios of the PNG command to scrot, "ratio_png_bmp MEDIAN MIN" those of the PNG
command to the BMP command, "others_cores WORST" the most of a core other processes used
in any stretch, "loaded 1" a run made with --loaded, "memory_ROUTE GRAB_COMMITTED
GRAB_ALLOCATED WRITE_COMMITTED WRITE_ALLOCATED" bench/route_memory.cpp's figures in images. The in-process programs run ROUNDS times
with RUNS runs each; whole processes ROUNDS x RUNS times, in turns."""
import os
import shlex
import statistics
import subprocess
import sys
import time

ROUNDS = 3
LEVELS = range(1, 7)
# Other processes using more than this share of one core, averaged over a stretch of the
# run, make it a loaded run.
OTHERS_LIMIT = 0.15
TICK = os.sysconf("SC_CLK_TCK")


def busy_ticks():
    """The machine's busy time, all cores: user, nice, system, irq, softirq, steal."""
    with open("/proc/stat") as f:
        fields = [int(v) for v in f.readline().split()[1:9]]
    return sum(fields) - fields[3] - fields[4]  # less idle and iowait


def process_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


class Quiet:
    """Finds time other processes spent on the cores while the benchmark ran. Sampled only
    between runs, when no benchmark program is alive: the machine's busy time since the last
    sample (/proc/stat), less the CPU time of our own processes over the same stretch, is
    what others used. Ours are this script and the programs it ran and reaped (os.times)
    and the session: Xvfb, openbox, and every process of the session's Wine prefix
    (wineserver, Wine's services and desktop), found by WINEPREFIX in /proc/PID/environ."""

    def __init__(self, env):
        self.prefix = ("WINEPREFIX=" + env["WINEPREFIX"]).encode()
        self.pids = {env.get("VLS_XVFB_PID"), env.get("VLS_WM_PID")} - {None, ""}
        self.worst = 0.0
        self.last = self.sample()

    def ours(self, pid):
        if pid in self.pids:
            return True
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                return self.prefix in f.read().split(b"\0")
        except OSError:
            return False

    def sample(self):
        session = {}
        for pid in filter(str.isdigit, os.listdir("/proc")):
            if self.ours(pid):
                try:
                    session[pid] = process_ticks(pid)
                except OSError:
                    pass
        t = os.times()
        own = (t.user + t.system + t.children_user + t.children_system) * TICK
        return time.monotonic(), busy_ticks(), own, session

    def check(self):
        """Takes a sample and keeps the share of a core others used since the last one."""
        now = self.sample()
        wall, busy, own, session = now[0] - self.last[0], now[1] - self.last[1], now[2] - self.last[2], now[3]
        # A session process that appeared since the last sample counts from nothing.
        own += sum(ticks - self.last[3].get(pid, 0) for pid, ticks in session.items())
        self.last = now
        if wall > 0.5:
            self.worst = max(self.worst, (busy - own) / TICK / wall)

    def loaded(self):
        return self.worst > OTHERS_LIMIT


def session_env(path):
    env = dict(os.environ)
    with open(path) as f:
        for line in f:
            if line.startswith("export "):
                key, _, value = line[len("export "):].strip().partition("=")
                env[key] = shlex.split(value)[0] if value else ""
    return env


def run(session_file, build, native_dir, workdir, runs, picture, loaded):
    build, native_dir, workdir = (os.path.abspath(p) for p in (build, native_dir, workdir))
    env = session_env(session_file)
    quiet = Quiet(env)

    def check_quiet():
        quiet.check()
        if quiet.loaded() and not loaded:
            sys.exit(f"another process used {quiet.worst:.2f} of a core during the benchmark "
                     f"(more than {OTHERS_LIMIT}): no figures from a busy machine. Run it on a "
                     "quiet machine, or with --loaded for figures marked as loaded.")
    wine = env["VLS_WINE"]
    os.makedirs(workdir, exist_ok=True)
    samples, sizes, extra = {}, {}, []

    def collect(text):
        for line in text.replace("\r", "").split("\n"):
            parts = line.split()
            if parts and parts[0] == "peak_kib":
                extra.append(line)
            elif len(parts) > 2 and parts[0] != "size":
                samples.setdefault(parts[0], []).extend(float(t) for t in parts[2:])
                if int(parts[1]) >= 0:
                    sizes[parts[0]] = parts[1]
        return text

    def windows(name, args):
        # Output to a file, never a pipe: Wine's background processes could inherit it.
        path = os.path.join(workdir, name + ".txt")
        with open(path, "wb") as out:
            subprocess.run([wine, os.path.join(build, "bench", name + ".exe")] + args, cwd=workdir,
                           env=env, stdin=subprocess.DEVNULL, check=True, stdout=out,
                           stderr=subprocess.DEVNULL)
        with open(path) as f:
            return collect(f.read())

    def native(name, args):
        return collect(subprocess.run([os.path.join(native_dir, name)] + args, check=True,
                                      stdout=subprocess.PIPE).stdout.decode())

    # The in-process figures in rounds, each program in turn, so that a busy spell on the
    # machine falls on all of them rather than on one.
    pixels = os.path.join(workdir, "pixels.bgrx")
    size = []
    for _ in range(ROUNDS):
        out = windows("vls_bench", [str(runs)])
        size = next(l for l in out.split("\n") if l.startswith("size ")).split()[1:3]
        native("native_png", [pixels, size[0], size[1], str(runs),
                              os.path.join(workdir, "native.png")])
        native("native_deflate", [pixels, size[0], size[1], str(runs),
                                  os.path.join(workdir, "native_deflate.png")])
        check_quiet()
    lines = [f"size {size[0]} {size[1]}", extra[0]]
    for name, values in samples.items():
        line = f"{name} {statistics.median(values):.2f} {min(values):.2f}"
        lines.append(line + (f" {sizes[name]}" if name in sizes else ""))

    # Whole processes, timed from here as a script would see them, taken in turns so that
    # a burst of load elsewhere spreads over all of them. scrot grabs the same display.
    exe = os.path.join(build, "Vellumshot.exe")
    commands = {
        "process_floor": [wine, os.path.join(build, "bench", "grab_floor.exe")],
        "process_png": [wine, exe, "screenshot", "-o", "x.png"],
        "process_bmp": [wine, exe, "screenshot", "-o", "x.bmp"],
        "process_scrot": ["scrot", "-o", "scrot.png"],
    }
    times = {name: [] for name in commands}
    with open(os.path.join(workdir, "stdout.txt"), "wb") as log:
        for i in range(runs * ROUNDS + 1):
            for name, args in commands.items():
                start = time.perf_counter()
                code = subprocess.call(args, cwd=workdir, env=env,
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=log)
                elapsed = (time.perf_counter() - start) * 1000
                if code != 0:
                    sys.exit(f"{name} failed with exit code {code}")
                if i > 0:  # the first round only warms the file cache
                    times[name].append(elapsed)
            check_quiet()
    # Figures for a screen other than the picture (a black one compresses far better) would
    # mean nothing: every file must hold exactly the picture's pixels.
    for name in ("bench.png", "bench.bmp", "x.png", "x.bmp", "native.png", "native_deflate.png",
                 "scrot.png"):
        differing = subprocess.run(["compare", "-metric", "AE", os.path.join(workdir, name), picture,
                                    "null:"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
                                   ).stderr.decode().strip()
        if differing != "0":
            sys.exit(f"{name} differs from the picture in {differing} pixels")
    for name, values in times.items():
        lines.append(f"{name} {statistics.median(values):.2f} {min(values):.2f}")
    ratios = [png / scrot for png, scrot in zip(times["process_png"], times["process_scrot"])]
    lines.append(f"ratio_png_scrot {statistics.median(ratios):.3f} {min(ratios):.3f}")
    ratios = [png / bmp for png, bmp in zip(times["process_png"], times["process_bmp"])]
    lines.append(f"ratio_png_bmp {statistics.median(ratios):.3f} {min(ratios):.3f}")
    lines.append(f"others_cores {quiet.worst:.3f}")
    if loaded:
        lines.append("loaded 1")
    # What each route commits beyond the grabbed image, one process a route.
    for route in ("png", "bmp", "save"):
        path = os.path.join(workdir, f"route_{route}.txt")
        with open(path, "wb") as out:
            subprocess.run([wine, os.path.join(build, "bench", "route_memory.exe"), route],
                           cwd=workdir, env=env, stdin=subprocess.DEVNULL, check=True, stdout=out,
                           stderr=subprocess.DEVNULL)
        with open(path) as f:
            lines.append(f.read().replace("\r", "").strip())
    for name in ("x.png", "scrot.png"):
        lines.append(f"bytes_{name.split('.')[0]} 0 0 {os.path.getsize(os.path.join(workdir, name))}")
    print("\n".join(lines))


def load(path):
    result = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts:
                result[parts[0]] = parts[1:]
    return result


ROWS = [
    ("capture_screen", "capture_screen (in process)"),
    ("write_png", "write_png"),
    ("native_png", "native libpng encode, zlib level 1 (yardstick)"),
    ("native_deflate", "native libdeflate encode, same rows and level"),
    ("filter_rows_sub", "filter_rows_sub (conversion and Sub filter)"),
    ("deflate_only", "libdeflate alone on the filtered rows (under Wine)"),
    ("write_bmp", "write_bmp"),
    ("process_floor", "grab-only process (floor)"),
    ("process_png", "`screenshot -o x.png` process"),
    ("process_bmp", "`screenshot -o x.bmp` process"),
    ("process_scrot", "`scrot` process"),
]

# The PNG bytes the writer made over libpng and zlib at level 1 on this picture: the native
# libpng yardstick's settings are the old writer's, so it makes the same bytes.
OLD_BYTES = "native_png"


def cell(v, with_bytes=True):
    text = f"{float(v[0]):.1f} / {float(v[1]):.1f}"
    if with_bytes and len(v) > 2:
        text += f" ({int(v[2]) / 1e6:.2f} MB)"
    return text


def verdict(value, limit):
    return "met" if value <= limit else "missed"


def table(paths):
    results = [load(p) for p in paths]
    # Figures from a run that other processes disturbed say so in every cell.
    mark = " (loaded)" if any("loaded" in r for r in results) else ""
    sizes = ["x".join(r["size"]) for r in results]
    head = lambda first: (f"| {first} | " + " | ".join(sizes) + " |\n| --- |" + " --- |" * len(sizes))
    if mark:
        print("LOADED: other processes used the cores (scripts/bench.sh --loaded); these figures "
              "are not for the docs.\n")
    print(head("ms, median / min"))
    for key, label in ROWS:
        print(f"| {label} | " + " | ".join(cell(r[key]) + mark for r in results) + " |")
    print("| most of a core other processes used in a stretch | "
          + " | ".join(f"{float(r['others_cores'][0]):.2f}" for r in results) + " |")

    print()
    print(head("encode_png at level, ms median / min (bytes)"))
    for level in LEVELS:
        cells = [f"{cell(r[f'level_{level}'], False)} ({int(r[f'level_{level}'][2]):,} B){mark}"
                 for r in results]
        print(f"| {level} | " + " | ".join(cells) + " |")
    for r, s in zip(results, sizes):
        fastest = min(LEVELS, key=lambda l: float(r[f"level_{l}"][0]))
        print(f"\nfastest by median at {s}: level {fastest}", end="")
    print()

    # Each goal is a ratio of two things measured in the same run.
    print()
    print(head("goal (ratio of two figures of the same run)"))
    rows = []
    cells = []
    for r in results:
        med, low = float(r["ratio_png_bmp"][0]), float(r["ratio_png_bmp"][1])
        cells.append(f"{med:.2f}x (min {low:.2f}x) {verdict(med, 1.05)}{mark}")
    rows.append(("PNG command / BMP command, median of pairwise ratios <= 1.05", cells))
    cells = []
    for r in results:
        ratio = float(r["level_1"][0]) / float(r["deflate_only"][0])
        cells.append(f"{ratio:.2f}x {verdict(ratio, 1.3)}{mark}")
    rows.append(("encode_png / libdeflate alone on its rows, same process, medians <= 1.3", cells))
    cells = []
    for r in results:
        med, low = float(r["ratio_png_scrot"][0]), float(r["ratio_png_scrot"][1])
        cells.append(f"{med:.2f}x (min {low:.2f}x) {'met' if med < 1.0 else 'missed'}{mark}")
    rows.append(("PNG command / scrot, median of pairwise ratios < 1.0 (stretch, at 4K)", cells))
    cells = []
    for r in results:
        ratio = float(r["write_png"][0]) / float(r["native_png"][0])
        cells.append(f"{ratio:.2f}x {verdict(ratio, 0.8)}{mark}")
    rows.append(("write_png / native libpng encode, medians <= 0.8", cells))
    cells = []
    for r in results:
        ratio = int(r["write_png"][2]) / int(r[OLD_BYTES][2])
        cells.append(f"{ratio:.3f}x {verdict(ratio, 0.9)}")
    rows.append(("PNG bytes / the old writer's (libpng, zlib level 1) <= 0.9x", cells))
    cells = [f"{int(r['bytes_x'][2]) / 1e6:.2f} / {int(r['bytes_scrot'][2]) / 1e6:.2f} MB" for r in results]
    rows.append(("PNG bytes, ours / scrot's", cells))
    cells = [f"{int(r['peak_kib'][0]) / 1024:.1f} MB resident ({int(r['peak_kib'][1]) / 1024:.1f} MB allocated){mark}"
             for r in results]
    rows.append(("memory one encode adds to the peak (native)", cells))
    cells = [f"{float(r['memory_png'][2]):.2f} ({float(r['memory_png'][3]):.2f} allocated) "
             f"{verdict(float(r['memory_png'][2]), 0.5)}{mark}" for r in results]
    rows.append(("PNG command: committed while encoding, above the grabbed image, images <= 0.5",
                 cells))
    for label, cells in rows:
        print(f"| {label} | " + " | ".join(cells) + " |")

    # Peak committed memory of each route above the grabbed image (bench/route_memory.cpp),
    # in images: polled committed private bytes, and (allocated) the program's own buffers.
    print()
    print(head("peak committed above the grabbed image, in images"))
    both = lambda v, a: f"{float(v):.2f} ({float(a):.2f} allocated){mark}"
    for key, label in (("memory_png", "`screenshot -o x.png`"), ("memory_bmp", "`screenshot -o x.bmp`")):
        print(f"| {label}: grab | " + " | ".join(both(*r[key][0:2]) for r in results) + " |")
        print(f"| {label}: write | " + " | ".join(both(*r[key][2:4]) for r in results) + " |")
    print("| overlay: opening, all it holds | "
          + " | ".join(both(*r["memory_save"][0:2]) for r in results) + " |")
    print("| overlay's Save of the whole screen, above the open overlay | "
          + " | ".join(both(*r["memory_save"][2:4]) for r in results) + " |")


if __name__ == "__main__":
    if sys.argv[1] == "run":
        loaded = sys.argv[2] == "--loaded"
        args = sys.argv[2 + loaded:]
        run(args[0], args[1], args[2], args[3], int(args[4]), args[5], loaded)
    else:
        table(sys.argv[2:])
