#!/usr/bin/env bash
# Builds the hack's Debian package with debhelper, from a copy of the
# source tree in build/deb/, so that the tree itself stays clean. The
# version is the project's (project() in CMakeLists.txt). Prints the path
# of the package: build/deb/lifefaces_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Life VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "make-deb: no version in CMakeLists.txt" >&2; exit 1; }
out=build/deb
stage=$out/lifefaces-$version
rm -rf "$out"
mkdir -p "$stage"

# What the hack's build reads, and its packaging as debian/.
tar -cf - CMakeLists.txt CMakePresets.json cmake engine host scene lifefaces assets \
  | tar -xf - -C "$stage"
mv "$stage/lifefaces/debian" "$stage/debian"

# One changelog entry for this version, dated by the last commit so that
# the same tree gives the same package.
date=$(git log -1 --format=%cD 2>/dev/null || date -R)
cat >"$stage/debian/changelog" <<END
lifefaces ($version) unstable; urgency=medium

  * Release $version.

 -- Life maintainers <maintainers@users.noreply.c-seed-a9b158fe.example>  $date
END

(cd "$stage" && SOURCE_DATE_EPOCH=$(date -d "$date" +%s) \
  dpkg-buildpackage --build=binary --no-sign >../build.log 2>&1) || {
  tail -40 "$out/build.log" >&2
  echo "make-deb: dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
}
echo "$out/lifefaces_${version}_amd64.deb"
