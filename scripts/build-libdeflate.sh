#!/usr/bin/env bash
# Builds libdeflate for Windows (static, MinGW-w64) from Debian's source package, with its
# own Makefile and optimisation (the gzip wrapper stays: crc32 is built only with it).
# Usage: build-libdeflate.sh DEPS_DIR
# Leaves DEPS_DIR/libdeflate-install/{include,lib}; a second run with the library present
# does nothing.
set -euo pipefail
deps=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
install="$deps/libdeflate-install"
[ -f "$install/lib/libdeflate.a" ] && exit 0

tarball=$("$here/scripts/debian-source.sh" "$deps" libdeflate)
src="$deps/src/libdeflate"
rm -rf "$src" && mkdir -p "$src"
tar -xf "$tarball" -C "$src" --strip-components=1
# The build folder leaves no trace in the objects, so the executable stays the same
# whichever folder it was built in.
make -C "$src" -j2 libdeflatestatic.lib DISABLE_SHARED=1 \
  CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar \
  CFLAGS="-ffile-prefix-map=$src=libdeflate" > "$deps/libdeflate-build.log" 2>&1 ||
  { cat "$deps/libdeflate-build.log" >&2; exit 1; }
mkdir -p "$install/include" "$install/lib"
cp "$src/libdeflate.h" "$install/include/"
cp "$src/libdeflatestatic.lib" "$install/lib/libdeflate.a"
