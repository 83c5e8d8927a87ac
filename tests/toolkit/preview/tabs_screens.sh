#!/bin/sh
# Runs tabs_preview on a private Xvfb, in a Wine prefix of its own that draws through the
# X11 driver, and turns the pictures it takes into PNG files; prints what the preview
# measured under the splitters' drag lines. Build first (tools/test).
# Usage: tests/toolkit/preview/tabs_screens.sh   (XVFB_DISPLAY=N picks the display number)
# The pictures go to build/tabs-shots (or $SHOTS).
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/tabs-shots}

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
if [ -n "${XVFB_DISPLAY:-}" ]; then
    Xvfb ":$XVFB_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$XVFB_DISPLAY"
    sleep 1
else
    xvfb_start || { echo "tabs_screens: no free display for Xvfb" >&2; exit 1; }
fi

status=0
wine "$BUILD/cmake/tests/tabs_preview.exe" "$(winepath -w "$SHOTS")" </dev/null || status=$?
for picture in "$SHOTS"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "$SHOTS"
exit $status
