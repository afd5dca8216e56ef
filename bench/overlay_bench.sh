#!/usr/bin/env bash
# Runs the overlay benchmark under Wine on a private Xvfb at 1920x1080 and 3840x2160,
# with a picture on the screen. Builds it in the Windows build tree first.
# Usage: bench/overlay_bench.sh [--loaded] [rounds]
# Like scripts/bench.sh it refuses to start when the load average over the last minute is
# above 1.0, unless --loaded is given (figures not for the docs).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--loaded" ]; then
  shift
elif awk -v l="$(cut -d' ' -f1 /proc/loadavg)" 'BEGIN { exit !(l > 1.0) }'; then
  echo "overlay_bench.sh: the load average is above 1.0: run it on a quiet machine, or" \
    "with --loaded for figures that are not for the docs." >&2
  exit 2
fi
bench="$repo/build/windows/bench/overlay_bench.exe"
"$repo/scripts/build.sh" windows > /dev/null
cmake --build "$repo/build/windows" --target overlay_bench > /dev/null
rounds=${1:-20}
for size in 1920x1080 3840x2160; do
  session="$repo/build/windows/bench-session-$size"
  "$repo/tests/session.sh" start "$session" "$size" > /dev/null
  trap '"$repo/tests/session.sh" stop "$session"' EXIT
  # shellcheck disable=SC1091
  . "$session/session.env"
  convert -size 640x360 gradient:'#2a6fdb-#f48542' -resize "${size}!" -depth 8 "$session/picture.ppm"
  display -window root "$session/picture.ppm" > /dev/null 2>&1 || true
  "$VLS_WINE" "$bench" "$rounds"
  echo
  "$repo/tests/session.sh" stop "$session"
  trap - EXIT
done
