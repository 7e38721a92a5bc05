#!/usr/bin/env python3
"""Draws the gun editor's pictures: a flat silhouette per preset (128 x 48) and the target (200 x 210).

    tools/gun-pictures.py [FOLDER]      (default modules/img/skin1/gun)

Plain Python: shapes are filled on a 4x finer grid and averaged down, written as RGBA PNG.
"""
import math
import os
import struct
import sys
import zlib

SS = 4
LIGHT = (0xd1, 0xd1, 0xd1)
MID = (0x96, 0x96, 0x96)
DARK = (0x6a, 0x6a, 0x6a)
ORANGE = (0xcf, 0x3e, 0x00)
RED = (0xe0, 0x20, 0x20)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h * SS * SS)]

    def fill(self, contours, color, alpha=1.0):
        """Fills closed contours (lists of (x, y) in picture pixels) by the even-odd rule."""
        W, H = self.w * SS, self.h * SS
        edges = []
        for c in contours:
            for i in range(len(c)):
                (x0, y0), (x1, y1) = c[i], c[(i + 1) % len(c)]
                if y0 != y1:
                    edges.append((x0 * SS, y0 * SS, x1 * SS, y1 * SS))
        if not edges:
            return
        top = max(0, int(min(min(e[1], e[3]) for e in edges)))
        bottom = min(H - 1, int(max(max(e[1], e[3]) for e in edges)) + 1)
        r, g, b = color
        for y in range(top, bottom + 1):
            sy = y + 0.5
            xs = sorted(x0 + (sy - y0) * (x1 - x0) / (y1 - y0)
                        for x0, y0, x1, y1 in edges if min(y0, y1) <= sy < max(y0, y1))
            for a, bb in zip(xs[0::2], xs[1::2]):
                for x in range(max(0, math.ceil(a - 0.5)), min(W, math.ceil(bb - 0.5))):
                    p = self.px[y * W + x]
                    k = 1 - alpha
                    p[0] = r * alpha + p[0] * k
                    p[1] = g * alpha + p[1] * k
                    p[2] = b * alpha + p[2] * k
                    p[3] = alpha + p[3] * k

    def rect(self, x, y, w, h, color):
        self.fill([[(x, y), (x + w, y), (x + w, y + h), (x, y + h)]], color)

    def poly(self, points, color):
        self.fill([points], color)

    def line(self, x0, y0, x1, y1, width, color):
        d = math.hypot(x1 - x0, y1 - y0) or 1
        nx, ny = -(y1 - y0) / d * width / 2, (x1 - x0) / d * width / 2
        self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)

    def circle(self, cx, cy, r, color, inner=0.0):
        def ring(rad):
            return [(cx + rad * math.cos(t * math.pi / 48), cy + rad * math.sin(t * math.pi / 48)) for t in range(96)]
        self.fill([ring(r)] + ([ring(inner)] if inner > 0 else []), color)

    def save(self, path):
        W = self.w * SS
        rows = []
        for y in range(self.h):
            row = bytearray([0])
            for x in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SS):
                    for sx in range(SS):
                        p = self.px[(y * SS + sy) * W + x * SS + sx]
                        acc[0] += p[0] * p[3]
                        acc[1] += p[1] * p[3]
                        acc[2] += p[2] * p[3]
                        acc[3] += p[3]
                a = acc[3] / (SS * SS)
                rgb = [int(round(c / acc[3])) if acc[3] else 0 for c in acc[:3]]
                row += bytes(rgb + [int(round(a * 255))])
            rows.append(bytes(row))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)

        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(png)


def rail(c, x, y, length):
    """A rail on top of the receiver: a strip with teeth."""
    c.rect(x, y, length, 2, MID)
    for tx in range(int(x), int(x + length) - 1, 3):
        c.rect(tx, y - 1.5, 1.6, 1.5, MID)


