#!/bin/sh
# The real program in a real X window, driven by real X input: the palette is
# painted at start, a swatch press changes the colour of the next stroke,
# colour pick picks a drawn colour, and a width-30 stroke is 30 pixels wide.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H"

# The palette's interior starts at (11, 211) of the client area, the canvas's at (102, 12).
PX=11
PY=211
CX=102
CY=12
# Client position of a point inside swatch (col, row), and of its frame's top-left.
swatch_x() { echo $((PX + 19 * $1 + 10)); }
swatch_y() { echo $((PY + 19 * $1 + 10)); }
frame_x() { echo $((PX + 19 * $1 + 1)); }
frame_y() { echo $((PY + 19 * $1 + 1)); }
stroke() {  # stroke BUTTON X1 Y1 X2 Y2, canvas pixels
    xdotool mousemove "$(sx $((CX + $2)))" "$(sy $((CY + $3)))" mousedown "$1"
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove "$(sx $((CX + $2 + ($4 - $2) * i / 10)))" "$(sy $((CY + $3 + ($5 - $3) * i / 10)))"
    done
    xdotool mouseup "$1"
}

# At start: the fixed bottom row, background grid lines, no selection frame.
xdotool mousemove "$(sx 600)" "$(sy 500)"
shot_when start.png "$(swatch_x 2)" "$(swatch_y 14)" "64,64,64"
BACK=$(pixel "$WORK/start.png" "$(frame_x 1)" "$(swatch_y 3)")
expect_pixel "$WORK/start.png" "$(swatch_x 0)" "$(swatch_y 14)" "0,0,0" "swatch (0, 14) is black"
expect_pixel "$WORK/start.png" "$(swatch_x 1)" "$(swatch_y 14)" "255,255,255" "swatch (1, 14) is white"
expect_pixel "$WORK/start.png" "$(swatch_x 2)" "$(swatch_y 14)" "64,64,64" "swatch (2, 14) is dark grey"
expect_pixel "$WORK/start.png" "$(swatch_x 3)" "$(swatch_y 14)" "192,192,192" "swatch (3, 14) is light grey"
expect_pixel "$WORK/start.png" "$(frame_x 0)" "$(frame_y 0)" "$BACK" "no frame before the first press"
expect_pixel "$WORK/start.png" "$(frame_x 4)" "$(frame_y 15)" "$BACK" "the grid's last lines show the background"
# 56 random swatches: more than a handful of different colours among them.
COLOURS=$(for r in $(seq 0 13); do for c in 0 1 2 3; do
    pixel "$WORK/start.png" "$(swatch_x $c)" "$(swatch_y $r)"; echo; done; done | sort -u | wc -l)
[ "$COLOURS" -gt 40 ] && echo "ok: $COLOURS different random swatches" || {
    echo "FAIL: only $COLOURS different random swatches"; FAILURES=$((FAILURES + 1)); }

# A left press on swatch (1, 3) loads well 1; the next stroke has its colour.
SWATCH=$(pixel "$WORK/start.png" "$(swatch_x 1)" "$(swatch_y 3)")
click_at "$(swatch_x 1)" "$(swatch_y 3)" 1
stroke 1 50 50 250 50
xdotool mousemove "$(sx 600)" "$(sy 500)"
shot_when swatch.png $((CX + 200)) $((CY + 50)) "$SWATCH"
expect_pixel "$WORK/swatch.png" 25 530 "$SWATCH" "well 1 takes the swatch's colour"
expect_pixel "$WORK/swatch.png" $((CX + 150)) $((CY + 50)) "$SWATCH" "the next stroke is drawn in it"
expect_pixel "$WORK/swatch.png" "$(frame_x 1)" "$(frame_y 3)" "0,0,0" "the frame goes round the swatch pressed"
expect_pixel "$WORK/swatch.png" "$(frame_x 2)" "$(swatch_y 3)" "0,0,0" "the frame's right side is black"

# Colour pick: "Cvet", then a right press on the stroke puts its colour in well 2.
click_at 70 625 1
click_at $((CX + 150)) $((CY + 50)) 3
xdotool mousemove "$(sx 600)" "$(sy 500)"
shot_when pick.png 56 533 "$SWATCH"
expect_pixel "$WORK/pick.png" 56 533 "$SWATCH" "colour pick puts the stroke's colour in well 2"
# Back in Normal mode: a right-button stroke draws in the picked colour.
stroke 3 50 150 250 150
shot_when picked.png $((CX + 200)) $((CY + 150)) "$SWATCH"
expect_pixel "$WORK/picked.png" $((CX + 150)) $((CY + 150)) "$SWATCH" "after the pick, the right button draws again"

# Pen width 30: drag the slider's handle to its right end; black in well 1.
click_at "$(swatch_x 0)" "$(swatch_y 14)" 1
xdotool mousemove "$(sx 10)" "$(sy 565)" mousedown 1
for x in 30 60 90 120 150; do xdotool mousemove "$(sx $x)" "$(sy 565)"; done
xdotool mouseup 1
stroke 1 50 300 300 300
xdotool mousemove "$(sx 600)" "$(sy 500)"
shot_when width.png $((CX + 250)) $((CY + 285)) "0,0,0"
expect_same "a width-30 stroke is 30 pixels thick" "$(black_rows "$WORK/width.png" $((CX + 150)) $((CY + 260)) $((CY + 340)))" 30
expect_pixel "$WORK/width.png" $((CX + 150)) $((CY + 285)) "0,0,0" "the thick stroke's top row"
expect_pixel "$WORK/width.png" $((CX + 150)) $((CY + 314)) "0,0,0" "the thick stroke's bottom row"
expect_same "the width bar is 30 rows of black" "$(black_rows "$WORK/width.png" 60 575 615)" 30
expect_pixel "$WORK/width.png" 45 580 "0,0,0" "the bar starts at (45, 580)"
expect_pixel "$WORK/width.png" 90 609 "0,0,0" "the bar ends at (90, 609)"
expect_pixel "$WORK/width.png" 91 600 "239,239,239" "the window shows beside the bar"

# The real colour dialog on well 3: it opens at purple; Escape keeps it, and a
# colour typed into its HTML field and confirmed becomes the well's.
colour_dialog() {
    click_at 80 535 1
    DLG=""
    for _ in $(seq 50); do
        DLG=$(xdotool search --onlyvisible --name '^Select Color$' 2>/dev/null | head -1) && [ -n "$DLG" ] && break
        sleep 0.1
    done
    expect_same "a click on well 3 opens the colour dialog" "$([ -n "$DLG" ] && echo open || echo none)" open
    sleep 0.5
}
colour_dialog
shot "$WORK/dialog.png"
xdotool key Escape
sleep 0.3
shot "$WORK/cancelled.png"
expect_pixel "$WORK/cancelled.png" 80 535 "128,0,128" "a cancelled colour dialog leaves well 3 purple"
colour_dialog
DLG_X=$(xwininfo -id "$DLG" | awk '/Absolute upper-left X:/ {print $4}')
DLG_Y=$(xwininfo -id "$DLG" | awk '/Absolute upper-left Y:/ {print $4}')
xdotool mousemove $((DLG_X + 412)) $((DLG_Y + 347)) click --repeat 3 1
xdotool type "#00ff00"
xdotool key Return
xdotool mousemove "$(sx 600)" "$(sy 500)"
shot_when green.png 80 535 "0,255,0"
expect_pixel "$WORK/green.png" 80 535 "0,255,0" "green confirmed in the dialog fills well 3"
exit "$FAILURES"
