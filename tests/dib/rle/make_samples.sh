#!/usr/bin/env bash
# Rewrites the RLE sample files of this folder: RLE8 bitmaps written by
# ImageMagick, and two hand-made streams with deltas and odd counts (ImageMagick
# writes no RLE4 and no deltas). Each NAME.bmp gets NAME.rgb, the pixels
# ImageMagick reads back from it: top row first, red, green, blue.
#   tests/dib/rle/make_samples.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

rle8() {  # NAME convert-arguments...
  local name=$1; shift
  convert "$@" +dither -type Palette -compress RLE "BMP3:$name.bmp"
}
rle8 magick_shapes_37x23 -size 37x23 xc:white -fill red -draw "rectangle 3,3 20,10" \
  -fill blue -draw "circle 25,15 30,18" -colors 16
rle8 magick_plasma_61x40 -size 61x40 -seed 3 plasma:fractal -colors 200
rle8 magick_long_runs_600x3 -size 600x3 xc:navy -fill yellow -draw "line 0,1 299,1" \
  -fill white -draw "point 599,2" -colors 4
rle8 magick_column_1x9 -size 1x9 gradient:black-white -colors 5

# Hand-made streams: header, 16 grey levels, then the stream as written.
python3 - <<'PY'
import struct

def bmp(name, width, height, bits, compression, stream):
    table = b"".join(bytes((i * 17, i * 17, i * 17, 0)) for i in range(16))
    offset = 14 + 40 + len(table)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression,
                         len(stream), 0, 0, 16, 0)
    with open(name, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(stream), 0, 0, offset))
        f.write(header + table + bytes(stream))

# 9 x 6, 4 bits: odd counts, odd-length absolute runs, runs and absolute
# runs starting at odd pixels after deltas, a delta across rows that leaves
# rows 3 and 4 empty, and an end-of-line after the last row.
bmp("hand_rle4_9x6.bmp", 9, 6, 4, 2, [
    5, 0x12, 0, 3, 0x34, 0x50, 1, 0x67, 0, 0,          # row 0: odd run, 3 nibbles, 1
    0, 2, 3, 0, 3, 0xAB, 0, 5, 0xCD, 0xEF, 0x10, 0, 0, 0,  # row 1: delta to x=3
    9, 0xF1, 0, 0,                                    # row 2: whole row, odd count
    0, 2, 1, 2, 2, 0x9E, 0, 0,                        # delta to x=1 of row 5
    0, 1])
# 10 x 5, 8 bits: deltas within a row and across one, an odd absolute run
# with its pad.
bmp("hand_rle8_10x5.bmp", 10, 5, 8, 1, [
    10, 3, 0, 0,                                      # row 0
    2, 7, 0, 2, 2, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0,   # row 1: delta to x=4
    0, 2, 2, 1, 3, 9, 0, 0,                           # delta to x=2 of row 3
    0, 3, 15, 14, 13, 0, 0, 0,                        # row 4
    0, 1])
PY

for f in *.bmp; do
  convert "$f" -depth 8 "rgb:${f%.bmp}.rgb"
done