def rifle(c, stock, mag, carry=False, long_guard=False):
    """An assault rifle pointing right; the parts differ by model."""
    # Stock.
    if stock == "adjustable":
        c.poly([(4, 15), (26, 17), (26, 27), (8, 31), (4, 31)], MID)
        c.rect(8, 19, 12, 4, (0x26, 0x26, 0x26))
        c.rect(24, 19, 10, 5, MID)
    elif stock == "wood":
        c.poly([(3, 17), (32, 18), (34, 25), (3, 33)], MID)
    elif stock == "fixed":
        c.poly([(3, 16), (34, 18), (34, 26), (3, 32)], MID)
        c.rect(3, 16, 3, 16, DARK)
    elif stock == "folding":
        c.poly([(5, 16), (30, 18), (30, 26), (9, 30), (5, 30)], MID)
        c.poly([(10, 20), (24, 21), (24, 24), (12, 26)], (0x26, 0x26, 0x26))
    # Receiver and handguard.
    c.poly([(32, 16), (74, 16), (74, 27), (34, 27)], LIGHT)
    guard_end = 104 if long_guard else 98
    c.poly([(74, 17), (guard_end, 17), (guard_end, 25), (74, 26)], MID)
    for gx in range(78, guard_end - 2, 5):
        c.rect(gx, 19, 2.5, 4, DARK)
    # Barrel, front sight and muzzle.
    c.rect(guard_end, 19.5, 116 - guard_end, 2.5, LIGHT)
    c.rect(116, 18.5, 7, 4.5, LIGHT)
    c.poly([(guard_end - 6, 17), (guard_end - 3, 11), (guard_end - 1, 11), (guard_end - 1, 17)], LIGHT)
    if carry:
        c.poly([(40, 16), (42, 9), (66, 9), (68, 16), (63, 16), (62, 12), (46, 12), (45, 16)], LIGHT)
    else:
        rail(c, 36, 14, 36)
        c.rect(50, 9.5, 12, 4.5, DARK)
    # Grip, trigger guard and magazine.
    c.poly([(40, 27), (47, 27), (44, 41), (37, 40)], DARK)
    c.poly([(47, 27), (56, 27), (56, 30), (48, 31)], MID)
    if mag == "curved":
        c.poly([(57, 27), (66, 27), (70, 35), (73, 44), (65, 46), (61, 36)], DARK)
    elif mag == "straight":
        c.poly([(57, 27), (66, 27), (67, 43), (59, 44)], DARK)
    elif mag == "slight":
        c.poly([(57, 27), (66, 27), (68, 42), (60, 44)], DARK)
    # Accent: a stripe along the receiver.
    c.rect(36, 22, 30, 1.6, ORANGE)


def smg(c):
    """A compact sub-machine gun pointing right, folding wire stock."""
    c.poly([(6, 18), (34, 19), (34, 22), (10, 21), (10, 30), (6, 30)], MID)
    c.line(10, 29, 34, 25, 2.5, MID)
    c.poly([(32, 15), (86, 15), (88, 27), (34, 27)], LIGHT)
    c.poly([(86, 16), (100, 17), (100, 25), (88, 26)], MID)
    c.rect(100, 19, 14, 3, LIGHT)
    c.rect(112, 18, 6, 5, LIGHT)
    rail(c, 40, 13, 40)
    c.rect(56, 8.5, 12, 4.5, DARK)
    c.poly([(46, 27), (54, 27), (51, 42), (43, 41)], DARK)
    c.poly([(54, 27), (64, 27), (64, 30), (55, 31)], MID)
    c.poly([(66, 27), (74, 27), (74, 45), (67, 45)], DARK)
    c.rect(38, 21, 44, 1.6, ORANGE)


def thomson(c):
    """A drum-fed sub-machine gun with a wooden stock and a vertical fore grip."""
    c.poly([(3, 19), (30, 17), (32, 25), (3, 35)], MID)
    c.poly([(30, 16), (76, 16), (76, 26), (32, 26)], LIGHT)
    c.rect(76, 18, 34, 4, LIGHT)
    for fx in range(80, 108, 3):
        c.rect(fx, 16.5, 1.5, 7, MID)
    c.rect(110, 17.5, 8, 5.5, LIGHT)
    c.rect(68, 12.5, 4, 4, LIGHT)
    c.poly([(36, 26), (44, 26), (41, 40), (34, 39)], DARK)
    c.poly([(88, 22), (96, 22), (95, 38), (89, 38)], DARK)
    c.circle(60, 33, 12, DARK)
    c.circle(60, 33, 4, MID)
    c.circle(60, 33, 9.5, ORANGE, inner=8.3)
    c.rect(36, 20, 24, 1.6, ORANGE)


def target():
    c = Canvas(200, 210)
    cx, cy = 100, 95
    for r in (88, 60, 32):
        c.circle(cx, cy, r + 0.75, MID, inner=r - 0.75)
    c.line(cx - 96, cy, cx - 8, cy, 1.5, MID)
    c.line(cx + 8, cy, cx + 96, cy, 1.5, MID)
    c.line(cx, cy - 92, cx, cy - 8, 1.5, MID)
    # The recoil scale the marker travels: Y 0 ... 64 over 94 pixels, a tick every 8.
    c.line(cx, cy + 8, cx, cy + 94, 1.5, LIGHT)
    for i in range(9):
        ty = cy + 94 * i / 8
        half = 9 if i % 4 == 0 else 5
        c.line(cx - half, ty, cx + half, ty, 1.5, ORANGE if i % 4 == 0 else LIGHT)
    c.circle(cx, cy, 2.5, ORANGE)
    return c


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join("modules", "img", "skin1", "gun")
    os.makedirs(folder, exist_ok=True)
    guns = {
        "M416": lambda c: rifle(c, "adjustable", "slight"),
        "AKM": lambda c: rifle(c, "wood", "curved"),
        "M16A4": lambda c: rifle(c, "fixed", "straight", carry=True, long_guard=True),
        "SCAR-L": lambda c: rifle(c, "folding", "straight"),
        "UNP9": smg,
        "Thomson": thomson,
    }
    for name, draw in guns.items():
        c = Canvas(128, 48)
        draw(c)
        c.save(os.path.join(folder, name + ".png"))
    target().save(os.path.join(folder, "gunTarget.png"))


if __name__ == "__main__":
    main()
