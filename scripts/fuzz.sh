#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each, two at a time, starting from its committed seed corpus.
# Usage: fuzz.sh [--preset P] [--seconds N | --runs N] [TARGET...]
#   (default: the optimised "fuzz" preset, 60 seconds each, all targets). The test command
#   runs the targets of the "native" build, which makes them too, for a few seconds each.
# Inputs that reach new code are kept in build/PRESET/corpus/TARGET, never in the repo; a
# finding fails the script with its input saved under build/PRESET/findings/TARGET/.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
limit=(-max_total_time=60)
preset=fuzz
while [ $# -gt 0 ]; do
  case "$1" in
  --preset) preset=$2; shift 2 ;;
  --seconds) limit=(-max_total_time="$2"); shift 2 ;;
  --runs) limit=(-runs="$2"); shift 2 ;;
  *) break ;;
  esac
done
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(cli_options utf registry_value toolbar mosaic arrow_head pin_geometry png_encoder)

mkdir -p build
scripts/build.sh "$preset" > "build/$preset-build.log" 2>&1 || { cat "build/$preset-build.log"; exit 1; }
out=build/$preset
# Two targets at a time, one per core; results are reported in the targets' order.
run_target() {
  local t=$1 status=0
  mkdir -p "$out/corpus/$t" "$out/findings/$t"
  # Value profiles steer inputs toward the extremes that comparisons in the code test.
  "$out/tests/fuzz/fuzz_$t" "${limit[@]}" -use_value_profile=1 -print_final_stats=1 \
    -artifact_prefix="$out/findings/$t/" "$out/corpus/$t" "tests/fuzz/corpus/$t" \
    >"$out/$t.log" 2>&1 || status=$?
  echo $status >"$out/$t.status"
}
running=0
for t in "${targets[@]}"; do
  if [ $running -ge 2 ]; then wait -n; running=$((running - 1)); fi
  run_target "$t" &
  running=$((running + 1))
done
wait
found=0
for t in "${targets[@]}"; do
  log=$out/$t.log
  runs=$(awk '/^stat::number_of_executed_units:/{print $2}' "$log")
  secs=$(awk '/^Done [0-9]+ runs in/{print $5}' "$log")
  if [ "$(cat "$out/$t.status")" != 0 ]; then
    echo "$t: FINDING after ${runs:-?} inputs (log $log)"
    grep -E 'ERROR|runtime error|property broken|Test unit written' "$log" | head -5
    found=1
    continue
  fi
  echo "$t: ${runs} inputs in ${secs:-?} s, no finding"
done
exit $found
