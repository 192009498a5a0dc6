#!/usr/bin/env bash
# check-manual-page.sh PAGE HACK [OTHER-PAGE...]: the manual pages render
# without warnings, carry a date and the version in their header and have
# COPYRIGHT and AUTHOR sections; PAGE describes every option that the
# hack's -help lists.
set -euo pipefail
page=$1 hack=$2
shift 2

for p in "$page" "$@"; do
  warnings=$(MANWIDTH=80 man --warnings -l "$p" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "$p: $warnings" >&2; exit 1; }
  grep -Eq '^\.TH [^ ]+ [0-9] "[0-9]{4}-[0-9]{2}-[0-9]{2}" "lifefaces [0-9.]+"' "$p" \
    || { echo "$p: no date or version in the .TH header" >&2; exit 1; }
  for section in COPYRIGHT AUTHOR; do
    grep -q "^\.SH $section" "$p" || { echo "$p: no $section section" >&2; exit 1; }
  done
done

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
