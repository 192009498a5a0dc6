#!/usr/bin/env bash
# CTest's emulator for the Windows test programs: runs one under Wine,
# inside the caller's Wine session or in a private one of its own.
if [[ -z "${LIFE_WINE_SESSION:-}" ]]; then
  exec "$(dirname "$0")/../tools/wine-session.sh" "$0" "$@"
fi
exec wine "$@"
