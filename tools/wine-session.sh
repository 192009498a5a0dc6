#!/usr/bin/env bash
# Runs a command inside a private Wine session: a fresh WINEPREFIX in a
# temporary folder and a private Xvfb display, both removed afterwards.
#   tools/wine-session.sh [--size WxH[,WxH...]] COMMAND [ARGS...]
# Inside, LIFE_WINE_SESSION=1, WINEPREFIX, DISPLAY and WINEDEBUG are set.
# Several sizes make one Xvfb screen each, joined by Xinerama, and Wine is
# told to read them through Xinerama rather than XRandR: it then reports a
# monitor per screen, every one at 0,0 (Xvfb stacks its heads there; heads
# of equal size count as mirrors of one monitor).
set -euo pipefail

size=1024x768
if [[ "${1:-}" == --size ]]; then size=$2; shift 2; fi

workdir=$(mktemp -d /tmp/life-wine.XXXXXX)
export WINEPREFIX=$workdir/prefix
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid=

cleanup() {
  local rc=$?
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$workdir"
  exit $rc
}
trap cleanup EXIT INT TERM

# A free display number: Xvfb picks one and writes it to the fd we give it.
# Up to 60 s: on a loaded machine a start has taken longer than 30.
exec {dfd}<> <(:)
IFS=, read -ra sizes <<<"$size"
screens=()
for i in "${!sizes[@]}"; do screens+=(-screen "$i" "${sizes[$i]}x24"); done
if (( ${#sizes[@]} > 1 )); then screens+=(+xinerama); fi
Xvfb -displayfd "$dfd" "${screens[@]}" -nolisten tcp -noreset \
  >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
for _ in $(seq 1 600); do
  if read -r -t 0.1 -u "$dfd" display && [[ -n "$display" ]]; then break; fi
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$workdir/xvfb.log" >&2; exit 1; }
done
[[ -n "$display" ]] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display

wineboot -i >/dev/null 2>&1
if (( ${#sizes[@]} > 1 )); then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
fi
wineserver -w
export LIFE_WINE_SESSION=1
"$@"
