#!/usr/bin/env bash
# Configures and builds into build/<type in lower case> (Release by default).
# Usage: build.sh [TYPE] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
TYPE="${1:-Release}"
shift || true
DIR="build/$(echo "$TYPE" | tr '[:upper:]' '[:lower:]')"
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths relative to the checkout, so another clone reuses the same cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE="$TYPE" "${LAUNCHER[@]}" "$@" >/dev/null
cmake --build "$DIR" -j "$(nproc)"
