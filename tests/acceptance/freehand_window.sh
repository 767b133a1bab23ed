#!/bin/sh
# The real program in a real X window: it opens maximised with its controls
# painted, and a freehand stroke drawn with real X input shows on the canvas.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H"

# The canvas's interior starts at (102, 12) of the client area.
CX=102
CY=12
xdotool mousemove "$(sx $((CX + 100)))" "$(sy $((CY + 100)))" mousedown 1
for i in $(seq 1 20); do
    xdotool mousemove "$(sx $((CX + 100 + i * 10)))" "$(sy $((CY + 100 + i * 5)))"
done
xdotool mouseup 1
# The right button draws in well 2, white: nothing shows on white.
xdotool mousemove "$(sx $((CX + 100)))" "$(sy $((CY + 300)))" mousedown 3
xdotool mousemove "$(sx $((CX + 300)))" "$(sy $((CY + 300)))" mouseup 3
sleep 0.3
shot "$WORK/shot.png"

expect_pixel "$WORK/shot.png" $((CX + 100)) $((CY + 100)) "0,0,0" "the stroke starts where the button went down"
expect_pixel "$WORK/shot.png" $((CX + 200)) $((CY + 150)) "0,0,0" "the stroke passes through the pointer's path"
expect_pixel "$WORK/shot.png" $((CX + 300)) $((CY + 200)) "0,0,0" "the stroke ends where the pointer stopped"
expect_pixel "$WORK/shot.png" $((CX + 200)) $((CY + 100)) "255,255,255" "the canvas is white beside the stroke"
expect_pixel "$WORK/shot.png" $((CX + 200)) $((CY + 300)) "255,255,255" "the right button's white stroke leaves white"
expect_pixel "$WORK/shot.png" 20 $((WIN_H - 60)) "239,239,239" "the window's own surface is painted below the controls"
expect_pixel "$WORK/shot.png" 20 530 "0,0,0" "well 1 is black"
expect_pixel "$WORK/shot.png" 80 535 "128,0,128" "well 3 is purple"
expect_pixel "$WORK/shot.png" $((WIN_W - 5)) 100 "239,239,239" "the canvas stops 10 pixels short of the right edge"
expect_pixel "$WORK/shot.png" $((WIN_W - 12)) 100 "255,255,255" "the canvas reaches to 10 pixels from the right edge"
exit "$FAILURES"
