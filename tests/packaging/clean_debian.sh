#!/bin/sh
# The Debian package on a clean, minimal Debian 12: apt installs it with the
# dependencies it declares and nothing it merely recommends, the program starts
# from it in a real X window and draws, and apt removes it cleanly.
# Skips (77) unless root with debootstrap and the host's Debian mirror at hand.
# The pristine root is kept as a tarball in BUILD/clean-debian/ for a week, so a
# rerun skips debootstrap; every run unpacks it afresh. With SHOT_DIR set to a
# folder, the screenshot is kept there.
set -eu
BUILD=$(cd "$1" && pwd -P)
HERE=$(cd "$(dirname "$0")" && pwd)
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "debootstrap, mount and chroot need root"
command -v debootstrap >/dev/null || skip "debootstrap is missing (scripts/install-deps.sh --test)"

# In a mount namespace of its own, the mounts below die with this script even
# when it is killed, and so never linger under the build folder.
if [ -z "${KALIDOR_OWN_MOUNTS:-}" ] && unshare --mount --propagation private true 2>/dev/null; then
    exec env KALIDOR_OWN_MOUNTS=1 unshare --mount --propagation private sh "$0" "$@"
fi

# The mirror the host's apt takes bookworm from (deb822 sources, then sources.list).
mirror() {
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'function done_stanza() { if (!found && index(types, " deb ") && index(suites, " bookworm ") && uri != "") { print uri; found = 1 }
                 types = suites = uri = "" }
             /^[ \t]*#/ { next }
             /^[ \t]*$/ { done_stanza(); next }
             $1 == "Types:" { $1 = ""; types = $0 " " }
             $1 == "Suites:" { $1 = ""; suites = $0 " " }
             $1 == "URIs:" { uri = $2 }
             END { done_stanza() }' "$f"
    done
    [ -f /etc/apt/sources.list ] && awk '$1 == "deb" { sub(/\[[^]]*\] */, ""); if ($3 == "bookworm") print $2 }' /etc/apt/sources.list
}
MIRROR=$(mirror | head -1)
[ -n "$MIRROR" ] || skip "the host's apt sources name no bookworm mirror"
wget -q -T 20 -t 2 -O /dev/null "$MIRROR/dists/bookworm/Release" || skip "the mirror $MIRROR cannot be reached"

DIR=$BUILD/clean-debian
ROOT=$DIR/root
CACHE=$DIR/bookworm-minbase.tar
mounts_under() { awk -v r="$ROOT" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r; }
# Unmounts all under the root, innermost first, and removes it; a root that is
# still mounted is left alone, as rm would reach through a bind mount.
remove_root() {
    if [ -n "${KALIDOR_PID:-}" ]; then kill "$KALIDOR_PID" 2>/dev/null || true; wait "$KALIDOR_PID" 2>/dev/null || true; fi
    for m in $(mounts_under); do umount "$m" 2>/dev/null || umount -l "$m" || true; done
    if [ -n "$(mounts_under)" ]; then echo "FAIL: still mounted under $ROOT, left in place"; exit 1; fi
    rm -rf "$ROOT"
}
# Xvfb and openbox on the host; FAILURES counts from here on.
. "$HERE/../acceptance/x_session.sh"
trap 'cleanup; remove_root' EXIT
trap 'exit 1' INT TERM HUP
remove_root
mkdir -p "$DIR"
now() { date +%s; }
START=$(now)
fail() { echo "FAIL: $1"; [ -f "${2:-}" ] && tail -n 30 "$2"; exit 1; }

rm -rf "$DIR/deb"
cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$DIR/deb" >"$DIR/cpack.log" 2>&1 || fail "cpack" "$DIR/cpack.log"
DEB=$(ls "$DIR"/deb/kalidor_*.deb)
echo "ok: cpack made $(basename "$DEB")"

T=$(now)
if [ -f "$CACHE" ] && [ "$(cat "$CACHE.mirror" 2>/dev/null)" = "$MIRROR" ] && [ -n "$(find "$CACHE" -mtime -7)" ]; then
    mkdir "$ROOT"
    tar -C "$ROOT" --numeric-owner -xpf "$CACHE"
    echo "ok: the pristine bookworm root unpacked from $CACHE in $(($(now) - T)) s"
else
    debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR" >"$DIR/debootstrap.log" 2>&1 ||
        fail "debootstrap --variant=minbase bookworm from $MIRROR" "$DIR/debootstrap.log"
    tar -C "$ROOT" --numeric-owner -cf "$CACHE.tmp" . && mv "$CACHE.tmp" "$CACHE" && echo "$MIRROR" >"$CACHE.mirror"
    echo "ok: debootstrap made a minimal bookworm root from $MIRROR in $(($(now) - T)) s"
fi

