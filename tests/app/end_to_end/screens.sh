#!/bin/sh
# Runs the end-to-end test on a private Xvfb, in a Wine prefix of its own that draws
# through the X11 driver, and turns the pictures it takes at each step into PNG files.
# Build first (tools/test). Usage: tests/app/end_to_end/screens.sh [gtest arguments]
# The pictures go to build/e2e-shots (or $SHOTS).
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/e2e-shots}

. "$ROOT/tools/wine-env"
wine_env "$BUILD/e2e-prefix"
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
xvfb_start || { echo "screens: no free display for Xvfb" >&2; exit 1; }

status=0
SORVANTA_E2E_SHOTS=$(winepath -w "$SHOTS") wine "$BUILD/cmake/tests/end_to_end_tests.exe" "$@" || status=$?
for picture in "$SHOTS"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "$SHOTS"
exit $status
