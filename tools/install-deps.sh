#!/usr/bin/env bash
# Installs the Debian 12 packages that one kind of build needs, only those
# that are missing:
#   install-deps.sh hack   building the XScreenSaver hack alone (make install)
#   install-deps.sh deb    the hack's Debian package (make deb)
#   install-deps.sh [all]  everything: the Windows programs, tools and tests
set -euo pipefail

hack=(
  build-essential cmake ninja-build pkg-config
  libx11-dev libxext-dev libxinerama-dev libstb-dev
  fonts-dejavu-core  # the activity bar's font, read at run time
)
deb=("${hack[@]}" debhelper)
all=(
  "${deb[@]}"
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 binutils-mingw-w64
  wine wine64 xvfb xdotool x11-utils imagemagick
  libpng-dev libgif-dev zip file
  xscreensaver libxml2-utils lintian
  desktop-file-utils mate-screensaver  # the hack's desktop entry, checked and run
  strace  # holds the hack's requests in the test of kills during its start
  golly  # bgolly, the yardstick of `make bench` only
  python3-yaml  # the release test reads the winget manifest
  emscripten python3-fonttools chromium chromium-driver python3-selenium  # the browser page, its tests
)

# The hack's builds take no recommended packages: they would pull in
# compilers and tools that those builds never run.
lean=(--no-install-recommends)
case ${1:-all} in
  hack) packages=("${hack[@]}") ;;
  deb) packages=("${deb[@]}") ;;
  all) packages=("${all[@]}") lean=() ;;
  *) echo "usage: $0 [hack|deb|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$p")
done
if (( ${#missing[@]} )); then
  echo "install-deps: installing ${missing[*]}"
  sudo=; (( EUID == 0 )) || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${lean[@]}" \
    "${missing[@]}" >/dev/null
fi

# diffoscope, which shows where two release builds differ, alone: its
# recommends are hundreds of packages for formats that the release has not.
if [[ ${1:-all} == all ]] && ! dpkg-query -W -f='${Status}' diffoscope-minimal 2>/dev/null \
     | grep -q "install ok installed"; then
  echo "install-deps: installing diffoscope-minimal"
  sudo=; (( EUID == 0 )) || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    diffoscope-minimal >/dev/null
fi
