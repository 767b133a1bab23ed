#!/bin/sh
# The accessible tree of the real window, read over AT-SPI as a screen reader
# reads it (Debian's python3 with pyatspi, on a session bus and an
# accessibility bus of the check's own), on a 1366 x 768 laptop screen at
# 125 %: every control has its name, and its description where it helps, and
# lies inside the window: the lower ones once the column is scrolled, the
# options of Centric and Pattern, and the marker, once their mode is chosen.
# Each tree read is printed and kept (SHOT_DIR).
set -eu
KALIDOR=$1
SCREEN_SIZE=1366x768
export QT_SCALE_FACTOR=1.25
PYTHON=/usr/bin/python3
BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
if ! command -v dbus-launch >/dev/null || [ ! -x "$BUS_LAUNCHER" ] || ! "$PYTHON" -c "import pyatspi" 2>/dev/null; then
    echo "dbus-launch, $BUS_LAUNCHER or pyatspi missing: skipped"
    exit 77
fi
TREE="$(cd "$(dirname "$0")" && pwd)/accessible_tree.py"
. "$(dirname "$0")/x_session.sh"
eval "$(dbus-launch --sh-syntax)"
"$BUS_LAUNCHER" --launch-immediately >"$WORK/bus.log" 2>&1 &
BUS_PID=$!
trap 'kill "$BUS_PID" "$DBUS_SESSION_BUS_PID" 2>/dev/null || true; cleanup' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_kalidor "$KALIDOR"

# read_tree STEP: the tree into $WORK/accessible-STEP.txt, printed.
read_tree() {
    sleep 0.5
    "$PYTHON" "$TREE" read "$WORK/accessible-$1.txt" || { FAILURES=$((FAILURES + 1)); return; }
    echo "--- the accessible tree, $1:"
    cat "$WORK/accessible-$1.txt"
    echo "---"
}
# check_tree STEP NAME...: each control shown inside the window.
check_tree() {
    step=$1
    shift
    "$PYTHON" "$TREE" check "$WORK/accessible-$step.txt" "$@" || FAILURES=$((FAILURES + $?))
}
# press STEP NAME: a click on the control's middle, found in that tree.
press() {
    at=$("$PYTHON" "$TREE" centre "$WORK/accessible-$1.txt" 1.25 "$2") || { echo "FAIL: no $2 to press"; exit 1; }
    # shellcheck disable=SC2086
    xdotool mousemove $at click 1
}

read_tree start
check_tree start "radio button=Normal" "radio button=Centric" "radio button=Pattern" Palette \
    "Colour well 1 (left button)" "Colour well 2 (right button)" \
    "Colour well 3 (both buttons, or a modifier key on the palette)" "slider=Width" Canvas \
    File "Pointer position" "label=Control point" Edit "Scroll the controls"
# Below the window's bottom edge until the column scrolls.
at=$("$PYTHON" "$TREE" centre "$WORK/accessible-start.txt" 1.25 Palette)
# shellcheck disable=SC2086
xdotool mousemove $at
for _ in $(seq 20); do xdotool click 5; sleep 0.02; done
read_tree scrolled
check_tree scrolled "slider=Width" Invert Cvet
for _ in $(seq 20); do xdotool click 4; sleep 0.02; done
press start "radio button=Centric"
read_tree centric
check_tree centric "slider=N" "N value" Center "filler=Control point"
press centric "radio button=Pattern"
read_tree pattern
check_tree pattern Chess Pannern "filler=Control point"
exit "$FAILURES"
