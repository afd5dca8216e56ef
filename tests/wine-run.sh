#!/usr/bin/env bash
# Runs a Windows test program under Wine inside the session started by tests/session.sh.
# Used as the cross build's test emulator: wine-run.sh PROGRAM.exe ARGS...
# With VLS_FILE_SIZE_LIMIT_KIB set, files the program writes cannot grow past that size:
# the write that would fails (EFBIG, the signal ignored), as on a full disk.
set -euo pipefail
env_file=${VLS_SESSION:?VLS_SESSION must name the session.env written by session.sh}
# shellcheck disable=SC1090
. "$env_file"
if [[ -n ${VLS_FILE_SIZE_LIMIT_KIB:-} ]]; then
    trap '' XFSZ
    ulimit -f "$VLS_FILE_SIZE_LIMIT_KIB"
fi
exec "$VLS_WINE" "$@"
