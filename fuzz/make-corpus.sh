#!/usr/bin/env bash
# Makes the seed inputs of the fuzz targets under fuzz/corpus/<target>/: tiny pictures of
# every kind the readers take (ImageMagick and libjpeg-turbo's tools, deterministic input),
# hand-built files for what those tools do not write, and hand-written list files and
# stored values. The result is committed; rerun after changing this script.
# Regression seeds (inputs of fixed findings, named regression-*) and the inputs that
# fuzz/run.sh merged in (found-*) are kept as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/fuzz/corpus"
for tool in convert cjpeg jpegtran python3; do
  command -v "$tool" >/dev/null || {
    echo "make-corpus.sh: $tool is missing (packages imagemagick, libjpeg-turbo-progs, python3)" >&2
    exit 1
  }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for target in jpeg bmp icon metafile listfile storedvalue; do
  mkdir -p "$corpus/$target"
  find "$corpus/$target" -type f ! -name 'regression-*' ! -name 'found-*' -delete
done

# Pictures with many colours and every size class of partial blocks; no metadata, so the
# bytes do not change from run to run.
im() { convert "$@"; }
im rose: -resize 33x17! -strip "$tmp/rose.ppm"
im rose: -resize 20x13! -strip "$tmp/small.ppm"
im "$tmp/small.ppm" -colorspace Gray "$tmp/small.pgm"

# --- JPEG: colour spaces, sampling, progressive, arithmetic coding, restart markers ---
j="$corpus/jpeg"
cjpeg -quality 85 -sample 2x2 "$tmp/rose.ppm" >"$j/rgb-420.jpg"
cjpeg -quality 85 -sample 1x1 "$tmp/small.ppm" >"$j/rgb-444.jpg"
cjpeg -quality 60 -sample 2x1 "$tmp/rose.ppm" >"$j/rgb-422.jpg"
cjpeg -quality 85 -grayscale "$tmp/small.pgm" >"$j/gray.jpg"
cjpeg -quality 85 -progressive "$tmp/rose.ppm" >"$j/progressive.jpg"
cjpeg -quality 85 -progressive -grayscale "$tmp/small.pgm" >"$j/progressive-gray.jpg"
cjpeg -quality 85 -arithmetic "$tmp/small.ppm" >"$j/arithmetic.jpg"
cjpeg -quality 85 -arithmetic -progressive "$tmp/small.ppm" >"$j/arithmetic-progressive.jpg"
cjpeg -quality 85 -restart 1 "$tmp/rose.ppm" >"$j/restart-rows.jpg"
cjpeg -quality 85 -optimize -restart 1B "$tmp/small.ppm" >"$j/restart-blocks-optimized.jpg"
jpegtran -progressive -restart 2 "$j/rgb-420.jpg" >"$j/progressive-restart.jpg"
cjpeg -quality 95 -rgb "$tmp/small.ppm" >"$j/stored-rgb.jpg"
im -size 1x1 xc:'#3366cc' -strip "$tmp/one.ppm"
cjpeg "$tmp/one.ppm" >"$j/1x1.jpg"
im "$tmp/small.ppm" -colorspace CMYK -quality 85 -strip "$j/cmyk-adobe.jpg"
im "$tmp/small.ppm" -comment "seed" -quality 50 "$j/comment.jpg"

# --- BMP: every header size, bit depth and compression the reader takes ---
b="$corpus/bmp"
im "$tmp/small.ppm" bmp3:"$b/rgb24-info.bmp"
im "$tmp/small.ppm" bmp2:"$b/rgb24-core.bmp"
im "$tmp/small.ppm" -alpha set -channel A -evaluate set 50% +channel bmp:"$b/rgba32-v5.bmp"
im "$tmp/small.ppm" -type Palette -colors 200 bmp3:"$b/pal8.bmp"
im "$tmp/small.ppm" -type Palette -colors 12 bmp3:"$b/pal4.bmp"
im "$tmp/small.ppm" -monochrome bmp3:"$b/mono1.bmp"
im "$tmp/small.ppm" -type Palette -colors 60 -compress RLE bmp3:"$b/rle8.bmp"
im "$tmp/small.ppm" -type Palette -colors 12 bmp2:"$b/pal4-core.bmp"

