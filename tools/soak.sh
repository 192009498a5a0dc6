#!/usr/bin/env bash
# Long runs that watch for drift: the engine soak (native; every world shape
# for SOAK_GENERATIONS generations) and the real saver under Wine with a
# 1 ms timer for SOAK_MINUTES minutes, sampled every minute.
#   tools/soak.sh [engine|saver]...   (default: both)
# Environment: SOAK_GENERATIONS (default 1000000), SOAK_MINUTES (default
# 20), SOAK_SCREEN (default 1920x1080). Figures go to build/soak/*.txt too.
set -euo pipefail
cd "$(dirname "$0")/.."

generations=${SOAK_GENERATIONS:-1000000}
minutes=${SOAK_MINUTES:-20}
screen=${SOAK_SCREEN:-1920x1080}
out=build/soak
mkdir -p "$out"

parts=("$@")
(( ${#parts[@]} )) || parts=(engine saver)
failed=()
for part in "${parts[@]}"; do
  case $part in
    engine)
      echo "soak: engine, $generations generations per shape"
      build/native/bin/engine-soak --generations "$generations" | tee "$out/engine.txt" ||
        failed+=(engine) ;;
    saver)
      echo "soak: life.scr /s under Wine at $screen, delay 1 ms, $minutes minutes"
      tools/wine-session.sh --size "$screen" wine build/win64/bin/saver-soak.exe "$minutes" |
        tr -d '\r' | tee "$out/saver.txt" || failed+=(saver) ;;
    *) echo "soak: unknown part $part" >&2; exit 2 ;;
  esac
done
if (( ${#failed[@]} )); then
  echo "soak: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "soak: no drift"
