#!/usr/bin/env bash
# Installs the build in $1 into a temporary staging folder and checks what a
# desktop needs: executables, valid desktop entries, icons, and a file type
# that recognises saved reports by name and by content.
set -euo pipefail
BUILD="$1"
STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
DESTDIR="$STAGE" cmake --install "$BUILD" --prefix /usr >/dev/null
ROOT="$STAGE/usr"
fail() { echo "FAIL: $*" >&2; exit 1; }

for exe in pedidos brptool pedidos-demo-db; do
  [ -x "$ROOT/bin/$exe" ] || fail "bin/$exe missing"
done
for entry in pedidos brptool-view; do
  f="$ROOT/share/applications/$entry.desktop"
  [ -f "$f" ] || fail "$entry.desktop missing"
  desktop-file-validate "$f" || fail "$entry.desktop does not validate"
done
grep -q '^Exec=brptool view %f$' "$ROOT/share/applications/brptool-view.desktop" || fail "viewer entry does not run brptool view"
grep -q '^MimeType=application/x-brp-report;$' "$ROOT/share/applications/brptool-view.desktop" || fail "viewer entry does not take saved reports"
[ -f "$ROOT/share/icons/hicolor/scalable/apps/pedidos.svg" ] || fail "scalable icon missing"
for s in 16 24 32 48 64 128 256; do
  [ -f "$ROOT/share/icons/hicolor/${s}x${s}/apps/pedidos.png" ] || fail "${s}px icon missing"
done

# The file type as the desktop's MIME database sees it.
MIME="$ROOT/share/mime"
[ -f "$MIME/packages/pedidos-brp.xml" ] || fail "file type missing"
update-mime-database "$MIME" 2>/dev/null
grep -q 'application/x-brp-report:\*\.brp' "$MIME/globs2" || fail "*.brp not mapped to the saved-report type"
grep -aq 'application/x-brp-report' "$MIME/magic" || fail "saved-report header not in the magic database"
echo "staged install complete"
