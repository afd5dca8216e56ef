#!/usr/bin/env bash
# Starts or stops the private X display, its window manager and the persistent wineserver
# that the Wine tests share.
# Usage: session.sh start DIR [WIDTHxHEIGHT] | session.sh stop DIR
# With VLS_USE_DISPLAY set (to a display name such as :0), no X server or window manager
# is started and that display is used as it is.
# "start" writes DIR/session.env (DISPLAY, WINEPREFIX, ...) for tests/wine-run.sh and the
# end-to-end tests. Background processes get no pipes of ours, so nothing waiting for
# our output hangs on them.
set -euo pipefail
cmd=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
size=${3:-1920x1080}
env_file="$dir/session.env"
here=$(cd "$(dirname "$0")" && pwd)
wine_bin=$(command -v wine || command -v wine-stable || echo /usr/lib/wine/wine64)
wineserver_bin=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver64)

stop() {
  [ -f "$env_file" ] || return 0
  # shellcheck disable=SC1090
  . "$env_file"
  WINEPREFIX=$WINEPREFIX "$wineserver_bin" -k >/dev/null 2>&1 || true
  WINEPREFIX=$WINEPREFIX "$wineserver_bin" -w >/dev/null 2>&1 || true
  [ -n "${VLS_WM_PID:-}" ] && kill "$VLS_WM_PID" 2>/dev/null || true
  [ -n "${VLS_XVFB_PID:-}" ] && kill "$VLS_XVFB_PID" 2>/dev/null || true
  rm -f "$env_file"
}

case "$cmd" in
stop) stop ;;
start)
  stop
  prefix="$dir/wineprefix"
  if [ -n "${VLS_USE_DISPLAY:-}" ]; then
    display=$VLS_USE_DISPLAY
    xvfb_pid=
    wm_pid=
    size=$(xdpyinfo -display "$display" 2>/dev/null | awk '/dimensions:/{print $2}')
  else
    fdfile="$dir/xvfb.display"
    rm -f "$fdfile"
    # -displayfd picks a free display number and reports it once the server is ready.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" \
      </dev/null >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
    display=":$(tr -d '\n' <"$fdfile")"
    # A window manager, as on any desktop: without one Wine waits about 2 s for every
    # managed window it unmaps, and a picture on the root window is lost when a window
    # closes over it. openbox reads only the repo's file, not a user's configuration.
    DISPLAY=$display openbox --config-file "$here/openbox-rc.xml" \
      </dev/null >"$dir/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
      DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.1
    done
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
      || { echo "openbox did not start" >&2; kill "$wm_pid" "$xvfb_pid"; exit 1; }
  fi
  cat >"$env_file" <<ENV
export DISPLAY=$display
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
export VLS_WINE=$wine_bin
export VLS_WINESERVER=$wineserver_bin
export VLS_XVFB_PID=$xvfb_pid
export VLS_WM_PID=$wm_pid
export VLS_SCREEN=$size
ENV
  # shellcheck disable=SC1090
  . "$env_file"
  # The persistent server first, so that everything after it (wineboot included) uses it.
  mkdir -p "$prefix"
  "$wineserver_bin" -p </dev/null >"$dir/wineserver.log" 2>&1
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine_bin" wineboot -i </dev/null >"$dir/wineboot.log" 2>&1
  fi
  # Wine's own UI fonts (menus, dialogs) have no Chinese glyphs; a CJK font stands in
  # for them so the Chinese interface renders readably, as it would on a Chinese Windows.
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
    "$wine_bin" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
      /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1 || true
  done
  # Wine's desktop process exits whenever no program is attached to it, and every test
  # program after that waits for it to start again: a small program holds it for the
  # session (ended with the wineserver by "stop").
  x86_64-w64-mingw32-g++-posix -O2 -s -static -mwindows -o "$dir/keep_desktop.exe" \
    "$here/tools/keep_desktop.cpp" -luser32
  "$wine_bin" "$dir/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
  # Warm up: the first program in a session pays for explorer.exe and services.
  "$wine_bin" cmd /c exit </dev/null >/dev/null 2>&1 || true
  echo "session on $display, prefix $prefix"
  ;;
*) echo "usage: $0 start|stop DIR [WxH]" >&2; exit 2 ;;
esac
