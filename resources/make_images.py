#!/usr/bin/env python3
"""Draws the pictures of Papershift 7: the program icon, the menu image strip and the
splash backdrop. Pure Python 3 without packages and without randomness, so that a run
of make-resources.sh repeats the committed files byte for byte.

  make_images.py icon PATH            ICO of 16, 20, 24, 32, 48 (32-bit with alpha) and
                                      256 (PNG) pixels, drawn from one 32-unit design
  make_images.py menu PATH            160 x 16, 24-bit BMP, magenta = transparent
  make_images.py splash-backdrop      300 x 200 PPM on stdout; the text is set by ImageMagick
  make_images.py wallpaper SCENE W H  a landscape as a W x H PPM on stdout (sample wallpapers;
                                      scenes: dawn, lake, dunes, sea, forest)
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------
# Menu images: pixel art, one letter per pixel. Drawn by hand because at 16 x 16 any
# anti-aliasing against the magenta key would leave pink fringes in the menu.

MENU_PALETTE = {
    '.': (255, 0, 255),  # transparent
    'k': (36, 36, 44), 'd': (92, 96, 106), 'g': (150, 154, 164), 'l': (208, 212, 220),
    'w': (255, 255, 255), 'n': (24, 64, 150), 'b': (48, 120, 220), 'c': (140, 196, 250),
    's': (196, 228, 255), 'h': (24, 110, 40), 'G': (64, 176, 72), 'L': (150, 222, 120),
    'o': (184, 124, 24), 'y': (248, 204, 64), 'Y': (255, 238, 160), 'r': (220, 40, 40),
    'R': (140, 20, 20), 'q': (140, 64, 8), 'O': (240, 136, 32), 'Q': (255, 204, 110),
}

# Index i is drawn at x = 16 * i; the tray menu refers to the images by these indices.
MENU_IMAGES = [
    # 0 "Change Image": two circular arrows, orange like the program icon's badge
"""
................
.....qqqqqq.....
...qqQQQQQQqq...
..qQQOOOOOOOOq..
.qQOOqqqqqqOOOq.
.qOOq.....qqOOqq
..qq.....qQOOOOO
.qQOq.....qOOOOq
qQOOOq.....qOOq.
OOOOOOq.....qq..
qqOOqq.....qQOq.
.qOOOqqqqqqOOOq.
..qOOOOOOOOOOq..
...qqOOOOOOqq...
.....qqqqqq.....
................
""",
    # 1 folder (spare)
"""
................
................
.kkkkk..........
kYYYYYk.........
kyyyyyykkkkkkkk.
kYYYYYYYYYYYYYyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kyyyyyyyyyyyyyyk
kooooooooooooook
.kkkkkkkkkkkkkk.
................
""",
    # 2 "Show Settings..": a window with a gear
"""
kkkkkkkkkkkkk...
kbbbbbbbbbwbk...
kbbbbbbbbbbbk...
kwwwwwwwwwwwk...
kwllllllwkkwk...
kwwwwwkkkllkkk..
kwlllkllklgkggk.
kwwwwklllgggggk.
kwlllkklgggggkk.
kwwwkllggkkgggdk
kkkkklgggkkggddk
.....kkgggggdkk.
.....kgggggdddk.
.....kggkgdkddk.
......kkkddkkk..
.........kk.....
""",
    # 3 disk (spare)
"""
................
.kkkkkkkkkkkkk..
.kbblllllllbbbk.
.kbbllllkklbbbk.
.kbbllllkklbbbk.
.kbbllllkklbbbk.
.kbblllllllbbbk.
.kbbbbbbbbbbbbk.
.kbwwwwwwwwwwbk.
.kbwwwwwwwwwwbk.
.kbwggggggggwbk.
.kbwwwwwwwwwwbk.
.kbwggggggggwbk.
.kbwwwwwwwwwwbk.
.kkkkkkkkkkkkkk.
................
""",
    # 4 information (spare)
"""
.....nnnnnn.....
...nnbbbbbbnn...
..nbccbbbbbbbn..
.nbcccbwwbbbbbn.
.nbccbbwwbbbbbn.
nbccbbbbbbbbbbbn
nbcbbbwwwbbbbbbn
nbbbbbbwwbbbbbbn
nbbbbbbwwbbbbbbn
nbbbbbbwwbbbbbbn
nbbbbbbwwbbbbbbn
.nbbbbwwwwbbbbn.
.nbbbbbbbbbbbbn.
..nbbbbbbbbbbn..
...nnbbbbbbnn...
.....nnnnnn.....
""",
    # 5 "Enable Sound": speaker with waves
"""
................
................
.......k...n....
......kk....n...
.....klk.n...n..
....klgk..n..n..
kkkklggk...n..n.
kllklggk...n..n.
kllklggk...n..n.
kggkdggk...n..n.
kkkkdggk...n..n.
....kdgk..n..n..
.....kdk.n...n..
......kk....n...
.......k...n....
................
""",
    # 6 "Disable Sound": speaker crossed out
"""
................
................
.......k........
......kk........
.....klk........
....klgk.RR...RR
kkkklggk.RrR.RrR
kllklggk..RrRrR.
kllklggk...RrR..
kggkdggk..RrRrR.
kkkkdggk.RrR.RrR
....kdgk.RR...RR
.....kdk........
......kk........
.......k........
................
""",
    # 7 "Title Image": the same picture tiled 2 x 2
"""
................
kkkkkkkkkkkkkkk.
kccccyykccccyyk.
kccccyykccccyyk.
ksssssskssssssk.
kssLLsskssLLssk.
kLLGGLskLLGGLsk.
kGGGGGGkGGGGGGk.
kkkkkkkkkkkkkkk.
kccccyykccccyyk.
kccccyykccccyyk.
ksssssskssssssk.
kssLLsskssLLssk.
kLLGGLskLLGGLsk.
kGGGGGGkGGGGGGk.
kkkkkkkkkkkkkkk.
""",
    # 8 "Center Image": a small picture in the middle of the frame
"""
................
kkkkkkkkkkkkkkk.
klllllllllllllk.
klllllllllllllk.
klllllllllllllk.
klllkkkkkkklllk.
klllkcccyyklllk.
klllksssyyklllk.
klllkssLssklllk.
klllkLLGLLklllk.
klllkGGGGGklllk.
klllkkkkkkklllk.
klllllllllllllk.
klllllllllllllk.
klllllllllllllk.
kkkkkkkkkkkkkkk.
""",
    # 9 "Strech Image": the picture fills the frame, arrows to the corners
"""
................
kkkkkkkkkkkkkkk.
knnncccccccnnnk.
knncccccccccnnk.
knsnsssssssnsnk.
ksssnsssssnsssk.
kssssnsssnssssk.
ksssssssssLLssk.
kssLLLssLLGGLsk.
kLLGGGLLGGGGGLk.
kGGGGnGGGnGGGGk.
kGGGnGGGGGnGGGk.
knGnGGGGGGGnGnk.
knnGGGGGGGGGnnk.
knnnGGGGGGGnnnk.
kkkkkkkkkkkkkkk.
""",
]


MENU_SIZE = 16


def menu_pixels():
    """Rows of (r, g, b) for the whole strip, top row first."""
    grids = []
    for i, text in enumerate(MENU_IMAGES):
        rows = text.strip('\n').split('\n')
        if len(rows) != MENU_SIZE or any(len(r) != MENU_SIZE for r in rows):
            raise ValueError('menu image %d is not %d x %d' % (i, MENU_SIZE, MENU_SIZE))
        unknown = set(''.join(rows)) - set(MENU_PALETTE)
        if unknown:
            raise ValueError('menu image %d uses unknown colours %s' % (i, sorted(unknown)))
        grids.append(rows)
    return [[MENU_PALETTE[ch] for rows in grids for ch in rows[y]] for y in range(MENU_SIZE)]


def bmp24(rows):
    """A bottom-up 24-bit BMP file of the given rows."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        bits += line + bytes(stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return header + info + bytes(bits)


