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
cmake --build --preset windows --target Vellumshot vls_bench grab_floor \
  deflate_built deflate_packaged > /dev/null
native_dir=build/bench-native
mkdir -p "$native_dir"
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$native_dir/native_png" bench/native_png.cpp -lpng -lz
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$native_dir/deflate_only" bench/deflate_only.cpp -lz

results=()
for size in 1920x1080 3840x2160; do
  dir=build/windows/bench-$size
  mkdir -p "$dir"
  picture=$dir/desktop.ppm
  [ -f "$picture" ] || bench/desktop_picture.sh "${size%x*}" "${size#*x}" "$picture"
  painter=
  trap 'kill $painter 2>/dev/null; tests/session.sh stop "$dir" >/dev/null' EXIT
  tests/session.sh start "$dir" "$size" >/dev/null
  # The picture in a plain full-screen window (no window manager runs): a root window
  # background would be dropped whenever the X server resets between clients.
  (. "$dir/session.env" && exec display -geometry +0+0 -borderwidth 0 "$picture" \
    </dev/null >/dev/null 2>&1) &
  painter=$!
  expected=$(convert "$picture" -crop 64x1+0+0 -depth 8 rgb:- | od -An -tx1)
  for _ in $(seq 150); do
    shown=$(. "$dir/session.env" && import -window root -crop 64x1+0+0 -depth 8 rgb:- | od -An -tx1)
    [ "$shown" = "$expected" ] && break
    sleep 0.1
  done
  [ "$shown" = "$expected" ] || { echo "the picture did not appear on the screen" >&2; exit 1; }
  python3 bench/measure.py run "$dir/session.env" build/windows "$native_dir" \
    "$dir/work" "$runs" "$picture" >"$dir/results.txt"
  kill $painter
  tests/session.sh stop "$dir" >/dev/null
  trap - EXIT
  results+=("$dir/results.txt")
done
python3 bench/measure.py table "${results[@]}"
