#!/bin/sh
# Installs what is missing, builds Kalidor and runs every test.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2
