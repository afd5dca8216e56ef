#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs the whole test suite:
# formatting, the platform-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build's tests under Wine.
# Ends with the time each group of tests took.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
began=$SECONDS
echo "== checking the Debian packages Vellumshot needs"
scripts/install-deps.sh

echo "== formatting (clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== native build (sanitizers)"
scripts/build.sh native
mkdir -p build/logs
ctest --preset native --output-log build/logs/ctest-native.log

echo "== Windows build (the first one also compiles zlib and libpng)"
scripts/build.sh windows
echo "== Windows tests under Wine"
status=0
ctest --preset windows --output-log build/logs/ctest-windows.log || status=$?

# "  3/80 Test  #12: wine.Overlay.Name ....   Passed    0.21 sec" -> time per group, where
# a group is a test program's suite (wine.Overlay) or an end-to-end module.
echo "== seconds per test group"
cat build/logs/ctest-native.log build/logs/ctest-windows.log | awk '
  / Test +#[0-9]+: / {
    name = $4; sec = $(NF - 1)
    n = split(name, part, ".")
    group = (n >= 3) ? part[1] "." part[2] : name
    total[group] += sec; count[group]++
  }
  END { for (g in total) printf "%8.1f  %3d  %s\n", total[g], count[g], g }' | sort -k3
echo "== whole run: $((SECONDS - began)) s"
exit $status