# --- Icons: ImageMagick's (32-bit entries, a PNG entry), and a few hand-built below ---
i="$corpus/icon"
im "$tmp/small.ppm" -resize 16x16! -define icon:auto-resize=16,32 -strip "$i/rgba32-two-sizes.ico"
im -size 256x256 xc:'#3366cc' -define icon:auto-resize=256 -strip "$i/png-256.ico"

python3 - "$corpus" <<'PY'
import struct, sys, zlib
from pathlib import Path

corpus = Path(sys.argv[1])

def write(target, name, data):
    (corpus / target / name).write_bytes(bytes(data))

# --- JPEG: marker edits of files made above ---
def segments(jpeg):
    """(marker, start, end) of the segments before the first scan."""
    out, at = [], 2
    while at + 4 <= len(jpeg) and jpeg[at] == 0xFF:
        marker = jpeg[at + 1]
        if marker == 0xDA:
            break
        length = struct.unpack('>H', jpeg[at + 2:at + 4])[0]
        out.append((marker, at, at + 2 + length))
        at += 2 + length
    return out

def set_size(jpeg, width, height):
    data = bytearray(jpeg)
    for marker, start, _ in segments(jpeg):
        if marker in (0xC0, 0xC1, 0xC2, 0xC9, 0xCA):
            struct.pack_into('>HH', data, start + 5, height, width)
    return data

jdir = corpus / 'jpeg'
cmyk = (jdir / 'cmyk-adobe.jpg').read_bytes()
adobe = [s for s in segments(cmyk) if s[0] == 0xEE]
if adobe:
    _, start, end = adobe[0]
    write('jpeg', 'cmyk-plain.jpg', cmyk[:start] + cmyk[end:])  # ink amounts, not inverted
    ycck = bytearray(cmyk)
    ycck[end - 1] = 2  # Adobe transform 2: stored as YCCK
    write('jpeg', 'ycck.jpg', ycck)
