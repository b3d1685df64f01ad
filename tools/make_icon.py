#!/usr/bin/env python3
"""Draws the program icon (a small skill tree on a rounded tile) as PNG files
in the hicolor sizes under resources/icons/hicolor/<n>x<n>/apps/tolvemar.png.

Pure Python: every pixel is the average of 4 x 4 samples of a shape test."""
import math
import os
import struct
import sys
import zlib

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
SAMPLES = 4

# Shapes in a unit square (0..1 both ways).
TILE_RADIUS = 0.18
NODES = [(0.5, 0.27), (0.22, 0.72), (0.78, 0.72), (0.5, 0.72)]
NODE_RADIUS = 0.11
LINKS = [(0, 1), (0, 2), (0, 3)]
LINK_WIDTH = 0.055


def inside_tile(x, y):
    m = 0.04
    if x < m or y < m or x > 1 - m or y > 1 - m:
        return False
    r = TILE_RADIUS
    cx = min(max(x, m + r), 1 - m - r)
    cy = min(max(y, m + r), 1 - m - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def dist_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def sample(x, y):
    """RGBA of one sample point."""
    if not inside_tile(x, y):
        return (0, 0, 0, 0)
    # Tile: deep blue, lighter towards the top.
    colour = (int(28 + 40 * (1 - y)), int(52 + 60 * (1 - y)), int(112 + 70 * (1 - y)), 255)
    for a, b in LINKS:
        ax, ay = NODES[a]
        bx, by = NODES[b]
        if dist_segment(x, y, ax, ay, bx, by) <= LINK_WIDTH / 2:
            colour = (214, 226, 240, 255)
    for i, (nx, ny) in enumerate(NODES):
        d = math.hypot(x - nx, y - ny)
        if d <= NODE_RADIUS:
            if d >= NODE_RADIUS * 0.78:
                colour = (120, 70, 10, 255)  # rim
            elif i == 0:
                colour = (250, 200, 60, 255)  # the root: gold
            else:
                colour = (236, 238, 244, 255)
    return colour


def render(size):
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = sample((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] == 0:
                row += bytes((0, 0, 0, 0))
            else:
                row += bytes((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(alpha)))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "icons")
    for size in SIZES:
        folder = os.path.join(root, "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "tolvemar.png"), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
