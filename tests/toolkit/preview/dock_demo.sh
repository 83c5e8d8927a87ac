#!/bin/sh
# Runs the docking demonstration on a private Xvfb, in a Wine prefix of its own that draws
# through the X11 driver. For each look: dock_preview drives itself through the scripted
# drags and the chevron with a picture after each step and saves its layout as it closes;
# it is started again to show the layout it restores, once with an xwd capture of the
# whole screen taken by this script and once with its own picture. The pictures become PNG
# files in build/dock-shots (or $SHOTS). Build first (tools/test).
# XVFB_DISPLAY=:N runs Xvfb on that display instead of the first free one.
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/dock-shots}
PROGRAM="$BUILD/cmake/tests/dock_preview.exe"

. "$ROOT/tools/wine-env"
wine_env "$BUILD/dock-prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init </dev/null >/dev/null 2>&1 || true
    wineserver -w
    wine_fonts
fi
rm -rf "$SHOTS"
mkdir -p "$SHOTS"

XVFB_PID=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
if [ -n "${XVFB_DISPLAY:-}" ]; then
    Xvfb "$XVFB_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY="$XVFB_DISPLAY"
    sleep 1
else
    xvfb_start || { echo "dock_demo: no free display for Xvfb" >&2; exit 1; }
fi

folder=$(winepath -w "$SHOTS")
for look in classic xp; do
    flag=""
    [ "$look" = xp ] && flag=/xp
    wine "$PROGRAM" $flag /fresh /script "$folder" /seconds 120
    wine "$PROGRAM" $flag /seconds 5 &
    restored=$!
    sleep 3
    xwd -root -display "$DISPLAY" | convert xwd:- "$SHOTS/$look-19-restored-screen.png"
    wait "$restored"
    wine "$PROGRAM" $flag /shot "$folder" "$look-20-restored"
done
for picture in "$SHOTS"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "$SHOTS"
