#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (GUI tests on Qt's
# offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh Release -DBRP_TESTS=ON -DBRP_BENCH=ON
DIR=build/release
export QT_QPA_PLATFORM=offscreen
bash scripts/cups-setup.sh "$DIR/cups-pdf.env" || true  # a PDF print queue; its test skips without one
bash scripts/asan-tests.sh   # the EMF reader under AddressSanitizer
ctest --test-dir "$DIR" --output-on-failure -j "$(nproc)"
