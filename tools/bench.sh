#!/usr/bin/env bash
# Benchmarks the imaging library: loads and saves each bitmap file given on
# the command line (by default a 1920×1080 and a 3840×2160 24-bit picture
# made with ImageMagick), in memory and through files, beside a memcpy of the
# same bytes and ImageMagick's convert; prints milliseconds per operation.
# Then encodes and decodes screenshot-like images with the RLE8 codec, beside
# a memcpy of their pixels and netpbm's bmptopnm reading the same file,
# and converts a 1920×1080 picture to each pixel format, exports it as JPEG
# beside libjpeg-turbo on the same pixels and imports it as a BMP file, and
# exports and imports a 1920×1080 picture in 24 and 8 bits as PNG beside
# Pillow and ImageMagick on the same pixels (and optipng's size). Last, the
# Windows program under Wine on a 1280×1024 display: its full-screen capture, where
# the time of opening a storage and of recording a copy goes (the system's
# calls against the window's work), and the figures a user meets, measured
# from another process that drives the program (open, moves, captures,
# bursts, copies beside another program holding the clipboard, memory after
# a ring of long texts) and printed beside their goals.
#   tools/bench.sh [FILE.bmp...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build_tree bench dib_bench rle_bench convert_bench exchange_bench png_bench
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  images=$build/bench/images
  mkdir -p "$images"
  for size in 1920x1080 3840x2160; do
    file=$images/picture-$size.bmp
    [ -f "$file" ] || convert -size "$size" -seed 7 plasma:fractal -type TrueColor "BMP3:$file"
    files+=("$file")
  done
fi
"$build/bench/bin/dib_bench" --benchmark_color=false "${files[@]}"
"$build/bench/bin/rle_bench" --benchmark_color=false
"$build/bench/bin/convert_bench" --benchmark_color=false
"$build/bench/bin/exchange_bench" --benchmark_color=false
"$root/bench/png_compare.sh" "$build/bench"

windows=$(wine_primary_build)
build_tree "$windows" capture_bench
# The figures users wait for are goals set for the 64-bit program.
build_tree win64 breakdown_bench recorder_bench
start_virtual_display 1280x1024
trap stop_environment EXIT
wine_environment "$build/$windows/wineprefix-bench"
wine_virtual_desktop 1280x1024
wine_run "$build/$windows/bin/capture_bench.exe"
wine_run "$build/win64/bin/breakdown_bench.exe"
wine_run "$build/win64/bin/recorder_bench.exe"
