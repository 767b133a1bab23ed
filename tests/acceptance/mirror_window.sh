#!/bin/sh
# The real program in a real X window: with Mirror (the M key) a Centric stroke
# at N = 4 shows its 4 turned copies and their 4 mirror images at the computed
# pixels, and a Pattern stroke shows the copies turned over in the cells with
# odd k or j; the guides (the G key) show on the screen and never in the saved
# file, and the Edit pop-up shows both settings checked. Then three wallpaper
# groups chosen from the status bar's fifth panel each show their symmetry on
# the screen, pixel for pixel, and a line and a circle under one of them;
# Save tile (Ctrl+Alt+S) under that group writes one cell of it, which laid
# 3 x 3 is the screen's picture, and which opened again shows as it was saved.
set -eu
KALIDOR=$1
. "$(dirname "$0")/x_session.sh"

start_kalidor "$KALIDOR"
echo "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H, canvas ${CANVAS_W}x$CANVAS_H"
WHITE=255,255,255
BLACK=0,0,0
cx() { echo $((102 + $1)); }
cy() { echo $((12 + $1)); }
on_canvas() { xdotool mousemove "$(sx "$(cx "$1")")" "$(sy "$(cy "$2")")"; }
# line X1 Y1 X2 Y2: a left-button stroke on the canvas in ten moves.
line() {
    on_canvas "$1" "$2"
    xdotool mousedown 1
    for i in $(seq 1 10); do
        on_canvas $(($1 + ($3 - $1) * i / 10)) $(($2 + ($4 - $2) * i / 10))
        sleep 0.01
    done
    xdotool mouseup 1
    xdotool mousemove "$(sx 600)" "$(sy $((WIN_H - 60)))"
    sleep 0.4
}
canvas_is() { expect_pixel "$1" "$(cx "$2")" "$(cy "$3")" "$4" "$5"; }

# Centric, its marker hidden (so the arrow keys leave the centre alone), N = 4
# set with the keyboard on the slider, then Mirror and the guides on.
click_at 30 60 1
click_at 50 177 1  # "Center" up: the marker hides
click_at 45 147 1  # the N slider takes the focus
xdotool key Home Right Right Right
sleep 0.3
xdotool key m g
MX=$((CANVAS_W / 2))
MY=$((CANVAS_H / 2))
[ $((CANVAS_H % 2)) -eq 1 ] && [ $((MY % 2)) -eq 1 ] && MY=$((MY + 1))  # ties to even
# A stroke from (50, -50) to (100, -50) about the centre.
line $((MX + 50)) $((MY - 50)) $((MX + 100)) $((MY - 50))
shot "$WORK/centric.png"
# The middles of the 4 quarter turns and of their mirror images.
for m in "75 -50" "50 75" "-75 50" "-50 -75" "-75 -50" "-50 75" "75 50" "50 -75"; do
    set -- $m
    canvas_is "$WORK/centric.png" $((MX + $1)) $((MY + $2)) "$BLACK" "a copy passes ($1, $2) from the centre"
done
canvas_is "$WORK/centric.png" $((MX + 75)) $((MY - 60)) "$WHITE" "white beside the first copy"
canvas_is "$WORK/centric.png" $((MX + 40)) $((MY - 40)) "$WHITE" "and between the copies"

