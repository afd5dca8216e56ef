#!/usr/bin/env python3
"""Fails when source files under src/ call each other's functions in a circle.

Reads the built objects of the Windows build (every file of src/ is in it): a file
depends on another when its object uses a symbol that only the other's object defines.
Inline functions and templates, defined in every object that uses them, tie no file to
another. Prints the first circle found, each file with what it uses of the next, and the
number of files and edges read. Also fails when code outside src/main uses src/main for
anything but the output-naming rule.
Usage: check-cycles.py BUILD_DIR
"""
from graphlib import CycleError, TopologicalSorter
import pathlib
import subprocess
import sys

build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/windows")
repo = pathlib.Path(__file__).resolve().parent.parent
sources = set(
    subprocess.run(["git", "ls-files", "src/*.cpp"], cwd=repo, capture_output=True, text=True,
                   check=True).stdout.split())

objects = {}
for target in ("vls_core.dir", "vls_win.dir", "Vellumshot.dir"):
    for obj in (build / "CMakeFiles" / target).rglob("*.obj"):
        source = str(obj.relative_to(build / "CMakeFiles" / target))[: -len(".obj")]
        if source in sources:  # objects of files since moved or removed are left out
            objects[source] = obj
missing = sources - set(objects)
if missing:
    sys.exit("no object for " + ", ".join(sorted(missing)) + ": build first")

defined, used = {}, {}
for source, obj in objects.items():
    out = subprocess.run(["x86_64-w64-mingw32-nm", str(obj)], capture_output=True, text=True,
                         check=True).stdout
    defs, uses = set(), set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 2 and parts[0] == "U":
            uses.add(parts[1])
        elif len(parts) == 3 and parts[1] in "TDRB":
            defs.add(parts[2])
    used[source] = uses
    for name in defs:
        defined.setdefault(name, set()).add(source)

graph = {s: set() for s in objects}
why = {}  # (user, owner) -> the symbols that tie them
for source, uses in used.items():
    for name in uses:
        owners = defined.get(name, set())
        if len(owners) == 1 and source not in owners:
            owner = next(iter(owners))
            graph[source].add(owner)
            why.setdefault((source, owner), []).append(name)

# One circle at a time: graphlib names the files of the first it meets.
try:
    TopologicalSorter(graph).prepare()
    groups = []
except CycleError as error:
    # Listed so that each file is used by the next; turned round to read as "uses".
    groups = [list(reversed(error.args[1]))]

# The one use of src/main from below it: the output-naming rule (BMP or PNG by the name).
upward = sorted((a, b) for a, targets in graph.items() for b in targets
                if not a.startswith("src/main/") and b.startswith("src/main/")
                and b != "src/main/cli/output_naming.cpp")
for a, b in upward:
    print(f"upward: {a} uses {b}")

edges = sum(len(t) for t in graph.values())
for circle in groups:
    print("circle: " + " -> ".join(circle))
    for a, b in zip(circle, circle[1:]):
        names = subprocess.run(["c++filt"], input="\n".join(sorted(why[(a, b)])),
                               capture_output=True, text=True).stdout.split("\n")
        print(f"  {a} uses {b}: {', '.join(n for n in names if n)}")
print(f"{len(graph)} files, {edges} dependencies between them, {len(groups)} circles, "
      f"{len(upward)} uses of src/main from below it besides the output-naming rule")
sys.exit(1 if groups or upward else 0)
