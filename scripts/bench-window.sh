#!/bin/bash
# What one pointer move costs in a maximised 3840 x 2160 window: the CPU time
# of Kalidor and of the X server per move, over a stroke of real X input, for
# the costly symmetric settings beside a move that draws nothing. For people
# changing the repaint code; not a test (the numbers depend on the machine).
#   scripts/bench-window.sh [BINARY]   default build/kalidor, built first
# MOVES (default 300) sets the moves per stroke; CASES, a regular expression,
# picks the cases to run besides the baseline (all by default). With SHOT_DIR set, the
# screenshots taken while setting up each case are kept there.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
if [ $# -eq 0 ]; then scripts/build.sh; fi
KALIDOR=$(realpath "${1:-build/kalidor}")
MOVES=${MOVES:-300}
BASE_MOVES=$((MOVES * 3))  # the cheap move gets more, its CPU is counted in 10 ms ticks
HZ=$(getconf CLK_TCK)
SCREEN_SIZE=3840x2160
. tests/acceptance/x_session.sh

# ticks PID: user + system CPU of the process and all its threads so far.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
now() { date +%s.%N; }
# settle: waits until neither Kalidor nor the X server has used CPU for a
# second, so that the work queued behind the last move is counted; sets
# LAST_BUSY to when one of them last did.
settle() {
    local last cur quiet=0
    last="$(ticks "$KALIDOR_PID") $(ticks "$XVFB_PID")"
    LAST_BUSY=$(now)
    for _ in $(seq 1200); do
        sleep 0.1
        cur="$(ticks "$KALIDOR_PID") $(ticks "$XVFB_PID")"
        if [ "$cur" != "$last" ]; then
            last=$cur LAST_BUSY=$(now) quiet=0
        else
            quiet=$((quiet + 1))
            [ "$quiet" -lt 10 ] || return 0
        fi
    done
    echo "warning: still busy after two minutes" >&2
}

# at I N: sets X, Y to the screen position of point I of N on the canvas
# diagonal from (300, 300) to (3300, 1800); the canvas's interior starts at
# (102, 12) of the client area. It keeps off the control point's marker, which
# a press would drag.
at() { X=$((WIN_X + 402 + 3000 * $1 / $2)) Y=$((WIN_Y + 312 + 1500 * $1 / $2)); }
# One xdotool for the whole stroke, its arguments made beforehand; the pause
# lets the server dispatch every motion instead of merging those that queue up.
plan_moves() {
    MOVE_ARGS=()
    for i in $(seq 1 "$1"); do
        at "$i" "$1"
        MOVE_ARGS+=(mousemove "$X" "$Y" sleep 0.004)
    done
}

# Settings, by the controls' client positions (tests/acceptance/*.sh).
click() { click_at "$1" "$2" 1; sleep 0.3; }
pattern() { click 30 80; }
centric() { click 30 60; }
chess() { click 40 130; }
one_pixel_cells() {  # a Shift-press with Pannern down puts the pattern point at canvas (1, 1)
    xdotool mousemove "$(sx 103)" "$(sy 13)" keydown shift click 1 keyup shift
    sleep 0.3
}
n16() { click 45 147; xdotool key End; sleep 0.3; }
width30() {  # the width slider's handle dragged to its right end
    xdotool mousemove "$(sx 10)" "$(sy 565)" mousedown 1
    for x in 30 60 90 120 150; do xdotool mousemove "$(sx $x)" "$(sy 565)"; done
    xdotool mouseup 1
    sleep 0.3
}

ROWS=()
# run_case NAME BUTTON SETTINGS...: a fresh Kalidor with the settings, then
# a stroke (BUTTON 1) or plain moves (BUTTON 0) measured from the first move
# until both processes are idle again; the press and release are not counted.
run_case() {
    local name=$1 button=$2 n=$MOVES setup="$WORK/setup-${1//[^A-Za-z0-9]/-}.png"
    shift 2
    [ "$button" = 0 ] || [[ "$name" =~ ${CASES:-.} ]] || return 0
    start_kalidor "$KALIDOR"
    for setting in "$@"; do "$setting"; done
    shot "$setup"
    if [ "$button" = 1 ] && [ "$(pixel "$setup" 90 609)" != "0,0,0" ]; then
        echo "FAIL: $name: the width bar does not show width 30" >&2
        exit 1
    fi
    [ "$button" = 1 ] || n=$BASE_MOVES
    plan_moves "$n"
    at 0 "$n"
    xdotool mousemove "$X" "$Y"
    [ "$button" = 0 ] || xdotool mousedown 1
    settle
    local k0 x0 t0 t1
    k0=$(ticks "$KALIDOR_PID") x0=$(ticks "$XVFB_PID") t0=$(now)
    xdotool "${MOVE_ARGS[@]}"
    t1=$(now)
    settle
    ROWS+=("$name|$n|$t0|$t1|$LAST_BUSY|$(($(ticks "$KALIDOR_PID") - k0))|$(($(ticks "$XVFB_PID") - x0))")
    [ "$button" = 0 ] || xdotool mouseup 1
    if [ "$name" = "Pattern 1 px Chess" ]; then
        settle
        mkdir -p build
        shot build/bench-window-chess.png
    fi
    kill "$KALIDOR_PID"
    wait "$KALIDOR_PID" 2>/dev/null || true
}

run_case "baseline (no button)" 0
run_case "Pattern 200 px" 1 pattern width30
run_case "Pattern 1 px" 1 pattern one_pixel_cells width30
run_case "Pattern 1 px Chess" 1 pattern one_pixel_cells chess width30
run_case "Centric N=16" 1 centric n16 width30

echo
echo "Kalidor $KALIDOR, ${SCREEN_SIZE} screen, canvas ${CANVAS_W}x${CANVAS_H}, pen width 30"
printf '%s\n' "${ROWS[@]}" | awk -F'|' -v hz="$HZ" '
    BEGIN {
        print "| case                 | moves | moves s | tail s | Kalidor ms/move | x base | Xvfb ms/move | x base |"
        print "|----------------------|------:|--------:|-------:|----------------:|-------:|-------------:|-------:|"
    }
    {
        k = 1000 * $6 / hz / $2; x = 1000 * $7 / hz / $2
        if (NR == 1) { kb = k; xb = x }
        tail = $5 - $4; if (tail < 0) tail = 0
        kr = "-"; if (kb > 0) kr = sprintf("%.1f", k / kb)
        xr = "-"; if (xb > 0) xr = sprintf("%.1f", x / xb)
        printf "| %-20s | %5d | %7.2f | %6.1f | %15.3f | %6s | %12.3f | %6s |\n", $1, $2, $4 - $3, tail, k, kr, x, xr
    }'
echo "moves s: sending the moves (4 ms apart); tail s: busy after the last move (0.1 s"
echo "steps). CPU is counted in ticks of $((1000 / HZ)) ms over all of a stroke's moves."
