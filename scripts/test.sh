#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (GUI tests on Qt's
# offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh Release -DBRP_BENCH=ON
DIR=build/release
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$DIR" --output-on-failure -j "$(nproc)"
bash scripts/asan-tests.sh
