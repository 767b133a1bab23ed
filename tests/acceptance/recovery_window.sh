#!/bin/sh
# The real program in a real X window, killed with SIGKILL at seeded random
# moments of a scripted session: in the middle of a stroke, right after one,
# during New and Invert, while the copy of a step is being written. Each time
# it is started again, the offer of the recovery copy is accepted with Return,
# and the canvas must show exactly the picture after one of the session's
# steps, holding every step finished more than a second before the kill. The
# pictures of the steps are worked out from the one before (a stroke is a
# black line one pixel wide, New is white, Invert the complement) and checked
# against the screen after every step that was not killed.
#   KILLS=n   how many kills (default 16)   SEED=s   the session's seed (default 28)
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

KILLS=${KILLS:-16}
SEED=${SEED:-28}
CX=102  # the canvas's interior starts at (102, 12) of the client area
CY=12
now() { date +%s.%N; }
# rand ROUND N MOD: the Nth random number below MOD of the round.
rand() { awk -v s="$SEED" -v r="$1" -v n="$2" -v m="$3" 'BEGIN { srand(s * 1000 + r * 37 + n); print int(rand() * m) }'; }
# canvas NAME: the canvas as it shows now, cut out to $WORK/NAME.png.
canvas() {
    sleep 0.3
    shot "$WORK/screen.png"
    canvas_crop "$WORK/screen.png" "$WORK/$1.png"
}
# The steps of a round: $WORK/step-I.png is the picture after step I, and
# line I of $WORK/times the moment it was finished.
STEPS=0
finished() {  # finished PICTURE-FILE: the step whose input was given at $TOLD
    STEPS=$((STEPS + 1))
    mv "$1" "$WORK/step-$STEPS.png"
    echo "$TOLD" >>"$WORK/times"
}
# expect_step: the canvas shows what the last step was worked out to give.
expect_step() {
    canvas check
    d=$(differing "$WORK/check.png" "$WORK/step-$STEPS.png")
    [ "$d" = 0 ] || {
        echo "FAIL: round $ROUND step $STEPS: $d pixels differ from the worked-out picture"
        FAILURES=$((FAILURES + 1))
        cp "$WORK/check.png" "$WORK/shown-$ROUND-$STEPS.png"
        cp "$WORK/step-$STEPS.png" "$WORK/worked-out-$ROUND-$STEPS.png"
    }
}
# A horizontal or vertical black stroke one pixel wide, in moves 20 pixels apart.
stroke_begin() {  # stroke_begin X0 Y0 X1 Y1
    xdotool mousemove "$(sx $((CX + $1)))" "$(sy $((CY + $2)))" mousedown 1
}
stroke_moves() {  # stroke_moves X0 Y0 X1 Y1 [HOW-MANY]: moves from X0,Y0 toward X1,Y1
    n=${5:-1000}
    x=$1 y=$2
    while [ "$n" -gt 0 ] && { [ "$x" != "$3" ] || [ "$y" != "$4" ]; }; do
        [ "$x" -lt "$3" ] && x=$((x + 20 < $3 ? x + 20 : $3))
        [ "$y" -lt "$4" ] && y=$((y + 20 < $4 ? y + 20 : $4))
        xdotool mousemove "$(sx $((CX + x)))" "$(sy $((CY + y)))"
        sleep 0.005
        n=$((n - 1))
    done
}
stroke_picture() {  # stroke_picture X0 Y0 X1 Y1: the last step's picture with the line
    convert "$WORK/step-$STEPS.png" -region "$(($3 - $1 + 1))x$(($4 - $2 + 1))+$1+$2" -evaluate set 0 +region \
        "$WORK/next.png"
}
# A random stroke of the round, from the seed: X0 Y0 X1 Y1.
random_stroke() {  # random_stroke ROUND N
    x0=$(rand "$1" "$2" 900) y0=$(rand "$1" $(($2 + 1)) 600) len=$((100 + $(rand "$1" $(($2 + 2)) 200)))
    if [ "$(rand "$1" $(($2 + 3)) 2)" = 0 ]; then echo "$x0 $y0 $((x0 + len)) $y0"; else echo "$x0 $y0 $x0 $((y0 + len))"; fi
}
# Each step in two halves: the input, which notes when it was given, and then
# the picture it gives, worked out once a kill right after it has been made.
TOLD=0
stroke_input() {  # stroke_input X0 Y0 X1 Y1: a whole stroke
    stroke_begin "$@"
    stroke_moves "$@"
    xdotool mouseup 1
    TOLD=$(now)
}
invert_input() { click_at 25 625 1; TOLD=$(now); }
new_input() { xdotool key ctrl+n; TOLD=$(now); }
stroke_done() {
    stroke_picture "$@"
    finished "$WORK/next.png"
}
invert_done() {
    convert "$WORK/step-$STEPS.png" -negate "$WORK/next.png"
    finished "$WORK/next.png"
}
new_done() {
    convert "$WORK/step-$STEPS.png" -evaluate set 100% "$WORK/next.png"
    finished "$WORK/next.png"
}
kill_now() {
    echo "$(now)" >"$WORK/killed"
    kill -9 "$KALIDOR_PID"
    wait "$KALIDOR_PID" 2>/dev/null || true
    KALIDOR_PID=""
}
# wait_offer: until the question stands beside the window (two windows named Kalidor).
wait_offer() {
    for _ in $(seq 30); do
        [ "$(xdotool search --onlyvisible --name '^Kalidor$' 2>/dev/null | wc -l)" -ge 2 ] && return 0
        sleep 0.1
    done
    return 1
}

