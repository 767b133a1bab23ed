#!/bin/sh
# Symmetric drawing in the real window with real X input: a Pattern stroke
# repeated in every cell (and in every other one with "Chess"), a Centric
# stroke drawn five times about the centre, the centre moved by dragging its
# marker, and a fill that colours five petals with one press.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
# Client positions of canvas pixels: the canvas's interior starts at (102, 12).
cx() { echo $((102 + $1)); }
cy() { echo $((12 + $1)); }
# stroke X1 Y1 X2 Y2: a left-button drag on the canvas in ten moves.
stroke() {
    xdotool mousemove "$(sx "$(cx "$1")")" "$(sy "$(cy "$2")")" mousedown 1
    for i in $(seq 1 10); do
        xdotool mousemove "$(sx "$(cx $(($1 + ($3 - $1) * i / 10)))")" "$(sy "$(cy $(($2 + ($4 - $2) * i / 10)))")"
    done
    xdotool mouseup 1
    sleep 0.2
}
# expect_dark_near FILE X Y WHAT: some black pixel within 2 pixels of canvas (X, Y).
expect_dark_near() {
    x=$(($(sx "$(cx "$2")") - 2))
    y=$(($(sy "$(cy "$3")") - 2))
    got=$(convert "$1" -crop "5x5+$x+$y" -format "%[fx:minima.intensity]" info:)
    if [ "$got" = "0" ]; then echo "ok: $4"; else
        echo "FAIL: $4: nothing black near canvas ($2, $3)"
        FAILURES=$((FAILURES + 1))
    fi
}
expect_canvas() { expect_pixel "$1" "$(cx "$2")" "$(cy "$3")" "$4" "$5"; }
# The Pattern and Centric buttons of the Mode frame.
choose() { xdotool mousemove "$(sx 30)" "$(sy "$1")" click 1; sleep 0.2; }

# Pattern: cells of 200 x 200; a stroke from (20, 30) to (60, 30) in every cell.
choose 80
stroke 20 30 60 30
shot "$WORK/pattern.png"
for cell in "0 0" "200 0" "400 200" "800 400" "1000 600"; do
    set -- $cell
    expect_canvas "$WORK/pattern.png" $(($1 + 40)) $(($2 + 30)) "0,0,0" "the pattern stroke is in the cell at ($1, $2)"
done
expect_canvas "$WORK/pattern.png" 140 30 "255,255,255" "and nowhere between the cells"

# "Chess": the next stroke only in the cells of the pointer's colour.
xdotool mousemove "$(sx 40)" "$(sy 130)" click 1
stroke 20 100 60 100
shot "$WORK/chess.png"
expect_canvas "$WORK/chess.png" 40 100 "0,0,0" "with Chess, the pointer's own cell"
expect_canvas "$WORK/chess.png" 440 100 "0,0,0" "two cells right"
expect_canvas "$WORK/chess.png" 240 300 "0,0,0" "one right, one down"
expect_canvas "$WORK/chess.png" 240 100 "255,255,255" "but not the neighbour on the right"
expect_canvas "$WORK/chess.png" 40 300 "255,255,255" "nor the one below"

# Centric, N = 5 about the middle of the canvas (583, 374): a radial stroke
# from radius 100 to 150, five times, a fifth of a turn apart.
choose 60
stroke 683 374 733 374
shot "$WORK/centric.png"
for k in 0 1 2 3 4; do
    xy=$(awk -v k="$k" 'BEGIN { a = k * 2 * 3.141592 / 5; printf "%d %d", 583 + 125 * cos(a) + 0.5, 374 + 125 * sin(a) + 0.5 }')
    set -- $xy
    expect_dark_near "$WORK/centric.png" "$1" "$2" "copy $k of the centric stroke at ($1, $2)"
done
expect_canvas "$WORK/centric.png" 458 374 "255,255,255" "no copy at half a turn"

# Drag the marker from the centre to (300, 420) and draw about the new centre.
xdotool mousemove "$(sx "$(cx 583)")" "$(sy "$(cy 374)")" mousedown 1
xdotool mousemove "$(sx "$(cx 450)")" "$(sy "$(cy 400)")"
xdotool mousemove "$(sx "$(cx 300)")" "$(sy "$(cy 420)")" mouseup 1
sleep 0.2
stroke 400 420 450 420
shot "$WORK/moved.png"
expect_canvas "$WORK/moved.png" 300 420 "0,0,0" "the marker's dot sits on the new centre"
xy=$(awk 'BEGIN { a = 2 * 3.141592 / 5; printf "%d %d", 300 + 125 * cos(a) + 0.5, 420 + 125 * sin(a) + 0.5 }')
set -- $xy
expect_dark_near "$WORK/moved.png" "$1" "$2" "the next stroke turns about the dropped centre"

