#!/usr/bin/env bash
# `make run`: the real saver, life.scr /s, under Wine, in a throwaway Wine
# prefix, from a folder holding it and the face sheets.
#  - With a display (DISPLAY set): full screen on that display until a key,
#    a click or a mouse move ends it.
#  - Without one: a few seconds on a private virtual display; a screenshot
#    is saved under out/.
# Options: --build DIR (default build/win64), --seconds N (headless run
# time, default 5), --size WxH (headless screen, default 1024x768).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source tools/lib/run-support.sh

build=build/win64
seconds=5
size=1024x768
read_options "build seconds size" "$@"
refuse_other_args run

saver=$build/bin/life.scr
if [[ ! -f $saver ]]; then
  echo "run: $saver is missing; build it first (make build-win64)" >&2
  exit 1
fi

# The folder the saver runs in; the headless run inherits it.
stage=${LIFE_RUN_STAGE:-}
if [[ -z $stage ]]; then
  stage=$(mktemp -d /tmp/life-run.XXXXXX)
  cp "$saver" assets/*.bmp assets/life.nfo "$stage/"
fi

# Headless: inside tools/wine-session.sh, which made the prefix and display.
run_headless() {
  local shot=$root/out/life-run.png
  (cd "$stage" && exec wine life.scr /s) &
  local saver_pid=$!
  local shown=
  for _ in $(seq 1 150); do
    if xdotool search --name '^Screen Saver$' >/dev/null 2>&1; then shown=1; break; fi
    kill -0 "$saver_pid" 2>/dev/null || break
    sleep 0.2
  done
  if [[ -z $shown ]]; then
    echo "run: the saver window did not appear" >&2
    kill "$saver_pid" 2>/dev/null || true
    return 1
  fi
  sleep "$seconds"
  save_screenshot "$shot"
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  echo "run: no display; the saver ran ${seconds} s on a virtual ${size} screen."
  echo "run: screenshot: $shot"
}

if [[ -n ${LIFE_RUN_HEADLESS:-} ]]; then
  run_headless
  exit
fi

if [[ -z ${DISPLAY:-} ]]; then
  export LIFE_RUN_HEADLESS=1 LIFE_RUN_STAGE=$stage
  trap 'rm -rf "$stage"' EXIT
  tools/wine-session.sh --size "$size" "$0" --build "$build" --seconds "$seconds" --size "$size"
  exit
fi

export WINEPREFIX=$stage/prefix
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$stage"' EXIT
echo "run: preparing a throwaway Wine prefix..."
wineboot -i >/dev/null 2>&1
wineserver -w
echo "run: life.scr /s on display $DISPLAY; a key, a click or a mouse move ends it."
status=0
(cd "$stage" && wine life.scr /s) || status=$?
echo "run: the saver ended with exit code $status."
