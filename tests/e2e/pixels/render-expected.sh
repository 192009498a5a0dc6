#!/usr/bin/env bash
# The pixel test's expected pictures: each scenario rendered by the native
# life-render, converted to BMP for the Windows test program, and listed in
# scenarios.txt, which the test program reads; then runs the test program.
#   render-expected.sh LIFE_RENDER ASSETS_DIR TEST_PROGRAM [EMULATOR...]
set -euo pipefail
render=$1 assets=$2 program=$3
shift 3

if [[ ! -x $render ]]; then
  echo "render-expected: $render is missing; build the native preset first" >&2
  exit 1
fi
out=$(dirname "$program")/pixels
rm -rf "$out"
mkdir -p "$out"
: >"$out/scenarios.txt"

# scenario NAME TICKS FACE FLAGS COLOR: FACE is file,w,h,frames,rows,bornEnd,dieStart
# and FLAGS three 0/1 digits for mini display, activity bar, frame screen.
# After TICKS ticks the saver shows the world after TICKS - 1 steps. The
# pictures leave the activity line out, as the two sides draw text with
# different font engines; its generation and population go into the list,
# and the test program draws the line itself, as the saver does.
scenario() {
  local name=$1 ticks=$2 face=$3 flags=$4 color=$5
  local options=(--size 1024x768 --seed 42 --initpop 150 --ticks $((ticks - 1))
                 --face "$face" --dir "$assets" --color "$color" --out "$out/$name.png")
  [[ ${flags:0:1} == 1 ]] && options+=(--mini-display) || options+=(--no-mini-display)
  [[ ${flags:2:1} == 1 ]] && options+=(--frame-screen) || options+=(--no-frame-screen)
  local stats generation population
  stats=$("$render" "${options[@]}" --no-activity-bar --stats)
  read -r _ generation population <<<"${stats##*$'\n'}"
  convert "$out/$name.png" -type truecolor BMP3:"$out/$name.bmp"
  cp "$assets/${face%%,*}" "$out/"
  echo "$name $ticks ${face//,/ } $flags $color $generation $population" \
    >>"$out/scenarios.txt"
}

scenario lifeface-overlays 30 lifeface.bmp,16,16,25,6,5,12 111 0xC0C0C0
scenario lifeface-plain 2 lifeface.bmp,16,16,25,6,5,12 000 0xC0C0C0
scenario tinyface-framed 60 tinyface.bmp,8,8,13,6,2,7 001 0x00FF00
scenario fishface-overlays 25 fishface.bmp,24,16,20,4,4,10 111 0x2080FF

exec "$@" "$program"
