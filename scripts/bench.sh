#!/bin/sh
# Builds Kalidor and runs the drawing benchmarks, then prints every case as a
# ratio to its baselines from the same run. Extra arguments go to Google
# Benchmark, e.g. --benchmark_filter=Pattern
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bench/kalidor_bench --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=false "$@"
