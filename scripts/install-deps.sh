#!/bin/sh
# Installs the Debian packages Kalidor needs, where they are missing.
#   scripts/install-deps.sh          to build and run
#   scripts/install-deps.sh --package  to make the Debian package as well
#   scripts/install-deps.sh --test   to build, package and test
set -eu

PACKAGES="g++ cmake ninja-build qt6-base-dev libpng-dev fonts-dejavu-core fonts-dejavu-extra"
case "${1:-}" in --package | --test)
    # dpkg-shlibdeps finds the package's dependencies; desktop-file-validate
    # checks its desktop entry, man (with groff) and lexgrog its manual page,
    # appstreamcli its metainfo.
    PACKAGES="$PACKAGES dpkg-dev desktop-file-utils man-db groff-base appstream" ;;
esac
if [ "${1:-}" = "--test" ]; then
    PACKAGES="$PACKAGES libbenchmark-dev xvfb xdotool openbox x11-utils imagemagick"
    # scripts/bench-instructions.sh counts a step's instructions with callgrind.
    PACKAGES="$PACKAGES valgrind"
    # The accessible tree of the real window, read over AT-SPI as a screen
    # reader reads it: the session bus (dbus-launch), the accessibility bus and
    # its registry, and Python's bindings.
    PACKAGES="$PACKAGES dbus-x11 at-spi2-core python3-pyatspi"
    # The package is installed on a clean Debian root made by debootstrap.
    PACKAGES="$PACKAGES debootstrap"
    # The sanitized build and the fuzzer: clang with its runtimes (libFuzzer
    # among them) and llvm-symbolizer for readable reports.
    PACKAGES="$PACKAGES clang libclang-rt-dev llvm"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
