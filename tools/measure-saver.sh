#!/usr/bin/env bash
# Measures the running saver under Wine: CPU time per tick and peak memory
# of life.scr at 1920x1080 and 3840x2160, with the default 16x16 faces and
# the 8x8 faces, for the default start population (150) and for a busy world
# (a third of the cells). The ticks are driven one by one by saver-measure.
#   tools/measure-saver.sh [--build DIR] [--ticks N]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/run-support.sh

build=build/win64
ticks=500
read_options "build ticks" "$@"
refuse_other_args measure-saver
measure=$build/bin/saver-measure.exe
[[ -f $measure ]] || { echo "measure-saver: $measure is missing (build win64)" >&2; exit 1; }
assets=$(winepath -w "$PWD/assets" 2>/dev/null || echo "Z:${PWD//\//\\}\\assets")

for size in 1920x1080 3840x2160; do
  width=${size%x*} height=${size#*x}
  runs=()
  for face in "lifeface.bmp 16 16 25 6 5 12" "tinyface.bmp 8 8 13 6 2 7"; do
    read -r file fw fh frames rows born die <<<"$face"
    cells=$(( (width / fw) * (height / fh) ))
    for initpop in 150 $((cells / 3)); do
      runs+=("$assets\\$file $fw $fh $frames $rows $born $die $ticks $initpop")
    done
  done
  printf '%s\n' "${runs[@]}" >"$build/bin/measure-runs.txt"
  tools/wine-session.sh --size "$size" bash -c '
    while read -r line; do wine "$0" $line; done <"$1"' "$measure" "$build/bin/measure-runs.txt"
done
