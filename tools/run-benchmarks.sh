#!/usr/bin/env bash
# `make bench`: the generation step beside Golly's bgolly on the same soups,
# then natively on its own, then whole ticks at 4K through the Windows
# drawing layer under Wine, on one monitor and on two, the hack's CPU per
# tick and memory per pixel from 1080p to 8K beside the browser page's time
# per tick in Chromium, and the saver's own memory
# under Wine from 1080p to 8K.
set -euo pipefail
cd "$(dirname "$0")/.."
build/native/bin/golly-bench
build/native/bin/step-bench
LIFEFACES_MEASURE_SHM=-shm tools/measure-x11.sh --ticks 300
tools/measure-web.py --ticks 300
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp assets/lifeface.bmp assets/tinyface.bmp "$scratch/"
cd "$scratch"
"$OLDPWD/tools/wine-session.sh" --size 3840x2160 \
  wine "$OLDPWD/build/win64/bin/tick-bench.exe" lifeface.bmp 3840x2160 200
"$OLDPWD/tools/wine-session.sh" --size 3840x2160 \
  wine "$OLDPWD/build/win64/bin/monitors-bench.exe" tinyface.bmp 3840x2160 200
# The saver's own memory beside Wine's, to set beside the hack's bytes per
# pixel above.
for size in 1920x1080 3840x2160 7680x4320; do
  "$OLDPWD/tools/wine-session.sh" --size "$size" \
    wine "$OLDPWD/build/win64/bin/saver-memory-bench.exe" lifeface.bmp 100
done
