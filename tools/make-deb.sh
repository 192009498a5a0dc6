#!/usr/bin/env bash
# Builds the hack's Debian package with debhelper, from a copy of the
# source tree in build/deb/, so that the tree itself stays clean. The
# version is the project's (project() in CMakeLists.txt), the changelog is
# made from CHANGELOG.md. Prints the path of the package:
# build/deb/lifefaces_<version>_<architecture>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/release-support.sh
# No compiler cache: one that rewrites file names (CCACHE_BASEDIR) changes
# the debugging information, and with it the build id the package keeps.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER

version=$(project_version)
out=build/deb
stage=$out/lifefaces-$version
rm -rf "$out"
mkdir -p "$stage"

# What the hack's build reads, and its packaging as debian/.
tar -cf - CMakeLists.txt CMakePresets.json cmake engine host scene lifefaces assets \
  | tar -xf - -C "$stage"
mv "$stage/lifefaces/debian" "$stage/debian"

# The changelog's newest entry must be this version. Its date is the
# package's time stamp, as when Debian builds it: every file of the package
# is dated no later than that.
debian_changelog >"$stage/debian/changelog"
newest=$(dpkg-parsechangelog -l "$stage/debian/changelog" -S Version)
[[ $newest == "$version" ]] || {
  echo "make-deb: CHANGELOG.md's newest release is ${newest:-none}, not $version" >&2
  exit 1
}

(cd "$stage" && unset SOURCE_DATE_EPOCH &&
  dpkg-buildpackage --build=binary --no-sign >../build.log 2>&1) || {
  tail -40 "$out/build.log" >&2
  echo "make-deb: dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
}
echo "$out/lifefaces_${version}_$(dpkg --print-architecture).deb"
