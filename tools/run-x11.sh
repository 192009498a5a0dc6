#!/usr/bin/env bash
# `make run-x11`: the XScreenSaver hack lifefaces from the native build.
#  - With a display (DISPLAY set): in a window of its own until it is closed
#    (or Ctrl-C).
#  - Without one: a few seconds on a private virtual screen; a screenshot is
#    saved under out/.
# Options: --build DIR (default build/native), --seconds N (headless run
# time, default 5), --size WxH (headless screen, default 1024x768); any
# further arguments go to lifefaces (see lifefaces -help).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source tools/lib/run-support.sh

build=build/native
seconds=5
size=1024x768
read_options "build seconds size" "$@"
hack_args=("${other_args[@]}")

hack=$build/bin/lifefaces
if [[ ! -x $hack ]]; then
  echo "run-x11: $hack is missing; build it first (make build-native)" >&2
  exit 1
fi

if [[ -n ${DISPLAY:-} ]]; then
  echo "run-x11: lifefaces in a window on $DISPLAY; close it or press Ctrl-C to end."
  status=0
  "$hack" -window "${hack_args[@]}" || status=$?
  echo "run-x11: lifefaces ended with exit code $status."
  exit "$status"
fi

# A private virtual screen: Xvfb picks a free display number and tells it.
make_workspace lifefaces-run
start_xvfb "$size" || { echo "run-x11: Xvfb did not start" >&2; exit 1; }
export DISPLAY=$xvfb_display

"$hack" -root "${hack_args[@]}" &
hack_pid=$!
sleep "$seconds"
if ! kill -0 "$hack_pid" 2>/dev/null; then
  wait "$hack_pid" || true
  echo "run-x11: lifefaces ended early" >&2
  exit 1
fi
shot=$root/out/lifefaces-run.png
save_screenshot "$shot"
kill "$hack_pid"
status=0
wait "$hack_pid" || status=$?
hack_pid=
echo "run-x11: no display; lifefaces ran ${seconds} s on a virtual ${size} screen" \
  "and ended with exit code $status."
echo "run-x11: screenshot: $shot"
