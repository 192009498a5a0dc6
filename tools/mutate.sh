#!/usr/bin/env bash
# Mutation check of the native tests: applies each fault of a list, one at a
# time, to a scratch copy of the tree, rebuilds natively and runs the native
# tests, and prints the faults that no test caught. Not part of `make test`.
#
#   tools/mutate.sh [LIST [PATTERN]]
#
# LIST defaults to tools/mutations.txt: one fault a line, "file @@ original
# text @@ faulty text", where the original text occurs exactly once in the
# file; # starts a comment line. PATTERN, if given, keeps only the lines
# that contain it. The scratch copy lives in $MUTATE_DIR (default
# /tmp/life-mutate-$USER) and keeps its native build between runs, so that
# each fault costs one incremental build. Exit code 0 when every fault was
# caught, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
source_tree=$PWD
list=$(realpath "${1:-tools/mutations.txt}")
pattern=${2:-}
scratch=${MUTATE_DIR:-/tmp/life-mutate-${USER:-$(id -un)}}
log=$scratch/last.log
mkdir -p "$scratch/tree"

# Bring the scratch copy up to date with the tree's files (tracked and new,
# not ignored), copying only what differs so the build stays incremental.
git ls-files -co --exclude-standard -z | while IFS= read -r -d '' file; do
  [[ -f $file ]] || continue
  if ! cmp -s "$file" "$scratch/tree/$file"; then
    mkdir -p "$scratch/tree/$(dirname "$file")"
    cp "$file" "$scratch/tree/$file"
  fi
done
cd "$scratch/tree"

build() { nice cmake --build --preset native >"$log" 2>&1; }
run_tests() {
  nice ctest --preset native --stop-on-failure -j2 --timeout 120 >>"$log" 2>&1
}

[[ -f build/native/build.ninja ]] || cmake --preset native >"$log" 2>&1
if ! build || ! run_tests; then
  echo "mutate: the unchanged tree does not build or pass its tests; see $log" >&2
  exit 2
fi

occurrences() {  # FILE TEXT: how often TEXT occurs in FILE
  TEXT=$2 perl -0777 -ne '$n = () = /\Q$ENV{TEXT}\E/g; print $n' "$1"
}

killed=0 survived=0 invalid=0
survivors=()
while IFS= read -r line || [[ -n $line ]]; do
  [[ -z ${line// } || $line == \#* ]] && continue
  [[ -n $pattern && $line != *"$pattern"* ]] && continue
  file=${line%% @@ *}
  rest=${line#* @@ }
  original=${rest%% @@ *}
  faulty=${rest#* @@ }
  if [[ $line != *" @@ "*" @@ "* || ! -f $file ]]; then
    echo "INVALID  (no such file or not three fields) $line"
    invalid=$((invalid + 1))
    continue
  fi
  count=$(occurrences "$file" "$original")
  if [[ $count != 1 ]]; then
    echo "INVALID  (original text occurs $count times) $line"
    invalid=$((invalid + 1))
    continue
  fi
  cp "$file" "$scratch/saved"
  ORIGINAL=$original FAULTY=$faulty \
    perl -0777 -pi -e 's/\Q$ENV{ORIGINAL}\E/$ENV{FAULTY}/' "$file"
  if ! build; then
    echo "INVALID  (does not build) $line"
    invalid=$((invalid + 1))
  elif run_tests; then
    echo "SURVIVED $line"
    survived=$((survived + 1))
    survivors+=("$line")
  else
    echo "killed   $line"
    killed=$((killed + 1))
  fi
  cp "$scratch/saved" "$file"
done <"$list"
build || true  # leave the scratch build matching the tree

total=$((killed + survived))
echo
echo "Faults caught: $killed of $total$( ((total)) && echo " ($((100 * killed / total))%)")," \
     "survived: $survived, not usable: $invalid"
for line in "${survivors[@]}"; do echo "  survived: $line"; done
((survived == 0))
