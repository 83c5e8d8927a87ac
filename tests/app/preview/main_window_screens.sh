#!/bin/sh
# Pictures of the program's main window at its default size, with an image open, in the
# toolkit's classic look and its XP look, on a private Xvfb in a Wine prefix of its own
# that draws through the X11 driver (build/main-window-prefix). Build first (tools/test).
# Usage: tests/app/preview/main_window_screens.sh; the pictures go to
# build/main-window-shots (or $SHOTS) as classic.png and xp.png. With openbox installed it
# runs as the window manager, so that the window has its title bar as on a desktop.
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/main-window-shots}
PREVIEW=$BUILD/cmake/tests/main_window_preview.exe
SETTINGS='HKCU\Software\Tamrow\SorvantaStd'

. "$ROOT/tools/wine-env"
shots_prepare "$BUILD/main-window-prefix" "$SHOTS"
xvfb_private main-window || exit 1
if command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    OPENBOX_PID=$!
    trap 'kill $OPENBOX_PID 2>/dev/null || true; shots_cleanup' EXIT INT TERM
fi

# A photograph-like picture in a folder of its own, which the settings make the start folder.
pictures=$SHOTS/pictures
mkdir -p "$pictures"
convert -size 800x600 plasma:fractal -seed 7 "$pictures/garden.jpg" 2>/dev/null ||
    convert -size 800x600 gradient:navy-orange "$pictures/garden.jpg"
convert -size 320x240 gradient:green-white "$pictures/meadow.bmp"

for look in classic xp; do
    wine reg delete "$SETTINGS" /f >/dev/null 2>&1 || true
    wine reg add "$SETTINGS\\Option\\Common" /v "Default Open In" /d "$(winepath -w "$pictures")" /f >/dev/null
    switch=""
    [ "$look" = classic ] && switch=/classic
    wine "$PREVIEW" $switch /open garden.jpg /seconds 12 </dev/null >/dev/null 2>&1 &
    program=$!
    sleep 9
    import -window root "$SHOTS/$look.png"
    wait "$program" || true
    wineserver -w
done
echo "$SHOTS"
