#!/usr/bin/env bash
# Configures and builds into build/<type in lower case> (Release by default)
# through the CMake preset of that name (CMakePresets.json).
# Usage: build.sh [Release|RelWithDebInfo|Debug] [extra cmake options...]
# Options already chosen for the folder (tests, benchmarks, warnings as
# errors) are kept unless given again; the preset only fills in a new folder.
set -euo pipefail
cd "$(dirname "$0")/.."
TYPE="${1:-Release}"
shift || true
PRESET="$(echo "$TYPE" | tr '[:upper:]' '[:lower:]')"
case "$PRESET" in
  release | relwithdebinfo | debug) ;;
  *) echo "build.sh: no build type $TYPE (Release, RelWithDebInfo or Debug)" >&2; exit 2 ;;
esac
KEEP=()
if [ -f "build/$PRESET/CMakeCache.txt" ]; then
  for option in BRP_TESTS BRP_BENCH; do
    value="$(sed -n "s/^$option:BOOL=//p" "build/$PRESET/CMakeCache.txt")"
    [ -z "$value" ] || KEEP+=("-D$option=$value")
  done
fi
cmake --preset "$PRESET" "${KEEP[@]}" "$@" >/dev/null
cmake --build --preset "$PRESET" -j "$(nproc)"
