#!/usr/bin/env python3
"""Draws Brisko's icon (two interlocked chain links) and writes brisko.ico.

The file holds three images, in this order:
  32x32, 4 bits per pixel (16 colours, the standard Windows palette)
  16x16, 8 bits per pixel (256-colour palette)
  32x32, 8 bits per pixel (256-colour palette)

The picture is computed, not drawn by hand: each link is a rounded ring (the
outline of a capsule) at 45 degrees; the two rings are interlocked, each one
passing over the other at one crossing. Every pixel is sampled on a 4x4 grid,
so the output depends on nothing but this file: running it twice gives the
same bytes (standard library only).

Usage:
  make_icon.py [OUTPUT]         write the icon (default: brisko.ico beside this file)
  make_icon.py --check [FILE]   exit 1 when FILE differs from what this script writes
"""

import math
import os
import struct
import sys

# --- geometry -----------------------------------------------------------------
# Coordinates are in a unit square: x to the right, y downwards, (0,0) top left.
# A link is a capsule outline: the points at distance RADIUS from the segment
# (a, b), thickened by HALF_WIDTH on both sides.
RADIUS = 0.155
HALF_WIDTH = 0.055
OUTLINE = 0.022  # dark rim inside the ring's edge (in unit lengths)

# The two links lie on the diagonal from bottom left to top right and overlap
# in the middle, as two links of a chain do.
LINK_A = ((0.20, 0.80), (0.48, 0.52))  # bottom left
LINK_B = ((0.52, 0.48), (0.80, 0.20))  # top right


def _segment_distance(px, py, a, b):
    """Distance from (px, py) to segment a-b, and the position t (0..1) along it."""
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy), t


def _ring(px, py, link):
    """(inside, depth) of the ring of `link` at (px, py).

    depth is 0 at the ring's centre line and 1 at its edge; it drives shading
    (a tube lit from the top left) and the dark outline.
    """
    dist, _ = _segment_distance(px, py, link[0], link[1])
    off = abs(dist - RADIUS)
    if off > HALF_WIDTH:
        return False, 1.0
    return True, off / HALF_WIDTH


def _on_top(px, py):
    """Which link is drawn at a crossing: 'A' or 'B'.

    The links cross twice, once on each side of the diagonal. Link B passes
    over A on the upper-left crossing and under it on the lower-right one, so
    the two rings read as interlocked rather than stacked.
    """
    # Signed side of the diagonal x + y = 1 (upper left is negative).
    return "B" if (px + py) < 1.0 else "A"


def sample(px, py):
    """What covers point (px, py): (link, shade 0..1, rim) or None."""
    in_a, depth_a = _ring(px, py, LINK_A)
    in_b, depth_b = _ring(px, py, LINK_B)
    if in_a and in_b:
        which = _on_top(px, py)
    elif in_a:
        which = "A"
    elif in_b:
        which = "B"
    else:
        return None
    depth = depth_a if which == "A" else depth_b
    rim = depth * HALF_WIDTH > HALF_WIDTH - OUTLINE
    # Light from the top left: brighter on the side of the tube facing it.
    light = 0.5 + 0.5 * (1.0 - depth) - 0.25 * (px + py - 1.0)
    return which, max(0.0, min(1.0, light)), rim


def render(size):
    """A size x size grid of (link, shade, rim) or None, sampled 4x4 per pixel."""
    grid = []
    n = 4
    for y in range(size):
        row = []
        for x in range(size):
            votes = {}
            shade_sum = {}
            rims = {}
            for sy in range(n):
                for sx in range(n):
                    px = (x + (sx + 0.5) / n) / size
                    py = (y + (sy + 0.5) / n) / size
                    s = sample(px, py)
                    key = s[0] if s else None
                    votes[key] = votes.get(key, 0) + 1
                    if s:
                        shade_sum[key] = shade_sum.get(key, 0.0) + s[1]
                        rims[key] = rims.get(key, 0) + (1 if s[2] else 0)
            # Majority vote, ties resolved towards the link (sorted for determinism).
            best = max(sorted(votes, key=lambda k: (k is None, k or "")),
                       key=lambda k: (votes[k], k is not None))
            if best is None:
                row.append(None)
            else:
                count = votes[best]
                row.append((best, shade_sum[best] / count, rims[best] * 2 > count))
        grid.append(row)
    return grid


