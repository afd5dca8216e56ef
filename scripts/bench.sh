#!/usr/bin/env bash
# Benchmarks the command-line screenshot at 1920x1080 and 3840x2160 under Wine and prints
# tables: the in-process steps, the PNG encoder at libdeflate's levels 1 to 6, the whole
# processes against scrot on the same display, and yardsticks (Debian's native libpng and
# the program's encoder built natively over Debian's libdeflate, on the same pixels; a
# Windows program that only grabs the screen).
# Usage: scripts/bench.sh [--loaded] [RUNS]   (RUNS defaults to 15)
# Figures from a busy machine mean nothing: it refuses to start when the load average over
# the last minute is above 1.0, and stops when another process used a core while it
# measured (bench/measure.py's Quiet). With --loaded it runs anyway and marks every figure
# "(loaded)".
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
loaded=()
if [ "${1:-}" = "--loaded" ]; then
  loaded=(--loaded)
  shift
fi
runs=${1:-15}
load=$(cut -d' ' -f1 /proc/loadavg)
if [ ${#loaded[@]} -eq 0 ] && awk -v l="$load" 'BEGIN { exit !(l > 1.0) }'; then
  echo "bench.sh: the load average is $load (above 1.0): something else is running, and its" \
    "figures would mean nothing. Run it on a quiet machine, or with --loaded for figures" \
    "marked as loaded." >&2
  exit 2
fi
scripts/install-deps.sh

# The benchmark programs are excluded from the normal build; name them here.
cmake --preset windows > /dev/null
cmake --build --preset windows --target Vellumshot vls_bench grab_floor route_memory > /dev/null
native_dir=build/bench-native
mkdir -p "$native_dir"
g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$native_dir/native_png" bench/native_png.cpp -lpng -lz
g++ -std=c++20 -O2 -Wall -Wextra -Werror -Isrc -o "$native_dir/native_deflate" \
  bench/native_deflate.cpp src/capture/output/png_encoder.cpp src/capture/image/pixel_image.cpp \
  -ldeflate

results=()
for size in 1920x1080 3840x2160; do
  dir=build/windows/bench-$size
  mkdir -p "$dir"
  picture=$dir/desktop.ppm
  [ -f "$picture" ] || bench/desktop_picture.sh "${size%x*}" "${size#*x}" "$picture"
  trap 'tests/session.sh stop "$dir" >/dev/null' EXIT
  tests/session.sh start "$dir" "$size" >/dev/null
  # The picture as the root window's background, under every window: openbox, which the
  # session runs, keeps it painted (and keeps the X server from resetting). display exits
  # with 1 even when it set the picture: the screen read back decides.
  (. "$dir/session.env" && display -window root "$picture" </dev/null >/dev/null 2>&1) || true
  expected=$(convert "$picture" -depth 8 rgb:- | sha1sum)
  for _ in $(seq 150); do
    shown=$(. "$dir/session.env" && import -window root -depth 8 rgb:- | sha1sum)
    [ "$shown" = "$expected" ] && break
    sleep 0.1
  done
  [ "$shown" = "$expected" ] || { echo "the picture did not appear on the screen" >&2; exit 1; }
  python3 bench/measure.py run "${loaded[@]}" "$dir/session.env" build/windows "$native_dir" \
    "$dir/work" "$runs" "$picture" >"$dir/results.txt"
  tests/session.sh stop "$dir" >/dev/null
  trap - EXIT
  results+=("$dir/results.txt")
done
python3 bench/measure.py table "${results[@]}"
