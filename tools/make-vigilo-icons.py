#!/usr/bin/env python3
"""Draws the companion's tray pictures (imgVigilo) and writes them as .ico files with 16, 24
and 32 pixel images: four frames of a globe with a green light circling it (connected) and a
grey globe crossed out in red (not connected). Also the program icon, the first frame with a
48 pixel image more for Explorer and the Start menu. Run once; the .ico files are committed.

usage: tools/make-vigilo-icons.py OUTPUT_DIR
"""
import math
import struct
import sys

SIZES = (16, 24, 32)
SUPERSAMPLE = 4
HARD_EDGES_UP_TO = 24


def globe(connected):
    body = (40, 110, 210) if connected else (150, 150, 150)
    rim = (15, 55, 130) if connected else (90, 90, 90)
    lines = (190, 225, 255) if connected else (215, 215, 215)

    def paint(x, y):
        # Coordinates in units of the icon: centre (0.5, 0.5).
        dx, dy = x - 0.5, y - 0.5
        r = math.hypot(dx, dy)
        if r > 0.40:
            return None
        if r > 0.355:
            return rim
        # A meridian ellipse, the equator and two parallels.
        if abs(math.hypot(dx / 0.16, dy / 0.355) - 1) < 0.12 or abs(dx) < 0.018:
            return lines
        if abs(dy) < 0.018 or abs(abs(dy) - 0.19) < 0.018:
            return lines
        return body
    return paint


def light(frame):
    # The light runs clockwise around the globe, starting at the top left.
    angle = math.radians(-45 + 90 * frame)
    cx, cy = 0.5 + 0.33 * math.sin(angle), 0.5 - 0.33 * math.cos(angle)

    def paint(x, y):
        d = math.hypot(x - cx, y - cy)
        if d < 0.10:
            return (120, 255, 60)
        if d < 0.15:
            return (20, 120, 20)
        return None
    return paint


def cross():
    def paint(x, y):
        on_a = abs((x - 0.5) - (y - 0.5)) < 0.10
        on_b = abs((x - 0.5) + (y - 0.5)) < 0.10
        inside = 0.12 < x < 0.88 and 0.12 < y < 0.88
        if inside and (on_a or on_b):
            return (220, 20, 20)
        border_a = abs((x - 0.5) - (y - 0.5)) < 0.15
        border_b = abs((x - 0.5) + (y - 0.5)) < 0.15
        if 0.08 < x < 0.92 and 0.08 < y < 0.92 and (border_a or border_b):
            return (255, 255, 255)
        return None
    return paint


def render(layers, size):
    """BGRA rows, top row first, each pixel the supersampled average of its layers.

    The small sizes get hard edges (a pixel is opaque or clear): a tray that draws the next
    picture over the last one without erasing would otherwise darken the soft edges."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for layer in layers:
                        c = layer(x, y)
                        if c is not None:
                            colour = c
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            coverage = a / (n * n)
            if size <= HARD_EDGES_UP_TO:
                coverage = 1.0 if coverage >= 0.5 else 0.0
            if coverage == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(b / a), round(g / a), round(r / a), round(255 * coverage)))
        rows.append(row)
    return rows


def bmp_entry(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_ico(path, layers, sizes=SIZES):
    images = [bmp_entry(render(layers, s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    out = sys.argv[1]
    for frame in range(4):
        write_ico(f"{out}/connected{frame + 1}.ico", [globe(True), light(frame)])
    write_ico(f"{out}/not-connected.ico", [globe(False), cross()])
    write_ico(f"{out}/vigilo.ico", [globe(True), light(0)], SIZES + (48,))


if __name__ == "__main__":
    main()
