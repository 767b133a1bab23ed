#!/bin/sh
# Takes the README's screenshot of the real window under Xvfb: a freehand
# drawing made with real X input. Writes docs/kalidor.png.
set -eu
cd "$(dirname "$0")/.."
SCREEN_SIZE=1024x720
. tests/acceptance/x_session.sh

start_kalidor build/kalidor
CX=$((102 + 450))
CY=$((12 + 330))
# A spiral of freehand segments, left button, about the middle of the canvas.
awk 'BEGIN { for (i = 0; i <= 400; i++) { a = i / 16; r = 12 + i * 0.6;
             printf "%d %d\n", r * cos(a), r * sin(a) } }' >"$WORK/spiral"
read -r X Y <"$WORK/spiral"
xdotool mousemove "$(sx $((CX + X)))" "$(sy $((CY + Y)))" mousedown 1
while read -r X Y; do
    xdotool mousemove "$(sx $((CX + X)))" "$(sy $((CY + Y)))"
done <"$WORK/spiral"
xdotool mouseup 1
# Show the Centric options: the mode button in the Mode frame.
xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
xdotool mousemove "$(sx $((CX + 40)))" "$(sy $((CY - 250)))"
sleep 0.5
shot "$WORK/screen.png"
convert "$WORK/screen.png" -crop "$((WIN_W))x$((WIN_H + WIN_Y))+0+0" +repage docs/kalidor.png
echo "wrote docs/kalidor.png"
