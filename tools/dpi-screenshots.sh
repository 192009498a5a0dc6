#!/usr/bin/env bash
# Pictures of the dialogs of life.scr and setup.exe at 144 and 192 DPI, as
# the high-DPI layout test sees them under Xvfb with Wine drawing the
# window frames: OUT_DIR/{options-dialog,about-box,setup-dialog}-{144,192}.png
#   tools/dpi-screenshots.sh [OUT_DIR] [BUILD_DIR]
#   (defaults out/dpi-shots and build/win64; BUILD_DIR must hold
#   dialog_dpi_e2e.exe, life.scr and setup.exe in bin/)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-out/dpi-shots}")
build=$(realpath "${2:-build/win64}")
mkdir -p "$out"
rm -f "$out"/*-1[49][42].bmp

tools/wine-session.sh --size 1024x768 bash -c '
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  LIFE_SCREENSHOT_DIR=$(winepath -w "$2") wine "$1/bin/dialog_dpi_e2e.exe"
' screenshots "$build" "$out"

for picture in "$out"/*.bmp; do
  convert "$picture" "${picture%.bmp}.png"
  rm "$picture"
  echo "${picture%.bmp}.png"
done