mount -t proc proc "$ROOT/proc"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$ROOT/dev/pts"  # apt logs through a pty
in_root() { chroot "$ROOT" env DEBIAN_FRONTEND=noninteractive "$@"; }
cp "$DEB" "$ROOT/tmp/"
T=$(now)
# The mirror may be a dated snapshot, which the host's apt accepts as well.
in_root apt-get -o Acquire::Check-Valid-Until=false update >"$DIR/apt-update.log" 2>&1 || fail "apt-get update in the root" "$DIR/apt-update.log"
in_root sh -c 'cd /tmp && apt-get install -y --no-install-recommends ./kalidor_*.deb' >"$DIR/apt-install.log" 2>&1 ||
    fail "apt-get install --no-install-recommends ./$(basename "$DEB")" "$DIR/apt-install.log"
grep -E '^(Need to get|After this operation|[0-9]+ upgraded)' "$DIR/apt-install.log" | sed 's/^/  apt: /'
echo "ok: apt-get installed the package and its dependencies in $(($(now) - T)) s"

check() {  # check WHAT COMMAND...
    what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); fi
}
status() { in_root dpkg-query -W -f='${Status}' kalidor 2>/dev/null || true; }
ENTRY=/usr/share/applications/kalidor.desktop
ICON=/usr/share/icons/hicolor/32x32/apps/kalidor.png
MAN=/usr/share/man/man1/kalidor.1.gz
META=/usr/share/metainfo/io.github.kalidor.kalidor.metainfo.xml
check "dpkg -s kalidor says installed" test "$(status)" = "install ok installed"
check "/usr/bin/kalidor is installed and executable" test -x "$ROOT/usr/bin/kalidor"
check "the desktop entry is in $ENTRY" test -f "$ROOT$ENTRY"
check "the icon is in $ICON" test -f "$ROOT$ICON"
check "the manual page is in $MAN" test -f "$ROOT$MAN"
check "the metainfo is in $META" test -f "$ROOT$META"
# The program asks for this face by name; the wider fallback crowds the captions.
face=$(in_root fc-match -f '%{file}' 'DejaVu Sans Condensed' 2>&1 || true)
check "fontconfig has DejaVu Sans Condensed (got $face)" test "${face##*/}" = DejaVuSansCondensed.ttf

# The host's X display, reached through its socket folder.
mkdir -p "$ROOT/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$ROOT/tmp/.X11-unix"
start_kalidor chroot "$ROOT" /usr/bin/kalidor
echo "ok: the window titled \"Kalidor\" opens maximised, ${WIN_W}x$WIN_H at $WIN_X,$WIN_Y"

# The canvas's interior starts at (102, 12) of the client area.
CX=102
CY=12
xdotool mousemove "$(sx $((CX + 100)))" "$(sy $((CY + 100)))" mousedown 1
for i in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove "$(sx $((CX + 100 + i * 20)))" "$(sy $((CY + 100)))"; done
xdotool mouseup 1
sleep 0.3
shot "$WORK/clean_debian.png"
expect_pixel "$WORK/clean_debian.png" "$CX" "$CY" "255,255,255" "the canvas's interior is white from its first pixel"
expect_pixel "$WORK/clean_debian.png" $((CX + 200)) $((CY + 150)) "255,255,255" "the canvas is white beside the stroke"
expect_pixel "$WORK/clean_debian.png" $((CX + 100)) $((CY + 100)) "0,0,0" "the stroke starts where the button went down"
expect_pixel "$WORK/clean_debian.png" $((CX + 300)) $((CY + 100)) "0,0,0" "the stroke ends where the pointer stopped"
expect_pixel "$WORK/clean_debian.png" 20 530 "0,0,0" "well 1 is black"
expect_pixel "$WORK/clean_debian.png" 80 535 "128,0,128" "well 3 is purple"
expect_pixel "$WORK/clean_debian.png" 20 $((WIN_H - 60)) "239,239,239" "the window's own surface is painted below the controls"

kill "$KALIDOR_PID"
wait "$KALIDOR_PID" 2>/dev/null || true
[ -s "$WORK/kalidor.log" ] && sed 's/^/  kalidor said: /' "$WORK/kalidor.log"
in_root apt-get remove -y kalidor >"$DIR/apt-remove.log" 2>&1 || fail "apt-get remove -y kalidor" "$DIR/apt-remove.log"
after=$(status)
check "apt-get remove -y kalidor uninstalls it (status now: ${after:-none})" test "${after##* }" != installed
check "and takes its files with it" test ! -e "$ROOT/usr/bin/kalidor" -a ! -e "$ROOT$ENTRY" -a ! -e "$ROOT$ICON" -a ! -e "$ROOT$MAN" -a ! -e "$ROOT$META"
echo "whole check: $(($(now) - START)) s"
exit "$FAILURES"
