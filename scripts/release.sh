#!/usr/bin/env bash
# Builds the release from the committed tree and leaves in dist/: Vellumshot.exe, a zip of
# it with README.txt (the user's guide, docs/user-guide.txt with Windows line ends) and
# LICENSE, and SHA256SUMS over both.
# The build is reproducible: it compiles a copy of the last commit (never uncommitted
# changes) in a fresh build tree, the executable carries no link time and no build path,
# and the zip's entries carry the commit's time in a fixed order. Two clones of the same
# commit, wherever they are, give the same bytes.
# Usage: release.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
say() { echo "== $*" >&2; }

say "checking the Debian packages Vellumshot needs"
scripts/install-deps.sh >&2

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  say "note: uncommitted changes are not in the release; it is built from $commit"
fi
work="$repo/build/release"
rm -rf "$work"
mkdir -p "$work/src"
git archive "$commit" | tar -x -C "$work/src"

say "building Vellumshot.exe from $commit (libdeflate too; log in $work/build.log)"
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DVLS_WERROR=ON -DBUILD_TESTING=OFF > "$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; exit 1; }
cmake --build "$work/build" --target Vellumshot >> "$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; exit 1; }

dist="$repo/dist"
rm -rf "$dist"
mkdir -p "$dist"
cp "$work/build/Vellumshot.exe" "$dist/Vellumshot.exe"
version=$(sed -n 's/^#define VLS_VERSION_TEXT "\(.*\)"$/\1/p' "$work/src/src/main/version.h")
zip_name="Vellumshot-$version-win64.zip"
stamp=$(git show -s --format=%ct "$commit")
# Entries as NAME=PATH; a name ending in .txt gets CRLF line ends, which every Windows
# editor shows as lines.
python3 - "$dist/$zip_name" "$stamp" "Vellumshot.exe=$dist/Vellumshot.exe" \
  "README.txt=$work/src/docs/user-guide.txt" "LICENSE=$work/src/LICENSE" <<'PY'
import sys, time, zipfile
out, stamp, *entries = sys.argv[1:]
when = time.gmtime(max(int(stamp), 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(out, "w") as z:
    for name, path in (e.split("=", 1) for e in entries):
        entry = zipfile.ZipInfo(name, date_time=when)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        entry.create_system = 3
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        z.writestr(entry, data, compresslevel=9)
PY
(cd "$dist" && sha256sum Vellumshot.exe "$zip_name" > SHA256SUMS)
say "release of $commit in $dist:"
cat "$dist/SHA256SUMS"
