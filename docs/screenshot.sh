#!/bin/sh
# Makes the front page's picture, docs/sorvanta.png: the program on a private Xvfb, started
# as tools/run starts it, with a small photograph (ImageMagick's built-in rose) opened and
# enlarged eight times by "Tamrow Progressive". Build first with tools/test (it builds the
# program and the helper that presses its buttons). Clicks and keys go through xdotool.
#
#   docs/screenshot.sh [output.png]       XVFB_FIRST_DISPLAY picks the first display tried
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
OUT=${1:-$ROOT/docs/sorvanta.png}
EXE=$BUILD/cmake/app/Sorvanta.exe
INPUT=$BUILD/cmake/tests/demo_input.exe
TITLE='Tamrow Sorvanta [Standard]'
ID_FILE_OPEN=57601

for tool in "$EXE" "$INPUT"; do
    [ -f "$tool" ] || { echo "screenshot: $tool is not built (run tools/test)" >&2; exit 1; }
done
command -v xdotool >/dev/null 2>&1 || { echo "screenshot: needs xdotool (apt-get install xdotool)" >&2; exit 1; }

. "$ROOT/tools/wine-env"
PREFIX=$BUILD/screenshot-prefix
# A new prefix each time: the program's settings and window place start from the defaults.
rm -rf "$PREFIX"
wine_prefix "$PREFIX" screenshot
XVFB_PID=""
trap shots_cleanup EXIT INT TERM
xvfb_private screenshot || exit 1

# A bare Xvfb has no window manager to draw frames: Wine draws the frame and caption
# itself for windows it does not leave to one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The user folders Wine links to the home folder would show its files in the tree.
for folder in "$PREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then
        rm "$folder"
        mkdir "$folder"
    fi
done
PICTURES=$PREFIX/drive_c/Pictures
mkdir -p "$PICTURES"
convert rose: -quality 95 "$PICTURES/rose.jpg"
wine reg add 'HKCU\Software\Tamrow\SorvantaStd\Option\Common' /v 'Default Open In' /d 'C:\Pictures' /f \
    >/dev/null 2>&1
wineserver -w

wine "$EXE" /NoSplash </dev/null >/dev/null 2>&1 &
wine "$INPUT" wait "$TITLE" 60 </dev/null
sleep 2

# The main window's X window holds Wine's frame around the client area; the helper gives
# each child window's place in that client area, whose size is where the children end.
window_id=$(xwininfo -root -tree | grep -F "\"$TITLE" | awk 'NR == 1 {print $1}')
CHILDREN=$(wine "$INPUT" windows "$TITLE" </dev/null | tr -d "\r")
set -- $(xwininfo -id "$window_id" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /^ *Width/ {w = $NF} /^ *Height/ {h = $NF} END {print x, y, w, h}')
set -- "$@" $(echo "$CHILDREN" | awk '{split($2, size, "x"); split($4, at, ",")
    if (at[1] + size[1] > w) w = at[1] + size[1]; if (at[2] + size[2] > h) h = at[2] + size[2]} END {print w, h}')
BORDER=$((($3 - $5) / 2))
CLIENT_X=$(($1 + BORDER))
CLIENT_Y=$(($2 + $4 - $6 - BORDER))

# click_in <class> <n> <dx> <dy>: a click dx, dy into the nth window of the class (in
# creation order).
click_in() {
    set -- $(echo "$CHILDREN" | awk -v class="$1" -v n="$2" '$1 == class && ++seen == n {split($4, at, ",")
        print at[1], at[2]}') "$3" "$4"
    xdotool mousemove $((CLIENT_X + $1 + $3)) $((CLIENT_Y + $2 + $4)) click 1
}

# The Files list's first row, below its header.
click_in SysListView32 1 40 26
sleep 1
wine "$INPUT" post "$TITLE" $ID_FILE_OPEN </dev/null
wine "$INPUT" wait "$TITLE - rose.jpg" 30 </dev/null
# Width 800 percent; the height follows with the proportions kept.
click_in Edit 1 40 10
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type 800
sleep 1
# The rose is small: its resize and the repaint are done well within the wait.
wine "$INPUT" click "$TITLE - rose.jpg" Resize </dev/null
sleep 3

xwd -id "$window_id" -silent | convert xwd:- -strip -colors 256 "PNG8:$OUT"
echo "$OUT"
# The program would ask about its unsaved result; the trap ends it with the prefix's server.