rgb = (jdir / 'rgb-420.jpg').read_bytes()
# Sound headers over far too little data: the bounded-memory paths (the baseline one not
# too large, as each of its mutations allocates its scaled preview).
write('jpeg', 'large-baseline.jpg', set_size(rgb, 20000, 3000))
write('jpeg', 'huge-progressive.jpg', set_size((jdir / 'progressive.jpg').read_bytes(), 60000, 60000))
write('jpeg', 'truncated.jpg', rgb[:len(rgb) * 2 // 3])

# --- BMP: what ImageMagick does not write ---
def bmp(width, height, bits, pixels, header=40, compression=0, palette=(), colors_used=0,
        masks=None, masks_after=False):
    entry = 3 if header == 12 else 4
    tables = (12 if masks_after else 0) + len(palette) * entry
    offset = 14 + header + tables
    h = bytearray(header)
    if header == 12:
        struct.pack_into('<IHHHH', h, 0, 12, width, height, 1, bits)
    else:
        struct.pack_into('<IiiHHIIiiII', h, 0, header, width, height, 1, bits, compression,
                         len(pixels), 2835, 2835, colors_used, 0)
        if masks and not masks_after:
            struct.pack_into('<III', h, 40, *masks)
    out = bytearray(b'BM') + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + h
    if masks_after:
        out += struct.pack('<III', *masks)
    for b_, g, r in palette:
        out += bytes([b_, g, r] + ([0] if entry == 4 else []))
    return out + bytes(pixels)

def rows(width, height, bits, value):
    stride = (width * bits + 31) // 32 * 4
    return bytes(value(x, y) & 0xFF for y in range(height) for x in range(stride))

grey16 = [(v * 17, v * 17, v * 17) for v in range(16)]
write('bmp', 'rgb24-topdown.bmp', bmp(7, -5, 24, rows(7, 5, 24, lambda x, y: x * 37 + y * 11)))
write('bmp', 'rgb32-plain.bmp', bmp(5, 3, 32, rows(5, 3, 32, lambda x, y: x * 50 + y)))
write('bmp', 'rgb16-555.bmp', bmp(6, 4, 16, rows(6, 4, 16, lambda x, y: x * 29 + y * 3)))
write('bmp', 'rgb16-565-masks-after.bmp',
      bmp(6, 4, 16, rows(6, 4, 16, lambda x, y: x * 31 + y * 7), compression=3,
          masks=(0xF800, 0x07E0, 0x001F), masks_after=True))
write('bmp', 'rgb32-masks-52.bmp',
      bmp(4, 3, 32, rows(4, 3, 32, lambda x, y: x + y * 64), header=52, compression=3,
          masks=(0x3FF00000, 0x000FFC00, 0x000003FF)))
write('bmp', 'rgb16-masks-56.bmp',
      bmp(5, 2, 16, rows(5, 2, 16, lambda x, y: x * 9 + y), header=56, compression=3,
          masks=(0x0F00, 0x00F0, 0x000F)))
write('bmp', 'pal8-short-table.bmp',
      bmp(6, 3, 8, rows(6, 3, 8, lambda x, y: (x + y) % 5), palette=grey16[:5], colors_used=5))
write('bmp', 'pal1-core.bmp',
      bmp(9, 4, 1, rows(9, 4, 1, lambda x, y: 0x55 << (y % 2)), header=12,
          palette=[(0, 0, 0), (255, 255, 255)]))
# RLE streams with every escape: runs, absolute runs (odd and even), delta, end of line,
# end of bitmap before the last row.
rle8 = [3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 4, 0, 0, 0, 4, 1, 2, 3, 4, 0, 0, 0, 1]
write('bmp', 'rle8-escapes.bmp',
      bmp(8, 5, 8, rle8, compression=1, palette=grey16[:5], colors_used=5))
rle4 = [5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 1, 1, 4, 0xF0, 0, 0, 0, 4, 0x12, 0x34, 0, 1]
write('bmp', 'rle4-escapes.bmp', bmp(7, 4, 4, rle4, compression=2, palette=grey16))

# --- Icons: DIB entries of 1, 4, 8 and 24 bits with their transparency masks ---
def dib(size, bits, palette_count):
    stride = (size * bits + 31) // 32 * 4
    mask = (size + 31) // 32 * 4
    head = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0,
                       (stride + mask) * size, 0, 0, 0, 0)
    table = b''.join(bytes([k * 40 % 256, k * 90 % 256, k * 150 % 256, 0])
                     for k in range(palette_count))
    pixels = bytes((x * 31 + y * 7) & 0xFF for y in range(size) for x in range(stride))
    alpha = bytes((0xF0 if y % 3 == 0 else 0) for y in range(size) for _ in range(mask))
    return head + table + pixels + alpha

def ico(entries):
    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    at = 6 + 16 * len(entries)
    for size, bits, colors, image in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colors, 0, 1, bits,
                           len(image), at)
        at += len(image)
    for *_, image in entries:
        out += image
    return out

write('icon', 'dib-1-4-8.ico', ico([(16, 1, 2, dib(16, 1, 2)), (16, 4, 16, dib(16, 4, 16)),
                                   (16, 8, 0, dib(16, 8, 256))]))
write('icon', 'dib-24.ico', ico([(8, 24, 0, dib(8, 24, 0))]))
png = (corpus / 'icon' / 'png-256.ico').read_bytes()[22:]
write('icon', 'png-and-dib.ico', ico([(32, 4, 16, dib(32, 4, 16)), (256, 32, 0, png)]))

