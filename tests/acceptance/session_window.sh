#!/bin/sh
# A user's whole session in the real window, driven only by real X input and
# judged only by screenshots and the saved file: the window opens maximised, a
# freehand stroke, a Centric stroke with N set on the slider and the centre
# dragged and nudged with the arrow keys, a Pattern stroke with Chess, a
# palette press and a colour pick, pen width 30, Invert, Save through the File
# pop-up, New, and Open of the saved file.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

T0=$(date +%s)
start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H, canvas ${CANVAS_W}x$CANVAS_H"

# Client positions of canvas pixels.
cx() { echo $((102 + $1)); }
cy() { echo $((12 + $1)); }
at() { xdotool mousemove "$(sx "$1")" "$(sy "$2")"; }
on_canvas() { at "$(cx "$1")" "$(cy "$2")"; }
# stroke BUTTON X1 Y1 X2 Y2 MOVES: a drag on the canvas in equal integer moves.
stroke() {
    on_canvas "$2" "$3"
    xdotool mousedown "$1"
    for i in $(seq 1 "$6"); do
        on_canvas $(($2 + ($4 - $2) * i / $6)) $(($3 + ($5 - $3) * i / $6))
    done
    xdotool mouseup "$1"
    at 600 "$((WIN_H - 60))"  # off the canvas, below the controls
}
canvas_is() { expect_pixel "$1" "$(cx "$2")" "$(cy "$3")" "$4" "$5"; }
# snap NAME X Y R,G,B: $WORK/NAME.png, once canvas (X, Y) shows the colour.
snap() { shot_when "$1.png" "$(cx "$2")" "$(cy "$3")" "$4"; }
WHITE=255,255,255
BLACK=0,0,0
GREY=239,239,239  # the window's own colour
# Swatch (col, row) of the palette, whose interior starts at (11, 211).
swatch_x() { echo $((11 + 19 * $1 + 10)); }
swatch_y() { echo $((211 + 19 * $1 + 10)); }

# 1. Maximised, the controls in place, the canvas white to its edges.
expect_same "the window fills the screen's width" "$WIN_W" 1280
at 600 "$((WIN_H - 60))"
snap start "$(swatch_x 2)" "$(swatch_y 14)" 64,64,64
expect_pixel "$WORK/start.png" "$(swatch_x 0)" "$(swatch_y 14)" "$BLACK" "the palette's last row starts black"
expect_pixel "$WORK/start.png" "$(swatch_x 3)" "$(swatch_y 14)" 192,192,192 "and ends light grey"
expect_pixel "$WORK/start.png" 20 530 "$BLACK" "well 1 is black"
expect_pixel "$WORK/start.png" 56 533 "$WHITE" "well 2 is white"
expect_pixel "$WORK/start.png" 80 535 128,0,128 "well 3 is purple"
expect_pixel "$WORK/start.png" 60 580 "$GREY" "no width bar before the slider moves"
# The canvas's outer edge (its border is light on the right and at the bottom)
# stops 10 pixels short of the window's right edge and on the status bar.
expect_pixel "$WORK/start.png" $((WIN_W - 11)) 300 "$WHITE" "the canvas reaches 10 pixels from the right edge"
expect_pixel "$WORK/start.png" $((WIN_W - 10)) 300 "$GREY" "and the window shows beyond"
expect_pixel "$WORK/start.png" 300 $((WIN_H - 21)) "$WHITE" "the canvas reaches down to the status bar"
expect_pixel "$WORK/start.png" 300 $((WIN_H - 20)) "$GREY" "which starts below it"
canvas_crop "$WORK/start.png" "$WORK/start-canvas.png"
expect_same "every canvas pixel is white" "$(convert "$WORK/start-canvas.png" -format '%[fx:minima]' info:)" 1

# 2. Freehand: a left-button stroke in black.
stroke 1 60 60 260 160 20
snap freehand 260 160 "$BLACK"
canvas_is "$WORK/freehand.png" 60 60 "$BLACK" "the freehand stroke starts at the press"
canvas_is "$WORK/freehand.png" 160 110 "$BLACK" "passes along the pointer's path"
canvas_is "$WORK/freehand.png" 260 160 "$BLACK" "and ends at the release"
canvas_is "$WORK/freehand.png" 160 60 "$WHITE" "white beside it"

