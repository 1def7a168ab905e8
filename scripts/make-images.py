#!/usr/bin/env python3
"""Writes the sample pictures shipped in data/image/.

Every byte is built here from the file formats' record layouts, so the
pictures belong to this project:

  tiles.bmp    24-bit bitmap, 160 x 120, four coloured quarters and a frame
  zelvan.ico   32 x 32 icon with a 32-bit colour image and its mask
  shapes.wmf   placeable metafile, 256 x 192 pixels at 96 dpi:
               red rectangle on the left, blue ellipse on the right
  shapes.emf   enhanced metafile, 240 x 192 pixels at 96 dpi:
               blue rectangle on the left, red ellipse on the right,
               green triangle in the lower left corner

Usage: make-images.py [OUTPUT_FOLDER]   (default: data/image beside scripts/)
"""
import os
import struct
import sys


def bgr(r, g, b):
    return bytes((b, g, r))


def colorref(r, g, b):
    return r | (g << 8) | (b << 16)


# ---------------------------------------------------------------- bitmap
def make_bmp(width=160, height=120):
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            if x < 4 or y < 4 or x >= width - 4 or y >= height - 4:
                row += bgr(0, 0, 0)
            elif y < height // 2:
                row += bgr(220, 40, 40) if x < width // 2 else bgr(40, 160, 60)
            else:
                row += bgr(40, 70, 200) if x < width // 2 else bgr(240, 200, 40)
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


# ------------------------------------------------------------------ icon
def make_ico(size=32):
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            dx, dy = x - size / 2 + 0.5, y - size / 2 + 0.5
            inside = dx * dx + dy * dy <= (size / 2 - 1) ** 2
            if not inside:
                xor += bytes((0, 0, 0, 0))
            elif abs(dx) < 4 or abs(dy) < 4:
                xor += bytes((255, 255, 255, 255))
            else:
                xor += bytes((30, 30, 200, 255))  # BGRA: red disc
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)  # alpha channel does the masking
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + bytes(xor) + and_mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


# ------------------------------------------------------- Windows metafile
def wmf_record(function, *words):
    words = [w & 0xFFFF for w in words]
    return struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dH" % len(words), *words)


def make_wmf():
    inch = 1440
    width, height = 3840, 2880  # logical units (twips): 256 x 192 pixels at 96 dpi
    records = [
        wmf_record(0x020B, 0, 0),  # SETWINDOWORG(y, x)
        wmf_record(0x020C, height, width),  # SETWINDOWEXT(y, x)
        # Objects: 0 null pen, 1 white brush, 2 red brush, 3 blue brush
        wmf_record(0x02FA, 5, 0, 0, 0, 0),  # CREATEPENINDIRECT: PS_NULL
    ]

    def brush(r, g, b):
        c = colorref(r, g, b)
        return wmf_record(0x02FC, 0, c & 0xFFFF, c >> 16, 0)  # BS_SOLID

    records += [brush(255, 255, 255), brush(220, 30, 30), brush(30, 60, 220)]
    records += [
        wmf_record(0x012D, 0),  # SELECTOBJECT null pen
        wmf_record(0x012D, 1),  # white brush
        wmf_record(0x041B, height, width, 0, 0),  # RECTANGLE(bottom, right, top, left)
        wmf_record(0x012D, 2),  # red brush
        wmf_record(0x041B, 2400, 1680, 480, 240),
        wmf_record(0x012D, 3),  # blue brush
        wmf_record(0x0418, 2400, 3600, 480, 2160),  # ELLIPSE(bottom, right, top, left)
        wmf_record(0x0000),  # end of file
    ]
    body = b"".join(records)
    num_objects = 4
    max_record = max(len(r) for r in records) // 2
    meta_header = struct.pack("<HHHIHIH", 1, 9, 0x0300, 9 + len(body) // 2, num_objects, max_record, 0)
    fields = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, width, height, inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", fields[:20]):
        checksum ^= word
    placeable = fields[:20] + struct.pack("<H", checksum)
    return placeable + meta_header + body


# ----------------------------------------------------- enhanced metafile
def emr(kind, payload):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def make_emf():
    width, height = 240, 192  # pixels; the reference device below is 96 dpi
    null_pen = 0x80000008
    records = []

    def brush(index, r, g, b):
        records.append(emr(39, struct.pack("<IIII", index, 0, colorref(r, g, b), 0)))  # CREATEBRUSHINDIRECT

    def select(index):
        records.append(emr(37, struct.pack("<I", index)))  # SELECTOBJECT

    brush(1, 255, 255, 255)
    brush(2, 30, 60, 220)
    brush(3, 220, 30, 30)
    brush(4, 30, 170, 60)
    select(null_pen)
    select(1)
    records.append(emr(43, struct.pack("<iiii", 0, 0, width, height)))  # RECTANGLE (background)
    select(2)
    records.append(emr(43, struct.pack("<iiii", 16, 16, 104, 112)))  # blue rectangle
    select(3)
    records.append(emr(42, struct.pack("<iiii", 128, 24, 224, 120)))  # ELLIPSE, red
    select(4)
    points = [(16, 176), (104, 176), (16, 128)]
    poly = struct.pack("<iiiiI", 16, 128, 104, 176, len(points))
    poly += b"".join(struct.pack("<hh", x, y) for x, y in points)
    records.append(emr(86, poly))  # POLYGON16, green
    for index in (1, 2, 3, 4):
        records.append(emr(40, struct.pack("<I", index)))  # DELETEOBJECT
    records.append(emr(14, struct.pack("<III", 0, 16, 20)))  # EOF

    description = "glimpse sample\0shapes\0\0".encode("utf-16-le")
    padding = b"\0" * (-len(description) % 4)  # records are whole multiples of 4 bytes
    header_size = 108
    body = b"".join(records)
    total = header_size + len(description) + len(padding) + len(body)
    frame = (0, 0, width * 2540 // 96, height * 2540 // 96)  # 0.01 mm
    header = struct.pack(
        "<iiii iiii IIIIHHIIIiiii IIIii",
        0, 0, width - 1, height - 1,  # bounds in device pixels, inclusive
        *frame,
        0x464D4520, 0x10000, total, len(records) + 1, 5, 0,
        len(description) // 2, header_size, 0,
        1920, 1440, 508, 381,  # reference device: pixels and millimetres (96 dpi)
        0, 0, 0,  # no pixel format, no OpenGL
        508000, 381000,  # device size in micrometres
    )
    return emr(1, header + description + padding) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "image")
    os.makedirs(out, exist_ok=True)
    files = {
        "tiles.bmp": make_bmp(),
        "zelvan.ico": make_ico(),
        "shapes.wmf": make_wmf(),
        "shapes.emf": make_emf(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print("wrote", os.path.join(out, name), len(data), "bytes")


if __name__ == "__main__":
    main()
