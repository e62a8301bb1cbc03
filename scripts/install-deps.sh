#!/usr/bin/env bash
# Installs every Debian package the program, its tests and its tools need;
# with the argument `run`, only what building and running the program needs;
# with `package`, that and what making the Debian package needs.
# Packages already present are left alone, so a second run costs nothing.
set -euo pipefail

# What building and running the program needs.
PACKAGES=(
  # build
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev
  # the X connection, watched so that the program stops cleanly when it goes
  libxcb1-dev
  # database: client library, headers and the embedded engine
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils
  # fonts metric-compatible with the ones the layouts were designed with
  fonts-liberation fonts-dejavu-core
  # printing through the system's queues
  cups-client
)
# Making the Debian package (scripts/package.sh, `install-deps.sh package`):
# manual pages from their source, dependencies from the programs' libraries.
PACKAGING=(scdoc file dpkg-dev)
[ "${1:-all}" != package ] || PACKAGES+=("${PACKAGING[@]}")
# What the tests, benchmarks and tools around them need as well
# (`install-deps.sh run` and `package` leave these out).
if [ "${1:-all}" != run ] && [ "${1:-all}" != package ]; then
  PACKAGES+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    # running and looking at the window without a display; a window manager
    # and keys sent through XTEST for the tests of real window-system events
    xvfb xauth x11-apps imagemagick openbox libxtst-dev
    # printing end to end, and reading what arrives
    cups cups-bsd printer-driver-cups-pdf poppler-utils
    # independent EMF reader, fuzzing
    emf2svg clang libclang-rt-14-dev
    # profiling the benchmarks
    linux-perf
    # time zones with clock changes, for the local times the data sets hold
    tzdata
    # checking the desktop entries and the file type that install puts in place
    desktop-file-utils shared-mime-info
    # making the package and checking it: its contents, AppStream data and
    # manual pages, and the installed program's window found by its title
    "${PACKAGING[@]}" lintian appstream man-db x11-utils
  )
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