# The guides are on the screen only: the saved file is the picture without them.
file_command s
in_dialog "Save As" "$WORK/mirrored.bmp"
shot "$WORK/guides.png"
canvas_crop "$WORK/guides.png" "$WORK/guides-canvas.png"
convert "$WORK/mirrored.bmp" "$WORK/saved.png"
shown=$(differing "$WORK/guides-canvas.png" "$WORK/saved.png")
expect_same "the guides show over the canvas" "$([ "$shown" -gt 200 ] && echo yes)" yes
dashes=$(black_rows "$WORK/guides.png" "$(cx "$MX")" "$(cy $((MY - 300)))" "$(cy $((MY - 151)))")
expect_same "the straight-up guide and the mirror line show above the centre" "$([ "$dashes" -ge 50 ] && echo yes)" yes
ray=$(convert "$WORK/saved.png" -crop "1x150+$MX+$((MY - 300))" +repage -format '%[fx:minima]' info:)
expect_same "the saved file has no guide above the centre" "$ray" 1
# The Edit pop-up shows Mirror and Guides checked; G again hides the guides.
xdotool mousemove "$(sx 300)" "$(sy $((WIN_H - 10)))" click 1
sleep 0.5
shot "$WORK/edit-checked.png"
xdotool key Escape
xdotool key g
sleep 0.5
shot "$WORK/no-guides.png"
canvas_crop "$WORK/no-guides.png" "$WORK/no-guides-canvas.png"
expect_same "without guides the screen shows exactly the saved picture" \
    "$(differing "$WORK/no-guides-canvas.png" "$WORK/saved.png")" 0

# Pattern with Mirror, cells of 200 x 200: a stroke from (20, 30) to (60, 30)
# in the cell k = 0, j = 0 lies in cell (k, j) at x = 200 k + 20..60 where k is
# even and at 200 k + 140..180 where it is odd; likewise y = 200 j + 30 or + 170.
file_command n
click_at 30 80 1
line 20 30 60 30
shot "$WORK/pattern.png"
for cell in "0 0" "1 0" "2 0" "3 0" "0 1" "1 1" "2 1" "1 2"; do
    set -- $cell
    if [ $(($1 % 2)) -eq 0 ]; then x=$((200 * $1 + 40)); other=$((200 * $1 + 160)); else x=$((200 * $1 + 160)); other=$((200 * $1 + 40)); fi
    if [ $(($2 % 2)) -eq 0 ]; then y=$((200 * $2 + 30)); else y=$((200 * $2 + 170)); fi
    canvas_is "$WORK/pattern.png" "$x" "$y" "$BLACK" "Mirror: the copy in cell ($1, $2) passes ($x, $y)"
    canvas_is "$WORK/pattern.png" "$other" "$y" "$WHITE" "and not where the other way round would put it"
done

