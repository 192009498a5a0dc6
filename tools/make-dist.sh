#!/usr/bin/env bash
# Builds the install folders dist/win32 and dist/win64 from the preset
# builds, and a zip of each (dist/life-win32.zip, dist/life-win64.zip).
# Each folder holds setup.exe, life.scr, the face bitmaps that
# assets/life.nfo names, life.nfo, _intro and _copy.lst. The zips' entries
# have a fixed order, time and permissions (zip_folder in
# tools/lib/release-support.sh), the programs the commit's time stamp.
#   tools/make-dist.sh [PRESET...]  package (after `make build-win64 build-win32`);
#                                   by default win32 and win64
#   tools/make-dist.sh --check      only check that assets/_copy.lst names
#                                   exactly the files the package installs
# LIFE_BUILD_ROOT (default: build) is the folder of the preset builds,
# LIFE_DIST_DIR (default: dist) the folder of the packages.
# Stops with a message naming the first file that is missing or wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/release-support.sh
build_root=${LIFE_BUILD_ROOT:-build}
dist=${LIFE_DIST_DIR:-dist}

fail() {
  echo "make-dist: $*" >&2
  exit 1
}

# The bitmap names of the face catalogue, in order, once each. A record is
# seven fields separated by any white space; the first is the file name.
catalogue_bitmaps() {
  [[ -f assets/life.nfo ]] || fail "assets/life.nfo is missing"
  tr -d '\r' <assets/life.nfo | tr -s ' \t' '\n\n' | sed '/^$/d' | awk '
    { field = (NR - 1) % 7 }
    field == 0 { name = $0; next }
    $0 !~ /^[0-9]+$/ { printf "record %d: field %d is not a number: %s\n", (NR - 1) / 7 + 1,
                       field + 1, $0 > "/dev/stderr"; bad = 1; exit }
    field == 6 && !(name in seen) { seen[name] = 1; print name }
    END { if (!bad && NR % 7 != 0) { print "the last record is cut short" > "/dev/stderr"; bad = 1 }
          exit bad }' || fail "assets/life.nfo is malformed"
}

# What the copy list must name: the saver, every bitmap, the catalogue.
required_files() {
  echo life.scr
  catalogue_bitmaps
  echo life.nfo
}

# The non-empty lines of the committed copy list, without line ends.
copy_list_files() {
  [[ -f assets/_copy.lst ]] || fail "assets/_copy.lst is missing"
  tr -d '\r' <assets/_copy.lst | sed '/^$/d'
}

check_copy_list() {
  local required listed
  required=$(required_files | sort) || exit 1
  listed=$(copy_list_files | sort)
  if [[ "$required" != "$listed" ]]; then
    echo "make-dist: assets/_copy.lst does not name the files the package installs:" >&2
    diff <(echo "$required") <(echo "$listed") | sed -n 's/^< /  missing: /p; s/^> /  extra:   /p' >&2
    exit 1
  fi
  [[ -f assets/_intro ]] || fail "assets/_intro is missing"
  # The edit control that shows the intro breaks lines only at CR LF.
  ! grep -qv $'\r$' assets/_intro || fail "assets/_intro has a line without CR LF"
  (( $(stat -c %s assets/_intro) < 1024 )) || fail "assets/_intro is 1024 bytes or longer"
}

# The saver of a preset build: bin/life.scr, else the one life.scr anywhere
# in the build tree.
find_saver() {
  local build=$1
  if [[ -f $build/bin/life.scr ]]; then
    echo "$build/bin/life.scr"
    return
  fi
  local found
  mapfile -t found < <(find "$build" -name life.scr -type f)
  (( ${#found[@]} == 1 )) || fail "no single life.scr in $build (found ${#found[@]}); run make build-${build##*/}"
  echo "${found[0]}"
}

# The mingw tool prefix of a preset.
tool_prefix() {
  case $1 in
    win64) echo x86_64-w64-mingw32 ;;
    win32) echo i686-w64-mingw32 ;;
  esac
}

# Checks that a program is a Windows program of the preset's architecture.
check_architecture() {
  local program=$1 preset=$2 expected
  case $preset in
    win64) expected='PE32\+ executable.*x86-64' ;;
    win32) expected='PE32 executable.*Intel 80386' ;;
  esac
  file -b "$program" | grep -Eq "$expected" || fail "$program is not a $preset program: $(file -b "$program")"
}

package() {
  local preset=$1 build=$build_root/$1 out=$dist/$1 zip=$dist/life-$1.zip
  [[ -f $build/bin/setup.exe ]] || fail "$build/bin/setup.exe is missing; run make build-$preset"
  local saver
  saver=$(find_saver "$build")
  check_architecture "$build/bin/setup.exe" "$preset"
  check_architecture "$saver" "$preset"

  rm -rf "$out" "$zip"
  mkdir -p "$out"
  cp "$build/bin/setup.exe" "$out/setup.exe"
  cp "$saver" "$out/life.scr"
  # The package needs no symbols: strip the copies, not the builds. strip
  # writes a new time stamp into the header: the commit's, not today's.
  SOURCE_DATE_EPOCH=$(source_date_epoch) \
    "$(tool_prefix "$preset")-strip" "$out/setup.exe" "$out/life.scr"
  local bitmap
  while read -r bitmap; do
    [[ -f assets/$bitmap ]] || fail "assets/$bitmap (named in assets/life.nfo) is missing"
    cp "assets/$bitmap" "$out/$bitmap"
  done < <(catalogue_bitmaps)
  cp assets/life.nfo assets/_intro assets/_copy.lst "$out/"

  # Every file setup will copy is in the folder.
  local listed
  while read -r listed; do
    [[ -f $out/$listed ]] || fail "$out/$listed (named in _copy.lst) is missing"
  done < <(copy_list_files)

  zip_folder "$out" "$zip" || fail "could not zip $out"
  echo "make-dist: $out/ and $zip"
}

check_copy_list
[[ "${1:-}" == --check ]] && exit 0
command -v zip >/dev/null || fail "zip is not installed (tools/install-deps.sh installs it)"
presets=("$@")
(( ${#presets[@]} )) || presets=(win32 win64)
for preset in "${presets[@]}"; do
  [[ $preset == win32 || $preset == win64 ]] || fail "no Windows preset $preset"
  package "$preset"
done
