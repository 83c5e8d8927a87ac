#!/bin/sh
# Times the bicubic 2x enlargement of a 4000 x 3000 24-bit image with libvips and
# ImageMagick beside our imaging bench, on this machine, one thread and all cores.
# For measuring only: it needs libvips-tools, libvips-dev, imagemagick, hyperfine and gcc
# (apt-get install -y libvips-tools libvips-dev imagemagick hyperfine gcc), which the
# project's set-up does not install. Run from the repository root after tools/test has
# built the bench into $BUILD_DIR (default build). RT=1 runs every tool at real-time
# priority (chrt -f 1, as root), so that other programs on a shared machine take fewer of
# the cores from the timed runs.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
WORK=${WORK_DIR:-/dev/shm/sorvanta-bench}
RUNS=${RUNS:-5}
PRIORITY=
if [ "${RT:-0}" = 1 ]; then
    PRIORITY="chrt -f 1"
fi
mkdir -p "$WORK"
cd "$WORK"

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)${PRIORITY:+, tools run under $PRIORITY}"

# The same kind of input for every tool: gradients plus uniform noise. libvips reads its
# own .v format and ImageMagick its memory-mapped .mpc cache, so loading costs next to nothing.
if [ ! -f in.v ]; then
    convert -size 4000x3000 -define gradient:direction=east 'gradient:rgb(0,40,200)-rgb(255,200,40)' \
        -attenuate 0.4 +noise Uniform -depth 8 -type TrueColor in.ppm
    vips copy in.ppm in.v
    MAGICK_CONFIGURE_PATH="$ROOT/bench" convert in.ppm in.mpc
fi

echo "== libvips in one process: source in memory, result into memory (warm: a reused buffer)"
gcc -O2 "$ROOT/bench/vips_resize_timing.c" $(pkg-config --cflags --libs vips) -o vips_resize_timing
VIPS_CONCURRENCY=1 $PRIORITY ./vips_resize_timing in.v 2 "$RUNS"
$PRIORITY ./vips_resize_timing in.v 2 "$RUNS"

echo "== libvips command line (.v in and out, on tmpfs)"
$PRIORITY hyperfine -N -w 1 -r "$RUNS" \
    'env VIPS_CONCURRENCY=1 vips resize in.v out.v 2 --kernel cubic' \
    'vips resize in.v out.v 2 --kernel cubic'

echo "== ImageMagick command line (.mpc in, null: out: no file written)"
$PRIORITY hyperfine -N -w 1 -r "$RUNS" \
    "env MAGICK_CONFIGURE_PATH=$ROOT/bench convert -limit thread 1 in.mpc -filter Catrom -resize 200% null:" \
    "env MAGICK_CONFIGURE_PATH=$ROOT/bench convert in.mpc -filter Catrom -resize 200% null:"

echo "== ours (under Wine), load $(cut -d' ' -f1-3 /proc/loadavg)"
. "$ROOT/tools/wine-env"
wine_env "$BUILD/wineprefix"
wine_start_server
$PRIORITY wine "$BUILD/cmake/bench/imaging_bench.exe" </dev/null
wine_stop_server
