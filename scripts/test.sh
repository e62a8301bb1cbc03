#!/usr/bin/env bash
# Installs what is missing, builds and runs every test
# (GUI tests on Qt's offscreen platform), then builds everything again with
# AddressSanitizer, UBSan and LeakSanitizer (build/asan) and runs every test
# there too. CI runs this. The release build treats warnings as errors; the
# sanitizer build does not, as gcc's flow warnings (-Wmaybe-uninitialized and
# the like) change with the instrumentation and report code that is sound.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh Release -DBRP_TESTS=ON -DBRP_BENCH=ON -DBRP_WERROR=ON
bash scripts/cups-setup.sh build/release/cups-pdf.env || true  # a PDF print queue; its test skips without one
ctest --preset release -j "$(nproc)"
bash scripts/asan-tests.sh
