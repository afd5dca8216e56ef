#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs the whole test suite:
# formatting, the platform-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build's tests under Wine.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
scripts/install-deps.sh

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== native build (sanitizers)"
scripts/build.sh native
ctest --preset native

echo "== Windows build (tests under Wine)"
scripts/build.sh windows
ctest --preset windows
