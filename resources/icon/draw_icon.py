#!/usr/bin/env python3
"""Draws the program icon, two streams joining into one, and writes

  junctra.svg        the scalable icon,
  junctra-N.png      the icon in each size of SIZES, for the desktop and the
                     Qt window,
  junctra.ico        the icon for the Windows resources, 16 to 256 pixels,
  ../icon_data.h     the 32x32 PNG bytes for the built-in resources.

Only the standard library is used, so the output is the same everywhere.
Run it again after changing the drawing below: python3 draw_icon.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
SAMPLES = 8  # per pixel and axis, up to 32 pixels; fewer above, as pixels are finer
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
# Every size Windows picks from: the small and large icons at 100 to 200 %
# scaling, the Explorer views and the installer.
ICO_SIZES = [16, 20, 24, 32, 40, 48, 64, 96, 128, 256]

# The drawing, in a 32x32 coordinate space, back to front.
TILE = {"x": 1.5, "y": 1.5, "size": 29.0, "radius": 6.0, "color": (0x1F, 0x4E, 0x79)}
STREAMS = [
    # (cubic Bezier points, stroke width, colour)
    (((3.5, 8.0), (11.0, 8.0), (12.0, 16.0), (18.0, 16.0)), 4.2, (0x6C, 0xD4, 0xFF)),
    (((3.5, 24.0), (11.0, 24.0), (12.0, 16.0), (18.0, 16.0)), 4.2, (0xFF, 0xC8, 0x57)),
    (((16.0, 16.0), (21.0, 16.0), (24.0, 16.0), (28.5, 16.0)), 6.0, (0xF4, 0xF7, 0xFA)),
]


def bezier(points, steps=48):
    (x0, y0), (x1, y1), (x2, y2), (x3, y3) = points
    out = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u**3 * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t**3 * x3,
                    u**3 * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t**3 * y3))
    return out


def distance_to_polyline(px, py, line):
    best = float("inf")
    for (ax, ay), (bx, by) in zip(line, line[1:]):
        dx, dy = bx - ax, by - ay
        length = dx * dx + dy * dy
        t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
        cx, cy = ax + t * dx - px, ay + t * dy - py
        best = min(best, cx * cx + cy * cy)
    return best ** 0.5


def in_tile(px, py):
    x, y, s, r = TILE["x"], TILE["y"], TILE["size"], TILE["radius"]
    if not (x <= px <= x + s and y <= py <= y + s):
        return False
    cx = min(max(px, x + r), x + s - r)
    cy = min(max(py, y + r), y + s - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def render(size):
    """Rows of RGBA bytes, top to bottom, the drawing scaled to size pixels."""
    lines = [(bezier(points), width / 2, color) for points, width, color in STREAMS]
    # Each stream's bounding box, widened by its half width: most samples
    # lie outside, and the distance to a polyline is slow in Python.
    boxes = [(min(x for x, _ in line) - half, max(x for x, _ in line) + half,
              min(y for _, y in line) - half, max(y for _, y in line) + half)
             for line, half, _ in lines]
    samples = SAMPLES if size <= SIZE else max(2, SAMPLES * SIZE // size)
    scale = SIZE / size
    rows = []
    for j in range(size):
        row = bytearray()
        for i in range(size):
            r = g = b = a = 0.0
            for sj in range(samples):
                for si in range(samples):
                    px = (i + (si + 0.5) / samples) * scale
                    py = (j + (sj + 0.5) / samples) * scale
                    color = TILE["color"] if in_tile(px, py) else None
                    for (line, half, stream_color), (x0, x1, y0, y1) in zip(lines, boxes):
                        if (x0 <= px <= x1 and y0 <= py <= y1 and
                                distance_to_polyline(px, py, line) <= half):
                            color = stream_color
                    if color is not None:
                        r, g, b, a = r + color[0], g + color[1], b + color[2], a + 1
            n = samples * samples
            if a == 0:
                row += bytes(4)
            else:
                row += bytes([round(r / a), round(g / a), round(b / a), round(255 * a / n)])
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    size = len(rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    pixels = b"".join(b"\0" + row for row in rows)  # each row with filter "none"
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def ico(images):
    """An icon file of 32-bit bitmaps, one per (size, rows), in the form every
    Windows version reads: a BITMAPINFOHEADER of twice the height, the BGRA
    pixels bottom-up, then the 1-bit AND mask (set where fully transparent).
    The 256-pixel image is a PNG, as Windows Vista and later read it, a
    twentieth of the bitmap's size."""
    entries, bodies = [], []
    offset = 6 + 16 * len(images)
    for size, rows in images:
        if size >= 256:
            body = png(rows)
            entries.append(struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(body), offset))
            bodies.append(body)
            offset += len(body)
            continue
        mask_stride = (size + 31) // 32 * 4
        pixels, mask = bytearray(), bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for i in range(size):
                r, g, b, a = row[4 * i:4 * i + 4]
                pixels += bytes([b, g, r, a])
                if a == 0:
                    bits[i // 8] |= 0x80 >> (i % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                             len(pixels) + len(mask), 0, 0, 0, 0)
        body = header + pixels + mask
        entries.append(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(body), offset))
        bodies.append(body)
        offset += len(body)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(bodies)


def svg():
    def hex_color(c):
        return "#%02x%02x%02x" % c

    t = TILE
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
        '  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>' %
        (t["x"], t["y"], t["size"], t["size"], t["radius"], hex_color(t["color"])),
    ]
    for points, width, color in STREAMS:
        (x0, y0), (x1, y1), (x2, y2), (x3, y3) = points
        parts.append('  <path d="M%g %g C%g %g %g %g %g %g" fill="none" stroke="%s" '
                     'stroke-width="%g" stroke-linecap="butt"/>' %
                     (x0, y0, x1, y1, x2, y2, x3, y3, hex_color(color), width))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def header(data):
    lines = ["// Icon 128 as PNG bytes, drawn by resources/icon/draw_icon.py; do not edit.",
             "#pragma once", "", "inline constexpr unsigned char kJunctraIconPng[] = {"]
    for start in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02x" % byte for byte in data[start:start + 16]) + ",")
    lines.append("};")
    return "\n".join(lines) + "\n"


def main():
    large = render(SIZE)
    data = png(large)
    for size in SIZES:
        with open(os.path.join(HERE, "junctra-%d.png" % size), "wb") as f:
            f.write(data if size == SIZE else png(render(size)))
    with open(os.path.join(HERE, "junctra.ico"), "wb") as f:
        f.write(ico([(size, large if size == SIZE else render(size)) for size in ICO_SIZES]))
    with open(os.path.join(HERE, "junctra.svg"), "w") as f:
        f.write(svg())
    with open(os.path.join(HERE, "..", "icon_data.h"), "w") as f:
        f.write(header(data))


if __name__ == "__main__":
    main()
