#!/usr/bin/env bash
# Builds zlib for Windows (static, MinGW-w64) from Debian's source package, with the
# optimisation Debian's own x86 build uses (-O3, UNALIGNED_OK). MinGW's packaged libz.a
# deflates the PNG writer's data about a third slower (scripts/bench.sh shows it).
# Usage: build-zlib.sh DEPS_DIR
# Leaves DEPS_DIR/zlib-install/{include,lib}; a second run with the library present does nothing.
set -euo pipefail
deps=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
install="$deps/zlib-install"
[ -f "$install/lib/libz.a" ] && exit 0

tarball=$("$here/scripts/debian-source.sh" "$deps" zlib)
rm -rf "$deps/src/zlib" "$deps/zlib-build" && mkdir -p "$deps/src/zlib"
tar -xf "$tarball" -C "$deps/src/zlib" --strip-components=1
# Release is -O3; only the static library is built (the DLL's resource file is not shipped).
cmake -S "$deps/src/zlib" -B "$deps/zlib-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS=-DUNALIGNED_OK > "$deps/zlib-configure.log"
cmake --build "$deps/zlib-build" --target zlibstatic > "$deps/zlib-build.log"
mkdir -p "$install/include" "$install/lib"
cp "$deps/src/zlib/zlib.h" "$deps/zlib-build/zconf.h" "$install/include/"
cp "$deps/zlib-build/libzlibstatic.a" "$install/lib/libz.a"
