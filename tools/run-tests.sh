#!/usr/bin/env bash
# Runs every test: native, sanitizer, the Windows tests under Wine, and the
# hack's Debian package (built, installed, run and purged), the browser page
# in headless Chromium, and the release (built twice, compared byte for byte).
# Every suite runs even when an earlier one failed; the exit code says
# whether all passed.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=()
suite() {
  local name=$1; shift
  echo "=== $name ==="
  "$@" || failed+=("$name")
}

suite native   ctest --preset native -j2
suite sanitize ctest --preset sanitize -j2
[[ -x tools/fuzz.sh ]] && suite fuzz tools/fuzz.sh --short
suite win64    tools/wine-session.sh ctest --preset win64
suite deb      tests/lifefaces/deb-package-test.sh
suite web      tests/web/web_test.py
suite release  tests/release/release-test.sh

echo
if (( ${#failed[@]} )); then
  echo "FAILED suites: ${failed[*]}"
  exit 1
fi
echo "All test suites passed."
