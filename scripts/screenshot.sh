#!/bin/sh
# Takes the README's screenshots of the real window under Xvfb, drawn with real
# X input: a Centric figure (docs/centric.png), a Pattern tiling
# (docs/pattern.png), a mirrored Centric figure with its guides
# (docs/mirror.png), a mandala coloured in with a few fills (docs/fill.png) and
# four wallpaper groups side by side (docs/groups.png), and a figure of lines
# and circles drawn with the shape tools under Centric with Mirror
# (docs/shapes.png), the mandala's detail at 8 x (docs/zoom.png), and a tile saved under p6m laid 3 x 3 beside the picture
# it came from (docs/tile.png), and a Centric figure drawn hard and with
# smooth lines, a detail of each at 4 x (docs/smooth.png).
set -eu
cd "$(dirname "$0")/.."
SCREEN_SIZE=1024x720
. tests/acceptance/x_session.sh

# Client positions of canvas pixels: the canvas's interior starts at (102, 12).
at() { echo "$(sx $((102 + $1))) $(sy $((12 + $2)))"; }
# drag FILE: a left-button stroke through the canvas points listed in FILE.
drag() {
    read -r X Y <"$1"
    xdotool mousemove $(at "$X" "$Y") mousedown 1
    while read -r X Y; do xdotool mousemove $(at "$X" "$Y"); done <"$1"
    xdotool mouseup 1
}
# save NAME: the window, cropped from the screen.
save() {
    xdotool mousemove "$(sx 600)" "$(sy 2)"
    sleep 0.5
    shot "$WORK/screen.png"
    convert "$WORK/screen.png" -crop "${WIN_W}x$((WIN_H + WIN_Y))+0+0" +repage "docs/$1.png"
    echo "wrote docs/$1.png"
}
# pen WIDTH: drags the pen-width slider's handle from 1, where it starts.
pen() {
    xdotool mousemove "$(sx 11)" "$(sy 565)" mousedown 1 mousemove "$(sx 30)" "$(sy 565)" \
        mousemove "$(sx $((11 + ($1 - 1) * 79 / 29)))" "$(sy 565)" mouseup 1
}
# start: Kalidor, with a data folder of its own: the session before was killed
# with its drawing unsaved, and its recovery copy must not be offered here.
SESSIONS=0
start() {
    SESSIONS=$((SESSIONS + 1))
    export XDG_DATA_HOME="$WORK/data-$SESSIONS"
    start_kalidor build/kalidor
}
# swatch COL ROW: loads a palette swatch into well 1.
swatch() { xdotool mousemove "$(sx $((11 + 19 * $1 + 10)))" "$(sy $((211 + 19 * $2 + 10)))" click 1; }

start
# Centric, N = 9 (the N slider's handle dragged right), about the canvas's middle.
xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
xdotool mousemove "$(sx 37)" "$(sy 147)" mousedown 1 mousemove "$(sx 50)" "$(sy 147)" mouseup 1
pen 3
MX=$(((WIN_W - 112) / 2))
MY=$(((WIN_H - 42) / 2))
for petal in 0 1; do
    swatch $((petal * 2)) $((petal * 3 + 2))
    awk -v mx="$MX" -v my="$MY" -v p="$petal" 'BEGIN { for (i = 0; i <= 120; i++) { t = i / 120 * 3.14159;
        r = 40 + p * 90 + 150 * sin(t) * (1 - p * 0.4); a = t * (0.6 - p * 0.3) - 0.3;
        printf "%d %d\n", mx + r * cos(a), my + r * sin(a) } }' >"$WORK/petal"
    drag "$WORK/petal"
done
save centric
kill "$KALIDOR_PID"

start
# Pattern with cells of 120 x 100 (the marker dropped there) and "Chess".
xdotool mousemove "$(sx 30)" "$(sy 80)" click 1
xdotool mousemove $(at 200 200) mousedown 1 mousemove $(at 150 150) mousemove $(at 120 100) mouseup 1
xdotool mousemove "$(sx 40)" "$(sy 130)" click 1
pen 6
swatch 1 5
awk 'BEGIN { for (i = 0; i <= 60; i++) { t = i / 60 * 6.28318;
    printf "%d %d\n", 60 + 45 * sin(t) * cos(t), 50 + 40 * sin(t) } }' >"$WORK/knot"
drag "$WORK/knot"
save pattern
kill "$KALIDOR_PID"

start
# Centric, N = 6, with Mirror and the guides on (the M and G keys): a snowflake.
xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
xdotool mousemove "$(sx 37)" "$(sy 147)" mousedown 1 mousemove "$(sx 39)" "$(sy 147)" mousemove "$(sx 41)" "$(sy 147)" mouseup 1
xdotool mousemove $(at 100 100) key m g
pen 2
swatch 3 4
awk -v mx="$MX" -v my="$MY" 'BEGIN { for (i = 0; i <= 80; i++) { t = i / 80;
    printf "%d %d\n", mx + 30 + 200 * t, my - 20 - 90 * t + 40 * sin(t * 12) } }' >"$WORK/frond"
