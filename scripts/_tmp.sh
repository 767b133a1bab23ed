#!/bin/sh
set -eu
KALIDOR=$1
SHOT_DIR=/tmp/tt
mkdir -p /tmp/tt
. "$(dirname "$0")/../tests/acceptance/x_session.sh"
start_kalidor "$KALIDOR"
xdotool mousemove "$(sx 300)" "$(sy $((WIN_H - 60)))"
xdotool key ctrl+s
sleep 1.5
shot "$WORK/d0.png"
xdotool key Tab
sleep 0.3
shot "$WORK/d1.png"
xdotool key Tab
sleep 0.3
shot "$WORK/d2.png"
exit 0
