#!/usr/bin/env bash
# Benchmarks the command-line screenshot at 1920x1080 and 3840x2160 under Wine and prints
# a table: the in-process steps, the whole processes, and two yardsticks (Debian's native
# libpng encoding the same pixels, a Windows program that only grabs the screen).
# Usage: scripts/bench.sh [RUNS]   (default 15; report the minimum when the machine is busy)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
runs=${1:-15}
scripts/install-deps.sh

# The benchmark programs are excluded from the normal build; name them here.
cmake --preset windows > /dev/null
cmake --build --preset windows --target Vellumshot vls_bench grab_floor > /dev/null
native_dir=build/bench-native
mkdir -p "$native_dir"
# shellcheck disable=SC2046
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$native_dir/native_png" bench/native_png.cpp \
  $(pkg-config --cflags --libs libpng zlib)

results=()
for size in 1920x1080 3840x2160; do
  dir=build/windows/bench-$size
  mkdir -p "$dir"
  picture=$dir/desktop.ppm
  [ -f "$picture" ] || bench/desktop_picture.sh "${size%x*}" "${size#*x}" "$picture"
  trap 'tests/session.sh stop "$dir" >/dev/null' EXIT
  tests/session.sh start "$dir" "$size" >/dev/null
  # display paints the root window and then reports failure here; its status means nothing.
  (. "$dir/session.env" && display -window root "$picture" >/dev/null 2>&1 || true)
  python3 bench/measure.py run "$dir/session.env" build/windows "$native_dir/native_png" \
    "$dir/work" "$runs" >"$dir/results.txt"
  tests/session.sh stop "$dir" >/dev/null
  trap - EXIT
  results+=("$dir/results.txt")
done
python3 bench/measure.py table "${results[@]}"
