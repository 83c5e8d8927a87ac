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
shots_prepare "$BUILD/e2e-prefix" "$SHOTS"
xvfb_private screens || exit 1

status=0
SORVANTA_E2E_SHOTS=$(winepath -w "$SHOTS") wine "$BUILD/cmake/tests/end_to_end_tests.exe" "$@" || status=$?
shots_to_png "$SHOTS"
echo "$SHOTS"
exit $status
