#!/usr/bin/env bash
# CPU per tick and peak memory of the XScreenSaver hack lifefaces, drawing
# on the root window of a private Xvfb screen as fast as it can (-delay 0)
# for a number of generations, with MIT-SHM and with plain XPutImage.
# Also the X server's CPU per tick, which is where XPutImage's copying goes.
# Options: --build DIR (default build/native), --ticks N (default 1000).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/native
ticks=1000
while (( $# )); do
  case $1 in
    --build) build=$2; shift 2 ;;
    --ticks) ticks=$2; shift 2 ;;
    *) echo "measure-x11: unknown option $1" >&2; exit 2 ;;
  esac
done
hack=$build/bin/lifefaces
[[ -x $hack ]] || { echo "measure-x11: $hack is missing" >&2; exit 1; }

work=$(mktemp -d /tmp/lifefaces-measure.XXXXXX)
xvfb_pid=
hack_pid=
cleanup() {
  [[ -n $hack_pid ]] && kill "$hack_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {  # size faces shm-option start-population
  local size=$1 faces=$2 shm=$3 initpop=$4
  rm -f "$work/displayfd"; mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 20 number <"$work/displayfd"
  local server_before; server_before=$(cpu_ticks "$xvfb_pid")
  DISPLAY=:$number "$hack" -root -seed 1 -delay 0 -fps -faces "$faces" "$shm" \
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
  kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=
  local hz; hz=$(getconf CLK_TCK)
  local server_ms
  server_ms=$(awk -v a="$server_before" -v b="$server_after" -v hz="$hz" -v n="$ticks" \
    'BEGIN { printf "%.3f", (b - a) * 1000 / hz / n }')
  printf '%-9s %-12s %-7s %-6s %s; X server %s ms CPU per tick\n' "$size" "$faces" \
    "$initpop" "$shm" \
    "${line#lifefaces: }" "$server_ms"
}

# The saver's default start population, then worlds full of faces.
for shm in ${LIFEFACES_MEASURE_SHM:--shm -no-shm}; do
  measure 1920x1080 lifeface.bmp "$shm" 150
  measure 3840x2160 tinyface.bmp "$shm" 150
  measure 1920x1080 lifeface.bmp "$shm" 2680
  measure 3840x2160 tinyface.bmp "$shm" 43200
done
