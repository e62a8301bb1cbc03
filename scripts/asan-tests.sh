#!/usr/bin/env bash
# Builds the drawing surface and EMF tests with AddressSanitizer and UBSan in
# build/asan and runs them (the player reads untrusted files).
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=build/asan
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRP_SANITIZE=ON -DBRP_BENCH=OFF \
      "${LAUNCHER[@]}" >/dev/null
cmake --build "$DIR" -j "$(nproc)" --target test_gdi
export QT_QPA_PLATFORM=offscreen BRP_SOURCE_DIR="$PWD" BRP_BINARY_DIR="$PWD/$DIR"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$DIR/tests/gdi/test_gdi"
