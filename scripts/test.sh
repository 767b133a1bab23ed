#!/bin/sh
# Installs what is missing, builds Kalidor and runs every test: once as built
# for use, then again built with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2)

scripts/build.sh --sanitize
# The first report, a leak at exit included, fails the test that made it.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2
