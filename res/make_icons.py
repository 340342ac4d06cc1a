#!/usr/bin/env python3
"""Writes brisa.ico: a white loudspeaker with sound waves on a blue tile, in full colour.

The picture is drawn from shapes given as signed distance functions (negative inside), so every
size is anti-aliased from the same outlines; at each size the tile and the loudspeaker's straight
edges fall on whole pixels, which keeps 16 px crisp. The icon holds 16 to 40 px as 32-bit DIBs
with an AND mask, as every Windows reads them, and 48 px and up as PNG, as Windows from Vista on
reads them: a tenth of the DIB's bytes, and the icon is carried by every Brisa.exe.

    make_icons.py                 writes brisa.ico beside this script
    make_icons.py --preview DIR   also writes DIR/brisa-N.png for each size, and DIR/sheet.png
                                  with the sizes up to 64 px enlarged to see their pixels
"""
import math
import os
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
TILE_TOP, TILE_BOTTOM = (0x2E, 0xA6, 0xF2), (0x17, 0x5E, 0xD8)
INK = (0xFF, 0xFF, 0xFF)
WAVE_SPREAD = math.radians(52)  # each wave reaches this far above and below the axis


def rounded_box(x, y, x0, y0, x1, y1, r):
    qx = abs(x - (x0 + x1) / 2) - (x1 - x0) / 2 + r
    qy = abs(y - (y0 + y1) / 2) - (y1 - y0) / 2 + r
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def polygon(x, y, points):
    """Distance to a closed polygon: to its nearest edge, negative inside (even-odd)."""
    d, inside = float('inf'), False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        d = min(d, math.hypot(wx - ex * t, wy - ey * t))
        if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
            inside = not inside
    return -d if inside else d


def arc(x, y, cx, cy, radius, half_angle, width):
    """A stroke along a circle's arc that opens to the right, with round ends."""
    dx, dy = x - cx, y - cy
    if abs(math.atan2(dy, dx)) <= half_angle:
        d = abs(math.hypot(dx, dy) - radius)
    else:
        ex, ey = radius * math.cos(half_angle), math.copysign(radius * math.sin(half_angle), dy)
        d = math.hypot(dx - ex, dy - ey)
    return d - width / 2


def inset(points, r):
    """The polygon (clockwise on screen) with every edge moved r inwards."""
    out = []
    for a, b, c in zip(points[-1:] + points[:-1], points, points[1:] + points[:1]):
        normals = []
        for (px, py), (qx, qy) in ((a, b), (b, c)):
            length = math.hypot(qx - px, qy - py)
            normals.append((-(qy - py) / length, (qx - px) / length))
        (ux, uy), (vx, vy) = normals
        k = r / (1 + ux * vx + uy * vy)
        out.append((b[0] + k * (ux + vx), b[1] + k * (uy + vy)))
    return out


def draw(n):
    """Returns n rows of n (r, g, b, a) pixels."""
    s = n / 16  # the outlines are laid out on a 16-unit grid, centred at (8, 8)
    snap = lambda v: math.floor(v * s + 0.5)  # straight edges and wave rims on whole pixels
    mid = n // 2
    margin = snap(0.5) if n > 16 else 0  # at 16 px every pixel counts
    tile = (margin, margin, n - margin, n - margin, max(2.0, 3 * s))
    # Corners rounded where there are pixels enough to show it.
    r = 0.5 * s if n >= 32 else 0
    speaker = inset([(snap(2), mid - snap(2)), (snap(5), mid - snap(2)), (snap(8), mid - snap(5)),
                     (snap(8), mid + snap(5)), (snap(5), mid + snap(2)), (snap(2), mid + snap(2))],
                    r)
    # Each wave's rims on whole pixels, its width and the gaps snapped on their own, so that
    # rounding never squeezes one gap and widens the next.
    width = max(1, snap(1.25))
    first = snap(1.75)
    waves = [first + width / 2, first + width + snap(1.5) + width / 2]
    rows = []
    for j in range(n):
        y = j + 0.5
        down = (y - margin) / (n - 2 * margin)
        tint = [round(a + (b - a) * down) for a, b in zip(TILE_TOP, TILE_BOTTOM)]
        row = []
        for i in range(n):
            x = i + 0.5
            back = max(0.0, min(1.0, 0.5 - rounded_box(x, y, *tile)))
            if back == 0:
                row.append((0, 0, 0, 0))
                continue
            d = polygon(x, y, speaker) - r
            for radius in waves:
                d = min(d, arc(x, y, snap(8), mid, radius, WAVE_SPREAD, width))
            ink = max(0.0, min(1.0, 0.5 - d))
            rgb = tuple(round(t + (w - t) * ink) for t, w in zip(tint, INK))
            row.append(rgb + (round(255 * back),))
        rows.append(row)
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack(
            '>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def dib(rows):
    """BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up, then the AND mask."""
    n = len(rows)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = b''
    for row in reversed(rows):
        bits = int(''.join('1' if px[3] == 0 else '0' for px in row), 2)
        line = bits.to_bytes((n + 7) // 8, 'big')
        mask += line + bytes(-len(line) % 4)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + mask


def icon(pictures):
    images = [png(rows) if len(rows) >= 48 else dib(rows) for rows in pictures]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    for rows, image in zip(pictures, images):
        n = len(rows) % 256  # 0 stands for 256
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


def sheet(pictures, shown=192):
    """The sizes up to 64 px side by side, each enlarged to about `shown` pixels with its pixels
    kept square, on a light and a dark band, as Explorer and a dark taskbar show them."""
    pictures = [rows for rows in pictures if len(rows) <= 64]
    gap = 8
    width = sum(shown // len(rows) * len(rows) + gap for rows in pictures) + gap
    band = shown + 2 * gap
    out = []
    for ground in ((0xF3, 0xF3, 0xF3), (0x20, 0x20, 0x20)):
        canvas = [[ground + (255,)] * width for _ in range(band)]
        left = gap
        for rows in pictures:
            zoom = shown // len(rows)
            for j, row in enumerate(rows):
                for i, (r, g, b, a) in enumerate(row):
                    px = tuple(round(c * a / 255 + k * (255 - a) / 255)
                               for c, k in zip((r, g, b), ground)) + (255,)
                    for y in range(gap + j * zoom, gap + (j + 1) * zoom):
                        canvas[y][left + i * zoom:left + (i + 1) * zoom] = [px] * zoom
            left += len(rows) * zoom + gap
        out += canvas
    return out


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    pictures = [draw(n) for n in SIZES]
    write(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'brisa.ico'), icon(pictures))
    if sys.argv[1:2] == ['--preview']:
        for rows in pictures:
            write(os.path.join(sys.argv[2], 'brisa-%d.png' % len(rows)), png(rows))
        write(os.path.join(sys.argv[2], 'sheet.png'), png(sheet(pictures)))
