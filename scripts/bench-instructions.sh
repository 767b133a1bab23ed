#!/bin/sh
# Counts the instructions of one drawing step, with callgrind, for the stroke
# benchmarks whose names match: unlike time, the count does not move with
# what else the machine does, so two builds compare to a fraction of a percent.
#   scripts/bench-instructions.sh [BENCH_BINARY] [NAME_REGEX]
# BENCH_BINARY defaults to build/bench/kalidor_bench, built first with what it
# needs installed; NAME_REGEX to the Pattern
# steps on 200-, 20- and 4-pixel cells and the Centric steps at N = 16.
# Prints each case's instructions per step: those of `PatternDrawLines` or
# `CenterDrawLines` and everything they call, over STEPS steps (100).
set -eu
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
    scripts/install-deps.sh --test
    scripts/build.sh
fi
BIN=${1:-build/bench/kalidor_bench}
CASES=${2:-'^step/(Pattern/cells:(200|20|4)/|Centric)'}
command -v valgrind >/dev/null || { echo "valgrind is needed (scripts/install-deps.sh --test installs it)" >&2; exit 1; }
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
STEPS=${STEPS:-100}
export QT_QPA_PLATFORM=offscreen KALIDOR_BENCH_ITERATIONS=$STEPS
printf "%-52s %12s\n" case "instructions a step"
"$BIN" --benchmark_list_tests | grep -E "$CASES" | while read -r name; do
    case "$name" in *Centric*) step='kalidor::CenterDrawLines*' ;; *) step='kalidor::PatternDrawLines*' ;; esac
    filter="^$(printf '%s' "$name" | sed 's/[][().*+?^$|]/\\&/g')\$"
    valgrind --tool=callgrind --callgrind-out-file="$OUT/cg" --toggle-collect="$step" \
        "$BIN" --benchmark_filter="$filter" >/dev/null 2>"$OUT/log"
    total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$OUT/log")
    printf '%-52s %12d\n' "$name" $((total / STEPS))
done
