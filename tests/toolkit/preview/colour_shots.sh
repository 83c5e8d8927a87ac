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
shots_prepare "$BUILD/colour-prefix" "$SHOTS" classic xp
[ -n "${DISPLAY:-}" ] || xvfb_private colour_shots || exit 1

status=0
wine "$BUILD/cmake/tests/colour_preview.exe" /shots "$(winepath -w "$SHOTS/classic")" || status=$?
wine "$BUILD/cmake/tests/colour_preview.exe" /xp /shots "$(winepath -w "$SHOTS/xp")" || status=$?
shots_to_png "$SHOTS/classic" "$SHOTS/xp"
echo "$SHOTS"
exit $status
