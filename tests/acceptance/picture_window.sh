#!/bin/sh
# The real program in a real X window: a drawing saved through the status bar's
# File pop-up and the real Save dialog is a Windows bitmap of the canvas's size,
# File > New clears it, opening the file again brings the drawing back, and a
# save that cannot be written is reported.
# With KEEP_SHOTS set to a folder, the screenshots are copied there.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H"

CX=102  # the canvas's interior starts at (102, 12) of the client area
CY=12
CANVAS_W=$((WIN_W - 110 - 4))
CANVAS_H=$((WIN_H - 30 - 4))
FILE="$WORK/saved/drawing"
mkdir "$WORK/saved"

# file_command KEY: a press on the status bar's first panel, then the item's key.
file_command() {
    xdotool mousemove "$(sx 20)" "$(sy $((WIN_H - 10)))" click 1
    sleep 0.5
    shot "$WORK/menu-$1.png"
    expect_pixel "$WORK/menu-$1.png" 30 $((WIN_H - 40)) "255,255,255" "the File pop-up shows above panel 1"
    xdotool key "$1"
    sleep 1
}

# in_dialog TITLE NAME: waits for the file dialog, types the name and accepts it.
in_dialog() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 1
    shot "$WORK/dialog-$1.png"
    xdotool type --delay 20 "$2"
    sleep 0.5
    shot "$WORK/typed-$1.png"
    xdotool key Return
    sleep 1
    # A Return that only took the name completer's suggestion leaves the dialog open.
    if xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; then
        xdotool key Return
        sleep 1
    fi
}

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

# A save that cannot be written says so in a box of its own, titled as the window.
file_command s
in_dialog "Save As" "$WORK/no such folder/drawing.bmp"
shot "$WORK/failed.png"
boxes=$(xdotool search --onlyvisible --name '^Kalidor$' | wc -l)
[ "$boxes" -eq 2 ] && echo "ok: a failed save shows a message box" ||
    { echo "FAIL: $boxes windows titled Kalidor after a failed save"; FAILURES=$((FAILURES + 1)); }
xdotool key Return

[ -n "${KEEP_SHOTS:-}" ] && cp "$WORK"/*.png "$KEEP_SHOTS"/
exit "$FAILURES"
