#!/usr/bin/env bash
# Builds libpng 1.6 for Windows (static, MinGW-w64) from Debian's source package.
# Usage: build-libpng.sh DEPS_DIR
# Leaves DEPS_DIR/libpng-install/{include,lib}; a second run with the library present does nothing.
set -euo pipefail
deps=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
install="$deps/libpng-install"
[ -f "$install/lib/libpng16.a" ] && exit 0

apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/sources.d" "$deps/src"
# Reach Debian's source packages through a private apt configuration built from the
# machine's own main archive entry, leaving the system's configuration untouched.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  awk 'BEGIN{RS="";ORS="\n\n"} NR==1' /etc/apt/sources.list.d/debian.sources \
    | sed 's/^Types: deb$/Types: deb-src/' > "$apt_dir/sources.d/debian.sources"
else
  grep -E '^deb ' /etc/apt/sources.list | grep -v security | head -1 \
    | sed 's/^deb /deb-src /' > "$apt_dir/sources.d/debian.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/sources.d"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Debug::NoLocking=1")
tarball=$(ls "$deps"/src/libpng1.6_*.orig.tar.* 2>/dev/null | head -1 || true)
if [ -z "$tarball" ]; then
  apt-get "${apt_opts[@]}" update -qq
  (cd "$deps/src" && chmod a+rwx . && apt-get "${apt_opts[@]}" source --download-only -qq libpng1.6)
  tarball=$(ls "$deps"/src/libpng1.6_*.orig.tar.* | head -1)
fi
rm -rf "$deps/src/libpng" && mkdir -p "$deps/src/libpng"
tar -xf "$tarball" -C "$deps/src/libpng" --strip-components=1
cmake -S "$deps/src/libpng" -B "$deps/libpng-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$install" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
  > "$deps/libpng-configure.log"
cmake --build "$deps/libpng-build" > "$deps/libpng-build.log"
cmake --install "$deps/libpng-build" > /dev/null
test -f "$install/lib/libpng16.a"
