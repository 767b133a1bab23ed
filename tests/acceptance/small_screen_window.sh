#!/bin/sh
# A laptop's screen: 1366 x 768 at 125 % scaling, where the maximised window is
# lower than the column of controls. The wheel over the column scrolls it down
# to "Invert", the palette scrolled with it looks as it did before, a press on
# Invert inverts the canvas, and every canvas pixel on the screen is then the
# complement of what it was: drawn crisp, as whole device pixels, at a scale
# of 1.25.
set -eu
KALIDOR=$1
SCREEN_SIZE=1366x768
export QT_SCALE_FACTOR=1.25
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
shot "$WORK/unscrolled.png"
# Logical pixels, as the program lays out, to the screen's.
dev() { awk -v v="$1" 'BEGIN { printf "%d", v * 1.25 }'; }
LOGICAL_H=$(awk -v h="$WIN_H" 'BEGIN { printf "%d", h / 1.25 }')
SHOWN=$((LOGICAL_H - 20))  # the column above the status bar
echo "window ${WIN_W}x$WIN_H on the screen, $LOGICAL_H logical pixels high: the column shows $SHOWN of 638"
[ "$SHOWN" -lt 636 ] || { echo "FAIL: the window is tall enough for the whole column; nothing to scroll"; exit 1; }

# Something to invert: a stroke across the canvas.
xdotool mousemove "$(sx "$(dev 150)")" "$(sy "$(dev 60)")" mousedown 1
for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$(sx "$(dev $((150 + 40 * i)))")" "$(sy "$(dev $((60 + 25 * i)))")"
    sleep 0.02
done
xdotool mouseup 1
# The wheel over the palette, in the column, scrolls it to its end.
xdotool mousemove "$(sx "$(dev 50)")" "$(sy "$(dev 300)")"
for _ in $(seq 20); do xdotool click 5; sleep 0.02; done
sleep 0.5
shot "$WORK/scrolled.png"
# Scrolled to its end, by whole device pixels: fours of logical pixels at 1.25.
OFFSET=$(((638 - SHOWN + 3) / 4 * 4))
INVERT_Y=$((615 + 10 - OFFSET))
echo "scrolled by $OFFSET: Invert's middle at logical (25, $INVERT_Y)"
# The palette (logical (10, 210), 81 x 291), scrolled by whole device pixels,
# is drawn exactly as it was before: no row of device pixels left over from
# where other swatches were before the column moved, at its bottom edge or
# anywhere.
palette_at() { convert "$1" -crop "$(($(dev 91) - $(dev 10)))x$(($(dev 501) - $(dev 210)))+$(sx "$(dev 10)")+$(sy "$(($(dev 210) - $2))")" +repage "$3"; }
palette_at "$WORK/unscrolled.png" 0 "$WORK/palette-unscrolled.png"
palette_at "$WORK/scrolled.png" "$(dev "$OFFSET")" "$WORK/palette-scrolled.png"
expect_same "the scrolled palette is drawn as the palette was unscrolled" \
    "$(differing "$WORK/palette-unscrolled.png" "$WORK/palette-scrolled.png") differing" "0 differing"
# The button's face where its middle now is: not the canvas's white nor black.
FACE=$(pixel "$WORK/scrolled.png" "$(dev 8)" "$(dev $INVERT_Y)")
expect_same "Invert is on the screen, inside the window" "$([ "$INVERT_Y" -lt "$SHOWN" ] && echo inside)" inside
# The canvas's interior in screen pixels, a logical pixel inside its edges
# (the device pixels of an edge may be shared with the border).
LOGICAL_W=$(awk -v w="$WIN_W" 'BEGIN { printf "%d", w / 1.25 }')
X0=$(dev 103)
Y0=$(dev 13)
CROP="$(($(dev $((LOGICAL_W - 13))) - X0))x$(($(dev $((LOGICAL_H - 23))) - Y0))+$(sx "$X0")+$(sy "$Y0")"
canvas_part() { convert "$1" -crop "$CROP" +repage "$2"; }
canvas_part "$WORK/scrolled.png" "$WORK/before.png"
click_at "$(dev 25)" "$(dev $INVERT_Y)" 1
sleep 1
xdotool mousemove "$(sx "$(dev 50)")" "$(sy "$(dev 300)")"
sleep 0.3
shot "$WORK/inverted.png"
canvas_part "$WORK/inverted.png" "$WORK/after.png"
convert "$WORK/before.png" -negate "$WORK/negated.png"
expect_same "every canvas pixel is complemented" "$(differing "$WORK/negated.png" "$WORK/after.png") differing" "0 differing"
# A black stroke on white, scaled by 1.25 with no smoothing: no grey between.
expect_same "the canvas before shows the stroke crisp, in black and white alone" \
    "$(convert "$WORK/before.png" -unique-colors -format '%w' info:) colours" "2 colours"
echo "the button's face before the press: $FACE"
exit "$FAILURES"
