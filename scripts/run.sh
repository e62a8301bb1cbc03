#!/usr/bin/env bash
# Installs what is missing, builds in release mode and starts the program. On
# its first start the program makes the demo database and the alias file that
# names it itself (README, "Where its data lives").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
# Only what runs here: the program, brptool and the demo-data tool.
DIR=build/release
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRP_TESTS=OFF -DBRP_BENCH=OFF "${LAUNCHER[@]}" >/dev/null
cmake --build "$DIR" -j "$(nproc)" --target pedidos brptool pedidos-demo-db

exec "$DIR/app/pedidos"
