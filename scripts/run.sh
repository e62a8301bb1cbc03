#!/usr/bin/env bash
# Installs what is missing, builds in release mode and starts the program on the
# demo database (created on first start in the user's data directory).
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

# The demo database and the alias that names it, made once; later starts keep
# whatever is there, so an edited alias file or database stays as it is.
DATA="${XDG_DATA_HOME:-$HOME/.local/share}/pedidos"
CONF="${XDG_CONFIG_HOME:-$HOME/.config}/pedidos"
mkdir -p "$DATA" "$CONF"
if [ ! -f "$DATA/Kavrano.gdb" ]; then
  "$DIR/db/pedidos-demo-db" "$DATA/Kavrano.gdb" --orders 2000
fi
if [ ! -f "$CONF/aliases.conf" ]; then
  cat > "$CONF/aliases.conf" <<CONF
# Database aliases of the listing program (see README, "Where its data lives").
[Kavrano]
DRIVER=INTRBASE
SERVER NAME=$DATA/Kavrano.gdb
USER NAME=SYSDBA

# Windows drive paths as the program knows them, and where they are here.
[Path map]
C:\\=$DATA/
CONF
fi
exec "$DIR/app/pedidos"
