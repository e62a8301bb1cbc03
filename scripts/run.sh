#!/usr/bin/env bash
# Installs what is missing, builds in release mode and starts the program. On
# its first start the program makes the demo database and the alias file that
# names it itself (README, "Where its data lives").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
# Only what runs here: the program, brptool and the demo-data tool.
cmake --preset release -DBRP_TESTS=OFF -DBRP_BENCH=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" --target pedidos brptool pedidos-demo-db

exec build/release/app/pedidos
