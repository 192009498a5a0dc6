#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan on) and runs each
# from its seed corpus in tests/fuzz/corpus/<target>:
#   catalogue     the face catalogue parser
#   command-line  argument splitting, mode choice, decimal handles
#   setup         setup's intro and install flow over the fake platform
#   settings      the settings reader over the in-memory registry
#   face-sheet    arbitrary files and geometry as a face set
#   tools/fuzz.sh [TARGET...]          FUZZ_SECONDS each (default 120)
#   tools/fuzz.sh --short [TARGET...]  FUZZ_SHORT_SECONDS each (default 5)
#   tools/fuzz.sh --build [TARGET...]  builds only
# FUZZ_BUILD_DIR (default build/fuzz) holds the programs, the growing
# corpora, the logs, any crash inputs and summary.txt (executions and
# findings per target).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-120}
build_only=
if [[ "${1:-}" == --short ]]; then seconds=${FUZZ_SHORT_SECONDS:-5}; shift; fi
if [[ "${1:-}" == --build ]]; then build_only=1; shift; fi
build=${FUZZ_BUILD_DIR:-build/fuzz}
mkdir -p "$build"
# Absolute: a target may change its current directory (setup's does).
build=$(realpath "$build")

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer -Wall -Wextra -Wpedantic -Wshadow -Wconversion
       -Wsign-conversion -Wold-style-cast -Werror)

# name: max input length, include folders, sources (libs after "--").
declare -A maxlen includes sources
maxlen[catalogue]=4096
includes[catalogue]="scene engine"
sources[catalogue]="tests/fuzz/CatalogueFuzz.cpp scene/FaceCatalogue.cpp scene/CatalogueNative.cpp"
maxlen[command-line]=1024
includes[command-line]="host/logic"
sources[command-line]="tests/fuzz/CommandLineFuzz.cpp host/logic/CommandLine.cpp"
maxlen[setup]=4096
# LifeVersion.h comes from the native build.
includes[setup]="setup tests/setup build/native/generated"
sources[setup]="tests/fuzz/SetupFuzz.cpp setup/CopyListWalk.cpp setup/FileCopyStep.cpp
  setup/InstallStep.cpp setup/IntroStep.cpp setup/PlatformCheck.cpp setup/SetupDialog.cpp
  setup/Registration.cpp setup/SetupMessage.cpp setup/PlainFileName.cpp setup/SetupCommandLine.cpp
  setup/UninstallStep.cpp tests/setup/FakeSetupPlatform.cpp tests/setup/ScratchFolder.cpp"
maxlen[settings]=8192
includes[settings]="saver engine"
sources[settings]="tests/fuzz/SettingsFuzz.cpp saver/Settings.cpp saver/MemoryRegistry.cpp
  saver/Registry.cpp saver/RegistryNative.cpp"
maxlen[face-sheet]=16384
includes[face-sheet]="engine engine/canvas scene"
sources[face-sheet]="tests/fuzz/FaceSheetFuzz.cpp engine/Acquisition.cpp engine/CellMap.cpp
  engine/EngineSetup.cpp scene/Fatal.cpp engine/canvas/FaceCanvas.cpp engine/canvas/Picture.cpp
  engine/canvas/PictureNative.cpp engine/canvas/FaceSheetFile.cpp engine/canvas/NativeFont.cpp engine/canvas/ActivityFontNative.cpp
  -- $build/stb_image.o -lstb"
all_targets=(catalogue command-line setup settings face-sheet)

build_target() {
  local name=$1 program=$build/$1_fuzz
  local -a srcs libs=() incs=()
  srcs=(${sources[$name]})
  local i
  for i in "${!srcs[@]}"; do
    if [[ ${srcs[$i]} == -- ]]; then libs=("${srcs[@]:i+1}"); srcs=("${srcs[@]:0:i}"); break; fi
  done
  for i in ${includes[$name]}; do incs+=(-I"$i"); done
  if [[ $name == face-sheet && ! -f $build/stb_image.o ]]; then
    # The decoder is compiled in, instrumented, so the fuzzer explores it.
    clang -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all \
      -c tests/fuzz/StbImage.c -o "$build/stb_image.o"
  fi
  # Rebuilt when a source or a header of its folders changed.
  if [[ -x $program && -z $(find "${srcs[@]}" ${includes[$name]} \( -name '*.h' -o \
                               -name '*.cpp' \) -newer "$program" 2>/dev/null) ]]; then
    return 0
  fi
  echo "fuzz: building $program"
  clang++ "${flags[@]}" "${incs[@]}" "${srcs[@]}" "${libs[@]}" -o "$program"
}

targets=("$@")
(( ${#targets[@]} )) || targets=("${all_targets[@]}")
failed=()
: >"$build/summary.txt"
for name in "${targets[@]}"; do
  [[ -n ${sources[$name]:-} ]] || { echo "fuzz: no target $name" >&2; exit 2; }
  build_target "$name"
  [[ -z $build_only ]] || continue
  mkdir -p "$build/corpus/$name" "$build/crashes/$name" "tests/fuzz/corpus/$name"
  echo "fuzz: running $name for ${seconds}s"
  # The working corpus grows in the build folder; the seeds (and the
  # regression inputs among them) stay as they are and run first.
  log=$build/$name.log
  status=0
  "$build/${name}_fuzz" -max_total_time="$seconds" -max_len="${maxlen[$name]}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/crashes/$name/" \
    "$build/corpus/$name" "$PWD/tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  runs=$(grep -oP '^stat::number_of_executed_units: \K[0-9]+' "$log" || echo "?")
  corpus=$(find "$build/corpus/$name" -type f | wc -l)
  if (( status )); then
    failed+=("$name")
    tail -30 "$log"
    line="$name: FAILED after $runs executions, input in $build/crashes/$name"
  else
    line="$name: $runs executions in ${seconds}s, corpus $corpus inputs, no failure"
  fi
  echo "fuzz: $line" | tee -a "$build/summary.txt"
done
if (( ${#failed[@]} )); then
  echo "fuzz: FAILED: ${failed[*]}" >&2
  exit 1
fi