# 3. Centric. The marker starts on the canvas's middle; dragged and dropped at
# (420, 300), then nudged 6 right and 4 down with the arrow keys: (426, 304).
MID_X=$((CANVAS_W / 2))
MID_Y=$((CANVAS_H / 2))
[ $((CANVAS_H % 2)) -eq 1 ] && [ $((MID_Y % 2)) -eq 1 ] && MID_Y=$((MID_Y + 1))  # ties to even
click_at 30 60 1
snap centric "$MID_X" "$MID_Y" "$BLACK"
canvas_is "$WORK/centric.png" "$MID_X" "$MID_Y" "$BLACK" "Centric shows the marker's dot on the middle ($MID_X, $MID_Y)"
on_canvas "$MID_X" "$MID_Y"
xdotool mousedown 1
on_canvas 500 340
on_canvas 420 300
xdotool mouseup 1
xdotool key --delay 30 Right Right Right Right Right Right Down Down Down Down
at 600 "$((WIN_H - 60))"
snap marker 426 304 "$BLACK"
canvas_is "$WORK/marker.png" 426 304 "$BLACK" "the dropped and nudged marker's dot is at (426, 304)"
canvas_is "$WORK/marker.png" "$MID_X" "$MID_Y" "$WHITE" "it left the middle"
# N from 5 to 4: the slider's handle dragged one step (4 pixels) to the left.
at 37 147
xdotool mousedown 1
at 35 147
at 33 147
xdotool mouseup 1
# One stroke on a diagonal, 50..80 right of the centre, turned by quarters.
stroke 1 476 304 506 334 10
snap centric-stroke 456 224 "$BLACK"
for copy in "476 304 506 334" "426 354 396 384" "376 304 346 274" "426 254 456 224"; do
    set -- $copy
    for t in 0 15 30; do
        canvas_is "$WORK/centric-stroke.png" $(($1 + ($3 - $1) * t / 30)) $(($2 + ($4 - $2) * t / 30)) "$BLACK" \
            "N = 4: the copy from ($1, $2) to ($3, $4) is drawn at step $t of 30"
    done
    canvas_is "$WORK/centric-stroke.png" $(($3 + ($3 - $1) / 30)) $(($4 + ($4 - $2) / 30)) "$WHITE" \
        "and ends at ($3, $4)"
done
# Where copies about the undropped or unnudged centre, or a fifth copy, would be.
canvas_is "$WORK/centric-stroke.png" 390 380 "$WHITE" "no copy about (420, 300)"
canvas_is "$WORK/centric-stroke.png" $((MID_X - 30)) $((MID_Y + 80)) "$WHITE" "no copy about the middle"
canvas_is "$WORK/centric-stroke.png" 422 389 "$WHITE" "no copy a fifth of a turn on, as at N = 5"

# 4. Pattern with Chess: cells of 200 x 200; a stroke from (620, 590) to
# (660, 590) in cell (3, 2) is repeated in every cell (i, j) with i + j odd.
click_at 30 80 1
click_at 40 130 1
stroke 1 620 590 660 590 8
snap pattern 40 190 "$BLACK"
for cell in "0 0" "1 0" "2 0" "0 1" "1 1" "3 1" "4 1" "0 2" "2 2" "5 1" "5 2"; do
    set -- $cell
    if [ $((($1 + $2) % 2)) -eq 1 ]; then want=$BLACK; else want=$WHITE; fi
    canvas_is "$WORK/pattern.png" $((200 * $1 + 40)) $((200 * $2 + 190)) "$want" \
        "Chess: the cell ($1, $2) $([ "$want" = "$BLACK" ] && echo has || echo lacks) the stroke"
done
canvas_is "$WORK/pattern.png" 200 200 "$BLACK" "the marker's dot is on the pattern point (200, 200)"
canvas_is "$WORK/pattern.png" 426 304 "$WHITE" "the centre's marker is gone"

