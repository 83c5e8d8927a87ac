#!/bin/sh
# Runs the colour preview in the classic and the XP look on a display, in a Wine prefix
# of its own that draws through the X11 driver, and turns its pictures into PNG files.
# It uses $DISPLAY when set, else a private Xvfb. Build first (tools/test).
# Usage: tests/toolkit/preview/colour_shots.sh. The pictures go to build/colour-shots
# (or $SHOTS).
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/colour-shots}

. "$ROOT/tools/wine-env"
wine_env "$BUILD/colour-prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init </dev/null >/dev/null 2>&1 || true
    wineserver -w
    wine_fonts
fi
rm -rf "$SHOTS"
mkdir -p "$SHOTS/classic" "$SHOTS/xp"

XVFB_PID=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
if [ -z "${DISPLAY:-}" ]; then
    xvfb_start || { echo "colour_shots: no free display for Xvfb" >&2; exit 1; }
fi

status=0
wine "$BUILD/cmake/tests/colour_preview.exe" /shots "$(winepath -w "$SHOTS/classic")" || status=$?
wine "$BUILD/cmake/tests/colour_preview.exe" /xp /shots "$(winepath -w "$SHOTS/xp")" || status=$?
for picture in "$SHOTS"/*/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "$SHOTS"
exit $status
