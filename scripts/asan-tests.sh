#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer, UBSan and LeakSanitizer in
# build/asan and runs every test there (GUI tests on the offscreen platform),
# through the asan presets (CMakePresets.json: the sanitizer options, and the
# tests run without the leak check, with the reason).
# The sanitizer flags come from the brp_build_settings target, which every
# library, tool and test links, so new folders are covered without changes here.
# Leaks owned by system libraries are suppressed by name in scripts/lsan.supp.
# Usage: asan-tests.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
DIR=build/asan
start=$(date +%s)
cmake --preset asan "$@" >/dev/null
cmake --build --preset asan -j "$(nproc)"
# The print queue made by cups-setup.sh for the release build, if any.
[ -f build/release/cups-pdf.env ] && cp build/release/cups-pdf.env "$DIR/cups-pdf.env"
rc=0
ctest --preset asan -j "$(nproc)" || rc=$?
ctest --preset asan-no-leak-check -j "$(nproc)" || rc=$?
echo "sanitizer stage (build and tests): $(( $(date +%s) - start )) s"
exit $rc