# 5. Back to Normal; a left press on swatch (1, 3) loads well 1, and the next
# stroke is in its colour. The C key starts colour pick: a right press on that
# stroke copies its colour into well 2, and the right button then draws in it.
click_at 30 40 1
SWATCH=$(pixel "$WORK/start.png" "$(swatch_x 1)" "$(swatch_y 3)")
click_at "$(swatch_x 1)" "$(swatch_y 3)" 1
stroke 1 60 260 260 260 10
snap swatch 260 260 "$SWATCH"
canvas_is "$WORK/swatch.png" 160 260 "$SWATCH" "the stroke after the palette press has the swatch's colour $SWATCH"
expect_pixel "$WORK/swatch.png" 20 530 "$SWATCH" "well 1 holds it"
xdotool key c
click_at "$(cx 160)" "$(cy 260)" 3
stroke 3 60 320 260 320 10
snap picked 260 320 "$SWATCH"
expect_pixel "$WORK/picked.png" 56 533 "$SWATCH" "colour pick put it in well 2"
canvas_is "$WORK/picked.png" 160 320 "$SWATCH" "the right button draws in the picked colour"

# 6. Pen width 30, in black: the slider's handle dragged to its right end.
click_at "$(swatch_x 0)" "$(swatch_y 14)" 1
at 10 565
xdotool mousedown 1
for x in 40 80 120 150; do at "$x" 565; done
xdotool mouseup 1
stroke 1 60 460 300 460 12
snap width 300 460 "$BLACK"
expect_same "a width-30 stroke is 30 pixels thick" "$(black_rows "$WORK/width.png" "$(cx 150)" "$(cy 420)" "$(cy 500)")" 30
canvas_is "$WORK/width.png" 150 445 "$BLACK" "its top row"
canvas_is "$WORK/width.png" 150 474 "$BLACK" "its bottom row"
expect_pixel "$WORK/width.png" 90 609 "$BLACK" "the width bar reaches (90, 609)"

# 7. Invert: every canvas pixel turns into its complement.
canvas_crop "$WORK/width.png" "$WORK/before-invert.png"
click_at 25 625 1
at 600 "$((WIN_H - 60))"
snap inverted 160 160 "$BLACK"
canvas_crop "$WORK/inverted.png" "$WORK/inverted-canvas.png"
convert "$WORK/before-invert.png" -negate "$WORK/negated.png"
expect_same "Invert complements every canvas pixel" "$(differing "$WORK/negated.png" "$WORK/inverted-canvas.png") differing" "0 differing"

# 8. Save through the status bar's File pop-up and the real Save dialog: the
# file is a Windows bitmap holding exactly the canvas on the screen.
mkdir "$WORK/saved"
FILE="$WORK/saved/session.bmp"
file_command s
in_dialog "Save As" "$FILE"
at 600 "$((WIN_H - 60))"
sleep 0.3
shot "$WORK/saved.png"
expect_same "the file is a bitmap of the canvas's size" "$(identify -format '%m %wx%h' "$FILE" 2>&1 | sed 's/^BMP[0-9]/BMP/' || true)" "BMP ${CANVAS_W}x$CANVAS_H"
canvas_crop "$WORK/saved.png" "$WORK/saved-canvas.png"
convert "$FILE" "$WORK/file.png" 2>/dev/null || true
expect_same "the saved file matches the canvas pixel for pixel" "$(differing "$WORK/file.png" "$WORK/saved-canvas.png") differing" "0 differing"

# 9. New: white again, to every edge.
file_command n
snap new 160 160 "$WHITE"
canvas_crop "$WORK/new.png" "$WORK/new-canvas.png"
expect_same "New leaves every canvas pixel white" "$(convert "$WORK/new-canvas.png" -format '%[fx:minima]' info:)" 1

# 10. Open the saved file: the canvas shows it again, pixel for pixel.
file_command o
in_dialog Open "$FILE"
at 600 "$((WIN_H - 60))"
snap opened 160 160 "$BLACK"
canvas_crop "$WORK/opened.png" "$WORK/opened-canvas.png"
expect_same "the opened file shows on the canvas pixel for pixel" "$(differing "$WORK/file.png" "$WORK/opened-canvas.png") differing" "0 differing"

echo "the session took $(($(date +%s) - T0)) s"
exit "$FAILURES"
