#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (GUI tests on Qt's
# offscreen platform), then builds everything again with AddressSanitizer,
# UBSan and LeakSanitizer (build/asan) and runs every test there too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh Release -DBRP_TESTS=ON -DBRP_BENCH=ON
DIR=build/release
export QT_QPA_PLATFORM=offscreen
bash scripts/cups-setup.sh "$DIR/cups-pdf.env" || true  # a PDF print queue; its test skips without one
ctest --test-dir "$DIR" --output-on-failure -j "$(nproc)"
bash scripts/asan-tests.sh
