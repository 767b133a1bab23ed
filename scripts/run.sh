#!/bin/sh
# Installs what is missing, builds Kalidor and starts it.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/kalidor
