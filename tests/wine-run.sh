#!/usr/bin/env bash
# Runs a Windows test program under Wine inside the session started by tests/session.sh.
# Used as the cross build's test emulator: wine-run.sh PROGRAM.exe ARGS...
set -euo pipefail
env_file=${VLS_SESSION:?VLS_SESSION must name the session.env written by session.sh}
# shellcheck disable=SC1090
. "$env_file"
exec "$VLS_WINE" "$@"