# Cells of 2 x 2 pixels, set by a Shift-press at canvas (2, 2), with Chess: one
# step from (500, 300) to (501, 300) draws two pixels in every other cell of
# the whole canvas, the same everywhere: a quarter of the pixels.
choose 80
xdotool mousemove "$(sx "$(cx 2)")" "$(sy "$(cy 2)")" keydown shift click 1 keyup shift
sleep 0.2
xdotool mousemove "$(sx "$(cx 500)")" "$(sy "$(cy 300)")" mousedown 1 mousemove "$(sx "$(cx 501)")" "$(sy "$(cy 300)")" mouseup 1
sleep 0.2
shot "$WORK/tiny.png"
tile() { convert "$WORK/tiny.png" -crop "40x40+$(sx "$(cx "$1")")+$(sy "$(cy "$2")")" +repage "$WORK/tile-$1-$2.png"; }
# Tiles clear of the strokes above, four pixels (one period) apart many times over.
tile 100 140
tile 500 140
tile 1100 540
for t in 500-140 1100-540; do
    diff=$(compare -metric AE "$WORK/tile-100-140.png" "$WORK/tile-$t.png" null: 2>&1 || true)
    if [ "$diff" = "0" ]; then echo "ok: tiny cells: the tile at $t repeats the one at 100-140"; else
        echo "FAIL: tiny cells: the tile at $t differs from the one at 100-140 in $diff pixels"
        FAILURES=$((FAILURES + 1))
    fi
done
mean=$(convert "$WORK/tile-100-140.png" -format "%[fx:mean]" info:)
if awk -v m="$mean" 'BEGIN { exit !(m > 0.74 && m < 0.76) }'; then echo "ok: tiny cells: a quarter of the pixels black ($mean)"; else
    echo "FAIL: tiny cells: mean intensity $mean"
    FAILURES=$((FAILURES + 1))
fi

# circle_stroke: a circle of radius 30 about (410, 420) in 24 moves, one stroke.
circle_stroke() {
    xdotool mousemove "$(sx "$(cx 440)")" "$(sy "$(cy 420)")" mousedown 1
    for i in $(seq 1 24); do
        xy=$(awk -v i="$i" 'BEGIN { a = i * 2 * 3.141592 / 24; printf "%d %d", 410 + 30 * cos(a) + 0.5, 420 + 30 * sin(a) + 0.5 }')
        set -- $xy
        xdotool mousemove "$(sx "$(cx "$1")")" "$(sy "$(cy "$2")")"
        sleep 0.01
    done
    xdotool mouseup 1
}

# Fill. On a new canvas, a circle drawn in Centric at N = 5 about the centre
# left at (300, 420) makes five closed petals; with F, one press inside one of
# them colours all five, the moves after it with the button held draw
# nothing, and Ctrl+Z takes the fill back.
xdotool key ctrl+n
sleep 0.3
choose 60
circle_stroke
sleep 0.3
shot "$WORK/petals.png"
canvas_crop "$WORK/petals.png" "$WORK/petals-canvas.png"
xdotool key f
sleep 0.2
xdotool mousemove "$(sx "$(cx 410)")" "$(sy "$(cy 420)")" mousedown 1
for i in $(seq 1 10); do
    xdotool mousemove "$(sx "$(cx $((410 + 19 * i)))")" "$(sy "$(cy $((420 + 18 * i)))")"
    sleep 0.01
done
xdotool mouseup 1
sleep 0.3
shot "$WORK/filled.png"
for k in 0 1 2 3 4; do
    xy=$(awk -v k="$k" 'BEGIN { a = k * 2 * 3.141592 / 5; printf "%d %d", 300 + 110 * cos(a) + 0.5, 420 + 110 * sin(a) + 0.5 }')
    set -- $xy
    expect_canvas "$WORK/petals.png" "$1" "$2" "255,255,255" "petal $k is white inside before the fill"
    expect_canvas "$WORK/filled.png" "$1" "$2" "0,0,0" "one press filled petal $k at ($1, $2)"
    expect_canvas "$WORK/filled.png" "$(($1 + 20))" "$2" "0,0,0" "to its edge"
done
expect_canvas "$WORK/filled.png" 389 485 "255,255,255" "between two petals stays white"
expect_canvas "$WORK/filled.png" 505 510 "255,255,255" "the drag after the fill drew nothing"
expect_canvas "$WORK/filled.png" 40 40 "255,255,255" "nor did the fill reach the background"
xdotool key ctrl+z
sleep 0.4
shot "$WORK/unfilled.png"
canvas_crop "$WORK/unfilled.png" "$WORK/unfilled-canvas.png"
expect_same "Ctrl+Z takes the fill back, to the pixel" "$(differing "$WORK/unfilled-canvas.png" "$WORK/petals-canvas.png")" 0

# Smooth lines. F puts Fill down and A switches smooth lines on: the same
# circle on a new canvas gives the same five petals with soft edges, many
# levels of grey where the hard ones had black and white alone.
xdotool key ctrl+n f a
sleep 0.3
circle_stroke
sleep 0.3
shot "$WORK/smooth.png"
# Petal 0 alone, away from the marker over the centre.
greys() { convert "$1" -crop "90x90+$(sx "$(cx 370)")+$(sy "$(cy 380)")" +repage -unique-colors -format "%w" info:; }
hard=$(greys "$WORK/petals.png")
soft=$(greys "$WORK/smooth.png")
if [ "$hard" -le 3 ] && [ "$soft" -ge 12 ]; then echo "ok: hard petals in $hard colours, smooth ones in $soft"; else
    echo "FAIL: hard petals in $hard colours, smooth ones in $soft"
    FAILURES=$((FAILURES + 1))
fi
for k in 0 1 2 3 4; do
    xy=$(awk -v k="$k" 'BEGIN { a = k * 2 * 3.141592 / 5; printf "%d %d", 300 + 110 * cos(a) + 0.5, 420 + 110 * sin(a) + 0.5 }')
    set -- $xy
    expect_canvas "$WORK/smooth.png" "$1" "$2" "255,255,255" "smooth petal $k is white inside"
done
exit "$FAILURES"
