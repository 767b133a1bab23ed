#!/bin/sh
# The real program in a real X window: a drawing saved through the status bar's
# File pop-up and the real Save dialog is a Windows bitmap of the canvas's size,
# File > New clears it, opening the file again brings the drawing back; the
# same with Ctrl+S, Ctrl+N and Ctrl+O and a PNG; a save that cannot be
# written is reported; and Save tile under p4m writes one period, which opened
# again and laid 3 x 3 matches the screen. Last, a picture larger than the
# window (File > Size): a line drawn at fit and one at 4 x land on the picture
# pixels under the pointer, and Save writes the whole picture.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H"

CX=102  # the canvas's interior starts at (102, 12) of the client area
CY=12
FILE="$WORK/saved/drawing"
mkdir "$WORK/saved"

xdotool mousemove "$(sx $((CX + 100)))" "$(sy $((CY + 100)))" mousedown 1
for i in $(seq 1 20); do
    xdotool mousemove "$(sx $((CX + 100 + i * 10)))" "$(sy $((CY + 100 + i * 5)))"
done
xdotool mouseup 1
sleep 0.3

file_command s
in_dialog "Save As" "$FILE"
shot "$WORK/saved.png"
got=$(identify -format "%m %w %h" "$FILE" 2>&1 || true)
case "$got" in
BMP*" $CANVAS_W $CANVAS_H") echo "ok: saved as a bitmap of the canvas's size: $got" ;;
*) echo "FAIL: identify reads '$got', expected a BMP of $CANVAS_W x $CANVAS_H"; FAILURES=$((FAILURES + 1)) ;;
esac
[ "$(ls "$WORK/saved")" = "drawing" ] && echo "ok: saved under exactly the typed name" ||
    { echo "FAIL: the folder holds: $(ls "$WORK/saved")"; FAILURES=$((FAILURES + 1)); }

file_command n
shot "$WORK/new.png"
expect_pixel "$WORK/new.png" $((CX + 200)) $((CY + 150)) "255,255,255" "New leaves the canvas white"

file_command o
in_dialog Open "$FILE"
shot "$WORK/opened.png"
expect_pixel "$WORK/opened.png" $((CX + 100)) $((CY + 100)) "0,0,0" "the opened drawing starts where it did"
expect_pixel "$WORK/opened.png" $((CX + 200)) $((CY + 150)) "0,0,0" "the opened drawing passes where it did"
expect_pixel "$WORK/opened.png" $((CX + 200)) $((CY + 100)) "255,255,255" "white beside it"

# The same by the keys, after the pop-up has been used: Ctrl+S with "PNG
# image" chosen in the dialog writes a PNG, Ctrl+N clears, Ctrl+O opens it
# again (its own entry in the list of types finds it).
xdotool mousemove "$(sx 300)" "$(sy $((WIN_H - 60)))"
xdotool key ctrl+s
in_dialog "Save As" "$WORK/saved/drawing.PNG" 1
got=$(identify -format "%m %w %h" "$WORK/saved/drawing.PNG" 2>&1 || true)
expect_same "Ctrl+S saved a PNG of the canvas's size" "$got" "PNG $CANVAS_W $CANVAS_H"
xdotool key ctrl+n
sleep 0.5
shot "$WORK/ctrl-n.png"
expect_pixel "$WORK/ctrl-n.png" $((CX + 200)) $((CY + 150)) "255,255,255" "Ctrl+N leaves the canvas white"
xdotool key ctrl+o
in_dialog Open "$WORK/saved/drawing.PNG" 5
shot "$WORK/ctrl-o.png"
expect_pixel "$WORK/ctrl-o.png" $((CX + 200)) $((CY + 150)) "0,0,0" "Ctrl+O opened the PNG: the drawing is back"

