#!/usr/bin/env bash
# CPU per tick and peak memory of the XScreenSaver hack lifefaces, drawing
# on the root window of a private Xvfb screen as fast as it can (-delay 0)
# for a number of generations, with MIT-SHM and with plain XPutImage.
# Also the X server's CPU per tick, which is where XPutImage's copying goes,
# and the hack's peak memory per screen pixel from 1080p to 8K.
# Options: --build DIR (default build/native), --ticks N (default 1000).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/run-support.sh

build=build/native
ticks=1000
read_options "build ticks" "$@"
refuse_other_args measure-x11
hack=$build/bin/lifefaces
[[ -x $hack ]] || { echo "measure-x11: $hack is missing" >&2; exit 1; }

make_workspace lifefaces-measure

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {  # size faces shm-option start-population
  local size=$1 faces=$2 shm=$3 initpop=$4
  start_xvfb "$size"
  local server_before; server_before=$(cpu_ticks "$xvfb_pid")
  DISPLAY=$xvfb_display "$hack" -root -seed 1 -delay 0 -fps -faces "$faces" "$shm" \
    -initpop "$initpop" \
    -stop-after "$ticks" 2>"$work/err" &
  hack_pid=$!
  for _ in $(seq 1 6000); do
    grep -q "stopped after" "$work/err" && break
    kill -0 "$hack_pid" 2>/dev/null || break
    sleep 0.1
  done
  local server_after; server_after=$(cpu_ticks "$xvfb_pid")
  local line; line=$(grep "stopped after" "$work/err" || echo "no result: $(cat "$work/err")")
  kill "$hack_pid"; wait "$hack_pid" || true; hack_pid=
  stop_xvfb
  local hz; hz=$(getconf CLK_TCK)
  local server_ms
  server_ms=$(awk -v a="$server_before" -v b="$server_after" -v hz="$hz" -v n="$ticks" \
    'BEGIN { printf "%.3f", (b - a) * 1000 / hz / n }')
  local per_pixel
  per_pixel=$(awk -v line="$line" -v size="$size" 'BEGIN {
    split(size, wh, "x"); if (match(line, /peak memory [0-9.]+ MiB/)) {
      split(substr(line, RSTART, RLENGTH), f, " "); printf "%.1f", f[3] * 1048576 / (wh[1] * wh[2]) }
    else printf "?" }')
  printf '%-9s %-12s %-7s %-6s %s (%s B/px); X server %s ms CPU per tick\n' "$size" "$faces" \
    "$initpop" "$shm" \
    "${line#lifefaces: }" "$per_pixel" "$server_ms"
}

# The saver's default start population, then worlds full of faces.
for shm in ${LIFEFACES_MEASURE_SHM:--shm -no-shm}; do
  measure 1920x1080 lifeface.bmp "$shm" 150
  measure 3840x2160 tinyface.bmp "$shm" 150
  measure 1920x1080 lifeface.bmp "$shm" 2680
  measure 3840x2160 tinyface.bmp "$shm" 43200
done
# Memory as the screen grows: a busy world of the default faces.
for size in 1920x1080 3840x2160 7680x4320; do
  measure "$size" lifeface.bmp -shm 40000
done