# Wallpaper groups on cells of 200 x 200: the first cell, cut from the
# screen, is its own mirror image left to right under pm, its own half turn
# under p2 and its own quarter turn under p4 (whose centres lie in the cells'
# middles). The group is picked with the keyboard in its pop-up.
group() {
    xdotool mousemove "$(sx 370)" "$(sy $((WIN_H - 10)))" click 1
    sleep 0.5
    shot "$WORK/group-menu-$2.png"
    for _ in $(seq 0 "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
}
click_at 40 157 1  # "Pannern" up: its marker leaves the first cell's corner
# check INDEX NAME LACKS TURN...: the group's pop-up item, then a stroke whose
# first cell must equal itself turned by ImageMagick's TURN, and not by LACKS.
check_group() {
    index=$1 name=$2 lacks=$3
    shift 3
    file_command n
    group "$index" "$name"
    line 30 20 90 70
    line 90 70 150 40
    line 150 40 170 160
    shot "$WORK/group-$name.png"
    convert "$WORK/group-$name.png" -crop "200x200+$(sx 102)+$(sy 12)" +repage "$WORK/cell-$name.png"
    convert "$WORK/cell-$name.png" "$@" "$WORK/turned-$name.png"
    ink=$(convert "$WORK/cell-$name.png" -fill white +opaque black -fill black -opaque black -format '%[fx:int(w*h*(1-mean))]' info:)
    expect_same "$name: the stroke and its copies show in the first cell" "$([ "$ink" -gt 300 ] && echo yes)" yes
    expect_same "$name: the first cell is its own image" "$(differing "$WORK/cell-$name.png" "$WORK/turned-$name.png")" 0
    convert "$WORK/cell-$name.png" "$lacks" "$WORK/lacks-$name.png"
    expect_same "$name: but not its image under $lacks" \
        "$([ "$(differing "$WORK/cell-$name.png" "$WORK/lacks-$name.png")" -gt 100 ] && echo yes)" yes
}
check_group 2 pm -flip -flop
check_group 1 p2 -flop -rotate 180
check_group 9 p4 -flop -rotate 90

# The Line (L) and Circle (O) tools under p4: while the button is down the
# shape shows with all its copies over the picture, the release draws them,
# and the first cell is still its own quarter turn. Escape calls a shape off.
file_command n
xdotool key l
on_canvas 40 30
xdotool mousedown 1
for i in $(seq 1 10); do on_canvas $((40 + 12 * i)) $((30 + 4 * i)); sleep 0.01; done
sleep 0.4
shot "$WORK/line-preview.png"
canvas_is "$WORK/line-preview.png" 100 50 "$BLACK" "the line shows while it is dragged"
canvas_is "$WORK/line-preview.png" $((200 + 100)) 50 "$BLACK" "and so does its copy in the next cell"
xdotool key Escape
sleep 0.3
xdotool mouseup 1
sleep 0.3
shot "$WORK/line-cancelled.png"
canvas_is "$WORK/line-cancelled.png" 100 50 "$WHITE" "Escape calls the line off"
line 40 30 160 70
xdotool key o
on_canvas 100 100
xdotool mousedown 1
for i in $(seq 1 8); do on_canvas $((100 + 5 * i)) 100; sleep 0.01; done
xdotool mouseup 1
xdotool key o
xdotool mousemove "$(sx 600)" "$(sy $((WIN_H - 60)))"
sleep 0.4
shot "$WORK/shapes.png"
canvas_is "$WORK/shapes.png" 100 50 "$BLACK" "the line is drawn at the release"
canvas_is "$WORK/shapes.png" 100 60 "$BLACK" "the circle passes 40 pixels above its centre"
canvas_is "$WORK/shapes.png" 100 100 "$WHITE" "and leaves its centre white"
convert "$WORK/shapes.png" -crop "200x200+$(sx 102)+$(sy 12)" +repage "$WORK/cell-shapes.png"
convert "$WORK/cell-shapes.png" -rotate 90 "$WORK/turned-shapes.png"
expect_same "the line and the circle keep the first cell its own quarter turn" \
    "$(differing "$WORK/cell-shapes.png" "$WORK/turned-shapes.png")" 0

# Save tile under p4 on cells of 200: one cell from the middle, at a whole
# number of cells from the corner, so the picture from its corner is the tile
# laid edge to edge. Opened again, it shows at the top-left corner as saved.
canvas_crop "$WORK/shapes.png" "$WORK/tiled-canvas.png"
xdotool key ctrl+alt+s
in_dialog "Save As" "$WORK/tile.png" 1
got=$(identify -format "%m %w %h" "$WORK/tile.png" 2>&1 || true)
expect_same "Save tile wrote one 200 x 200 cell as a PNG" "$got" "PNG 200 200"
convert -size 600x600 tile:"$WORK/tile.png" -type TrueColor "$WORK/laid.png"
convert "$WORK/tiled-canvas.png" -crop 600x600+0+0 +repage -type TrueColor "$WORK/laid-screen.png"
expect_same "the tile laid 3 x 3 is the picture on the screen" "$(differing "$WORK/laid.png" "$WORK/laid-screen.png")" 0
file_command o
in_dialog Open "$WORK/tile.png" 5
shot "$WORK/tile-opened.png"
convert "$WORK/tile-opened.png" -crop "200x200+$(sx 102)+$(sy 12)" +repage -type TrueColor "$WORK/tile-shown.png"
convert "$WORK/tile.png" -type TrueColor "$WORK/tile-rgb.png"
expect_same "the opened tile shows as it was saved" "$(differing "$WORK/tile-shown.png" "$WORK/tile-rgb.png")" 0
canvas_is "$WORK/tile-opened.png" 300 100 "$WHITE" "and white beyond it"
exit "$FAILURES"
