#!/bin/sh
# Start-up on an X server without a window manager, where nothing gives the new
# window the focus: the palette is filled and the centre is in the middle of
# the canvas without a click, and the focus given later changes nothing.
set -eu
KALIDOR=$1
NO_WM=1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H, canvas ${CANVAS_W}x$CANVAS_H"
# Swatch (col, row) of the palette, whose interior starts at (11, 211).
swatch_x() { echo $((11 + 19 * $1 + 10)); }
swatch_y() { echo $((211 + 19 * $1 + 10)); }
palette() { convert "$1" -crop "79x289+$(sx 11)+$(sy 211)" +repage "$2"; }

# No click, no key: only the screen is looked at.
shot_when start.png "$(swatch_x 2)" "$(swatch_y 14)" 64,64,64
expect_pixel "$WORK/start.png" "$(swatch_x 0)" "$(swatch_y 14)" 0,0,0 "the palette's last row starts black"
expect_pixel "$WORK/start.png" "$(swatch_x 3)" "$(swatch_y 14)" 192,192,192 "and ends light grey"
expect_pixel "$WORK/start.png" 20 530 0,0,0 "well 1 is black"
palette "$WORK/start.png" "$WORK/start-palette.png"
expect_same "the palette has random colours above its last row" \
    "$(convert "$WORK/start-palette.png" -crop 79x266+0+0 -unique-colors -format '%w' info: 2>/dev/null | awk '{print ($1 > 20)}')" 1

# The focus, given now, starts nothing again: the palette keeps its colours.
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
sleep 0.5
shot "$WORK/focused.png"
palette "$WORK/focused.png" "$WORK/focused-palette.png"
expect_same "the palette after the focus came" "$(differing "$WORK/start-palette.png" "$WORK/focused-palette.png") differing" "0 differing"

# The centre was set for the canvas as laid out: Centric shows the marker's dot
# on its middle.
MID_X=$((CANVAS_W / 2))
MID_Y=$((CANVAS_H / 2))
click_at 30 60 1
xdotool mousemove "$(sx 300)" "$(sy $((WIN_H - 60)))"
shot_when centric.png $((102 + MID_X)) $((12 + MID_Y)) 0,0,0
expect_pixel "$WORK/centric.png" $((102 + MID_X)) $((12 + MID_Y)) 0,0,0 "the marker's dot is on the canvas's middle ($MID_X, $MID_Y)"
exit "$FAILURES"
