#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan, build/fuzz) and
# runs each for a while, starting from its corpus in fuzz/corpus/<target>/.
# Afterwards the corpus is merged with what the run found (libFuzzer -merge=1),
# keeping only inputs that add coverage, so the corpus grows from run to run.
#
# Usage: fuzz.sh [-t SECONDS] [-b|-n] [TARGET...]
#   -t SECONDS  run time per target (default 60)
#   -b          build only
#   -n          do not build (the targets are built already)
#   TARGET      fuzz_expr, fuzz_brp_loader, ... (default: every fuzz/*.cpp)
# A crash, leak or hang leaves its input in build/fuzz/artifacts/ and makes the
# script exit with 1 (after the other targets have run). An input counts as a
# hang after FUZZ_TIMEOUT seconds of wall-clock time (60 by default: a fuzzer
# run under nice on a busy machine can wait seconds for the processor).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
DIR=build/fuzz
SECONDS_EACH=60
BUILD_ONLY=0
TIMEOUT=${FUZZ_TIMEOUT:-60}
BUILD=1
while getopts "t:bn" opt; do
  case $opt in
    t) SECONDS_EACH=$OPTARG ;;
    b) BUILD_ONLY=1 ;;
    n) BUILD=0 ;;
    *) sed -n '2,17p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do TARGETS+=("$(basename "$f" .cpp)"); done
fi
for t in "${TARGETS[@]}"; do
  [ -f "fuzz/$t.cpp" ] || { echo "no fuzz target $t (fuzz/$t.cpp)" >&2; exit 2; }
done

if [ "$BUILD" = 1 ]; then
  # The fuzz preset (CMakePresets.json): clang, sanitizers and fuzzing flags.
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$(nproc)" --target "${TARGETS[@]}"
fi
[ "$BUILD_ONLY" = 1 ] && exit 0

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$DIR/artifacts"
failed=()
for t in "${TARGETS[@]}"; do
  bin="$DIR/fuzz/$t"
  corpus="fuzz/corpus/$t"
  finds="$DIR/finds/$t"
  merged="$DIR/merged/$t"
  mkdir -p "$corpus" "$finds"
  extra=()
  [ -f "fuzz/$t.dict" ] && extra+=("-dict=fuzz/$t.dict")
  echo "== $t: ${SECONDS_EACH}s from $(ls "$corpus" | wc -l) corpus inputs"
  # New inputs go to the first folder (the scratch one); the corpus is read only here.
  if ! nice -n 19 "$bin" -max_total_time="$SECONDS_EACH" -timeout="$TIMEOUT" -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$DIR/artifacts/$t-" "${extra[@]}" \
        "$finds" "$corpus" 2>&1 | tee "$DIR/$t.log" | grep -E '^#[0-9]+ +(DONE|INITED)|ERROR|stat::'; then
    :
  fi
  if grep -qE '^==[0-9]+==ERROR|^SUMMARY: |deadly signal|ALARM: working on the last Unit' "$DIR/$t.log"; then
    echo "!! $t found a fault: see $DIR/$t.log and $DIR/artifacts/" >&2
    failed+=("$t")
  fi
  # Minimise: the smallest set of inputs from corpus and finds that keeps all coverage.
  rm -rf "$merged" && mkdir -p "$merged"
  nice -n 19 "$bin" -merge=1 -timeout="$TIMEOUT" -rss_limit_mb=4096 "$merged" "$corpus" "$finds" \
    >"$DIR/$t.merge.log" 2>&1 || { echo "!! merge failed for $t: $DIR/$t.merge.log" >&2; failed+=("$t"); continue; }
  if [ -n "$(ls -A "$merged")" ]; then
    rm -rf "$corpus" && mv "$merged" "$corpus"
  fi
  rm -rf "$finds"
  echo "   corpus now $(ls "$corpus" | wc -l) inputs, $(cat "$corpus"/* | wc -c) bytes"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "faults found by: ${failed[*]}" >&2
  exit 1
fi
