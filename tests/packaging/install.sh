#!/bin/sh
# `cmake --install` into a scratch prefix puts the program, its desktop entry
# and its icon where a desktop finds them, and the entry names both.
set -eu
BUILD=$1
PREFIX=$(mktemp -d)
trap 'rm -rf "$PREFIX"' EXIT
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null

FAILURES=0
check() {  # check WHAT COMMAND...
    what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); fi
}
BIN=$PREFIX/bin/kalidor
ENTRY=$PREFIX/share/applications/kalidor.desktop
ICON=$PREFIX/share/icons/hicolor/32x32/apps/kalidor.png
check "bin/kalidor is installed and executable" test -f "$BIN" -a -x "$BIN"
check "the desktop entry is installed" test -f "$ENTRY"
check "the icon is installed" test -f "$ICON"
check "desktop-file-validate accepts the entry" desktop-file-validate "$ENTRY"

# Exec's command (before any field code), looked up on PATH, must be the
# installed binary; Icon, looked up in the hicolor theme, the installed icon.
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$ENTRY")
icon=$(sed -n 's/^Icon=//p' "$ENTRY")
case $exec_cmd in /*) ;; *) exec_cmd=$PREFIX/bin/$exec_cmd ;; esac
case $icon in /*) ;; *) icon=$PREFIX/share/icons/hicolor/32x32/apps/$icon.png ;; esac
check "Exec starts the installed binary ($exec_cmd)" test "$exec_cmd" = "$BIN"
check "Icon is the installed icon ($icon)" test "$icon" = "$ICON"

# A 32x32 PNG of at most 16 colours: the window icon, unscaled and unblended.
got=$(identify -format '%m %wx%h %k' "$ICON" 2>&1 || true)
colours=${got##* }
check "the icon is a 32x32 PNG ($got colours)" test "${got% *}" = "PNG 32x32"
check "the icon has at most 16 colours" test "$colours" -le 16 2>/dev/null
exit "$FAILURES"