# --- Metafiles: placeable Windows metafiles and enhanced metafiles ---
def wmf_records(records):
    body = b''.join(struct.pack('<IH', 3 + len(params), function) +
                    b''.join(struct.pack('<h', p) for p in params)
                    for function, params in records)
    body += struct.pack('<IH', 3, 0)  # the end record
    largest = max([3 + len(p) for _, p in records] + [3])
    header = struct.pack('<HHHIHIH', 1, 9, 0x300, (18 + len(body)) // 2, 0, largest, 0)
    return header + body

def placeable(left, top, right, bottom, inch, body):
    head = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    checksum = 0
    for k in range(0, 20, 2):
        checksum ^= struct.unpack('<H', head[k:k + 2])[0]
    return head + struct.pack('<H', checksum) + body

drawing = [(0x020B, [0, 0]), (0x020C, [100, 200]),       # SetWindowOrg, SetWindowExt
           (0x041B, [150, 80, 20, 10]), (0x0418, [90, 60, 30, 5])]  # Rectangle, Ellipse
write('metafile', 'placeable.wmf', placeable(0, 0, 200, 100, 1440, wmf_records(drawing)))
write('metafile', 'placeable-negative-frame.wmf',
      placeable(100, 50, -300, -20, 96, wmf_records(drawing[:2])))

def emf(records, frame=(0, 0, 2000, 1000)):
    body = b''.join(struct.pack('<II', kind, 8 + len(data)) + data for kind, data in records)
    eof = struct.pack('<IIIII', 14, 20, 0, 16, 20)
    header_size = 88
    total = header_size + len(body) + len(eof)
    header = struct.pack('<II4i4iIIIIHHIII2i2i', 1, header_size, 0, 0, 99, 49, *frame,
                         0x464D4520, 0x10000, total, len(records) + 2, 1, 0, 0, 0, 0,
                         1024, 768, 320, 240)
    return header + body + eof

write('metafile', 'enhanced.emf', emf([(43, struct.pack('<4i', 10, 10, 90, 40)),  # Rectangle
                                       (42, struct.pack('<4i', 5, 5, 60, 45))]))   # Ellipse
write('metafile', 'enhanced-empty.emf', emf([]))

# --- List files: every line end, blank lines, a zero byte, 8-bit and UTF-8 names, long paths ---
lists = {
    'crlf.kvl': b'C:\\Windows\\Kestrova.bmp\r\nC:\\Pictures\\a b.jpg\r\n',
    'lf.kvl': b'C:\\a.jpg\nC:\\b.bmp\n',
    'cr.kvl': b'C:\\a.jpg\rC:\\b.bmp\r',
    'mixed.kvl': b'C:\\a.jpg\r\n\r\nC:\\b.bmp\n\rD:\\c.jpg\r\r\nE:\\d.jpeg',
    'no-final-line-end.kvl': b'C:\\only.jpg',
    'zero-byte.kvl': b'C:\\a.jpg\r\nC:\\b\x00.jpg\r\nC:\\after.jpg\r\n',
    'eight-bit.kvl': b'C:\\Bilder\\Gr\xfc\xdfe\\M\xe4rz.jpg\r\nC:\\\xc9t\xe9.bmp\r\n',
    'blanks.kvl': b'  C:\\spaces around.jpg \t\r\n\t\r\n',
    'long-path.kvl': b'C:\\' + b'\\'.join([b'folder%02d' % k for k in range(40)]) + b'\\x.jpg\r\n',
    'empty.kvl': b'',
    'only-line-ends.kvl': b'\r\n\n\r\r\n',
    'utf8-bom-mixed.kvl': b'\xef\xbb\xbfC:\\\xe5\xa4\x95\xe7\x84\xbc\xe3\x81\x91.jpg\r\n'
                          b'C:\\Z\xfcrich.bmp\r\nC:\\\xf0\x9f\x8c\x85.jpg\r\nC:\\\xed\xa0\x80.jpg\r\n',
}
for name, data in lists.items():
    write('listfile', name, data)

# --- Stored values: registry texts as the settings store reads them ---
values = {
    'zero': b'0', 'one': b'1', 'minus-one': b'-1', 'plus': b'+7', 'blanks': b' \t 12',
    'int-min': b'-2147483648', 'int-max': b'2147483647', 'overflow': b'2147483648',
    'underflow': b'-2147483649', 'long-digits': b'000000000000000000000000000042',
    'letters': b'abc', 'trailing-blank': b'15 ', 'zero-terminated': b'12\x00',
    'text-after-zero': b'12\x003', 'empty': b'', 'sign-only': b'-', 'hex': b'0x10',
}
for name, data in values.items():
    write('storedvalue', name, data)
PY

for target in jpeg bmp icon metafile listfile storedvalue; do
  printf '%-12s %3d files %7d bytes\n' "$target" "$(find "$corpus/$target" -type f | wc -l)" \
    "$(find "$corpus/$target" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')"
done
