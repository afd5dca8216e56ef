#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs the whole test suite:
# formatting, the platform-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer and a short run of each fuzz target (beside the Windows build),
# then the check that no two source files use each other's functions in a circle, and the
# Windows tests under Wine.
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

# The native lane (sanitizer build, its tests, the fuzz runs) and the Windows build use
# different build trees: the lane runs beside the Windows build, with its output in a log
# shown once both are done. The Windows tests come after both, on a machine left to them.
mkdir -p build/logs
native_lane() {
  local began=$SECONDS
  echo "== native build (sanitizers)"
  scripts/build.sh native
  echo "native build: $((SECONDS - began)) s"
  began=$SECONDS
  ctest --preset native --output-log build/logs/ctest-native.log
  echo "native tests: $((SECONDS - began)) s"
  began=$SECONDS
  echo "== fuzz targets, a few seconds each on their seed corpus"
  scripts/fuzz.sh --preset native --seconds 3
  echo "fuzz build and runs: $((SECONDS - began)) s"
}
native_lane >build/logs/native-lane.log 2>&1 &
native_pid=$!

echo "== Windows build (the first one also compiles libdeflate)"
windows_built=0
scripts/build.sh windows || windows_built=$?
step "Windows build (beside the native lane)"
native_status=0
wait $native_pid || native_status=$?
cat build/logs/native-lane.log
step "native lane, after the Windows build"
[ $native_status -eq 0 ] || { echo "the native lane failed" >&2; exit $native_status; }
[ $windows_built -eq 0 ] || { echo "the Windows build failed" >&2; exit $windows_built; }
echo "== no two source files use each other's functions in a circle"
python3 scripts/check-cycles.py build/windows
step "circularity check"
echo "== Windows tests under Wine"
status=0
ctest --preset windows --output-log build/logs/ctest-windows.log || status=$?
step "Windows tests"

# "  3/80 Test  #12: wine.Overlay ....   Passed    9.21 sec" -> time per group, where a
# group is a test program's suite (native.Overlay, wine.Overlay) or an end-to-end module.
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
