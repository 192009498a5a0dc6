#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those
# that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 binutils-mingw-w64
  wine wine64 xvfb xdotool x11-utils imagemagick
  libpng-dev libgif-dev libstb-dev fonts-dejavu-core zip file
  libx11-dev libxext-dev xscreensaver libxml2-utils
  golly  # bgolly, the yardstick of `make bench` only
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$p")
done
if (( ${#missing[@]} )); then
  echo "install-deps: installing ${missing[*]}"
  sudo=; (( EUID == 0 )) || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
    "${missing[@]}" >/dev/null
fi