drag "$WORK/frond"
save mirror
kill "$KALIDOR_PID"

start
# A mandala: Centric, N = 8 with Mirror, pen 3; eight petals, a ring with
# eight beads on it and a disc in the middle, all closed lines...
xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
xdotool mousemove "$(sx 37)" "$(sy 147)" mousedown 1 mousemove "$(sx 42)" "$(sy 147)" mousemove "$(sx 47)" "$(sy 147)" mouseup 1
xdotool mousemove $(at 100 100) key m
pen 3
# loop CX CY RX RY: an ellipse about a point, as one stroke; arc R A0 A1: an
# arc of a circle about the centre from angle A0 to A1 (radians, 0 up).
loop() {
    awk -v cx="$1" -v cy="$2" -v rx="$3" -v ry="$4" 'BEGIN { for (i = 0; i <= 48; i++) { a = i / 48 * 6.28318;
        printf "%d %d\n", cx + rx * sin(a), cy - ry * cos(a) } }' >"$WORK/loop"
    drag "$WORK/loop"
}
arc() {
    awk -v mx="$MX" -v my="$MY" -v r="$1" -v a0="$2" -v a1="$3" 'BEGIN { for (i = 0; i <= 24; i++) { a = a0 + (a1 - a0) * i / 24;
        printf "%d %d\n", mx + r * sin(a), my - r * cos(a) } }' >"$WORK/arc"
    drag "$WORK/arc"
}
loop "$MX" $((MY - 120)) 25 60
arc 190 -0.55 0.55
arc 60 -0.55 0.55
loop $((MX + 73)) $((MY - 176)) 18 18
# ... coloured in with F and five presses, each in the colour of a swatch.
xdotool key f
fill() {
    swatch "$1" "$2"
    xdotool mousemove $(at "$3" "$4") click 1
    sleep 0.2
}
fill 0 3 "$MX" $((MY - 120))
fill 2 9 $((MX + 30)) "$MY"
fill 1 1 $((MX + 34)) $((MY - 83))
fill 3 6 $((MX + 69)) $((MY - 167))
fill 2 12 $((MX + 78)) $((MY - 186))
save fill
# The same mandala at 8 x about a bead's edge (Ctrl+wheel): the picture's
# pixels as squares with their grid, the zoom in the status bar.
xdotool mousemove $(at $((MX + 73)) $((MY - 158)))
xdotool keydown ctrl
for _ in 1 2 3 4 5; do xdotool click 4; sleep 0.2; done
xdotool keyup ctrl
sleep 0.5
save zoom
kill "$KALIDOR_PID"

start
# Centric, N = 8 with Mirror, pen 2: circles (O) and lines (L), each drawn
# once and repeated by the symmetry.
xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
xdotool mousemove "$(sx 37)" "$(sy 147)" mousedown 1 mousemove "$(sx 42)" "$(sy 147)" mousemove "$(sx 47)" "$(sy 147)" mouseup 1
# The centre is the canvas's middle; "Center" up, so that no marker is under the presses.
MX=$((CANVAS_W / 2))
MY=$((CANVAS_H / 2))
xdotool mousemove "$(sx 50)" "$(sy 177)" click 1
xdotool mousemove $(at 100 100) key m
pen 2
# shape X1 Y1 X2 Y2: pressed at the first point, dragged to the second in six moves.
shape() {
    xdotool mousemove $(at "$1" "$2") mousedown 1
    for i in 1 2 3 4 5 6; do
        xdotool mousemove $(at $(($1 + ($3 - $1) * i / 6)) $(($2 + ($4 - $2) * i / 6)))
        sleep 0.02
    done
    xdotool mouseup 1
    sleep 0.2
}
xdotool key o
swatch 2 9
shape "$MX" "$MY" $((MX + 230)) "$MY"
shape "$MX" "$MY" $((MX + 60)) "$MY"
swatch 0 3
shape "$MX" $((MY - 150)) "$MX" $((MY - 195))
shape $((MX + 52)) $((MY - 126)) $((MX + 52)) $((MY - 146))
xdotool key l
swatch 3 6
shape $((MX + 8)) $((MY - 60)) $((MX + 30)) $((MY - 150))
shape $((MX + 30)) $((MY - 150)) $((MX + 70)) $((MY - 215))
swatch 1 1
shape $((MX + 60)) "$MY" $((MX + 120)) $((MY - 60))
save shapes
kill "$KALIDOR_PID"

# The same two strokes under four wallpaper groups, on cells of 90, each
# canvas cut down to 300 x 300 and named below; then side by side.
group() {  # group INDEX: chosen in the status bar's fifth panel's pop-up
    xdotool mousemove "$(sx 370)" "$(sy $((WIN_H - 10)))" click 1
    sleep 0.5
    for _ in $(seq 0 "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
}
awk 'BEGIN { for (i = 0; i <= 40; i++) { t = i / 40;
    printf "%d %d\n", 112 + 40 * t, 108 + 25 * sin(t * 5) } }' >"$WORK/wave"
