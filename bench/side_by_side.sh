#!/bin/sh
# Times the bicubic 2x enlargement of a 4000 x 3000 24-bit image with libvips and
# ImageMagick beside our imaging bench, on this machine, one thread and all cores; then
# the codecs: JPEG load and save beside libjpeg-turbo's own djpeg and cjpeg, the whole job
# (load, enlarge, save JPEG) beside vips, TIFF (LZW) and GIF beside ImageMagick's convert.
# For measuring only: the tools it needs (libvips-tools, libvips-dev, imagemagick,
# libjpeg-turbo-progs, hyperfine, gcc) are installed here when missing, never by the
# project's set-up. Run from the repository root after tools/test has built the bench into
# $BUILD_DIR (default build). SECTIONS picks what runs ("resize codecs" by default). RT=1
# runs every tool at real-time priority (chrt -f 1, as root), so that other programs on a
# shared machine take fewer of the cores from the timed runs.
set -eu

missing=""
for probe in vips:libvips-tools /usr/bin/convert:imagemagick djpeg:libjpeg-turbo-progs hyperfine:hyperfine gcc:gcc \
             /usr/include/vips/vips.h:libvips-dev; do
    case "${probe%%:*}" in
        /*) [ -e "${probe%%:*}" ] || missing="$missing ${probe#*:}" ;;
        *) command -v "${probe%%:*}" >/dev/null 2>&1 || missing="$missing ${probe#*:}" ;;
    esac
done
if [ -n "$missing" ]; then
    echo "== installing$missing"
    if [ "$(id -u)" = 0 ]; then AS_ROOT=; else AS_ROOT=sudo; fi
    $AS_ROOT apt-get install -y -q --no-install-recommends $missing >/dev/null
fi
SECTIONS=${SECTIONS:-resize codecs}

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

resize_section() {
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
}

# The codecs on one photograph-like JPEG: the generator's picture coded by the native
# cjpeg at quality 90; its 8000 x 6000 enlargement as a PPM for cjpeg; TIFF and GIF of the
# 4000 x 3000 picture for ImageMagick and for us.
codecs_section() {
    [ -f photo.jpg ] || cjpeg -quality 90 in.ppm > photo.jpg
    [ -f big.ppm ] || vips resize photo.jpg big.ppm 2 --kernel cubic
    export MAGICK_CONFIGURE_PATH="$ROOT/bench"
    [ -f photo.tif ] || convert photo.jpg -compress lzw photo.tif
    [ -f photo.gif ] || convert photo.jpg photo.gif
    [ -f photo.mpc ] || convert photo.jpg photo.mpc

    echo "== native, load $(cut -d' ' -f1-3 /proc/loadavg)"
    $PRIORITY hyperfine -N -w 1 -r "$RUNS" --style basic --export-json codecs_native.json \
        'djpeg -ppm -outfile out.ppm photo.jpg' \
        'cjpeg -quality 100 -sample 1x1 -outfile out.jpg big.ppm' \
        'vips resize photo.jpg out.jpg[Q=97] 2 --kernel cubic' \
        'convert photo.tif null:' \
        'convert photo.mpc -compress lzw out.tif' \
        'convert photo.gif null:' \
        'convert photo.mpc out.gif' >/dev/null
    python3 -c 'import json,sys
for r in json.load(open(sys.argv[1]))["results"]:
    print("%-60s %8.0f ms (median)" % (r["command"], 1000 * r["median"]))' codecs_native.json

    echo "== ours (under Wine), load $(cut -d' ' -f1-3 /proc/loadavg)"
    . "$ROOT/tools/wine-env"
    wine_env "$BUILD/wineprefix"
    wine_start_server
    $PRIORITY wine "$BUILD/cmake/bench/codec_bench.exe" "Z:$WORK/photo.jpg" "Z:$WORK/photo.tif" "Z:$WORK/photo.gif" \
        "Z:$WORK" "$RUNS" </dev/null
    wine_stop_server
}

for section in $SECTIONS; do
    "${section}_section"
done
