#!/usr/bin/env bash
# Remakes the README's pictures (docs/overlay.png, docs/pin.png) from the real program under
# Wine on a private X display showing a desktop-like picture.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/install-deps.sh"
mkdir -p "$repo/build"
echo "Building Vellumshot.exe (log: build/windows-build.log)" >&2
"$repo/scripts/build.sh" windows > "$repo/build/windows-build.log" 2>&1 \
  || { cat "$repo/build/windows-build.log"; exit 1; }
session="$repo/build/windows/pictures-session"
"$repo/tests/session.sh" start "$session" > /dev/null
trap '"$repo/tests/session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/session.env"
"$repo/bench/desktop_picture.sh" 1920 1080 "$session/desktop.ppm"
mkdir -p "$repo/docs"
cd "$repo/tests/e2e"
VLS_SESSION="$session/session.env" VLS_BUILD="$repo/build/windows" PYTHONDONTWRITEBYTECODE=1 \
  python3 readme_pictures.py "$repo/docs" "$session/desktop.ppm"
