#!/usr/bin/env bash
# Installs what is missing, builds Vellumshot.exe and starts it as the tray application
# under Wine, on $DISPLAY when there is one, else on a private X display (look at it with
# `import -window root`, or give VLS_USE_DISPLAY). Without an X system tray, Wine shows the
# icon in its own small "Wine System Tray" window: right-click it for the menu, double-click
# it to capture. Returns when the tray application ends (its menu's Exit, or Ctrl+C).
# Usage: tray.sh          LC_ALL=zh_CN.UTF-8 tray.sh   (Chinese interface)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
language=${LC_ALL:-C.UTF-8}
echo "== checking the Debian packages Vellumshot needs"
"$repo/scripts/install-deps.sh"
mkdir -p "$repo/build"
log="$repo/build/windows-build.log"
echo "== building Vellumshot.exe (the first build also compiles libdeflate; log in $log)"
"$repo/scripts/build.sh" windows > "$log" 2>&1 || { cat "$log"; exit 1; }
session="$repo/build/windows/tray-session"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  VLS_USE_DISPLAY=$DISPLAY "$repo/tests/session.sh" start "$session"
else
  "$repo/tests/session.sh" start "$session"
fi
trap '"$repo/tests/session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/session.env"
echo "Vellumshot runs in the tray on $DISPLAY; choose Exit in its menu to end it."
status=0
LC_ALL=$language "$VLS_WINE" "$repo/build/windows/Vellumshot.exe" || status=$?
exit $status
