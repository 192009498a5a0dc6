#!/usr/bin/env bash
# Pictures of life.scr's configuration dialog and About box, taken under
# Xvfb with Wine drawing the window frames: out/options-dialog.png and
# out/about-box.png.
#   tools/dialog-screenshots.sh [BUILD_DIR]    (default build/win64)
# BUILD_DIR must hold life.scr and options_dialog_e2e.exe in bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/win64}")
mkdir -p out
rm -f out/options-dialog.bmp out/about-box.bmp

tools/wine-session.sh --size 640x480 bash -c '
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  LIFE_SCREENSHOT_DIR=$(winepath -w "$PWD/out") \
    wine "$1/bin/options_dialog_e2e.exe" --gtest_filter="*Screenshots*"
' screenshots "$build"

for name in options-dialog about-box; do
  convert "out/$name.bmp" "out/$name.png"
  rm "out/$name.bmp"
  echo "out/$name.png"
done
