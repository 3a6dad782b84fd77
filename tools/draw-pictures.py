#!/usr/bin/env python3
"""Draws the installer's pictures: the wizard picture (bitmap 129, 119x257,
16 colours) and the icons 130 (welcome) and 132 (resume/exit), 32x32 with
alpha. A moor at dusk, mist, and the keep of Quellmoor. Writes PNG files with
nothing but the standard library; run it again after changing a picture."""
import math, os, random, struct, sys, zlib

def png(path, w, h, pixels):  # pixels: rows of (r,g,b,a)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(data)

# Sixteen colours of a moor at dusk.
PALETTE = [
    (10, 12, 40), (24, 28, 72), (48, 44, 104), (86, 64, 128),    # night to dusk sky
    (150, 96, 140), (214, 150, 120), (240, 214, 150), (255, 250, 220),  # afterglow, moon
    (20, 20, 26), (44, 42, 52), (70, 66, 78),                    # keep and hill stone
    (60, 40, 60), (104, 64, 92), (70, 84, 56),                   # heather, moss
    (150, 156, 170), (200, 204, 214),                            # mist
]
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

def dither(x, y, a, b, t):
    """Ordered dither between palette entries a and b at blend t (0..1)."""
    return b if t * 16 > BAYER[y % 4][x % 4] + 0.5 else a

def sky(x, y, h):
    stops = [0, 1, 2, 3, 4, 5]
    t = min(max(y / (h * 0.62), 0), 1) * (len(stops) - 1)
    i = min(int(t), len(stops) - 2)
    return dither(x, y, stops[i], stops[i + 1], t - i)

def wizard_picture():
    w, h = 119, 257
    random.seed(7)
    img = [[sky(x, y, h) for x in range(w)] for y in range(h)]
    # Stars in the upper sky, the moon to the upper left.
    for _ in range(40):
        x, y = random.randrange(w), random.randrange(int(h * 0.3))
        img[y][x] = 7 if random.random() < 0.3 else 6
    for y in range(h):
        for x in range(w):
            d = math.hypot(x - 30, y - 38)
            if d < 11:
                img[y][x] = 7 if math.hypot(x - 26, y - 35) > 3.5 or d < 6 else 6
            elif d < 14:
                img[y][x] = dither(x, y, img[y][x], 6, (14 - d) / 6)
    # The hill, with the keep on its crown.
    def hill(x):
        return int(h * 0.60 - 26 * math.exp(-((x - 78) / 30.0) ** 2) + 4 * math.sin(x / 9.0))
    for x in range(w):
        top = hill(x)
        for y in range(top, h):
            img[y][x] = 9 if y < top + 3 else 8
    base = hill(78)
    def block(x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, h)):
            for x in range(max(x0, 0), min(x1, w)):
                img[y][x] = c
    block(66, base - 58, 90, base + 2, 9)           # the tower
    for bx in range(66, 90, 6):                     # battlements
        block(bx, base - 64, bx + 4, base - 58, 9)
    block(90, base - 30, 106, base + 2, 10)         # the hall beside it
    for bx in range(90, 106, 5):
        block(bx, base - 34, bx + 3, base - 30, 10)
    block(54, base - 26, 66, base + 2, 10)          # the gatehouse
    block(58, base - 12, 62, base + 2, 8)           # its gate
    for wx, wy in ((72, base - 48), (80, base - 48), (76, base - 30), (96, base - 20)):
        block(wx, wy, wx + 3, wy + 5, 6)            # lit windows
    # The moor below: heather and moss, then banks of mist drifting over it.
    for y in range(int(h * 0.64), h):
        for x in range(w):
            if img[y][x] in (8, 9) and y > hill(x) + 6:
                # Soft rolling swells of heather with moss in the hollows,
                # and a sprinkle of flowering heather near the viewer.
                n = math.sin(x / 17.0 + y / 23.0) * 0.6 + math.sin(x / 7.0 - y / 11.0) * 0.4
                depth = (y - h * 0.64) / (h * 0.36)
                c = 11 if n > -0.25 else 13
                if n > 0.55:
                    c = dither(x, y, 11, 12, (n - 0.55) * 2.2)
                if random.random() < 0.05 * depth:
                    c = 12
                img[y][x] = c
    for band, (cy, amp) in enumerate(((h * 0.66, 5), (h * 0.80, 7), (h * 0.93, 6))):
        for y in range(h):
            for x in range(w):
                edge = cy + amp * math.sin(x / 11.0 + band * 2)
                d = abs(y - edge)
                if d < 9:
                    t = (9 - d) / 9 * (0.85 if band < 2 else 1.0)
                    img[y][x] = dither(x, y, img[y][x], 14 if band == 1 else 15, t)
    return [[PALETTE[c] + (255,) for c in row] for row in img]

def keep_icon():
    s = 32
    img = [[(0, 0, 0, 0)] * s for _ in range(s)]
    def put(x, y, c):
        if 0 <= x < s and 0 <= y < s:
            img[y][x] = c + (255,)
    for y in range(s):                               # round night-sky badge
        for x in range(s):
            d = math.hypot(x - 15.5, y - 15.5)
            if d <= 15.5:
                t = y / 31
                c = tuple(int(a + (b - a) * t) for a, b in zip((24, 28, 72), (86, 64, 128)))
                put(x, y, c if d < 14.5 else (10, 12, 40))
    for y in range(s):                               # moon
        for x in range(s):
            if math.hypot(x - 9, y - 9) < 4 and math.hypot(x - 7.5, y - 8) >= 3:
                put(x, y, (255, 250, 220))
    for y in range(22, 31):                          # hill and mist
        for x in range(s):
            if math.hypot(x - 15.5, y - 15.5) < 14.5:
                put(x, y, (200, 204, 214) if y in (25, 26) and x % 5 else (60, 40, 60))
    for y in range(10, 23):                          # tower with battlements
        for x in range(15, 23):
            put(x, y, (44, 42, 52))
    for x in (15, 16, 18, 19, 21, 22):
        put(x, 8, (44, 42, 52)); put(x, 9, (44, 42, 52))
    for y in range(16, 23):
        for x in range(10, 15):
            put(x, y, (70, 66, 78))
    for y in (13, 14):
        put(18, y, (240, 214, 150)); put(19, y, (240, 214, 150))
    return img

def shield_icon():
    s = 32
    img = [[(0, 0, 0, 0)] * s for _ in range(s)]
    for y in range(2, 31):
        for x in range(3, 29):
            half = 13 if y < 18 else 13 * math.sqrt(max(0.0, 1 - ((y - 18) / 13.0) ** 2))
            d = abs(x - 15.5)
            if d <= half:
                border = d > half - 2 or y < 4
                c = (70, 66, 78) if border else ((48, 44, 104) if x < 16 else (86, 64, 128))
                img[y][x] = c + (255,)
    for y in range(9, 22):                           # the keep on the shield
        for x in range(12, 20):
            img[y][x] = (240, 214, 150, 255)
    for x in (12, 14, 16, 18):
        img[8][x] = (240, 214, 150, 255)
    for y in range(16, 22):
        img[y][15] = (20, 20, 26, 255); img[y][16] = (20, 20, 26, 255)
    return img

if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "setup", "install", "resources", "images")
    os.makedirs(out, exist_ok=True)
    png(os.path.join(out, "wizard-129.png"), 119, 257, wizard_picture())
    png(os.path.join(out, "welcome-130.png"), 32, 32, keep_icon())
    png(os.path.join(out, "resume-132.png"), 32, 32, shield_icon())
