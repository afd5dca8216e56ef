#!/usr/bin/env bash
# The platform-free / Win32 boundary, visible in every file name: a source file whose name
# ends in _win (overlay_win.cpp, console_win.h) may use Win32; every other file under src/
# is platform-free. CMakeLists.txt builds the libraries from the same names (every .cpp
# without _win in vls_core, which the native build compiles), so the files alone decide.
# Fails on a file not named _win that includes a Win32 header or a _win header, or keeps a
# Windows-only part behind #ifdef _WIN32.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
win_headers='windows|imm|commdlg|shellapi|commctrl|psapi|shlobj|windowsx|winuser|wingdi|winreg|winresrc'
while IFS= read -r f; do
  base=${f##*/}
  stem=${base%.*}
  [[ $stem == *_win ]] && continue
  if grep -nE "^#include <($win_headers)\.h>|^#include \"[^\"]*_win\.h\"|^#if.*_WIN32" "$f"; then
    echo "$f: includes Win32 but is not named *_win" >&2
    status=1
  fi
done < <(find src -name '*.cpp' -o -name '*.h' | sort)
[ $status -eq 0 ] && echo "every Win32 file is named *_win; the rest is the platform-free core"
exit $status
