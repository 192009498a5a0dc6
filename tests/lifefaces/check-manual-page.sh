#!/usr/bin/env bash
# check-manual-page.sh PAGE HACK: the manual page renders without warnings
# and describes every option that the hack's -help lists.
set -euo pipefail
page=$1 hack=$2

warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[[ -z $warnings ]] || { echo "$page: $warnings" >&2; exit 1; }

# Each option heads an entry: ".B \-name", ".BI \-name ..." or
# ".B \-name | \-no\-name".
names=$("$hack" -help | grep -o -- '-\[no-\][a-z-]*\|-[a-z][a-z-]*' \
        | sed 's/^-\[no-\]\(.*\)/-\1 -no-\1/' | tr ' ' '\n' | sort -u)
missing=0
for name in $names; do
  escaped=${name//-/\\\\-}
  grep -Eq "^\.BI? (.* )?${escaped}( |\$)" "$page" && continue
  echo "$page: no entry for $name" >&2
  missing=1
done
exit $missing
