#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs the whole test suite:
# formatting, the platform-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of each fuzz target, then the Windows build, the
# check that no two source files use each other's functions in a circle, and its tests
# under Wine.
# Ends with the time each group of tests took.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
began=$SECONDS
# Each step's seconds, printed with the groups' at the end.
steps=()
step_began=$SECONDS
step() {
  steps+=("$(printf '%8d  %s' $((SECONDS - step_began)) "$1")")
  step_began=$SECONDS
}
echo "== checking the Debian packages Vellumshot needs"
scripts/install-deps.sh
step "packages"

echo "== formatting (clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
step "formatting"

echo "== the platform-free / Win32 boundary in the file names"
scripts/check-boundary.sh

echo "== native build (sanitizers)"
scripts/build.sh native
step "native build"
mkdir -p build/logs
ctest --preset native --output-log build/logs/ctest-native.log
step "native tests"

echo "== fuzz targets, a few seconds each on their seed corpus"
scripts/fuzz.sh --seconds 3
step "fuzz build and runs"

echo "== Windows build (the first one also compiles libdeflate)"
scripts/build.sh windows
step "Windows build"
echo "== no two source files use each other's functions in a circle"
python3 scripts/check-cycles.py build/windows
step "circularity check"
echo "== Windows tests under Wine"
status=0
ctest --preset windows --output-log build/logs/ctest-windows.log || status=$?
step "Windows tests"

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
echo "== seconds per step"
printf '%s\n' "${steps[@]}"
echo "== whole run: $((SECONDS - began)) s"
exit $status
