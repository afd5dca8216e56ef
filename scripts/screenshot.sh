#!/usr/bin/env bash
# Installs what is missing, builds Vellumshot.exe and takes a screenshot with it under
# Wine: on $DISPLAY when there is one, else on a private X display showing a sample
# picture. Leaves the PNG in the current directory and prints the program's own line.
# Usage: screenshot.sh [screenshot options...]   (default: a full-screen PNG)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out_dir=$PWD
"$repo/scripts/install-deps.sh"
"$repo/scripts/build.sh" windows > "$repo/build/windows-build.log" 2>&1 \
  || { cat "$repo/build/windows-build.log"; exit 1; }
session="$repo/build/windows/run-session"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  VLS_USE_DISPLAY=$DISPLAY "$repo/tests/session.sh" start "$session" > /dev/null
  trap '"$repo/tests/session.sh" stop "$session"' EXIT
else
  "$repo/tests/session.sh" start "$session" > /dev/null
  trap '"$repo/tests/session.sh" stop "$session"' EXIT
  # An empty X screen is black; show something worth capturing.
  . "$session/session.env"
  convert -size 640x360 gradient:'#2a6fdb-#f48542' -gravity center -pointsize 48 \
    -fill white -annotate 0 'Vellumshot' -resize "${VLS_SCREEN}!" -depth 8 "$session/sample.ppm"
  display -geometry +0+0 -borderwidth 0 "$session/sample.ppm" </dev/null >/dev/null 2>&1 &
  painter=$!
  trap 'kill $painter 2>/dev/null; "$repo/tests/session.sh" stop "$session"' EXIT
  sleep 2
fi
. "$session/session.env"
cd "$out_dir"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(screenshot)
status=0
"$VLS_WINE" "$repo/build/windows/Vellumshot.exe" "${args[@]}" || status=$?
exit $status
