#!/bin/sh
# `cmake --install` into a scratch prefix puts the program, its desktop entry,
# its icon, its manual page and its AppStream metainfo where a desktop, man and
# a software centre find them, and the entry and the metainfo name them.
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
# "Open with": the entry takes a file and names the picture types it opens.
check "Exec takes one file (%f)" grep -q '^Exec=kalidor %f$' "$ENTRY"
mime=$(sed -n 's/^MimeType=//p' "$ENTRY")
for type in image/bmp image/vnd.microsoft.icon image/gif image/jpeg image/png; do
    check "MimeType names $type" sh -c "echo '$mime' | tr ';' '\n' | grep -qx '$type'"
done

# A 32x32 PNG of at most 16 colours: the window icon, unscaled and unblended.
got=$(identify -format '%m %wx%h %k' "$ICON" 2>&1 || true)
colours=${got##* }
check "the icon is a 32x32 PNG ($got colours)" test "${got% *}" = "PNG 32x32"
check "the icon has at most 16 colours" test "$colours" -le 16 2>/dev/null

# The manual page: whatis reads its name line, groff warns of nothing in it,
# and it has the sections a user looks for.
MAN=$PREFIX/share/man/man1/kalidor.1.gz
check "the manual page is installed as $MAN" test -f "$MAN"
whatis_line=$(lexgrog "$MAN" 2>&1 || true)
check "whatis reads its name line ($whatis_line)" test "$whatis_line" = "$MAN: \"kalidor - paint program for symmetric figures drawn with the mouse\""
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$MAN" 2>&1 >/dev/null || echo "man failed")
check "man renders it without a warning${warnings:+: $warnings}" test -z "$warnings"
sections=$(zcat "$MAN" | sed -n 's/^\.SH "\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' | tr '\n' ',')
check "its sections ($sections)" test "$sections" = "NAME,SYNOPSIS,DESCRIPTION,OPTIONS,MOUSE BUTTONS AND COLOUR WELLS,KEYS,FILES,"

# The metainfo: valid by appstreamcli in the installed tree, whose check also
# finds the desktop entry its launchable names; and with a screenshot.
META=$PREFIX/share/metainfo/io.github.kalidor.kalidor.metainfo.xml
check "the metainfo is installed as $META" test -f "$META"
check "appstreamcli validate-tree accepts it" appstreamcli validate-tree --no-net "$PREFIX"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$META")
check "its launchable is the desktop entry ($launchable)" test "$launchable" = "$(basename "$ENTRY")"
check "it has a screenshot" grep -q '<image>https://.*\.png</image>' "$META"
exit "$FAILURES"
