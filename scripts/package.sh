#!/usr/bin/env bash
# Builds the release build and the Debian package from it.
# Usage: package.sh [--no-build] [--build-dir DIR] [--out DIR]
#   --no-build      package what DIR holds (built already), install nothing
#   --build-dir DIR the build to package (build/release by default)
#   --out DIR       where the package goes (the build folder by default)
# Prints the package's path on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build/release
OUT=""
BUILD_FIRST=1
while (($#)); do
  case "$1" in
    --no-build) BUILD_FIRST=0 ;;
    --build-dir) BUILD="$2"; shift ;;
    --out) OUT="$2"; shift ;;
    *) echo "usage: package.sh [--no-build] [--build-dir DIR] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done
if ((BUILD_FIRST)); then
  bash scripts/install-deps.sh package
  # build.sh keeps the folder's other options (tests, benchmarks) as they are.
  bash scripts/build.sh Release
  BUILD=build/release
fi
[ -f "$BUILD/CPackConfig.cmake" ] || { echo "package.sh: $BUILD is not a configured build" >&2; exit 1; }
BUILD="$(cd "$BUILD" && pwd)"
OUT="$(mkdir -p "${OUT:-$BUILD}" && cd "${OUT:-$BUILD}" && pwd)"
# CPack's staging folder goes to a temporary place, deleted afterwards.
STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
(cd "$STAGE" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$STAGE" >cpack.log 2>&1) \
  || { cat "$STAGE/cpack.log" >&2; exit 1; }
DEB=("$STAGE"/*.deb)
[ -f "${DEB[0]}" ] || { cat "$STAGE/cpack.log" >&2; echo "package.sh: cpack made no package" >&2; exit 1; }
mv "${DEB[0]}" "$OUT/"
echo "$OUT/$(basename "${DEB[0]}")"
