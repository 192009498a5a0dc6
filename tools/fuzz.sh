#!/usr/bin/env bash
# Builds the face catalogue parser's libFuzzer target with clang (ASan and
# UBSan on) and runs it from the seed corpus in tests/fuzz/corpus.
#   tools/fuzz.sh           a long run (FUZZ_SECONDS, default 600)
#   tools/fuzz.sh --short   a bounded run of about 30 seconds, for make test
# FUZZ_BUILD_DIR (default build/fuzz) holds the program, the growing corpus
# and any crash inputs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-600}
[[ "${1:-}" == --short ]] && seconds=25
build=${FUZZ_BUILD_DIR:-build/fuzz}
mkdir -p "$build/corpus" "$build/crashes"

program=$build/catalogue_fuzz
sources=(tests/fuzz/CatalogueFuzz.cpp saver/FaceCatalogue.cpp saver/CatalogueNative.cpp)
if [[ ! -x $program || -n $(find "${sources[@]}" saver/FaceCatalogue.h engine/FaceInfo.h \
                               -newer "$program" 2>/dev/null) ]]; then
  echo "fuzz: building $program"
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -fno-omit-frame-pointer \
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast -Werror \
    -Isaver -Iengine "${sources[@]}" -o "$program"
fi

echo "fuzz: running the catalogue parser for ${seconds}s"
# The working corpus grows in the build folder; the seeds stay as they are.
"$program" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$build/crashes/" "$build/corpus" tests/fuzz/corpus 2>"$build/fuzz.log" \
  || { tail -40 "$build/fuzz.log"; echo "fuzz: FAILED, inputs in $build/crashes" >&2; exit 1; }
grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+.*DONE' "$build/fuzz.log" || true
echo "fuzz: no failure"
