#!/usr/bin/env bash
# Builds libpng 1.6 for Windows (static, MinGW-w64) from Debian's source package, over the
# zlib that scripts/build-zlib.sh leaves in the same folder.
# Usage: build-libpng.sh DEPS_DIR
# Leaves DEPS_DIR/libpng-install/{include,lib}; a second run with the library present does nothing.
set -euo pipefail
deps=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
install="$deps/libpng-install"
[ -f "$install/lib/libpng16.a" ] && exit 0

zlib="$deps/zlib-install"
tarball=$("$here/scripts/debian-source.sh" "$deps" libpng1.6)
rm -rf "$deps/src/libpng" "$deps/libpng-build" && mkdir -p "$deps/src/libpng"
tar -xf "$tarball" -C "$deps/src/libpng" --strip-components=1
cmake -S "$deps/src/libpng" -B "$deps/libpng-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$install" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
  -DZLIB_LIBRARY="$zlib/lib/libz.a" -DZLIB_INCLUDE_DIR="$zlib/include" \
  > "$deps/libpng-configure.log"
cmake --build "$deps/libpng-build" > "$deps/libpng-build.log"
cmake --install "$deps/libpng-build" > /dev/null
test -f "$install/lib/libpng16.a"