# ---------------------------------------------------------------------------------------
# Shapes as signed distances (negative inside), sampled several times per pixel.

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_box(x, y, x0, y0, x1, y1):
    dx = abs(x - (x0 + x1) / 2) - (x1 - x0) / 2
    dy = abs(y - (y0 + y1) / 2) - (y1 - y0) / 2
    return math.hypot(max(dx, 0.0), max(dy, 0.0)) + min(max(dx, dy), 0.0)


def sd_polygon(x, y, v):
    d = (x - v[0][0]) ** 2 + (y - v[0][1]) ** 2
    sign = 1.0
    j = len(v) - 1
    for i in range(len(v)):
        ex, ey = v[j][0] - v[i][0], v[j][1] - v[i][1]
        wx, wy = x - v[i][0], y - v[i][1]
        t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
        d = min(d, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
        above, below, left = y >= v[i][1], y < v[j][1], ex * wy > ey * wx
        if (above and below and left) or (not above and not below and not left):
            sign = -sign
        j = i
    return sign * math.sqrt(d)


def sd_arc(x, y, cx, cy, radius, half_width, a0, a1):
    """A band around a circle from screen angle a0 clockwise to a1 (degrees), round ends."""
    dx, dy = x - cx, y - cy
    angle = math.degrees(math.atan2(dy, dx)) % 360
    if (angle - a0) % 360 <= (a1 - a0) % 360:
        return abs(math.hypot(dx, dy) - radius) - half_width
    ends = [(cx + radius * math.cos(math.radians(a)), cy + radius * math.sin(math.radians(a)))
            for a in (a0, a1)]
    return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half_width


def arrow_head(cx, cy, radius, half_base, angle, advance):
    """Triangle across the band at angle, its tip advance degrees further clockwise."""
    a, tip = math.radians(angle), math.radians(angle + advance)
    ux, uy = math.cos(a), math.sin(a)
    return [(cx + (radius - half_base) * ux, cy + (radius - half_base) * uy),
            (cx + (radius + half_base) * ux, cy + (radius + half_base) * uy),
            (cx + radius * math.cos(tip), cy + radius * math.sin(tip))]


# ---------------------------------------------------------------------------------------
# Program icon: a gold-framed landscape with an orange "change" badge in the corner.

ICON_SIZE = 32
ICON_SAMPLES = 6  # per axis and pixel

FRAME = (1.0, 3.0, 28.0, 26.0)
BADGE = (23.0, 23.0)
BADGE_RADIUS = 8.9
ARROW_RADIUS, ARROW_HALF_WIDTH = 5.4, 0.8
ARROWS = [(200, 322), (20, 142)]
HEADS = [arrow_head(BADGE[0], BADGE[1], ARROW_RADIUS, 2.4, end, 32) for _, end in ARROWS]


def icon_sample(x, y):
    """Colour at one point, or None outside the motif."""
    colour = None
    frame = sd_box(x, y, *FRAME)
    if frame < 0:
        x0, y0, x1, y1 = FRAME[0] + 3, FRAME[1] + 3, FRAME[2] - 3, FRAME[3] - 3
        inner = sd_box(x, y, x0, y0, x1, y1)
        if frame > -1:
            colour = (70, 44, 14)
        elif inner > 1:  # gilded band, lit from the top left
            t = ((x - FRAME[0]) + (y - FRAME[1])) / ((FRAME[2] - FRAME[0]) + (FRAME[3] - FRAME[1]))
            colour = mix((250, 214, 120), (190, 130, 40), clamp(t))
        elif inner > 0:
            colour = (96, 62, 20)
        else:
            u, v = (x - x0) / (x1 - x0), (y - y0) / (y1 - y0)
            colour = mix((52, 120, 214), (178, 222, 255), clamp(v * 1.3))
            if sd_circle(x, y, x0 + 5.0, y0 + 4.5, 2.6) < 0:
                colour = (255, 226, 90)
            far = y0 + 10.5 - 2.2 * math.sin(u * 5.0 + 0.6)
            if y > far:
                colour = mix((96, 160, 150), (70, 130, 120), clamp((y - far) / 4))
            near = y0 + 14.0 - 3.0 * math.cos(u * 3.6 - 0.4)
            if y > near:
                colour = mix((110, 196, 70), (40, 128, 40), clamp((y - near) / 6))

    badge = sd_circle(x, y, BADGE[0], BADGE[1], BADGE_RADIUS)
    if badge < 0:
        colour = mix((255, 255, 255), (214, 228, 240), clamp((y - BADGE[1] + 8) / 16))
        if badge > -1.0:
            colour = (40, 70, 110)
        arrow = min(min(sd_arc(x, y, BADGE[0], BADGE[1], ARROW_RADIUS, ARROW_HALF_WIDTH, a0, a1),
                        sd_polygon(x, y, head))
                    for (a0, a1), head in zip(ARROWS, HEADS))
        if arrow < 0:
            colour = mix((255, 200, 90), (226, 110, 20), clamp((y - BADGE[1] + 7) / 14))
        elif arrow < 0.8:
            colour = (130, 60, 10)
    return colour


def icon_pixels(size=ICON_SIZE):
    """Rows of (r, g, b, alpha) at size x size pixels: the 32-unit design scaled, each
    pixel the mean of its covered samples, its alpha the share covered."""
    n = max(2, ICON_SAMPLES * ICON_SIZE // size)  # fewer samples per pixel when large
    unit = ICON_SIZE / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = []
            for sy in range(n):
                for sx in range(n):
                    c = icon_sample((px + (sx + 0.5) / n) * unit, (py + (sy + 0.5) / n) * unit)
                    if c is not None:
                        covered.append(c)
            if not covered:
                row.append((0, 0, 0, 0))
                continue
            row.append(tuple(int(round(sum(c[i] for c in covered) / len(covered)))
                             for i in range(3)) + (int(round(255 * len(covered) / (n * n))),))
        rows.append(row)
    return rows


ICON_SIZES = (16, 20, 24, 32, 48, 256)


def dib32(rows):
    """A 32-bit BGRA icon image: header, pixels bottom-up, then an AND mask that marks
    the fully transparent pixels (for systems that draw without alpha)."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask),
                       0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def png(rows):
    """An RGBA PNG, the form Windows Vista and later take for a 256-pixel icon image."""
    size = len(rows)
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico_sizes(sizes=ICON_SIZES):
    """An ICO with one image per size, smallest first."""
    images = [png(icon_pixels(n)) if n >= 256 else dib32(icon_pixels(n)) for n in sizes]
    offset = 6 + 16 * len(sizes)
    directory = struct.pack('<HHH', 0, 1, len(sizes))
    for n, image in zip(sizes, images):
        directory += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


# ---------------------------------------------------------------------------------------
# Splash backdrop: an evening sky over layered hills. The product name and version are
# set on it by ImageMagick with the DejaVu fonts.

SPLASH_W, SPLASH_H = 300, 200
SKY = [(0.0, (34, 46, 112)), (0.35, (86, 92, 168)), (0.62, (206, 128, 150)),
       (0.80, (252, 184, 128)), (1.0, (255, 222, 160))]
SUN = (226.0, 118.0)
# Ridges from far to near: base height, (amplitude, period, phase) waves, top and foot colour.
RIDGES = [
    (112, [(7, 41, 1.3), (3.5, 17, 0.2), (1.2, 6, 2.0)], (150, 120, 170), (170, 130, 160)),
    (132, [(9, 57, 4.0), (4, 23, 1.1), (1.0, 7, 0.5)], (104, 88, 148), (120, 92, 140)),
    (154, [(10, 73, 0.7), (4, 29, 2.5), (1.0, 9, 1.3)], (62, 62, 112), (56, 58, 100)),
    (178, [(7, 47, 2.9), (3, 19, 0.4), (0.8, 8, 1.0)], (30, 38, 72), (22, 28, 54)),
]
SPLASH_EDGE = (20, 24, 56)  # the splash window has no border of its own


def gradient(stops, t):
    t = clamp(t)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def splash_sample(x, y):
    colour = gradient(SKY, y / 125.0)
    d = math.hypot(x - SUN[0], y - SUN[1])
    colour = mix(colour, (255, 236, 190), 0.55 * math.exp(-(d / 48.0) ** 2))
    colour = mix(colour, (255, 246, 220), clamp(15.5 - d))
    for base, waves, top, foot in RIDGES:
        ridge = base + sum(a * math.sin(x / period + phase) for a, period, phase in waves)
        cover = clamp(y - ridge + 0.5)
        if cover > 0:
            colour = mix(colour, mix(top, foot, clamp((y - ridge) / 40.0)), cover)
    return colour


def splash_ppm():
    out = bytearray(b'P6 %d %d 255\n' % (SPLASH_W, SPLASH_H))
    for y in range(SPLASH_H):
        for x in range(SPLASH_W):
            if x in (0, SPLASH_W - 1) or y in (0, SPLASH_H - 1):
                out += bytes(SPLASH_EDGE)
                continue
            acc = [0.0, 0.0, 0.0]
            for sy in (0.25, 0.75):
                for sx in (0.25, 0.75):
                    c = splash_sample(x + sx, y + sy)
                    for i in range(3):
                        acc[i] += c[i]
            out += bytes(int(round(v / 4)) for v in acc)
    return bytes(out)


# ---------------------------------------------------------------------------------------
# Sample wallpapers: landscapes of sky, sun, layered ridges and optional water, drawn at
# full size. Sky colours are kept per row and ridge heights per column, so a pixel costs
# a few comparisons and mixes; the grain that makes them look photographed is added by
# ImageMagick (make-samples.sh).

# name: sky stops, sun (x, y as fractions, radius, glow), ridges from far to near as
# (base fraction, [(amplitude, period, phase) as fractions of the height], top, foot),
# water line (fraction or None) and its tint.
SCENES = {
    'dawn': ([(0.0, (28, 40, 104)), (0.30, (92, 86, 160)), (0.55, (214, 124, 138)),
              (0.72, (252, 176, 112)), (1.0, (255, 214, 150))],
             (0.70, 0.56, 0.035, 0.22),
             [(0.55, [(0.05, 0.09, 1.3), (0.02, 0.03, 0.2), (0.006, 0.011, 2.0)],
               (150, 112, 160), (176, 128, 150)),
              (0.64, [(0.06, 0.13, 4.0), (0.025, 0.04, 1.1), (0.006, 0.012, 0.5)],
               (104, 80, 136), (118, 86, 128)),
              (0.75, [(0.07, 0.17, 0.7), (0.025, 0.05, 2.5), (0.005, 0.014, 1.3)],
               (60, 54, 98), (50, 48, 84)),
              (0.88, [(0.05, 0.11, 2.9), (0.02, 0.035, 0.4), (0.004, 0.009, 1.0)],
               (28, 30, 58), (18, 20, 40))],
             None, None),
    'lake': ([(0.0, (40, 96, 178)), (0.45, (120, 170, 222)), (1.0, (214, 232, 246))],
             (0.24, 0.20, 0.03, 0.12),
             [(0.40, [(0.10, 0.12, 0.4), (0.03, 0.035, 1.7), (0.008, 0.01, 0.3)],
               (176, 190, 214), (128, 146, 176)),
              (0.50, [(0.06, 0.16, 2.2), (0.02, 0.05, 0.9), (0.006, 0.013, 2.4)],
               (70, 104, 92), (44, 76, 62)),
              (0.58, [(0.02, 0.2, 1.0), (0.012, 0.006, 0.0), (0.01, 0.0031, 1.1)],
               (30, 62, 40), (22, 46, 30))],
             0.60, (40, 80, 110)),
    'dunes': ([(0.0, (30, 92, 176)), (0.6, (118, 176, 228)), (1.0, (232, 218, 196))],
              (0.80, 0.16, 0.025, 0.10),
              [(0.52, [(0.03, 0.2, 0.3), (0.01, 0.07, 1.2)], (222, 168, 110), (200, 140, 90)),
               (0.62, [(0.05, 0.15, 2.0), (0.015, 0.05, 0.3)], (236, 172, 104), (190, 118, 66)),
               (0.76, [(0.07, 0.22, 4.1), (0.02, 0.06, 2.2)], (244, 184, 112), (176, 104, 56)),
               (0.92, [(0.05, 0.3, 1.5), (0.015, 0.08, 0.7)], (238, 170, 96), (160, 92, 48))],
              None, None),
    'sea': ([(0.0, (22, 34, 80)), (0.40, (120, 80, 132)), (0.70, (236, 128, 96)),
             (1.0, (255, 196, 120))],
            (0.42, 0.62, 0.05, 0.25),
            [(0.60, [(0.012, 0.3, 0.5), (0.006, 0.06, 2.0)], (70, 50, 92), (60, 44, 80)),
             (0.93, [(0.04, 0.5, 3.0), (0.01, 0.04, 0.2)], (34, 24, 36), (20, 14, 22))],
            0.64, (60, 60, 110)),
    'forest': ([(0.0, (92, 140, 196)), (0.5, (176, 204, 226)), (1.0, (228, 236, 236))],
               (0.62, 0.14, 0.028, 0.16),
               [(0.42, [(0.06, 0.15, 0.8), (0.02, 0.05, 2.1)], (150, 176, 178), (140, 168, 166)),
                (0.52, [(0.05, 0.19, 2.7), (0.02, 0.06, 0.4), (0.008, 0.004, 0.0)],
                 (96, 134, 116), (86, 122, 104)),
                (0.64, [(0.05, 0.14, 1.6), (0.015, 0.005, 0.7), (0.01, 0.0023, 0.2)],
                 (52, 94, 64), (40, 78, 50)),
                (0.80, [(0.04, 0.2, 0.2), (0.025, 0.0042, 1.9), (0.015, 0.0019, 0.5)],
                 (26, 58, 34), (16, 40, 22))],
               None, None),
}


LIGHT_LEVELS = 32


def rgb(colour):
    return bytes(int(round(c)) for c in colour)


def wallpaper_ppm(scene, width, height):
    stops, sun, ridges, water, tint = SCENES[scene]
    sun_x, sun_y, sun_r, glow = sun[0] * width, sun[1] * height, sun[2] * height, sun[3] * height
    horizon = height if water is None else int(water * height)
    n = len(ridges)
    # Ridge tops per column, and how much a column's slope faces the sun (light level).
    tops, levels = [], []
    for base, waves, _, _ in ridges:
        row = [height * (base - sum(a * math.sin(x / (p * width) + ph) for a, p, ph in waves))
               for x in range(width + 1)]
        tops.append([int(t) for t in row[:width]])
        # The slope over a few dozen columns: the broad shape takes the light, not every
        # tree top (which would draw stripes).
        w = max(width // 80, 1)
        levels.append([int(clamp(0.5 + (row[max(x - w, 0)] - row[min(x + w, width)]) / (2 * w)
                                 * (1 if x < sun_x else -1) * 3) * (LIGHT_LEVELS - 1))
                       for x in range(width)])
    # Each ridge's colours by light level and depth below its top: a lookup per pixel.
    ramps = []
    for i, (base, _, top, foot) in enumerate(ridges):
        air = gradient(stops, base * height / max(horizon, 1))
        by_level = []
        for level in range(LIGHT_LEVELS):
            lit = level / (LIGHT_LEVELS - 1)
            ramp = []
            for depth in range(height + 1):
                c = mix(top, foot, clamp(depth / (0.25 * height)))
                # Sunlit and shaded flanks show most near the crest.
                c = mix(c, (255, 240, 214), 0.2 * lit * (1 - i / n) * (1 - clamp(depth / (0.12 * height))))
                c = mix(c, (20, 24, 48), 0.12 * (1 - lit) * (1 - clamp(depth / (0.12 * height))))
                # Air between the viewer and far ridges takes the sky's colour.
                ramp.append(rgb(mix(c, air, 0.35 * (1 - (i + 1) / n))))
            by_level.append(ramp)
        ramps.append(by_level)
    order = list(range(n - 1, -1, -1))
    rows = []
    for y in range(horizon):
        sky = gradient(stops, y / max(horizon, 1))
        sky_row = [rgb(sky)] * width
        reach = 2.2 * glow  # beyond it the glow adds less than one step of colour
        if abs(y - sun_y) < reach:
            half = math.sqrt(reach * reach - (y - sun_y) ** 2)
            for x in range(max(int(sun_x - half), 0), min(int(sun_x + half) + 1, width)):
                d = math.hypot(x - sun_x, y - sun_y)
                c = mix(sky, (255, 238, 196), 0.6 * math.exp(-(d / glow) ** 2))
                sky_row[x] = rgb(mix(c, (255, 248, 226), clamp(sun_r - d)))
        line = []
        for x in range(width):
            pixel = sky_row[x]
            for i in order:
                t = tops[i][x]
                if y >= t:
                    pixel = ramps[i][levels[i][x]][y - t]
                    break
            line.append(pixel)
        rows.append(b''.join(line))
    # Water mirrors what stands above the water line, rippled and fading into its tint.
    for y in range(horizon, height):
        away = y - horizon
        src = rows[max(horizon - 1 - away, 0)]
        shift = 3 * int(3 * math.sin(away * 0.9) * (1 + away / 40))
        src = src[shift:] + src[-3:] * (shift // 3) if shift >= 0 else src[:3] * (-shift // 3) + src[:shift]
        fade = clamp(0.45 + away / (2.0 * (height - horizon)))
        line = bytearray(src)
        for k in range(3):
            table = bytes(int(v + (tint[k] - v) * fade) for v in range(256))
            line[k::3] = src[k::3].translate(table)
        rows.append(bytes(line))
    return b'P6 %d %d 255\n' % (width, height) + b''.join(rows)


# ---------------------------------------------------------------------------------------

def write_atomically(path, data):
    """Replace path only once the whole file is written."""
    temp = path + '.tmp'
    with open(temp, 'wb') as f:
        f.write(data)
    os.replace(temp, path)


def main(argv):
    if len(argv) == 3 and argv[1] == 'icon':
        write_atomically(argv[2], ico_sizes())
    elif len(argv) == 3 and argv[1] == 'menu':
        write_atomically(argv[2], bmp24(menu_pixels()))
    elif len(argv) == 2 and argv[1] == 'splash-backdrop':
        sys.stdout.buffer.write(splash_ppm())
    elif len(argv) == 5 and argv[1] == 'wallpaper' and argv[2] in SCENES:
        sys.stdout.buffer.write(wallpaper_ppm(argv[2], int(argv[3]), int(argv[4])))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
