# Sourced by the real-window checks: a virtual X display with a window manager
# that honours maximising, Kalidor started on it, and helpers for X input and
# screenshots. Needs Xvfb, openbox, xdotool, xwininfo and ImageMagick.
# With NO_WM=1 set before sourcing, the display has no window manager: nothing
# maximises the window or gives it the focus.
# With SHOT_DIR set to a folder, the screenshots are copied there at the end,
# whether the checks passed or not.

command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v openbox >/dev/null || {
    echo "Xvfb, xdotool or openbox missing: skipped"
    exit 77
}

: "${SCREEN_SIZE:=1280x800}"
export QT_QPA_PLATFORM=xcb  # the rest of the suite runs offscreen
WORK=$(mktemp -d)
# The program's data folder, where it keeps the recovery copy of an unsaved
# drawing: one of the check's own, so that a copy left by a check killed at the
# end is never offered to the next, nor to the user.
export XDG_DATA_HOME="$WORK/data"
# The server takes the first free display and names it: a display chosen here
# could be in use by another server, and the checks would then drive that one.
start_xvfb() {
    : >"$WORK/display"
    # -noreset: a server resets when its last client leaves (the probe below),
    # and a program connecting during the reset was once refused.
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
}
start_xvfb
cleanup() {
    # One at a time: sh's kill stops at an empty argument (no window manager).
    for pid in ${KALIDOR_PID:-} ${OPENBOX_PID:-} "$XVFB_PID"; do kill "$pid" 2>/dev/null || true; done
    # The server gone before the next check starts: one still closing down
    # could free its display number and then unlink the socket of the next
    # server that took it (seen once: the next program could not connect).
    wait "$XVFB_PID" 2>/dev/null || true
    [ -z "${SHOT_DIR:-}" ] || cp "$WORK"/*.png "$WORK"/*.txt "$SHOT_DIR"/ 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
# A server that names its display but takes no connection there (another
# check's server starting beside it at the same moment) is started again.
for attempt in 1 2 3; do
    for _ in $(seq 200); do [ -s "$WORK/display" ] && break; sleep 0.05; done
    [ -s "$WORK/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$WORK/xvfb.log")"; exit 1; }
    export DISPLAY=":$(cat "$WORK/display")"
    for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
    xwininfo -root >/dev/null 2>&1 && break
    [ "$attempt" = 3 ] && { echo "FAIL: no connection to Xvfb on $DISPLAY: $(cat "$WORK/xvfb.log")"; exit 1; }
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    start_xvfb
done
if [ -z "${NO_WM:-}" ]; then
    openbox >"$WORK/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    sleep 0.5
fi

# start_kalidor BINARY [ARG...]: starts it and waits until its window is
# maximised (without a window manager: shown at its restored width, 612); sets
# WIN_X, WIN_Y (the client area's screen position) and WIN_W, WIN_H.
start_kalidor() {
    "$@" >"$WORK/kalidor.log" 2>&1 &
    KALIDOR_PID=$!
    WANT_W=${SCREEN_SIZE%x*}
    [ -z "${NO_WM:-}" ] || WANT_W=612
    WIN_W=0
    # Generous: a busy machine (the sanitized program, the fuzzer beside it)
    # can take seconds to start; a window that comes sooner ends the wait.
    STARTS=1
    for _ in $(seq 300); do
        # A program refused by a server that does take connections is started
        # again, twice at most: the refusal is the server's, not the program's.
        if ! kill -0 "$KALIDOR_PID" 2>/dev/null && [ "$STARTS" -lt 3 ] &&
            grep -q "could not connect to display" "$WORK/kalidor.log" && xwininfo -root >/dev/null 2>&1; then
            echo "the program could not connect to $DISPLAY: started again"
            "$@" >"$WORK/kalidor.log" 2>&1 &
            KALIDOR_PID=$!
            STARTS=$((STARTS + 1))
        fi
        WID=$(xdotool search --onlyvisible --name '^Kalidor$' 2>/dev/null | head -1)
        if [ -n "$WID" ]; then
            WIN_W=$(xwininfo -id "$WID" | awk '/  Width:/ {print $2}')
            [ "$WIN_W" = "$WANT_W" ] && break
        fi
        sleep 0.1
    done
    if [ "$WIN_W" != "$WANT_W" ]; then
        echo "FAIL: no Kalidor window $WANT_W wide within 30 seconds"
        cat "$WORK/kalidor.log"
        exit 1
    fi
    sleep 0.5
    INFO=$(xwininfo -id "$WID")
    WIN_X=$(echo "$INFO" | awk '/Absolute upper-left X:/ {print $4}')
    WIN_Y=$(echo "$INFO" | awk '/Absolute upper-left Y:/ {print $4}')
    WIN_W=$(echo "$INFO" | awk '/  Width:/ {print $2}')
    WIN_H=$(echo "$INFO" | awk '/  Height:/ {print $2}')
    # The canvas's interior, inside its 2-pixel border: from (102, 12) of the
    # client area to 10 pixels short of the right edge and down to the status bar.
    CANVAS_W=$((WIN_W - 114))
    CANVAS_H=$((WIN_H - 34))
}

# Screen position of a point of the window's client area.
sx() { echo $((WIN_X + $1)); }
sy() { echo $((WIN_Y + $1)); }

# shot FILE: a screenshot of the whole screen. ImageMagick's import, as xwd
# shows pop-ups and dialogs over the maximised window as black under Xvfb.
shot() { import -window root "$1"; }

# pixel FILE X Y (client coordinates): prints r,g,b.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$(sx "$2"),$(sy "$3")}.r)],%[fx:int(255*p{$(sx "$2"),$(sy "$3")}.g)],%[fx:int(255*p{$(sx "$2"),$(sy "$3")}.b)]" info:
}

# click_at X Y BUTTON: a click at a point of the client area.
click_at() { xdotool mousemove "$(sx "$1")" "$(sy "$2")" click "$3"; }

# shot_when FILE X Y R,G,B: screenshots into $WORK/FILE until pixel (X, Y) of
# the client area shows the colour, for at most 5 seconds, so that a slow
# machine has painted what is checked next.
shot_when() {
    for _ in $(seq 25); do
        shot "$WORK/$1"
        [ "$(pixel "$WORK/$1" "$2" "$3")" = "$4" ] && return
        sleep 0.2
    done
}

# black_rows FILE X Y0 Y1: how many pixels of client column X, rows Y0..Y1, are black.
black_rows() {
    convert "$1" -crop "1x$(($4 - $3 + 1))+$(sx "$2")+$(sy "$3")" +repage txt:- | grep -c "#000000" || true
}

# canvas_crop SHOT OUT: the canvas's interior cut out of a screenshot.
canvas_crop() {
    convert "$1" -crop "${CANVAS_W}x${CANVAS_H}+$(sx 102)+$(sy 12)" +repage "$2"
}

# differing A B: how many pixels differ between two pictures of one size.
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

FAILURES=0
# expect_same WHAT GOT WANT
expect_same() {
    if [ "$2" = "$3" ]; then echo "ok: $1 ($2)"; else
        echo "FAIL: $1: $2, expected $3"
        FAILURES=$((FAILURES + 1))
    fi
}
# expect_pixel FILE X Y R,G,B WHAT
expect_pixel() {
    got=$(pixel "$1" "$2" "$3")
    if [ "$got" = "$4" ]; then
        echo "ok: $5"
    else
        echo "FAIL: $5: pixel ($2, $3) is $got, expected $4"
        FAILURES=$((FAILURES + 1))
    fi
}

# The File pop-up and the real file dialogs.
# file_command KEY: a press on the status bar's first panel, then the item's key.
file_command() {
    xdotool mousemove "$(sx 20)" "$(sy $((WIN_H - 10)))" click 1
    sleep 0.5
    shot "$WORK/menu-$1.png"
    expect_pixel "$WORK/menu-$1.png" 30 $((WIN_H - 40)) "255,255,255" "the File pop-up shows above panel 1"
    xdotool key "$1"
    sleep 1
}

# in_dialog TITLE NAME [TYPE]: waits for the file dialog, chooses the TYPE-th
# entry (0 the first) of its "Files of type" as a user does with the keys (Tab
# from the name to the list, Down), types the name and accepts it.
in_dialog() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 1
    if [ "${3:-0}" -gt 0 ]; then
        xdotool key Tab
        sleep 0.2
        for _ in $(seq "$3"); do xdotool key Down; sleep 0.2; done
        xdotool key shift+Tab
        sleep 0.2
    fi
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
