#!/usr/bin/env bash
# Fails when a 32-bit program imports a library or a function that is not
# in the list of what Windows 95 exports: such a program does not load
# there at all. Usage: imports-test.sh <list> <program>...
set -euo pipefail
list=$1
shift
for program in "$@"; do
  [[ -f $program ]] || { echo "$program is missing (build the win32 preset first)"; exit 77; }
done

# The list as "LIBRARY FUNCTION" lines, libraries in upper case.
known=$(awk '/^#/ || NF == 0 { next }
             /^\[/ { library = toupper(substr($0, 2, length($0) - 2)); next }
             { for (i = 1; i <= NF; ++i) print library, $i }' "$list" | sort -u)

status=0
for program in "$@"; do
  imports=$(i686-w64-mingw32-objdump -p "$program" |
            awk '/DLL Name:/ { library = toupper($3) }
                 /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print library, $3 }' | sort -u)
  # An empty list would mean objdump's layout changed, not a clean program.
  [[ -n $imports ]] || { echo "$program: no imports read"; status=1; continue; }
  missing=$(comm -23 <(echo "$imports") <(echo "$known"))
  [[ -z $missing ]] || { echo "$(basename "$program") imports what Windows 95 lacks:"
                         echo "$missing" | sed 's/^/  /'; status=1; }
done
exit $status
