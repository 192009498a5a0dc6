#!/usr/bin/env bash
# make release: everything a release page offers, named with the version, in
# build/release/: the Windows zips, the hack's Debian package, the browser
# page's static site as a zip, the source archive, a winget manifest of the zips and SHA256SUMS over all of them.
# The same commit gives the same bytes in any folder, at any time, under any
# time zone, locale and umask: every time stamp is the last commit's
# (SOURCE_DATE_EPOCH; the Debian package's is its changelog's date, as when
# Debian builds it), the programs hold no build folder, the archives fix
# their order, times and permissions. The Windows programs are built apart
# from the developer builds, without tests, in build/release-work/.
# Unpacked from the source archive, it makes all but the source archive, to
# be checked against the release's SHA256SUMS (sha256sum -c --ignore-missing).
# LIFE_RELEASE_URL is where the release page serves the files (the winget
# manifest's download addresses).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/release-support.sh

# Built without a compiler cache, which may change file names in them.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
version=$(project_version)
SOURCE_DATE_EPOCH=$(source_date_epoch)
export SOURCE_DATE_EPOCH
url=${LIFE_RELEASE_URL:-https://releases.vantreel.example/life/$version}
out=build/release
work=build/release-work
rm -rf "$out" "$work"
mkdir -p "$out" "$work"

fail() {
  echo "make-release: $*" >&2
  exit 1
}

# artefact NAME MAKER ARG...: MAKER writes build/release/NAME (its first
# argument), from the other arguments.
artefact() {
  local name=$1 maker=$2
  shift 2
  "$maker" "$out/$name" "$@"
  echo "make-release: $out/$name"
}

# zip_of ZIP FOLDER [COMMAND...]: the files of FOLDER as a zip, after
# running COMMAND to make them.
zip_of() {
  local zip=$1 folder=$2
  shift 2
  (( $# == 0 )) || "$@"
  zip_folder "$folder" "$zip"
}

# The install folder of one Windows build: only the two programs built.
windows_folder() {
  local preset=$1
  cmake --preset "$preset" -B "$work/$preset" -DLIFE_BUILD_TESTS=OFF >/dev/null
  cmake --build "$work/$preset" --target life_scr setup >"$work/$preset.log" \
    || { tail -30 "$work/$preset.log" >&2; fail "the $preset build failed"; }
  LIFE_BUILD_ROOT=$work LIFE_DIST_DIR=$work/dist tools/make-dist.sh "$preset" >/dev/null
}

debian_package() {
  local deb
  deb=$(tools/make-deb.sh)
  cp "$deb" "$1"
}

# The committed tree of HEAD, as `git archive` gives it: the same bytes for
# the same commit.
source_archive() {
  [[ -z $(git status --porcelain --untracked-files=no) ]] \
    || echo "make-release: uncommitted changes are in the programs, not in the source archive" >&2
  git -c tar.umask=0022 archive --format=tar --prefix="life-$version/" HEAD | gzip -9 -n >"$1"
}

artefact "life-$version-win32.zip" zip_of "$work/dist/win32" windows_folder win32
artefact "life-$version-win64.zip" zip_of "$work/dist/win64" windows_folder win64
artefact "lifefaces_${version}_$(dpkg --print-architecture).deb" debian_package
if in_git_checkout; then
  artefact "life-$version.tar.gz" source_archive
else
  echo "make-release: not a git checkout, so no source archive"
fi
artefact "life-$version-web.zip" zip_of build/web make --no-print-directory web

tools/winget-manifest.sh "$out" "$version" "$url"
(cd "$out" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort \
   | xargs -d '\n' sha256sum >SHA256SUMS)
echo "make-release: $out/SHA256SUMS"
