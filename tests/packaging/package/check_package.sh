#!/usr/bin/env bash
# Makes the Debian package from the build in $1 (scripts/package.sh --no-build)
# and checks it without installing it: lintian finds no error, the AppStream
# data validates, the contents are complete, one version runs through the
# package, its change log, its AppStream data and brptool, the dependencies
# name what the programs load, and there are no maintainer scripts (the
# desktop's caches are refreshed by triggers).
# Usage: check_package.sh BUILD_DIR SOURCE_DIR PROJECT_VERSION
set -euo pipefail
BUILD="$1"; SRC="$2"; VERSION="$3"
for tool in lintian appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DEB="$(bash "$SRC/scripts/package.sh" --no-build --build-dir "$BUILD" --out "$TMP" | tail -n 1)"
[ -f "$DEB" ] || fail "no package made"
[ "$(basename "$DEB")" = "pedidos_${VERSION}_$(dpkg --print-architecture).deb" ] || fail "package named $(basename "$DEB")"

# lintian: errors fail; what else it says is shown.
lintian --fail-on error --display-info "$DEB" >"$TMP/lintian.txt" 2>&1 || { cat "$TMP/lintian.txt" >&2; fail "lintian reports errors"; }
grep -v '^running with root privileges' "$TMP/lintian.txt" || true

dpkg-deb -x "$DEB" "$TMP/root"
dpkg-deb -e "$DEB" "$TMP/control"
ROOT="$TMP/root/usr"
for f in share/applications/pedidos.desktop share/applications/brptool-view.desktop \
         share/mime/packages/pedidos-brp.xml share/icons/hicolor/scalable/apps/pedidos.svg \
         share/icons/hicolor/48x48/apps/pedidos.png share/metainfo/org.example.pedidos.metainfo.xml \
         share/doc/pedidos/copyright share/doc/pedidos/changelog.gz share/doc/pedidos/README.md; do
  [ -f "$ROOT/$f" ] || fail "/usr/$f missing"
done
for exe in pedidos brptool pedidos-demo-db; do
  [ -x "$ROOT/bin/$exe" ] || fail "/usr/bin/$exe missing"
done
for exe in "$ROOT"/bin/*; do
  [ -f "$ROOT/share/man/man1/$(basename "$exe").1.gz" ] || fail "no manual page for $(basename "$exe")"
done
# Only the file type's source: the MIME database itself belongs to shared-mime-info.
[ "$(find "$ROOT/share/mime" -type f | wc -l)" -eq 1 ] || fail "the package holds MIME cache files"
[ "$(find "$TMP/root" -mindepth 1 -maxdepth 1)" = "$TMP/root/usr" ] || fail "files outside /usr"

appstreamcli validate --no-net "$ROOT/share/metainfo/org.example.pedidos.metainfo.xml" >&2 \
  || fail "the AppStream data does not validate"

# One version everywhere.
control() { sed -n "s/^$1: //p" "$TMP/control/control"; }
[ "$(control Version)" = "$VERSION" ] || fail "package version $(control Version), project $VERSION"
changelog="$(gzip -dc "$ROOT/share/doc/pedidos/changelog.gz" | sed -n '1s/^pedidos (\(.*\)).*/\1/p')"
[ "$changelog" = "$VERSION" ] || fail "the change log's last entry is $changelog, the project $VERSION"
grep -q "<release version=\"$VERSION\"" "$ROOT/share/metainfo/org.example.pedidos.metainfo.xml" \
  || fail "the AppStream data has no release $VERSION"
[ "$(QT_QPA_PLATFORM=offscreen "$BUILD/tools/brptool" version)" = "brptool $VERSION" ] || fail "brptool version is not $VERSION"

# The dependencies: found from the libraries, plus what is loaded at run time.
depends="$(control Depends)"
for dep in libfbclient2 libqt6widgets6 libqt6printsupport6 firebird3.0-server-core fonts-liberation; do
  grep -qw "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
# No maintainer scripts.
if ls "$TMP/control" | grep -qvxE "control|md5sums"; then fail "maintainer scripts: $(ls "$TMP/control" | tr "\n" " ")"; fi
echo "package $(basename "$DEB") complete, lintian clean of errors"
