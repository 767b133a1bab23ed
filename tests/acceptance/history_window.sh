#!/bin/sh
# The real program in a real X window: two strokes, Invert and New undone with
# Ctrl+Z and the Edit pop-up and redone with Ctrl+Y and Ctrl+Shift+Z, each time
# showing exactly the canvas seen before; closing with an unsaved drawing asks
# first, Cancel keeps it, and after a Save closing asks nothing.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H"
CX=102
CY=12

# seen NAME: the canvas as it shows now, cut out to $WORK/NAME-canvas.png.
seen() {
    sleep 0.4
    shot "$WORK/$1.png"
    canvas_crop "$WORK/$1.png" "$WORK/$1-canvas.png"
}
# expect_seen WHAT NAME: the canvas shows now exactly what it showed at NAME.
expect_seen() {
    seen now
    expect_same "$1" "$(differing "$WORK/now-canvas.png" "$WORK/$2-canvas.png")" 0
}
drag() {  # drag X0 Y0 DX DY STEPS: a stroke with the left button
    xdotool mousemove "$(sx $((CX + $1)))" "$(sy $((CY + $2)))" mousedown 1
    for i in $(seq 1 "$5"); do
        xdotool mousemove "$(sx $((CX + $1 + i * $3)))" "$(sy $((CY + $2 + i * $4)))"
        sleep 0.01
    done
    xdotool mouseup 1
}

seen blank
drag 100 100 12 6 25
seen stroke1
drag 400 50 -8 14 25
seen stroke2
expect_same "the second stroke shows" "$([ "$(differing "$WORK/stroke1-canvas.png" "$WORK/stroke2-canvas.png")" -gt 100 ] && echo yes)" yes
click_at 25 625 1  # Invert
seen inverted
file_command n
seen new
expect_pixel "$WORK/new.png" $((CX + 250)) $((CY + 160)) "255,255,255" "New leaves the canvas white"

xdotool key ctrl+z
expect_seen "Ctrl+Z undoes New" inverted
xdotool key ctrl+z
expect_seen "Ctrl+Z undoes Invert" stroke2
# From the Edit pop-up, on the status bar's fourth panel.
xdotool mousemove "$(sx 300)" "$(sy $((WIN_H - 10)))" click 1
sleep 0.5
shot "$WORK/edit-popup.png"
expect_pixel "$WORK/edit-popup.png" 350 $((WIN_H - 30)) "255,255,255" "the Edit pop-up shows at panel 4"
xdotool key u
expect_seen "Undo in the Edit pop-up undoes the second stroke" stroke1
xdotool key ctrl+z
expect_seen "Ctrl+Z undoes the first stroke" blank
xdotool key ctrl+y
expect_seen "Ctrl+Y redoes the first stroke" stroke1
xdotool key ctrl+shift+z
expect_seen "Ctrl+Shift+Z redoes the second stroke" stroke2
xdotool key ctrl+y ctrl+y
expect_seen "redoing Invert and New gives the white canvas" new
xdotool key ctrl+z
expect_seen "and undoing New again the inverted drawing" inverted

# Closing with the drawing unsaved: the question, in a box titled as the window.
xdotool key alt+F4
sleep 1
shot "$WORK/close-question.png"
boxes=$(xdotool search --onlyvisible --name '^Kalidor$' | wc -l)
expect_same "closing with unsaved changes asks first" "$boxes" 2
xdotool key Escape  # Cancel
sleep 0.5
kill -0 "$KALIDOR_PID" 2>/dev/null && alive=yes || alive=no
expect_same "Cancel keeps the program running" "$alive" yes
expect_seen "Cancel keeps the drawing" inverted

# Saved, then closed: no question, the program ends.
file_command s
in_dialog "Save As" "$WORK/saved.bmp"
xdotool key alt+F4
for _ in $(seq 30); do kill -0 "$KALIDOR_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$KALIDOR_PID" 2>/dev/null && alive=yes || alive=no
shot "$WORK/closed.png"
expect_same "after a Save, closing ends the program without a question" "$alive" no

exit "$FAILURES"
