#!/bin/sh
# Builds Kalidor and makes its Debian package, build/kalidor_<version>_<arch>.deb.
# Install it with: sudo apt-get install ./build/kalidor_*.deb
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
scripts/build.sh
cd build
cpack -G DEB
