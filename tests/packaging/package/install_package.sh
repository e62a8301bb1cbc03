#!/usr/bin/env bash
# The package end to end, as a user gets it: made from the build in $1,
# installed with apt-get, its programs run from the installed paths (brptool,
# pedidos-demo-db, man brptool; pedidos started offscreen with a fresh HOME
# makes its demo database and stays up, and on a virtual display shows its
# window), then removed, leaving nothing of it behind. Whatever happens, the
# package and any package the installation brought along are removed again.
# Needs root; skipped otherwise, and when a pedidos package is installed
# already (it is not ours to replace).
# Usage: install_package.sh BUILD_DIR SOURCE_DIR PROJECT_VERSION
set -euo pipefail
BUILD="$1"; SRC="$2"; VERSION="$3"
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root (scripts/test.sh runs the tests as root on the build machine)"
command -v apt-get >/dev/null || skip "no apt-get on this machine"
APT=(apt-get -y -q -o DPkg::Lock::Timeout=120)
export DEBIAN_FRONTEND=noninteractive
# The packages this test installs (pedidos and what apt brings along with it,
# as apt planned it beforehand); while this file exists, the machine has
# something of the test's to take away again, even after a run that was
# killed before it could clean up. Other packages are never touched: others
# may install theirs on the same machine meanwhile.
MARK=/var/tmp/pedidos-package-test.installs
restore_machine() {
  [ -f "$MARK" ] || return 0
  # A run killed while apt was at work leaves dpkg to finish first.
  dpkg --configure -a >/dev/null 2>&1 || true
  local p present=()
  for p in $(cat "$MARK"); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -qv 'not-installed' && present+=("$p")
  done
  ((${#present[@]} == 0)) || "${APT[@]}" purge "${present[@]}" >/dev/null 2>&1 || true
  # Kept while the package is still there, so that the next run tries again.
  if dpkg-query -W -f='${Status}' pedidos 2>/dev/null | grep -q 'ok installed'; then
    echo "could not remove the pedidos package; the next run tries again" >&2
  else
    rm -f "$MARK"
  fi
  # And the temporary folder of a run that could not delete it.
  if [ -f "$MARK.tmp" ]; then
    rm -rf "$(cat "$MARK.tmp")"
    rm -f "$MARK.tmp"
  fi
}
if [ -f "$MARK" ]; then
  echo "note: removing what an earlier run that was cut short left installed"
  restore_machine
fi
if dpkg-query -W -f='${Status}' pedidos 2>/dev/null | grep -q 'ok installed'; then
  skip "a pedidos package is installed on this machine already; the test does not replace it"
fi

TMP="$(mktemp -d)"
chmod 755 "$TMP"   # apt's download user reads the package from here
PID=""
# The program ends on SIGTERM only once its database engine lets it; past a
# few seconds it is killed.
stop_pedidos() {
  [ -n "$PID" ] || return 0
  kill "$PID" 2>/dev/null || true
  for _ in $(seq 25); do kill -0 "$PID" 2>/dev/null || break; sleep 0.2; done
  kill -KILL "$PID" 2>/dev/null || true
  wait "$PID" 2>/dev/null || true
  PID=""
}
cleanup() {
  stop_pedidos
  restore_machine
  rm -rf "$TMP"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

DEB="$(bash "$SRC/scripts/package.sh" --no-build --build-dir "$BUILD" --out "$TMP" | tail -n 1)"
{ echo pedidos; "${APT[@]}" -s install --no-install-recommends "$DEB" | sed -n 's/^Inst \([^ :]*\).*/\1/p' | grep -vx pedidos || true; } >"$MARK"
echo "$TMP" >"$MARK.tmp"
"${APT[@]}" install --no-install-recommends "$DEB" >"$TMP/apt.log" 2>&1 \
  || { cat "$TMP/apt.log" >&2; fail "apt-get install failed"; }
dpkg-query -W -f='${Version}' pedidos | grep -qx "$VERSION" || fail "pedidos $VERSION is not installed"

# The programs from the installed paths, on a PATH that has nothing else of ours.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME FIREBIRD_LOCK
[ "$(command -v brptool)" = /usr/bin/brptool ] || fail "brptool is not /usr/bin/brptool"
[ "$(brptool version)" = "brptool $VERSION" ] || fail "brptool version: $(brptool version)"
pedidos-demo-db "$TMP/demo.fdb" --orders 20 >/dev/null || fail "pedidos-demo-db failed"
[ -s "$TMP/demo.fdb" ] || fail "pedidos-demo-db made no database"
if grep -rqs '^path-exclude=/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d; then
  echo "note: dpkg is set to leave out manual pages here; man brptool not checked"
else
  [ "$(man -w brptool)" = /usr/share/man/man1/brptool.1.gz ] || fail "man finds no brptool page"
  MANPAGER=cat MANWIDTH=80 man brptool 2>/dev/null | grep -q 'brptool - inspect' || fail "man brptool shows no page"
fi

# The desktop's caches, refreshed by the triggers of the packages that own them.
if [ -x /usr/bin/update-mime-database ]; then
  [ -f /usr/share/mime/application/x-brp-report.xml ] || fail "the MIME database does not know saved reports"
fi
if [ -x /usr/bin/update-desktop-database ]; then
  grep -q 'application/x-brp-report=.*brptool-view.desktop' /usr/share/applications/mimeinfo.cache \
    || fail "the desktop does not open saved reports with brptool view"
fi

# First start with a fresh HOME, from a folder without Caminho.Dir.
export HOME="$TMP/home" XDG_RUNTIME_DIR="$TMP/run"
mkdir -p "$HOME" "$TMP/work" && mkdir -m 700 "$XDG_RUNTIME_DIR"
DB="$HOME/.local/share/pedidos/Kavrano.gdb"
ALIASES="$HOME/.config/pedidos/aliases.conf"
# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local seconds="$1"; shift
  for _ in $(seq $((seconds * 5))); do
    "$@" && return 0
    [ -z "$PID" ] || kill -0 "$PID" 2>/dev/null || fail "pedidos ended early: $(cat "$TMP/pedidos.log")"
    sleep 0.2
  done
  return 1
}
holds_database() { ls -l "/proc/$PID/fd" 2>/dev/null | grep -qF "$DB"; }
(cd "$TMP/work" && exec /usr/bin/pedidos >"$TMP/pedidos.log" 2>&1) &
PID=$!
wait_for 60 test -f "$ALIASES" || fail "no alias file after 60 s"
[ -f "$DB" ] || fail "the alias file came before the database"
grep -qx "SERVER NAME=$DB" "$ALIASES" || fail "the alias does not name the demo database"
# Connected: the window's connection holds the database open.
wait_for 30 holds_database || fail "pedidos does not hold its database open"
sleep 1
kill -0 "$PID" 2>/dev/null || fail "pedidos ended: $(cat "$TMP/pedidos.log")"
stop_pedidos

# The window on a display, by its title (the second start makes nothing).
if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
  title='Listagem de Pedidos sem Contas a Receber'
  xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
    cd "$1" && QT_QPA_PLATFORM=xcb /usr/bin/pedidos >"$2" 2>&1 &
    pid=$!
    for _ in $(seq 150); do
      if xwininfo -root -tree | grep -qF "\"$3\""; then kill -KILL $pid; exit 0; fi
      sleep 0.2
    done
    kill -KILL $pid; exit 1' sh "$TMP/work" "$TMP/pedidos-x.log" "$title" \
    || fail "no window \"$title\" on the display: $(cat "$TMP/pedidos-x.log")"
else
  echo "note: xvfb-run or xwininfo missing; the window on a display not checked"
fi

# Removed, nothing of it is left.
dpkg-deb -c "$DEB" | awk '{print $NF}' | sed 's|^\./|/|; s|/$||' >"$TMP/files.txt"
"${APT[@]}" purge pedidos >"$TMP/apt.log" 2>&1 || { cat "$TMP/apt.log" >&2; fail "apt-get purge failed"; }
! dpkg-query -W -f='${Status}' pedidos 2>/dev/null | grep -q 'ok installed' || fail "pedidos still installed"
while read -r path; do
  [ -n "$path" ] || continue
  # Folders that other packages share stay; files and our own folders go.
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    case "$path" in /usr/share/doc/pedidos) fail "$path left behind" ;; esac
  elif [ -e "$path" ]; then
    fail "$path left behind"
  fi
done <"$TMP/files.txt"
[ ! -e /usr/share/mime/application/x-brp-report.xml ] || fail "the MIME database still knows saved reports"
! grep -qs 'brptool-view.desktop' /usr/share/applications/mimeinfo.cache || fail "the desktop's cache still names brptool-view"
echo "package installed, run and removed"
