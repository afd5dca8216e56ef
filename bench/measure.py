"""Runs the command-line benchmark in one test session and prints its figures, or prints
the table of several sessions' figures.

  measure.py run SESSION_ENV BUILD NATIVE_DIR WORKDIR RUNS PICTURE > results.txt
  measure.py table results-1.txt results-2.txt ...

A result line is "name median_ms min_ms [bytes]"; "size W H" names the screen.
The in-process programs run ROUNDS times with RUNS runs each; whole processes as often."""
import os
import shlex
import statistics
import subprocess
import sys
import time

ROUNDS = 3


def session_env(path):
    env = dict(os.environ)
    with open(path) as f:
        for line in f:
            if line.startswith("export "):
                key, _, value = line[len("export "):].strip().partition("=")
                env[key] = shlex.split(value)[0] if value else ""
    return env


def run(session_file, build, native_dir, workdir, runs, picture):
    build, native_dir, workdir = (os.path.abspath(p) for p in (build, native_dir, workdir))
    env = session_env(session_file)
    wine = env["VLS_WINE"]
    os.makedirs(workdir, exist_ok=True)
    samples, sizes = {}, {}

    def collect(text):
        for line in text.replace("\r", "").split("\n"):
            parts = line.split()
            if len(parts) > 2 and parts[0] != "size":
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
        native("deflate_only", ["deflate_native", pixels, size[0], size[1], str(runs)])
        for name in ("deflate_built", "deflate_packaged"):
            windows(name, [name, "pixels.bgrx", size[0], size[1], str(runs)])
    lines = [f"size {size[0]} {size[1]}"]
    for name, values in samples.items():
        line = f"{name} {statistics.median(values):.2f} {min(values):.2f}"
        lines.append(line + (f" {sizes[name]}" if name in sizes else ""))

    # Whole processes, timed from here as a script would see them, taken in turns so that
    # a burst of load elsewhere spreads over all three.
    exe = os.path.join(build, "Vellumshot.exe")
    commands = {
        "process_floor": [os.path.join(build, "bench", "grab_floor.exe")],
        "process_png": [exe, "screenshot", "-o", "x.png"],
        "process_bmp": [exe, "screenshot", "-o", "x.bmp"],
    }
    times = {name: [] for name in commands}
    with open(os.path.join(workdir, "stdout.txt"), "wb") as log:
        for i in range(runs * ROUNDS + 1):
            for name, args in commands.items():
                start = time.perf_counter()
                code = subprocess.call([wine] + args, cwd=workdir, env=env,
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=log)
                elapsed = (time.perf_counter() - start) * 1000
                if code != 0:
                    sys.exit(f"{name} failed with exit code {code}")
                if i > 0:  # the first round only warms the file cache
                    times[name].append(elapsed)
    # Figures for a screen other than the picture (a black one compresses far better) would
    # mean nothing: every file must hold exactly the picture's pixels.
    for name in ("bench.png", "bench.bmp", "x.png", "x.bmp", "native.png"):
        differing = subprocess.run(["compare", "-metric", "AE", os.path.join(workdir, name), picture,
                                    "null:"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
                                   ).stderr.decode().strip()
        if differing != "0":
            sys.exit(f"{name} differs from the picture in {differing} pixels")
    for name, values in times.items():
        lines.append(f"{name} {statistics.median(values):.2f} {min(values):.2f}")
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
    ("native_png", "native libpng encode (yardstick)"),
    ("write_bmp", "write_bmp"),
    ("bgrx_to_rgba", "bgrx_to_rgba"),
    ("deflate_native", "deflate only, Debian's native zlib"),
    ("deflate_built", "deflate only, zlib from scripts/build-zlib.sh"),
    ("deflate_packaged", "deflate only, MinGW's packaged zlib"),
    ("process_floor", "grab-only process (floor)"),
    ("process_png", "`screenshot -o x.png` process"),
    ("process_bmp", "`screenshot -o x.bmp` process"),
]


def table(paths):
    results = [load(p) for p in paths]
    sizes = ["x".join(r["size"]) for r in results]
    print("| ms, median / min | " + " | ".join(sizes) + " |")
    print("| --- |" + " --- |" * len(sizes))
    for key, label in ROWS:
        cells = []
        for r in results:
            v = r[key]
            cell = f"{float(v[0]):.1f} / {float(v[1]):.1f}"
            if len(v) > 2:
                cell += f" ({int(v[2]) / 1e6:.2f} MB)"
            cells.append(cell)
        print(f"| {label} | " + " | ".join(cells) + " |")

    def ratio(r, i):
        png, native = float(r["write_png"][i]), float(r["native_png"][i])
        conv = float(r["bgrx_to_rgba"][i])
        whole = float(r["process_png"][i])
        floor = float(r["process_floor"][i])
        return png / native, conv / png, whole / (floor + native)

    goals = [("write_png / native encode", 1.15, "{:.2f}x"),
             ("bgrx_to_rgba / write_png", 0.10, "{:.0%}"),
             ("PNG process / (floor + native encode)", 1.10, "{:.2f}x")]
    print()
    print("| goal (median / min) | " + " | ".join(sizes) + " |")
    print("| --- |" + " --- |" * len(sizes))
    for g, (label, limit, fmt) in enumerate(goals):
        cells = []
        for r in results:
            med, low = ratio(r, 0)[g], ratio(r, 1)[g]
            verdict = "met" if low <= limit else "missed"
            cells.append(f"{fmt.format(med)} / {fmt.format(low)} {verdict}")
        print(f"| {label} <= {fmt.format(limit)} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    if sys.argv[1] == "run":
        run(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5], int(sys.argv[6]), sys.argv[7])
    else:
        table(sys.argv[2:])
