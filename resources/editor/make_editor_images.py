#!/usr/bin/env python3
"""Draws the editor's carried pictures: the brush and eyedropper cursors (32 x 32, RGBA,
tips at their hot spots (8, 23) and (9, 24)) and the 256-colour chart (98 x 194) of the
tool window. Plain Python (zlib only), so the pictures can be remade anywhere:

    python3 resources/editor/make_editor_images.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png_chunk(kind, data):
    chunk = kind + data
    return struct.pack(">I", len(data)) + chunk + struct.pack(">I", zlib.crc32(chunk) & 0xFFFFFFFF)


def write_png(path, width, height, rows, colour_type, palette=None):
    bit_depth = 8
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette is not None:
        data += png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def segment_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / length2))
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return math.hypot(dx, dy)


def cursor(path, parts):
    """parts: (ax, ay, bx, by, radius, rgb) capsules drawn in order, each with a black rim."""
    size = 32
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for ax, ay, bx, by, radius, rgb in parts:
        for y in range(size):
            for x in range(size):
                d = segment_distance(x, y, ax, ay, bx, by)
                if d <= radius + 1.0:
                    pixels[y][x] = (0, 0, 0, 255) if d > radius else rgb + (255,)
    rows = [[c for px in row for c in px] for row in pixels]
    write_png(path, size, size, rows, 6)


def colour_chart(path):
    width, height = 98, 194
    palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    palette += [(round(i * 255 / 39),) * 3 for i in range(40)]

    def nearest(rgb):
        return min(range(len(palette)),
                   key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))

    cache = {}
    rows = []
    ramp_rows = 14
    for y in range(height):
        row = []
        for x in range(width):
            if y >= height - ramp_rows:
                level = round(255 * x / (width - 1))
                rgb = (level, level, level)
            else:
                hue = x / width
                # top: white, middle: the pure hue, bottom: black
                t = y / (height - ramp_rows - 1)
                r, g, b = hsv_to_rgb(hue)
                if t < 0.5:
                    k = t / 0.5
                    rgb = tuple(round(255 + (c - 255) * k) for c in (r, g, b))
                else:
                    k = (t - 0.5) / 0.5
                    rgb = tuple(round(c * (1 - k)) for c in (r, g, b))
            if rgb not in cache:
                cache[rgb] = nearest(rgb)
            row.append(cache[rgb])
        rows.append(row)
    write_png(path, width, height, rows, 3, palette)


def hsv_to_rgb(hue):
    h = hue * 6
    i = int(h) % 6
    f = h - int(h)
    q, t = round(255 * (1 - f)), round(255 * f)
    return [(255, t, 0), (q, 255, 0), (0, 255, t), (0, q, 255), (t, 0, 255), (255, 0, q)][i]


if __name__ == "__main__":
    # The brush: a wooden handle up and right of a dark tip that ends at (8, 23).
    cursor(os.path.join(HERE, "brush_cursor.png"), [
        (27, 4, 16, 15, 2.2, (196, 140, 70)),
        (16, 15, 13, 18, 2.6, (180, 180, 190)),
        (13, 18, 8.6, 22.4, 1.9, (40, 40, 40)),
    ])
    # The eyedropper: a rubber bulb, a glass tube, and the tip at (9, 24).
    cursor(os.path.join(HERE, "eyedropper_cursor.png"), [
        (26, 5, 23, 8, 3.2, (60, 60, 60)),
        (22, 10, 12, 20, 1.8, (235, 235, 240)),
        (12, 20, 9.6, 23.4, 0.9, (120, 120, 130)),
    ])
    colour_chart(os.path.join(HERE, "colour_chart.png"))
