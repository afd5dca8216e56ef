#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vellumshot need.
# Installs only what is missing; run as root (or with sudo available).
set -euo pipefail
packages=(
  cmake ninja-build g++ python3 clang-format # build tools, test scripts, style check
  mingw-w64 g++-mingw-w64-x86-64-posix       # the Windows cross compiler and windres
  googletest                                 # unit test sources, built for both targets
  libpng-dev zlib1g-dev fonts-dejavu-core    # the benchmark's native libpng yardstick and picture
  libdeflate-dev make scrot                  # libdeflate natively and its build; the screenshot tool benchmarked against
  wine wine64                                # runs the Windows executable and its tests
  xvfb xdotool x11-xserver-utils x11-utils   # a private X display and real input events
  openbox                                    # a window manager on that display, as on a desktop
  imagemagick pngcheck xclip                 # independent checks of what the program produces
  fonts-wqy-microhei                         # a CJK font so Chinese texts render under Wine
  clang libclang-rt-14-dev                   # libFuzzer and its sanitizers for the fuzz targets
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing ${#missing[@]} Debian packages (a few minutes on a new machine): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
echo "  apt-get update"
"${sudo[@]}" apt-get update -qq
echo "  apt-get install"
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" > /dev/null
echo "Installed."
