#!/bin/sh
# The main window's place from one run to the next under a real window manager
# (openbox) on a private Xvfb, as a user sees it: Sorvanta.exe is started, minimised and
# closed from outside, and started again; closed maximised, started, restored and
# maximised again three times; and started with a stored place off the screen. A picture
# of the screen is taken after each start, and the script fails when the window does not
# come back visible, in its place and at its size. Build first (tools/test).
# Usage: tests/app/preview/placement_screens.sh; pictures in build/placement-shots (or
# $SHOTS). Needs openbox, wmctrl, xdotool and ImageMagick (installed when missing).
set -eu
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
SHOTS=${SHOTS:-$BUILD/placement-shots}
EXE=$BUILD/cmake/app/Sorvanta.exe
TITLE='Tamrow Sorvanta [Standard]'
KEY="HKCU\\Software\\Tamrow\\SorvantaStd\\Window Hierarchy\\$TITLE"

missing=""
for tool in openbox wmctrl xdotool import; do
    command -v $tool >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    [ "$(id -u)" = 0 ] && as_root="" || as_root=sudo
    $as_root apt-get install -y -q --no-install-recommends openbox wmctrl xdotool imagemagick >/dev/null
fi

. "$ROOT/tools/wine-env"
shots_prepare "$BUILD/placement-prefix" "$SHOTS"
xvfb_private placement || exit 1
openbox >/dev/null 2>&1 &
OPENBOX_PID=$!
trap 'kill $OPENBOX_PID 2>/dev/null || true; shots_cleanup' EXIT INT TERM
wine reg delete "$KEY" /f >/dev/null 2>&1 || true

failures=0
fail() {
    echo "placement: FAILED: $*"
    failures=$((failures + 1))
}

window() {
    xdotool search --name '^Tamrow Sorvanta \[Standard\]' 2>/dev/null | head -1
}

# The window's client area as the window manager sees it: "x y width height state".
geometry() {
    xwininfo -id "$(window)" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} /Map State/ {s=$3} END {print x, y, w, h, s}'
}

# start <picture>: starts the program, waits for its window and a quiet moment, and
# takes a picture of the screen.
start() {
    wine "$EXE" /NoSplash </dev/null >/dev/null 2>&1 &
    tries=0
    while [ -z "$(window)" ] && [ $tries -lt 120 ]; do
        sleep 0.5
        tries=$((tries + 1))
    done
    [ -n "$(window)" ] || { fail "no main window after $1"; return 1; }
    sleep 3
    import -window root "$SHOTS/$1.png"
}

# Closes the program as the window manager's close button does, and waits for it to end.
stop() {
    wmctrl -c "$TITLE"
    wineserver -w
}

maximised() {
    wmctrl -r "$TITLE" -b "$1,maximized_vert,maximized_horz"
    sleep 2
}

start 1-first-start
first=$(geometry)
echo "first start:                 $first"
xdotool windowminimize "$(window)"
sleep 2
stop
start 2-after-minimised-close
again=$(geometry)
echo "after a close while minimised: $again"
[ "$again" = "$first" ] || fail "closed minimised, it came back as '$again' instead of '$first'"

maximised add
stop
for run in 1 2 3; do
    start "3-maximised-run-$run"
    echo "run $run, maximised:           $(geometry)"
    maximised remove
    restored=$(geometry)
    echo "run $run, restored:            $restored"
    [ "$(echo "$restored" | cut -d' ' -f3-)" = "$(echo "$first" | cut -d' ' -f3-)" ] ||
        fail "run $run restored to '$restored', not to the size of '$first'"
    maximised add
    stop
done

maximised_state=$(wine reg query "$KEY" /v Zoomed | tr -d '\r' | awk '/Zoomed/ {print $3}')
# Off the screen to the upper left, not maximised: 700 x 600 at -3000, -3000.
wine reg add "$KEY" /v Rect /t REG_BINARY /d 48F4FFFF48F4FFFF04F7FFFFA0F6FFFF /f >/dev/null
wine reg add "$KEY" /v Zoomed /t REG_BINARY /d 00000000 /f >/dev/null
start 4-stored-off-the-screen
offscreen=$(geometry)
echo "stored off the screen:       $offscreen"
set -- $offscreen
[ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ "$5" = IsViewable ] || fail "a place off the screen opened at '$offscreen'"
stop

echo "stored maximised state after the runs: $maximised_state"
echo "$SHOTS"
[ $failures -eq 0 ]
