#!/usr/bin/env python3
"""Draw the Tolvarin icon (clock face with a launch arrow) and write a .ico.

Usage: python3 tools/make_icon.py res/tolvarin.ico

Stdlib only. Each image is a 32-bit BGRA DIB with an AND mask, the form
every resource compiler and Windows version accepts. Output is byte-for-byte
deterministic so the committed icon can be regenerated and compared.
"""

import math
import struct
import sys

SIZES = (16, 32, 48)
SUPERSAMPLE = 4  # per axis; cheap anti-aliasing without any image library

RIM = (0x1F, 0x3A, 0x5F)    # dark blue
FACE = (0xF4, 0xF1, 0xE8)   # warm white
TICK = (0x1F, 0x3A, 0x5F)
HAND = (0x20, 0x20, 0x20)
ARROW = (0x2E, 0x9E, 0x4F)  # green
ARROW_EDGE = (0x14, 0x5A, 0x2A)


def seg_dist(px, py, ax, ay, bx, by):
    """Distance from point to segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    ex, ey = ax + t * dx - px, ay + t * dy - py
    return math.hypot(ex, ey)


def inside_poly(px, py, pts):
    """Even-odd point-in-polygon test."""
    inside = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            if px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
    return inside


def poly_edge_dist(px, py, pts):
    n = len(pts)
    return min(seg_dist(px, py, *pts[i], *pts[(i + 1) % n]) for i in range(n))


# Geometry in unit coordinates (0..1, y down). Clock sits upper-left so the
# arrow in the lower-right corner reads as "then launch".
CENTRE, R = 0.44, 0.42
RIM_W = 0.075
ARROW_PTS = [(0.56, 0.52), (0.97, 0.76), (0.56, 1.00)]


def sample(x, y, size):
    """Colour (r, g, b) or None for transparent at unit point (x, y)."""
    # Line widths must stay visible at 16 px, so never below ~1.1 pixels.
    px = 1.0 / size
    # Centre on a pixel centre so the vertical hand stays crisp, not smeared.
    cx = cy = (round(CENTRE * size - 0.5) + 0.5) / size
    hand_w = max(0.045, 1.1 * px)
    tick_w = max(0.03, 0.9 * px)

    if inside_poly(x, y, ARROW_PTS):
        if poly_edge_dist(x, y, ARROW_PTS) < max(0.035, 0.9 * px):
            return ARROW_EDGE
        return ARROW

    d = math.hypot(x - cx, y - cy)
    if d > R:
        return None
    if d > R - max(RIM_W, 1.5 * px):
        return RIM

    # Hour ticks only where there is room for them.
    if size >= 32:
        for k in range(12):
            a = k * math.pi / 6
            ca, sa = math.sin(a), -math.cos(a)
            inner = R - RIM_W - (0.09 if k % 3 == 0 else 0.05)
            outer = R - RIM_W - 0.01
            if seg_dist(x, y, cx + ca * inner, cy + sa * inner,
                        cx + ca * outer, cy + sa * outer) < tick_w / 2:
                return TICK

    # Hands: minute at 12, hour at 4 o'clock.
    if seg_dist(x, y, cx, cy, cx, cy - 0.27) < hand_w / 2:
        return HAND
    a = 4 * math.pi / 6
    if seg_dist(x, y, cx, cy, cx + math.sin(a) * 0.19,
                cy - math.cos(a) * 0.19) < hand_w / 2:
        return HAND
    if d < max(0.05, 1.2 * px):
        return HAND
    return FACE


def render(size):
    """Return rows (top first) of (b, g, r, a) tuples."""
    n = SUPERSAMPLE
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            acc_r = acc_g = acc_b = cover = 0
            for sj in range(n):
                for si in range(n):
                    c = sample((i + (si + 0.5) / n) / size,
                               (j + (sj + 0.5) / n) / size, size)
                    if c is not None:
                        acc_r += c[0]
                        acc_g += c[1]
                        acc_b += c[2]
                        cover += 1
            if cover == 0:
                row.append((0, 0, 0, 0))
            else:
                # Straight (non-premultiplied) alpha, as icons expect.
                row.append((acc_b // cover, acc_g // cover, acc_r // cover,
                            (cover * 255 + n * n // 2) // (n * n)))
        rows.append(row)
    return rows


def dib(size, rows):
    """BITMAPINFOHEADER + bottom-up BGRA XOR bitmap + 1 bpp AND mask."""
    xor = bytearray()
    for row in reversed(rows):
        for b, g, r, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a < 128:  # transparent for readers that ignore alpha
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def build_ico():
    images = [dib(s, render(s)) for s in SIZES]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_icon.py OUTPUT.ico\n')
        return 2
    with open(argv[1], 'wb') as f:
        f.write(build_ico())
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
