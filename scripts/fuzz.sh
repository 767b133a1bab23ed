#!/bin/sh
# Fuzzes the picture loader for SECONDS (an hour unless given), continuing from
# the corpus of earlier runs in build-asan/fuzz/picture_loader/; an input that
# breaks the loader is left in its artifacts/ folder.
#   scripts/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh --sanitize fuzz_picture_loader make_seed_pictures
exec sh fuzz/run_fuzzer.sh build-asan/fuzz/fuzz_picture_loader build-asan/fuzz/make_seed_pictures \
    build-asan/fuzz/picture_loader "${1:-3600}"
