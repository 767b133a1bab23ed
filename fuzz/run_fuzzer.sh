#!/bin/sh
# Fuzzes the picture loader for SECONDS, starting from freshly written seed
# pictures, the inputs that once broke it and the corpus earlier runs kept in
# WORK. Fails on a crash or sanitizer report, a leak, an input that takes over
# a second of processor time, or memory beyond the loader's bound; the input
# that did it is left in WORK/artifacts/.
#   run_fuzzer.sh FUZZER MAKE_SEED_PICTURES WORK SECONDS
set -eu
FUZZER=$1
WORK=$3
HERE=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$WORK/corpus" "$WORK/artifacts"
"$2" "$WORK/seeds"
REGRESSIONS=$HERE/../tests/picture/regressions
[ -d "$REGRESSIONS" ] || REGRESSIONS=

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The fuzzer lowers the loader's limit to 1024 x 1024 pixels, 4 MB, and so
# that of a progressive JPEG's coefficients to twice that: no input may
# allocate 9 MB at once or grow the process beyond what Qt, the fuzzer and
# ASan's quarantine of freed memory (64 MB here) take. The fuzzer fails an
# input that takes a second of processor time; the wall-clock limit here is
# for one that never returns, long enough that a busy machine cannot trip it.
# New inputs go into the first folder, the corpus; the others are only read.
exec "$FUZZER" -max_total_time="$4" -timeout=10 \
    -malloc_limit_mb=9 -rss_limit_mb=512 -dict="$HERE/picture_formats.dict" \
    -print_final_stats=1 -artifact_prefix="$WORK/artifacts/" \
    "$WORK/corpus" "$WORK/seeds" $REGRESSIONS
