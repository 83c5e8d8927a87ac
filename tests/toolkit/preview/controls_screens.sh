#!/bin/sh
# Runs the controls preview on a display (the one in $DISPLAY, else a private Xvfb), in a
# Wine prefix of its own that draws through the X11 driver, and turns its pictures into PNG
# files. Build first (tools/test). Usage: tests/toolkit/preview/controls_screens.sh
# The pictures go to build/controls-shots (or $SHOTS).
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/controls-shots}

. "$ROOT/tools/wine-env"
wine_env "$BUILD/preview-prefix"
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
if [ -z "${DISPLAY:-}" ]; then
    xvfb_start || { echo "controls_screens: no free display for Xvfb" >&2; exit 1; }
fi

status=0
wine "$BUILD/cmake/tests/controls_preview.exe" /shots "$(winepath -w "$SHOTS")" /seconds 60 || status=$?
for picture in "$SHOTS"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "$SHOTS"
exit $status