# A save that cannot be written says so in a box of its own, titled as the window.
file_command s
in_dialog "Save As" "$WORK/no such folder/drawing.bmp"
shot "$WORK/failed.png"
boxes=$(xdotool search --onlyvisible --name '^Kalidor$' | wc -l)
[ "$boxes" -eq 2 ] && echo "ok: a failed save shows a message box" ||
    { echo "FAIL: $boxes windows titled Kalidor after a failed save"; FAILURES=$((FAILURES + 1)); }
xdotool key Return

# `kalidor FILE`, as "Open with" starts it: the file shows once the window is.
# The PNG was the last file opened, so nothing is left unsaved to ask about.
sleep 0.5
kill "$KALIDOR_PID"
wait "$KALIDOR_PID" 2>/dev/null || true
start_kalidor "$KALIDOR" "$WORK/saved/drawing.PNG"
sleep 1
shot "$WORK/started-with-file.png"
expect_pixel "$WORK/started-with-file.png" $((CX + 200)) $((CY + 150)) "0,0,0" "kalidor FILE opened the drawing"
expect_pixel "$WORK/started-with-file.png" $((CX + 200)) $((CY + 100)) "255,255,255" "white beside it"

# A picture of 2400 x 1800, larger than the window: the size dialog by its key.
xdotool mousemove "$(sx $((CX + 50)))" "$(sy $((CY + 50)))"
xdotool key ctrl+alt+n
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Size$' >/dev/null 2>&1 && break; sleep 0.1; done
sleep 0.5
xdotool type --delay 20 2400
xdotool key Tab
xdotool type --delay 20 1800
xdotool key Return
sleep 0.5
stroke_across() {  # x0 x1 y, in canvas pixels, slowly enough that every move counts
    xdotool mousemove "$(sx $((CX + $1)))" "$(sy $((CY + $3)))" mousedown 1
    x=$1
    while [ "$x" -lt "$2" ]; do
        x=$((x + 10))
        xdotool mousemove "$(sx $((CX + x)))" "$(sy $((CY + $3)))"
        sleep 0.01
    done
    xdotool mouseup 1
    sleep 0.3
}
# At fit the picture is shown whole, each screen pixel the average of those under it.
xdotool key ctrl+0
sleep 0.5
shot "$WORK/size-fit.png"
stroke_across 100 300 100
# At 4 x from the corner (Ctrl+wheel about the picture's corner keeps it there).
xdotool key ctrl+1
sleep 0.3
xdotool mousemove "$(sx "$CX")" "$(sy "$CY")"
for _ in $(seq 40); do xdotool click 4 click 6; sleep 0.02; done
xdotool keydown ctrl click 4 click 4 click 4 keyup ctrl
sleep 0.5
stroke_across 160 320 240
shot "$WORK/size-4x.png"
expect_pixel "$WORK/size-4x.png" $((CX + 200)) $((CY + 241)) "0,0,0" "the line drawn at 4 x shows four screen pixels thick"
expect_pixel "$WORK/size-4x.png" $((CX + 200)) $((CY + 236)) "255,255,255" "and no thicker"
xdotool key ctrl+s
in_dialog "Save As" "$WORK/saved/large.png" 1
got=$(identify -format "%m %w %h" "$WORK/saved/large.png" 2>&1 || true)
expect_same "Save wrote the whole picture" "$got" "PNG 2400 1800"
# Fit scale and where the fit line fell; the 4 x line is picture row 60.
fit_y=$(awk -v w="$CANVAS_W" -v h="$CANVAS_H" 'BEGIN { s = w / 2400; if (h / 1800 < s) s = h / 1800; print int(100 / s) " " int(200 / s) }')
row=${fit_y% *}
col=${fit_y#* }
at() { convert "$WORK/saved/large.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
expect_same "the line drawn at fit is on the picture pixel under the pointer" "$(at "$col" "$row")" "0,0,0"
expect_same "the line drawn at 4 x is on picture row 60" "$(at 50 60)" "0,0,0"
expect_same "and only there" "$(at 50 59)" "255,255,255"

exit "$FAILURES"
