#!/bin/sh
# embed-data.sh NAME FILE OUT: a script that hands FILE's bytes to the page
# as lifeData(NAME, base64). A page opened from a folder (file://) may load
# scripts with <script> elements where fetch() is refused. NAME is the face
# sheet's catalogue name, empty for the activity line's font.
set -eu
mkdir -p "$(dirname "$3")"
{
  printf '"use strict";\nlifeData("%s", "' "$1"
  base64 -w0 "$2"
  printf '");\n'
} >"$3.tmp"
mv "$3.tmp" "$3"
