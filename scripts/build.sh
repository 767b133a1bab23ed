#!/bin/sh
# Configures and builds Kalidor and its tests in build/.
#   scripts/build.sh --sanitize [TARGET...]   builds in build-asan/ instead, with
#   clang, AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzer
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
    shift
    # A debug build, for Qt's own assertions (an index out of a QList's or a
    # QByteArray's range), optimised a little and with line numbers only, which
    # the reports need. No benchmarks: nothing is worth timing there.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
        -DCMAKE_CXX_COMPILER=clang++ -DKALIDOR_SANITIZE=ON -DKALIDOR_FUZZ=ON \
        -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
    if [ $# -gt 0 ]; then
        exec cmake --build build-asan -j 2 --target "$@"
    fi
    exec cmake --build build-asan -j 2
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2
