#!/usr/bin/env python3
"""Writes the characters shipped in data/usr/.

Every face is drawn here from simple shapes (circles, ellipses, polygons,
thick lines) and written as a Windows bitmap, so the pictures belong to this
project:

  _default/_default.bmp, _default/_16.bmp   the faces used when a character has none
  <name>/<name>.bmp   48 x 48, 24-bit colour, smoothed edges
  <name>/_16.bmp      48 x 48, 4-bit, the 16 standard colours
  <name>/<name>.cha   one-line description (CP932, CR LF)
  <name>/<name>.pf    the character's playing style (CP932, CR LF)

for the three default opponents _todo, _min and _wizard.

Usage: make-faces.py [OUTPUT_FOLDER]   (default: data/usr beside scripts/)
"""
import math
import os
import struct
import sys

SIZE = 48
SUPER = 4  # samples per pixel edge for the full-colour faces

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel units (0..48).
def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def arc(cx, cy, r, width, start, end):
    """Part of a ring between two angles in degrees (0 = right, 90 = down)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return start <= a <= end
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def star(cx, cy, r):
    points = []
    for k in range(10):
        radius = r if k % 2 == 0 else r * 0.45
        angle = math.radians(-90 + k * 36)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return polygon(points)


# ---------------------------------------------------------------- faces
# Each face is a background colour and a list of (shape, full colour,
# 16-colour index), painted in order.
def face_default():
    grey, light = (150, 150, 160), 8
    return (200, 204, 212), 7, [
        (ellipse(24, 50, 19, 14), grey, light),
        (circle(24, 20, 11), grey, light),
        (arc(24, 17, 4.5, 2.6, 180, 360), (240, 240, 240), 15),
        (arc(24, 17, 4.5, 2.6, 0, 70), (240, 240, 240), 15),
        (segment(25.5, 21, 24, 24, 2.6), (240, 240, 240), 15),
        (circle(24, 28, 1.5), (240, 240, 240), 15),
    ]


def face_todo():
    brown, snout = (139, 94, 60), (196, 160, 120)
    shapes = [
        (ellipse(24, 30, 20, 19), brown, 1),
        (ellipse(24, 16, 15, 13), brown, 1),
        (circle(16, 17, 2.6), (20, 20, 20), 0),
        (circle(32, 17, 2.6), (20, 20, 20), 0),
        (circle(16.8, 16.2, 0.9), (255, 255, 255), 15),
        (circle(32.8, 16.2, 0.9), (255, 255, 255), 15),
        (ellipse(24, 28, 10, 7), snout, 7),
        (ellipse(24, 24.5, 3.6, 2.4), (30, 20, 20), 0),
        (segment(24, 26, 24, 30, 1.2), (60, 40, 30), 0),
        (arc(24, 27, 4, 1.2, 30, 150), (60, 40, 30), 0),
    ]
    for dy in (-2, 1, 4):
        shapes.append((segment(15, 28 + dy * 0.6, 4, 26 + dy * 1.5, 0.9), (40, 40, 40), 0))
        shapes.append((segment(33, 28 + dy * 0.6, 44, 26 + dy * 1.5, 0.9), (40, 40, 40), 0))
    return (150, 200, 235), 14, shapes


def face_min():
    skin, hair = (250, 214, 180), (40, 30, 30)
    return (250, 236, 160), 11, [
        (ellipse(24, 40, 20, 14), (200, 40, 60), 9),
        (ellipse(24, 22, 16, 17), hair, 0),
        (ellipse(24, 25, 12, 14), skin, 15),
        (polygon([(11, 18), (37, 18), (36, 13), (24, 8), (12, 13)]), hair, 0),
        (segment(13, 17, 19, 20, 2.5), hair, 0),
        (segment(35, 17, 29, 20, 2.5), hair, 0),
        (circle(19, 25, 2.0), (30, 30, 60), 4),
        (circle(29, 25, 2.0), (30, 30, 60), 4),
        (circle(19.6, 24.4, 0.7), (255, 255, 255), 15),
        (circle(29.6, 24.4, 0.7), (255, 255, 255), 15),
        (ellipse(16, 30, 2.4, 1.4), (245, 160, 150), 13),
        (ellipse(32, 30, 2.4, 1.4), (245, 160, 150), 13),
        (arc(24, 29, 4.5, 1.4, 30, 150), (170, 50, 50), 1),
    ]


def face_wizard():
    hat, skin, beard = (110, 50, 160), (240, 200, 170), (245, 245, 245)
    return (30, 40, 90), 4, [
        (star(7, 9, 3.5), (255, 230, 80), 11),
        (star(42, 30, 2.5), (255, 230, 80), 11),
        (ellipse(24, 27, 11, 11), skin, 7),
        (polygon([(12, 46), (36, 46), (37, 31), (30, 35), (24, 33), (18, 35), (11, 31)]), beard, 15),
        (ellipse(24, 41, 12, 7), beard, 15),
        (polygon([(10, 19), (38, 19), (27, 1), (22, 5)]), hat, 5),
        (ellipse(24, 19, 17, 3.5), hat, 5),
        (both(ellipse(24, 19, 17, 3.5), rect(0, 18.5, 48, 20)), (160, 100, 210), 13),
        (star(25, 11, 3), (255, 230, 80), 11),
        (segment(17, 24, 21, 24, 1.4), (80, 80, 80), 8),
        (segment(27, 24, 31, 24, 1.4), (80, 80, 80), 8),
        (circle(19.5, 26.5, 1.5), (20, 20, 20), 0),
        (circle(28.5, 26.5, 1.5), (20, 20, 20), 0),
        (ellipse(24, 30.5, 2.2, 2.6), (225, 160, 140), 1),
        (segment(20, 34, 28, 34, 1.3), (160, 160, 160), 8),
    ]


# ---------------------------------------------------------------- bitmaps
def colour_at(background, shapes, x, y):
    colour = background
    for shape, full, _ in shapes:
        if shape(x, y):
            colour = full
    return colour


def index_at(background, shapes, x, y):
    index = background
    for shape, _, low in shapes:
        if shape(x, y):
            index = low
    return index


def bmp(width, height, bits, pixel_rows, palette=b""):
    header_size = 14 + 40 + len(palette)
    pixels = b"".join(pixel_rows)
    colours = len(palette) // 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, colours, 0)
    header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return header + info + palette + pixels


def full_colour(face):
    (background, _, shapes) = face
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(SIZE):
            total = [0, 0, 0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    c = colour_at(background, shapes, x + (sx + 0.5) / SUPER, y + (sy + 0.5) / SUPER)
                    for k in range(3):
                        total[k] += c[k]
            r, g, b = (round(t / (SUPER * SUPER)) for t in total)
            row += bytes((b, g, r))
        row += b"\0" * ((-len(row)) % 4)
        rows.append(bytes(row))
    return bmp(SIZE, SIZE, 24, rows)


def sixteen_colour(face):
    (_, background, shapes) = face
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in VGA16)
    rows = []
    for y in range(SIZE - 1, -1, -1):
        indices = [index_at(background, shapes, x + 0.5, y + 0.5) for x in range(SIZE)]
        row = bytearray((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        row += b"\0" * ((-len(row)) % 4)
        rows.append(bytes(row))
    return bmp(SIZE, SIZE, 4, rows, palette)


# ---------------------------------------------------------------- texts
def text_file(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


# Keys in the order the character maker writes them; NumberPrefer rides on
# the second "zone" line.
def personal_file(p, name):
    shapes = ["yaku", "chitoi", "kokushi", "toitoi", "tanyao"]
    middle = ["kyusyu", "random", "dora", "color", "suji", "zone", "deep", "reach", "kan", "pon", "tie",
              "yomi"]
    lines = ["#!/bin/sh", "# zelvan personal file", "", ""]
    lines += ["param: %s = %d" % (k, p[k]) for k in shapes]
    lines += ["param: %s = %d" % (k, p[k]) for k in middle]
    lines.append("param: zone = %d" % p["number"])
    lines.append("param: tsuyoki = %d" % p["tsuyoki"])
    lines += ["param: %s = %d" % (k, p[k]) for k in shapes[1:] + shapes[:1]]
    lines.append("param: noisy = 0")
    lines.append("param: name = " + name)
    lines.append("")
    return text_file(lines)


DEFAULTS = dict(yaku=1000, chitoi=0, kokushi=700, toitoi=1000, tanyao=1000, kyusyu=700, random=50, dora=100,
                color=300, suji=100, zone=300, deep=500, reach=700, kan=0, pon=50, tie=200, yomi=500,
                number=300, tsuyoki=200)

CHARACTERS = {
    "_todo": (face_todo, "トド", "のんびり屋のトド。鳴いて鳴いて、とにかく早くあがりたい。",
              dict(pon=450, tie=400, kan=150, reach=600, yomi=250, random=120, yaku=600, tanyao=1000,
                   toitoi=800, tsuyoki=350)),
    "_min": (face_min, "ミン", "慎重派のミン。守りが固く、危ない牌はめったに切らない。",
             dict(pon=30, tie=60, reach=450, yomi=950, random=30, suji=300, tsuyoki=60, deep=600)),
    "_wizard": (face_wizard, "ウィザード", "大物手を夢見る老魔法使い。国士無双の呪文を唱え続ける。",
                dict(kokushi=1000, chitoi=600, toitoi=1000, dora=350, color=600, zone=400, number=400,
                     reach=800, kan=300, pon=120, tie=40, yomi=400, tsuyoki=500, kyusyu=0)),
}


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "usr")
    default = face_default()
    write(os.path.join(out, "_default", "_default.bmp"), full_colour(default))
    write(os.path.join(out, "_default", "_16.bmp"), sixteen_colour(default))
    for name, (draw, display, description, params) in CHARACTERS.items():
        face = draw()
        folder = os.path.join(out, name)
        write(os.path.join(folder, name + ".bmp"), full_colour(face))
        write(os.path.join(folder, "_16.bmp"), sixteen_colour(face))
        write(os.path.join(folder, name + ".cha"), text_file([description]))
        write(os.path.join(folder, name + ".pf"), personal_file(dict(DEFAULTS, **params), display))


if __name__ == "__main__":
    main()
