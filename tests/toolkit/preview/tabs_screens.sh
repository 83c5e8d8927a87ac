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
shots_prepare "$BUILD/preview-prefix" "$SHOTS"
xvfb_private tabs_screens "${XVFB_DISPLAY:-}" || exit 1

status=0
wine "$BUILD/cmake/tests/tabs_preview.exe" "$(winepath -w "$SHOTS")" </dev/null || status=$?
shots_to_png "$SHOTS"
echo "$SHOTS"
exit $status