awk 'BEGIN { for (i = 0; i <= 30; i++) { t = i / 30 * 3.14159;
    printf "%d %d\n", 128 + 14 * cos(t), 128 + 20 * sin(t) } }' >"$WORK/hook"
# figure INDEX: the wave and the hook under that group, on cells of 90, the
# marker hidden; the screen in $WORK/screen.png.
figure() {
    start
    xdotool mousemove "$(sx 30)" "$(sy 80)" click 1
    xdotool mousemove $(at 200 200) mousedown 1 mousemove $(at 150 150) mousemove $(at 90 90) mouseup 1
    xdotool mousemove "$(sx 40)" "$(sy 157)" click 1  # "Pannern" up: no marker in the picture
    group "$1"
    pen 3
    swatch 0 9
    drag "$WORK/wave"
    swatch 3 2
    drag "$WORK/hook"
    xdotool mousemove "$(sx 600)" "$(sy 2)"
    sleep 0.5
    shot "$WORK/screen.png"
}
label() {  # label IN TEXT OUT: a white border, and the text below
    convert "$1" -bordercolor white -border 6 -gravity south -background white -splice 0x22 -font DejaVu-Sans \
        -pointsize 16 -annotate +0+3 "$2" "$3"
}
TILES=""
for g in "11 p4g" "7 pgg" "14 p31m" "16 p6m"; do
    set -- $g
    figure "$1"
    convert "$WORK/screen.png" -crop "300x300+$(sx 102)+$(sy 12)" +repage "$WORK/cut.png"
    label "$WORK/cut.png" "$2" "$WORK/tile-$2.png"
    TILES="$TILES $WORK/tile-$2.png"
    kill "$KALIDOR_PID"
done
convert $TILES +append docs/groups.png
echo "wrote docs/groups.png"

# Save tile under p6m on cells of 90: the picture from its corner, the saved
# tile (90 x 156: a cell across, two rows of cells down) and the tile laid
# 3 x 3, side by side.
figure 16
xdotool key ctrl+alt+s
in_dialog "Save As" "$WORK/tile.png" 1
convert "$WORK/screen.png" -crop "270x468+$(sx 102)+$(sy 12)" +repage "$WORK/picture.png"
label "$WORK/picture.png" "the picture" "$WORK/a.png"
convert "$WORK/tile.png" -bordercolor gray -border 1 "$WORK/one.png"
label "$WORK/one.png" "the tile" "$WORK/b.png"
convert -size 270x468 tile:"$WORK/tile.png" "$WORK/laid.png"
label "$WORK/laid.png" "laid 3 x 3" "$WORK/c.png"
convert "$WORK/a.png" "$WORK/b.png" "$WORK/c.png" -background white -gravity north +append docs/tile.png
echo "wrote docs/tile.png"
kill "$KALIDOR_PID"

# Smooth lines (A): the same Centric figure at N = 7 drawn hard and smooth,
# and a detail of each at 4 x side by side (docs/smooth.png).
petals() {  # petals KEYS OUT: the figure drawn after KEYS, the screen in OUT
    start
    xdotool mousemove "$(sx 30)" "$(sy 60)" click 1
    xdotool mousemove "$(sx 37)" "$(sy 147)" mousedown 1 mousemove "$(sx 42)" "$(sy 147)" mousemove "$(sx $NX)" "$(sy 147)" mouseup 1
    xdotool mousemove $(at 100 100) ${1:+key $1}
    pen 3
    swatch 0 14
    MX=$(((WIN_W - 112) / 2))
    MY=$(((WIN_H - 42) / 2))
    awk -v mx="$MX" -v my="$MY" 'BEGIN { for (i = 0; i <= 90; i++) { t = i / 90 * 3.14159;
        r = 60 + 170 * sin(t); a = t * 0.5 - 0.2;
        printf "%d %d\n", mx + r * cos(a), my + r * sin(a) } }' >"$WORK/smooth-petal"
    drag "$WORK/smooth-petal"
    xdotool mousemove "$(sx 600)" "$(sy 2)"
    sleep 0.5
    shot "$2"
    kill "$KALIDOR_PID"
}
NX=${NX:-44}
petals "" "$WORK/hard.png"
petals "a" "$WORK/soft.png"
DX=$(( (WIN_W - 112) / 2 + 102 + 120 )); DY=$(( (WIN_H - 42) / 2 + 12 + 60 ))
for k in hard soft; do
    convert "$WORK/$k.png" -crop "110x90+$(sx $DX)+$(sy $DY)" +repage -scale 400% "$WORK/$k-4x.png"
done
label "$WORK/hard-4x.png" "hard pixels (at 4 x)" "$WORK/a.png"
label "$WORK/soft-4x.png" "smooth lines, A (at 4 x)" "$WORK/b.png"
convert "$WORK/soft.png" -crop "${WIN_W}x$((WIN_H + WIN_Y))+0+0" +repage -resize 40% "$WORK/whole.png"
label "$WORK/whole.png" "the smooth figure" "$WORK/c.png"
convert "$WORK/c.png" "$WORK/a.png" "$WORK/b.png" -background white -gravity north +append docs/smooth.png
echo "wrote docs/smooth.png"
