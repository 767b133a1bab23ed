#!/bin/bash
# What one pointer move costs in a maximised 3840 x 2160 window: the CPU time
# of Kalidor and of the X server per move, over a stroke of real X input, for
# the costly symmetric settings beside a move that draws nothing. For people
# changing the repaint code; not a test (the numbers depend on the machine).
#   scripts/bench-window.sh [BINARY]   default build/kalidor, built first
# Each case runs in one Kalidor, BLOCKS times (default 3) a block of MOVES
# moves (default 400) with no button down, then the same moves as a stroke:
# the machine's speed drifts, so each stroke is set against the moves that
# draw nothing just before it, and the middle of the blocks is shown.
# CASES, a regular expression, picks the cases (all by default). With
# SHOT_DIR set, the screenshots taken while setting up each case are kept there.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
if [ $# -eq 0 ]; then scripts/build.sh; fi
KALIDOR=$(realpath "${1:-build/kalidor}")
MOVES=${MOVES:-400}
BLOCKS=${BLOCKS:-3}
HZ=$(getconf CLK_TCK)
SCREEN_SIZE=3840x2160
. tests/acceptance/x_session.sh

# ticks PID: user + system CPU of the process and all its threads so far.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
# main_ticks PID: the same for the main thread alone, which handles the input;
# the recovery copy is written by another.
main_ticks() { sed 's/.*) //' "/proc/$1/task/$1/stat" | awk '{ print $12 + $13 }'; }
now() { date +%s.%N; }
# settle: waits until neither Kalidor nor the X server has used CPU for a
# second, so that the work queued behind the last move is counted; sets
# LAST_BUSY to when one of them last did, and LAST_KALIDOR to when Kalidor's
# main thread did, to within 10 ms: the X server ticks now and then on its own.
settle() {
    local last cur kalidor quiet=0
    kalidor=$(main_ticks "$KALIDOR_PID")
    last="$kalidor $(ticks "$XVFB_PID") $(ticks "$KALIDOR_PID")"
    LAST_BUSY=$(now) LAST_KALIDOR=$LAST_BUSY
    for _ in $(seq 12000); do
        sleep 0.01
        cur="$(main_ticks "$KALIDOR_PID") $(ticks "$XVFB_PID") $(ticks "$KALIDOR_PID")"
        if [ "$cur" != "$last" ]; then
            [ "${cur%% *}" = "$kalidor" ] || { kalidor=${cur%% *}; LAST_KALIDOR=$(now); }
            last=$cur LAST_BUSY=$(now) quiet=0
        else
            quiet=$((quiet + 1))
            [ "$quiet" -lt 100 ] || return 0
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
# lets the server dispatch every motion instead of merging those that queue
# up: 4 ms, a 250 Hz mouse, or PAUSE seconds (0.008 for a 125 Hz mouse).
plan_moves() {
    MOVE_ARGS=()
    for i in $(seq 1 "$1"); do
        at "$i" "$1"
        MOVE_ARGS+=(mousemove "$X" "$Y" sleep "${PAUSE:-0.004}")
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
twenty_pixel_cells() {  # the pattern point at canvas (20, 20)
    xdotool mousemove "$(sx 122)" "$(sy 32)" keydown shift click 1 keyup shift
    sleep 0.3
}
p6m() {  # the last of the status bar's fifth panel's groups
    xdotool mousemove "$(sx 370)" "$(sy $((WIN_H - 10)))" click 1
    sleep 0.5
    for _ in $(seq 17); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
}
mouse125() { PAUSE=0.008; }  # moves 8 ms apart
picture8k() {  # an 8192 x 8192 picture of its own, shown at 100 % from its corner
    xdotool key ctrl+alt+n
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^Size$' >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 0.5
    xdotool type --delay 20 8192
    xdotool key Tab
    xdotool type --delay 20 8192
    xdotool key Return
    sleep 2
}
width30() {  # the width slider's handle dragged to its right end
    xdotool mousemove "$(sx 10)" "$(sy 565)" mousedown 1
    for x in 30 60 90 120 150; do xdotool mousemove "$(sx $x)" "$(sy 565)"; done
    xdotool mouseup 1
    sleep 0.3
}

# block BUTTON: the planned moves, with button 1 down or none; appends the
# ticks of Kalidor and of the X server, and for a stroke how long both, and
# Kalidor alone, stayed busy after its last move, to the case's lists. Pressing and releasing are not counted.
block() {
    at 0 "$MOVES"
    xdotool mousemove "$X" "$Y"
    [ "$1" = 0 ] || xdotool mousedown 1
    settle
    local k0 x0 t1
    k0=$(ticks "$KALIDOR_PID") x0=$(ticks "$XVFB_PID")
    xdotool "${MOVE_ARGS[@]}"
    t1=$(now)
    settle
    local cpu="$(($(ticks "$KALIDOR_PID") - k0)) $(($(ticks "$XVFB_PID") - x0))"
    if [ "$1" = 0 ]; then BASE+=" $cpu"; else DRAW+=" $cpu"; TAILS+=" $(awk -v a="$LAST_BUSY" -v k="$LAST_KALIDOR" -v b="$t1" 'BEGIN { printf "%.2f/%.2f", a - b, k - b }')"; fi
    [ "$1" = 0 ] || undo_stroke
}

# Each stroke is undone, so that every one draws on the same blank canvas.
undo_stroke() {
    local released
    released=$(now)
    xdotool mouseup 1
    settle  # what the release draws: the copies beyond the view of a large picture
    RELEASES+=" $(awk -v k="$LAST_KALIDOR" -v b="$released" 'BEGIN { printf "%.2f", k - b }')"
    local check="$WORK/stroke.png" mid=$((MOVES / 2))
    [ -n "$UNDO_CHECKED" ] || shot "$check"
    xdotool key ctrl+z
    sleep 0.3
    [ -z "$UNDO_CHECKED" ] || return 0
    local drawn
    drawn=$(pixel "$check" $((402 + 3000 * mid / MOVES)) $((312 + 1500 * mid / MOVES)))
    shot "$check"
    if [ "$drawn" != "0,0,0" ] || [ "$(pixel "$check" $((402 + 3000 * mid / MOVES)) $((312 + 1500 * mid / MOVES)))" != "255,255,255" ]; then
        echo "FAIL: the stroke was not drawn ($drawn) or not undone by Ctrl+Z" >&2
        exit 1
    fi
    UNDO_CHECKED=1
}

ROWS=()
# run_case NAME SETTINGS...: a fresh Kalidor with the settings, then the blocks.
run_case() {
    local name=$1 setup="$WORK/setup-${1//[^A-Za-z0-9]/-}.png"
    shift
    [[ "$name" =~ ${CASES:-.} ]] || return 0
    start_kalidor "$KALIDOR"
    PAUSE=""
    for setting in "$@"; do "$setting"; done
    shot "$setup"
    if [ "$(pixel "$setup" 90 609)" != "0,0,0" ]; then
        echo "FAIL: $name: the width bar does not show width 30" >&2
        exit 1
    fi
    BASE="" DRAW="" TAILS="" RELEASES="" UNDO_CHECKED=""
    plan_moves "$MOVES"
    for _ in $(seq "$BLOCKS"); do
        block 0
        block 1
    done
    ROWS+=("$name|$BASE|$DRAW|$TAILS")
    echo "$name: Kalidor busy after each release, s:$RELEASES" >&2
    [ -z "${RAW:-}" ] || echo "$name: ticks with no button$BASE; in strokes$DRAW; tails$TAILS" >&2
    if [ "$name" = "Pattern 1 px Chess" ]; then
        # One more stroke, not measured and not undone, for the picture a user sees.
        at 0 "$MOVES"
        xdotool mousemove "$X" "$Y" mousedown 1
        for i in $(seq 1 40); do
            at "$i" "$MOVES"
            xdotool mousemove "$X" "$Y"
            sleep 0.01
        done
        xdotool mouseup 1
        settle
        mkdir -p build
        shot build/bench-window-chess.png
    fi
    kill "$KALIDOR_PID"
    wait "$KALIDOR_PID" 2>/dev/null || true
}

run_case "Pattern 200 px" pattern width30
run_case "Pattern 1 px" pattern one_pixel_cells width30
run_case "Pattern 1 px Chess" pattern one_pixel_cells chess width30
run_case "Centric N=16" centric n16 width30
# A wallpaper group's twelve operations, at a 125 Hz mouse.
run_case "p6m 200 px 125 Hz" pattern p6m width30 mouse125
run_case "p6m 20 px 125 Hz" pattern twenty_pixel_cells p6m width30 mouse125
# The same on an 8192 x 8192 picture: the copies beyond the view wait for the release.
run_case "p6m 20 px 125 Hz 8192" picture8k pattern twenty_pixel_cells p6m width30 mouse125

echo
echo "Kalidor $KALIDOR, ${SCREEN_SIZE} screen, canvas ${CANVAS_W}x${CANVAS_H}, pen width 30"
printf '%s\n' "${ROWS[@]}" | awk -F'|' -v hz="$HZ" -v moves="$MOVES" '
    function median(a, n,    i, j, t) {  # sorts a[1..n]
        for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    BEGIN {
        print "| case                 | blocks | base Kalidor | base Xvfb | Kalidor ms/move | Xvfb ms/move | over base | tail s | Kalidor tail s |"
        print "|----------------------|-------:|-------------:|----------:|----------------:|-------------:|----------:|-------:|---------------:|"
        ms = 1000 / hz / moves
    }
    {
        nb = split($2, b, " "); split($3, d, " "); nt = split($4, t, " ")
        n = nb / 2
        for (i = 1; i <= n; i++) {
            bk[i] = b[2 * i - 1] * ms; bx[i] = b[2 * i] * ms
            dk[i] = d[2 * i - 1] * ms; dx[i] = d[2 * i] * ms
            ov[i] = dk[i] + dx[i] - bk[i] - bx[i]
        }
        tail = 0; ktail = 0
        for (i = 1; i <= nt; i++) {
            split(t[i], both, "/")
            if (both[1] > tail) tail = both[1]
            if (both[2] > ktail) ktail = both[2]
        }
        printf "| %-20s | %6d | %12.3f | %9.3f | %15.3f | %12.3f | %+9.3f | %6.2f | %14.2f |\n", $1, n,
            median(bk, n), median(bx, n), median(dk, n), median(dx, n), median(ov, n), tail, ktail
    }'
echo "base: the same moves with no button down, just before each stroke; over base:"
echo "Kalidor and Xvfb together, a stroke less its base, the middle of the blocks;"
echo "tail s: the longest either stayed busy after a stroke's last move (10 ms steps);"
echo "Kalidor tail s: the longest Kalidor's main thread alone did (not the recovery copy's writer)."
echo "CPU is counted in ticks of $((1000 / HZ)) ms over each block of $MOVES moves."
