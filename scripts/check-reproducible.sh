#!/usr/bin/env bash
# Proves the release reproducible: clones the last commit twice, into two new folders of
# different names, runs scripts/release.sh in each and compares the results byte for byte.
# Usage: check-reproducible.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for name in first second-clone-with-a-longer-path; do
  git clone --quiet "$repo" "$scratch/$name"
  (cd "$scratch/$name" && scripts/release.sh > /dev/null)
done
a="$scratch/first/dist" b="$scratch/second-clone-with-a-longer-path/dist"
status=0
for file in Vellumshot.exe SHA256SUMS; do
  if cmp "$a/$file" "$b/$file"; then echo "same: $file"; else status=1; fi
done
cat "$a/SHA256SUMS"
[ $status -eq 0 ] && echo "the two builds are byte-identical" || echo "the builds differ" >&2
exit $status
