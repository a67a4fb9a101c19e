#!/usr/bin/env bash
# Writes into folder $1 the picture files other programs make: bitmap files
# with the 108- and 124-byte headers and PNG files of every kind, by
# ImageMagick and Pillow, each beside NAME.rgba: the pixels the program that
# wrote it reports (top row first, red-green-blue-alpha, 8 bits each), for
# the import tests to compare with. The 108-byte header is ImageMagick's 124-byte file
# with the four last fields cut off: ImageMagick writes only the longer one.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
# Pillow is Debian's, beside whatever other Python is first on the path.
python=/usr/bin/python3

# A picture with every kind of neighbourhood: gradients, flat areas, edges.
convert -size 37x23 gradient:'#ff2000'-'#0030ff' \( -size 37x23 plasma:fractal -seed 7 \) \
  -compose blend -define compose:args=50 -composite -depth 8 base.ppm 2>/dev/null ||
  convert -size 37x23 gradient:'#ff2000'-'#0030ff' -depth 8 base.ppm

# ImageMagick's own report of a file's pixels.
report() { convert "$1" -depth 8 "rgba:$1.rgba"; }

# Bitmap files: 24 bits, 32 bits with alpha (bit fields), 16 bits 5-6-5,
# 8- 4- and 1-bit palettes.
convert base.ppm v5_24.bmp
convert base.ppm -alpha set -channel A -fx 'i/w' +channel v5_32_alpha.bmp
convert base.ppm -define bmp:subtype=RGB565 v5_16_565.bmp
convert base.ppm -colors 200 -type Palette v5_8.bmp
convert base.ppm -colors 16 -type Palette v5_4.bmp
convert base.ppm -type Bilevel bilevel.bmp
for f in v5_*.bmp bilevel.bmp; do report "$f"; done
# The bitmap reader drops alpha, as for the 40-byte header: compare colours.
convert v5_32_alpha.bmp -alpha off -depth 8 rgba:v5_32_alpha.bmp.rgba

"$python" - <<'PY'
import struct

# The bitmap reader widens 5- and 6-bit channels by shifting them up, for
# every header; ImageMagick reports them scaled to 0..255.
rgba = bytearray(open('v5_16_565.bmp.rgba', 'rb').read())
for i in range(0, len(rgba), 4):
    rgba[i] = round(rgba[i] * 31 / 255) << 3
    rgba[i + 1] = round(rgba[i + 1] * 63 / 255) << 2
    rgba[i + 2] = round(rgba[i + 2] * 31 / 255) << 3
open('v5_16_565.bmp.rgba', 'wb').write(rgba)

def fields(b):
    return struct.unpack_from('<I', b, 10)[0], struct.unpack_from('<I', b, 14)[0]

# The 108-byte header: the same file without intent and profile fields.
for name in ['v5_24', 'v5_16_565', 'v5_4']:
    b = open(name + '.bmp', 'rb').read()
    off, size = fields(b)
    assert size == 124
    v4 = bytearray(b[:14 + 108] + b[14 + 124:])
    struct.pack_into('<I', v4, 14, 108)
    struct.pack_into('<I', v4, 2, len(v4))
    struct.pack_into('<I', v4, 10, off - 16)
    new = name.replace('v5', 'v4')
    open(new + '.bmp', 'wb').write(v4)
    open(new + '.bmp.rgba', 'wb').write(open(name + '.bmp.rgba', 'rb').read())

# Top-down rows: negative height, rows reversed.
b = bytearray(open('v5_24.bmp', 'rb').read())
off, _ = fields(b)
w, h = struct.unpack_from('<ii', b, 18)
stride = (w * 3 + 3) // 4 * 4
rows = [b[off + i * stride: off + (i + 1) * stride] for i in range(h)]
b[off:off + h * stride] = b''.join(reversed(rows))
struct.pack_into('<i', b, 22, -h)
open('v5_top_down.bmp', 'wb').write(b)
open('v5_top_down.bmp.rgba', 'wb').write(open('v5_24.bmp.rgba', 'rb').read())

# An embedded profile behind the pixels, and a linked one naming a file.
for kind, data in [(b'MBED', b'\x00\x00\x01\x00' + b'acsp' * 60), (b'LINK', b'C:\\nowhere\\x.icm\x00')]:
    b = bytearray(open('v5_24.bmp', 'rb').read())
    struct.pack_into('<4s', b, 14 + 56, kind[::-1])
    struct.pack_into('<II', b, 14 + 112, len(b) - 14, len(data))
    b += data
    struct.pack_into('<I', b, 2, len(b))
    name = 'v5_profile_' + kind.decode().lower()
    open(name + '.bmp', 'wb').write(b)
    open(name + '.bmp.rgba', 'wb').write(open('v5_24.bmp.rgba', 'rb').read())
PY

# PNG files by ImageMagick: interlaced, 16 bits per channel, grey, grey with
# alpha, RGBA, a small palette.
convert -size 37x23 gradient:'#123456'-'#fedcba' -depth 16 wide.ppm
convert base.ppm -interlace PNG im_interlaced.png
convert wide.ppm -depth 16 PNG48:im_rgb16.png
convert wide.ppm -colorspace Gray -depth 16 PNG:im_grey16.png
convert base.ppm -colorspace Gray -depth 8 -define png:color-type=0 im_grey8.png
convert base.ppm -colorspace Gray -alpha set -channel A -fx 'j/h' +channel \
  -define png:color-type=4 im_grey_alpha.png
convert base.ppm -alpha set -channel A -fx 'i/w' +channel -interlace PNG PNG32:im_rgba_interlaced.png
convert base.ppm -colors 12 PNG8:im_palette.png
for f in im_*.png; do report "$f"; done

# PNG files by Pillow: palettes of every depth, with and without
# transparency, grey of low depths, interlaced RGBA.
"$python" - <<'PY'
from PIL import Image

base = Image.open('base.ppm').convert('RGB')

def save(image, name, **options):
    image.save(name, **options)
    # Pillow's own reading of what it wrote.
    open(name + '.rgba', 'wb').write(Image.open(name).convert('RGBA').tobytes())

for colours, bits in [(2, 1), (4, 2), (16, 4), (200, 8)]:
    p = base.quantize(colours)
    save(p, 'pil_palette%d.png' % bits, bits=bits)
p = base.quantize(16)
save(p, 'pil_palette_transparent.png', transparency=bytes([0, 128] + [255] * 14))
save(p, 'pil_palette_opaque_trns.png', transparency=bytes([255] * 16))
save(base.convert('L'), 'pil_grey8.png')
save(base.convert('1'), 'pil_grey1.png')
save(base.convert('RGB'), 'pil_rgb_key.png', transparency=base.getpixel((3, 4)))
rgba = base.copy()
rgba.putalpha(Image.linear_gradient('L').resize(base.size))
save(rgba, 'pil_rgba.png')
PY
