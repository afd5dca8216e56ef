#!/usr/bin/env bash
# Installs what is missing, builds Vellumshot.exe and takes a screenshot with it under
# Wine: on $DISPLAY when there is one, else on a private X display showing a sample
# picture. Leaves the PNG in the current directory and prints the program's own line;
# what the script itself is doing goes to standard error.
# Usage: screenshot.sh [screenshot options...]   (default: a full-screen PNG)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out_dir=$PWD
say() { echo "== $*" >&2; }
say "checking the Debian packages Vellumshot needs"
"$repo/scripts/install-deps.sh" >&2
mkdir -p "$repo/build"
log="$repo/build/windows-build.log"
say "building Vellumshot.exe (the first build also compiles libdeflate; log in $log)"
"$repo/scripts/build.sh" windows > "$log" 2>&1 || { cat "$log" >&2; exit 1; }
session="$repo/build/windows/run-session"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  say "using the display $DISPLAY"
  VLS_USE_DISPLAY=$DISPLAY "$repo/tests/session.sh" start "$session" > /dev/null
  trap '"$repo/tests/session.sh" stop "$session"' EXIT
else
  say "starting a private X display with a sample picture"
  "$repo/tests/session.sh" start "$session" > /dev/null
  trap '"$repo/tests/session.sh" stop "$session"' EXIT
  # An empty X screen is black; show something worth capturing, on the root window.
  . "$session/session.env"
  convert -size 640x360 gradient:'#2a6fdb-#f48542' -gravity center -pointsize 48 \
    -fill white -annotate 0 'Vellumshot' -resize "${VLS_SCREEN}!" -depth 8 "$session/sample.ppm"
  display -window root "$session/sample.ppm" </dev/null >/dev/null 2>&1 || true
  want=$(convert "$session/sample.ppm" -depth 8 rgb:- | md5sum)
  for _ in $(seq 50); do
    [ "$(import -window root -depth 8 rgb:- | md5sum)" = "$want" ] && break
    sleep 0.1
  done
fi
. "$session/session.env"
say "taking the screenshot into $out_dir"
cd "$out_dir"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(screenshot)
status=0
"$VLS_WINE" "$repo/build/windows/Vellumshot.exe" "${args[@]}" || status=$?
exit $status