# The first start has no copy to offer: the window alone, a white canvas.
start_kalidor "$KALIDOR"
sleep 1
expect_same "with no copy the start asks nothing" "$(xdotool search --onlyvisible --name '^Kalidor$' | wc -l)" 1
canvas base
TOLD=$(now)
convert "$WORK/base.png" -evaluate set 100% "$WORK/white.png"
expect_same "the first canvas is white" "$(differing "$WORK/base.png" "$WORK/white.png")" 0
: >"$WORK/times"
finished "$WORK/base.png"

# Noise packs slowly, so that copies of it take long enough to be killed in.
convert -size "${CANVAS_W}x$CANVAS_H" xc:white +noise Random -depth 8 "$WORK/noise.png"
open_noise() {
    xdotool key ctrl+o
    in_dialog Open "$WORK/noise.png"
    TOLD=$(now)
    cp "$WORK/noise.png" "$WORK/next.png"
    finished "$WORK/next.png"
    expect_step
}

MOST_LOST=0
MID_WRITE=0
BEFORE_DISK=0
ROUND=1
while [ "$ROUND" -le "$KILLS" ]; do
    # A white canvas (the start, or after New) gets the noise first.
    [ "$(differing "$WORK/step-$STEPS.png" "$WORK/white.png")" != 0 ] || open_noise
    # A few whole steps, some more than a second before the kill and some not.
    steps=$((1 + $(rand "$ROUND" 1 3)))
    i=0
    while [ "$i" -lt "$steps" ]; do
        case $(rand "$ROUND" $((10 + i)) 6) in
        0) invert_input; invert_done ;;
        1) new_input; new_done ;;
        *)
            set -- $(random_stroke "$ROUND" $((20 + i * 4)))
            stroke_input "$@"
            stroke_done "$@" ;;
        esac
        expect_step
        sleep "0.$(rand "$ROUND" $((40 + i)) 9)"
        i=$((i + 1))
    done
    BEFORE=$STEPS  # the steps finished before the one the kill falls in
    how=$(rand "$ROUND" 50 5)
    delay="0.0$(rand "$ROUND" 51 9)$(rand "$ROUND" 52 9)"  # 0 to 99 ms
    case $how in
    0)  # in the middle of a stroke: never a step
        what="during a stroke"
        set -- $(random_stroke "$ROUND" 60)
        stroke_begin "$@"
        stroke_moves "$@" "$((1 + $(rand "$ROUND" 53 6)))"
        kill_now
        xdotool mouseup 1 ;;  # else the X server holds the button down into the next start
    1)  what="right after a stroke, $delay s"
        set -- $(random_stroke "$ROUND" 60)
        stroke_input "$@"
        sleep "$delay"
        kill_now
        stroke_done "$@" ;;
    2)  what="during New, $delay s"
        new_input
        sleep "$delay"
        kill_now
        new_done ;;
    3)  what="during Invert, $delay s"
        invert_input
        sleep "$delay"
        kill_now
        invert_done ;;
    *)  # Invert writes the whole picture again: the longest writes
        delay="0.00$(rand "$ROUND" 54 10)"  # 0 to 9 ms
        what="while an Invert's copy is written, $delay s"
        invert_input
        sleep "$delay"
        kill_now
        invert_done ;;
    esac
    KILLED=$(cat "$WORK/killed")
    # A file still being written when the process died is left under its new name.
    if [ -n "$(find "$XDG_DATA_HOME" -name '*.new' 2>/dev/null)" ]; then
        MID_WRITE=$((MID_WRITE + 1))
        what="$what, in the middle of writing a copy"
    fi

    start_kalidor "$KALIDOR"
    # New makes the picture count as saved: after a New that finished there is
    # nothing to offer, and the white canvas of the start is that step's picture.
    if wait_offer; then
        xdotool key Return
        offered=offered
    else
        offered="nothing offered"
    fi
    canvas restored
    # Which steps it may be: from the last finished more than a second before
    # the kill to the last one begun.
    oldest=$(awk -v k="$KILLED" '$1 + 1 < k { n = NR } END { print n + 0 }' "$WORK/times")
    match=""
    j=$STEPS
    while [ "$j" -ge "$oldest" ] && [ "$j" -ge 1 ]; do
        if [ "$(differing "$WORK/restored.png" "$WORK/step-$j.png")" = 0 ]; then match=$j; break; fi
        j=$((j - 1))
    done
    if [ -z "$match" ]; then
        echo "FAIL: round $ROUND (killed $what): the restored canvas is none of steps $oldest to $STEPS"
        FAILURES=$((FAILURES + 1))
        cp "$WORK/restored.png" "$WORK/failed-$ROUND.png"
    else
        # The loss: how long before the kill the first step missing was finished.
        lost=$(awk -v k="$KILLED" -v m="$match" 'NR == m + 1 { printf "%.3f", k - $1; found = 1 } END { if (!found) print 0 }' "$WORK/times")
        echo "ok: round $ROUND, killed $what: $offered, step $match of $oldest..$STEPS (before the kill: $BEFORE), lost ${lost} s"
        MOST_LOST=$(awk -v a="$MOST_LOST" -v b="$lost" 'BEGIN { print (b > a ? b : a) }')
        # A finished step missing: the kill came while its copy was being made.
        [ "$lost" = 0 ] || BEFORE_DISK=$((BEFORE_DISK + 1))
    fi
    # The restored picture is the next round's first step.
    : >"$WORK/times"
    STEPS=0
    TOLD=$(now)
    finished "$WORK/restored.png"
    ROUND=$((ROUND + 1))
done
echo "kills: $KILLS; $BEFORE_DISK before the last step's copy was on the disk, $MID_WRITE with a file half-written;" \
    "the largest loss: $MOST_LOST s of finished steps"

exit "$FAILURES"
