#!/usr/bin/env bash
# Installs what is missing, builds in release mode and starts the program on the
# demo database (created on first start in the user's data directory).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh Release
DIR=build/release
exec "$DIR/app/pedidos"
