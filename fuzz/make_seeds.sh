#!/usr/bin/env bash
# Writes the seeds of the PNG import and bitmap-header fuzzers into
# fuzz/corpus/png_import and fuzz/corpus/bitmap_header: small files of every
# PNG colour type, depth and interlace, with and without transparency, and
# bitmap files with the 108- and 124-byte headers of every bit count.
# Run it again after changing what the seeds should cover.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
/usr/bin/python3 - "$root/fuzz/corpus" <<'PY'
import os, struct, sys, zlib

out = sys.argv[1]

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

def png(name, width, height, depth, colour, rows, plte=None, trns=None, interlace=0):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row_bytes = (width * channels * depth + 7) // 8
    if interlace:
        # Adam7 passes, each row unfiltered, from the full rows.
        passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
        bits = lambda r, x: (int.from_bytes(r, 'big') >> (len(r) * 8 - (x + 1) * channels * depth)) & ((1 << channels * depth) - 1)
        raw = b''
        for x0, y0, dx, dy in passes:
            xs = range(x0, width, dx)
            if not xs: continue
            for y in range(y0, height, dy):
                v = 0
                for x in xs: v = (v << channels * depth) | bits(rows[y], x)
                n = (len(xs) * channels * depth + 7) // 8
                v <<= n * 8 - len(xs) * channels * depth
                raw += b'\0' + v.to_bytes(n, 'big')
    else:
        raw = b''.join(b'\0' + r[:row_bytes] for r in rows)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, depth, colour, 0, 0, interlace))
    if plte: data += chunk(b'PLTE', plte)
    if trns is not None: data += chunk(b'tRNS', trns)
    data += chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b'')
    os.makedirs(out + '/png_import', exist_ok=True)
    open(out + '/png_import/' + name, 'wb').write(data)

def noise(width, height, bytes_per_row, seed):
    return [bytes((x * 37 + y * 11 + seed) * 7 % 256 for x in range(bytes_per_row)) for y in range(height)]

w, h = 9, 5
for depth in (1, 2, 4, 8, 16):
    png('grey%d.png' % depth, w, h, depth, 0, noise(w, h, (w * depth + 7) // 8, depth))
for depth in (1, 2, 4, 8):
    colours = 1 << depth
    plte = bytes(i * 29 % 256 for i in range(3 * colours))
    rows = noise(w, h, (w * depth + 7) // 8, depth)
    png('palette%d.png' % depth, w, h, depth, 3, rows, plte)
png('palette_trns.png', w, h, 4, 3, noise(w, h, 5, 3), bytes(range(48)), bytes([0, 128, 255]))
png('palette_opaque_trns.png', w, h, 4, 3, noise(w, h, 5, 3), bytes(range(48)), bytes([255, 255]))
png('rgb8.png', w, h, 8, 2, noise(w, h, 3 * w, 1))
png('rgb16.png', w, h, 16, 2, noise(w, h, 6 * w, 2))
png('rgb8_key.png', w, h, 8, 2, noise(w, h, 3 * w, 1), trns=bytes([0, 7, 0, 14, 0, 21]))
png('grey8_key.png', w, h, 8, 0, noise(w, h, w, 1), trns=bytes([0, 7]))
png('grey_alpha8.png', w, h, 8, 4, noise(w, h, 2 * w, 4))
png('grey_alpha16.png', w, h, 16, 4, noise(w, h, 4 * w, 5))
png('rgba8.png', w, h, 8, 6, noise(w, h, 4 * w, 6))
png('rgba16.png', w, h, 16, 6, noise(w, h, 8 * w, 7))
png('rgba8_interlaced.png', w, h, 8, 6, noise(w, h, 4 * w, 8), interlace=1)
png('palette2_interlaced.png', w, h, 2, 3, noise(w, h, 3, 9), bytes(range(12)), interlace=1)

def bmp(name, size, bits, compression, width, height, table, pixels, masks=(0, 0, 0, 0), cs=b'BGRs', profile=None):
    header = struct.pack('<IiiHHIIiiII', size, width, height, 1, bits, compression, len(pixels), 2835, 2835, len(table) // 4, 0)
    header += struct.pack('<IIII', *masks) + cs + bytes(36) + bytes(12)
    if size == 124:
        header += struct.pack('<IIII', 4, 0, 0, 0)
    off = 14 + size + len(table)
    body = table + pixels
    tail = b''
    if profile is not None:
        header = header[:112] + struct.pack('<II', size + len(body), len(profile)) + header[120:]
        tail = profile
    total = 14 + size + len(body) + len(tail)
    data = b'BM' + struct.pack('<IHHI', total, 0, 0, off) + header + body + tail
    os.makedirs(out + '/bitmap_header', exist_ok=True)
    open(out + '/bitmap_header/' + name, 'wb').write(data)

for size in (108, 124):
    v = 'v4' if size == 108 else 'v5'
    for bits in (1, 4, 8, 24):
        stride = (w * bits + 31) // 32 * 4
        table = bytes(i * 13 % 256 for i in range(4 * (1 << bits))) if bits <= 8 else b''
        bmp('%s_%d.bmp' % (v, bits), size, bits, 0, w, h, table, b''.join(noise(w, h, stride, bits)))
    stride = (w * 2 + 3) // 4 * 4
    bmp('%s_16_565.bmp' % v, size, 16, 3, w, -h, b'', b''.join(noise(w, h, stride, 16)), (0xF800, 0x7E0, 0x1F, 0))
    bmp('%s_32_alpha.bmp' % v, size, 32, 6, w, h, b'', b''.join(noise(w, h, 4 * w, 32)), (0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    bmp('%s_rle8.bmp' % v, size, 8, 1, 4, 2, bytes(1024), bytes([4, 1, 0, 0, 4, 2, 0, 1]))
bmp('v5_embedded_profile.bmp', 124, 24, 0, w, h, b'', b''.join(noise(w, h, 28, 3)), cs=b'DEBM', profile=b'acsp' * 8)
bmp('v5_linked_profile.bmp', 124, 24, 0, w, h, b'', b''.join(noise(w, h, 28, 3)), cs=b'KNIL', profile=b'C:\\x.icm\0')
PY
