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
shots_prepare "$BUILD/preview-prefix" "$SHOTS"
[ -n "${DISPLAY:-}" ] || xvfb_private controls_screens || exit 1

status=0
wine "$BUILD/cmake/tests/controls_preview.exe" /shots "$(winepath -w "$SHOTS")" /seconds 60 || status=$?
shots_to_png "$SHOTS"
echo "$SHOTS"
exit $status
