#!/usr/bin/env bash
# The platform-free / Win32 boundary, visible in every file name: a source file whose name
# ends in _win (overlay_win.cpp, console_win.h) may use Win32; every other file under src/
# is platform-free and is built natively too. Fails on a file that breaks the rule:
# - a file not named _win that includes a Win32 header or a _win header, or keeps a
#   Windows-only part behind #ifdef _WIN32;
# - a platform-free .cpp missing from the core library, or a _win .cpp in it (the core is
#   what the native build compiles, so a Win32 header reached through it fails there).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
win_headers='windows|imm|commdlg|shellapi|commctrl|psapi|shlobj|windowsx|winuser|wingdi|winreg|winresrc'
core=$(awk '/^add_library\(vls_core /,/^\)/' CMakeLists.txt)
while IFS= read -r f; do
  base=${f##*/}
  stem=${base%.*}
  if [[ $stem != *_win ]]; then
    if grep -nE "^#include <($win_headers)\.h>|^#include \"[^\"]*_win\.h\"|^#if.*_WIN32" "$f"; then
      echo "$f: includes Win32 but is not named *_win" >&2
      status=1
    fi
    if [[ $f == *.cpp ]] && ! grep -qF "$f" <<<"$core"; then
      echo "$f: platform-free but not in the vls_core library" >&2
      status=1
    fi
  elif grep -qF "$f" <<<"$core"; then
    echo "$f: a _win file in the platform-free vls_core library" >&2
    status=1
  fi
done < <(git ls-files 'src/*.cpp' 'src/*.h')
[ $status -eq 0 ] && echo "every Win32 file is named *_win; the rest is in the platform-free core"
exit $status