# --- colours ------------------------------------------------------------------
# The standard 16-colour Windows palette (RGB).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Link A is blue steel, link B brass; each has a dark rim and three shades in
# 16 colours, and a 100-step ramp in 256 colours.
BASE_A = ((20, 50, 110), (120, 180, 255))   # dark, light
BASE_B = ((110, 70, 0), (255, 215, 90))
RIM_A = (10, 25, 70)
RIM_B = (70, 40, 0)
RAMP = 100


def palette256():
    """Index 0 black (transparent background), 1 and 2 the rims, then two ramps."""
    pal = [(0, 0, 0), RIM_A, RIM_B]
    for dark, light in (BASE_A, BASE_B):
        for i in range(RAMP):
            t = i / (RAMP - 1)
            pal.append(tuple(round(d + (l - d) * t) for d, l in zip(dark, light)))
    while len(pal) < 256:
        pal.append((0, 0, 0))
    return pal


def index256(cell):
    which, shade, rim = cell
    if rim:
        return 1 if which == "A" else 2
    base = 3 if which == "A" else 3 + RAMP
    return base + min(RAMP - 1, int(shade * RAMP))


def index16(cell):
    which, shade, rim = cell
    if which == "A":
        if rim:
            return 4  # navy
        return 14 if shade > 0.85 else (12 if shade > 0.45 else 6)  # aqua, blue, teal
    if rim:
        return 1  # maroon
    return 15 if shade > 0.92 else (11 if shade > 0.5 else 3)  # white, yellow, olive


# --- ICO writing ----------------------------------------------------------------
def _row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def dib(size, bpp, pal, indexes):
    """BITMAPINFOHEADER, palette, XOR bitmap and AND mask of one icon image."""
    colours = 1 << bpp
    xor_stride = _row_bytes(size * bpp)
    and_stride = _row_bytes(size)
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(size):
            idx = indexes[y][x]
            if idx is None:
                idx = 0
                mrow[x // 8] |= 0x80 >> (x % 8)  # transparent
            if bpp == 8:
                row[x] = idx
            else:  # 4 bpp, high nibble first
                row[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        xor += row
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, colours, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal[:colours])
    return header + palette + bytes(xor) + bytes(mask)


def build_icon():
    images = []  # (width, height, colour count byte, bpp, data)
    for size, bpp in ((32, 4), (16, 8), (32, 8)):
        grid = render(size)
        if bpp == 4:
            pal = VGA16
            idx = [[index16(c) if c else None for c in row] for row in grid]
        else:
            pal = palette256()
            idx = [[index256(c) if c else None for c in row] for row in grid]
        images.append((size, size, 16 if bpp == 4 else 0, bpp, dib(size, bpp, pal, idx)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, count, bpp, data in images:
        out += struct.pack("<BBBBHHII", w, h, count, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for *_, data in images:
        out += data
    return bytes(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    args = argv[1:]
    check = False
    if args and args[0] == "--check":
        check = True
        args = args[1:]
    path = args[0] if args else os.path.join(here, "brisko.ico")
    data = build_icon()
    if check:
        try:
            with open(path, "rb") as f:
                current = f.read()
        except OSError as e:
            print(f"make_icon: cannot read {path}: {e}", file=sys.stderr)
            return 1
        if current != data:
            print(f"make_icon: {path} differs from what make_icon.py draws; rerun it",
                  file=sys.stderr)
            return 1
        return 0
    with open(path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
