#!/usr/bin/env bash
# Fetches the upstream tarball of a Debian source package once and prints its path.
# Usage: debian-source.sh DEPS_DIR SOURCE_PACKAGE   (the tarball lands in DEPS_DIR/src)
set -euo pipefail
deps=$(mkdir -p "$1" && cd "$1" && pwd)
package=$2
apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/sources.d" "$deps/src"
tarball=$(ls "$deps"/src/"${package}"_*.orig.tar.* 2>/dev/null | head -1 || true)
if [ -z "$tarball" ]; then
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
  [ -n "$(ls "$apt_dir/lists" | grep -v -e partial -e lock)" ] || apt-get "${apt_opts[@]}" update -qq
  (cd "$deps/src" && chmod a+rwx . && apt-get "${apt_opts[@]}" source --download-only -qq "$package") >&2
  tarball=$(ls "$deps"/src/"${package}"_*.orig.tar.* | head -1)
fi
echo "$tarball"
