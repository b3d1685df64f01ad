"""Procedural bitmaps: skill icons, job portraits, the fallback portrait and
the four connector arrowheads, written as PNG files with a Qt resource list.
The portraits the job chooser shows at start are written already decoded
(see `decoded`), so the start does not wait for their PNG decoding.

Icons and arrowheads sit on the magenta key 0xFF00FF, portraits on white.
Everything is drawn from fixed numbers, so the output is the same on every run.
"""

import math
import struct
import zlib

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)

ELEMENT_COLOURS = {
    'ice': (120, 200, 255), 'fire': (230, 80, 30), 'storm': (150, 120, 230), 'earth': (150, 110, 60),
    'shadow': (80, 70, 120), 'holy': (245, 215, 110), 'iron': (140, 152, 165), 'wind': (110, 215, 165),
    'poison': (120, 185, 40), 'blood': (190, 30, 50), 'moon': (165, 175, 230), 'sun': (250, 170, 40),
    'star': (80, 100, 200), 'ash': (125, 120, 115), 'mist': (170, 182, 195), 'water': (40, 125, 210),
    'nature': (60, 155, 60), 'ghost': (140, 210, 210), 'gold': (215, 165, 35), 'arcane': (165, 60, 200),
    'dusk': (215, 105, 115), 'jade': (40, 165, 125),
}


# ---------------------------------------------------------------- PNG

def png(width, height, pixels):
    """An 8-bit RGB PNG of the given rows of (r, g, b) tuples."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixels[y * width + x])
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def decoded(width, height, pixels):
    """A picture stored decoded: "TVRB", width and height as 16-bit
    little-endian numbers, then the rows of 32-bit little-endian 0xFFRRGGBB
    pixels, the memory layout the program draws from. Stored uncompressed in
    the resources, it is copied, not decoded."""
    out = bytearray(b'TVRB' + struct.pack('<HH', width, height))
    for r, g, b in pixels:
        out += bytes((b, g, r, 0xFF))
    return bytes(out)


class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [bg] * (w * h)

    def set(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def get(self, x, y):
        return self.px[y * self.w + x]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                self.px[y * self.w + x] = c

    def circle(self, cx, cy, r, c, ring=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r and (ring is None or d >= r - ring):
                    self.px[y * self.w + x] = c

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(self.h):
            for x in range(self.w):
                if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1:
                    self.px[y * self.w + x] = c

    def poly(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys))), min(self.h, int(max(ys)) + 1)):
            for x in range(self.w):
                if inside(pts, x + 0.5, y + 0.5):
                    self.px[y * self.w + x] = c

    def line(self, x0, y0, x1, y1, c, width=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        r = width / 2
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            if width <= 1:
                self.set(x, y, c)
                continue
            for yy in range(int(y - r - 1), int(y + r + 2)):
                for xx in range(int(x - r - 1), int(x + r + 2)):
                    if math.hypot(xx + 0.5 - x, yy + 0.5 - y) <= r and 0 <= xx < self.w and 0 <= yy < self.h:
                        self.px[yy * self.w + xx] = c


def inside(pts, x, y):
    n, hit = len(pts), False
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


def mix(a, b, t):
    return tuple(max(0, min(255, int(round(a[i] + (b[i] - a[i]) * t)))) for i in range(3))


def safe(c, key):
    """Nudges a colour off the key colour, so that it is never see-through."""
    return (c[0], c[1] ^ 1, c[2]) if c == key else c


# ---------------------------------------------------------------- icons

def glyph_shapes(kind):
    """The glyph as drawing operations in a 24 x 24 box."""
    ops = []
    if kind == 'sword':
        ops += [('line', 7, 17, 18, 6, 3), ('poly', [(16, 4), (20, 4), (20, 8)]), ('line', 4, 14, 10, 20, 2),
                ('line', 3, 21, 7, 17, 2)]
    elif kind == 'spear':
        ops += [('line', 4, 20, 17, 7, 2), ('poly', [(14, 6), (20, 3), (17, 10)])]
    elif kind == 'arrow':
        ops += [('line', 5, 19, 17, 7, 2), ('poly', [(13, 5), (20, 3), (18, 10)]), ('line', 4, 16, 7, 19, 2),
                ('line', 7, 16, 9, 19, 1)]
    elif kind == 'shield':
        ops += [('poly', [(5, 5), (19, 5), (19, 12), (12, 20), (5, 12)]), ('dark_line', 12, 6, 12, 18, 1),
                ('dark_line', 6, 10, 18, 10, 1)]
    elif kind == 'orb':
        ops += [('circle', 12, 12, 6.5), ('dark_circle', 14, 14, 3), ('hi', 9, 9, 2)]
    elif kind == 'burst':
        pts = []
        for i in range(16):
            r = 8.5 if i % 2 == 0 else 3.5
            a = math.pi * i / 8
            pts.append((12 + r * math.cos(a), 12 + r * math.sin(a)))
        ops += [('poly', pts)]
    elif kind == 'wave':
        for k, y in enumerate((7, 12, 17)):
            pts = [(4 + i, y + 2 * math.sin((i + 3 * k) / 2.2)) for i in range(17)]
            for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
                ops.append(('line', x0, y0, x1, y1, 2))
    elif kind == 'boot':
        ops += [('poly', [(8, 4), (14, 4), (14, 14), (20, 15), (20, 19), (8, 19)]), ('dark_line', 8, 16, 20, 16, 1)]
    elif kind == 'book':
        ops += [('poly', [(6, 5), (18, 5), (18, 19), (6, 19)]), ('dark_line', 8, 5, 8, 19, 1),
                ('dark_line', 10, 9, 16, 9, 1), ('dark_line', 10, 12, 16, 12, 1)]
    elif kind == 'chain':
        ops += [('ring', 9, 9, 5, 2), ('ring', 15, 15, 5, 2)]
    elif kind == 'bolt':
        ops += [('poly', [(13, 3), (6, 13), (11, 13), (9, 21), (18, 10), (13, 10), (16, 3)])]
    elif kind == 'heart':
        ops += [('circle', 9, 10, 4), ('circle', 15, 10, 4), ('poly', [(5, 11), (19, 11), (12, 19)])]
    elif kind == 'eye':
        ops += [('ellipse', 12, 12, 8.5, 5), ('dark_circle', 12, 12, 3), ('hi', 11, 11, 1)]
    elif kind == 'gem':
        ops += [('poly', [(12, 3), (19, 10), (12, 21), (5, 10)]), ('dark_line', 5, 10, 19, 10, 1),
                ('dark_line', 12, 3, 12, 21, 1)]
    elif kind == 'claw':
        for dx in (-5, 0, 5):
            ops += [('line', 9 + dx, 5, 13 + dx, 12, 2), ('line', 13 + dx, 12, 12 + dx, 19, 2)]
    elif kind == 'bell':
        ops += [('poly', [(9, 6), (15, 6), (17, 15), (19, 17), (5, 17), (7, 15)]), ('circle', 12, 19, 2),
                ('line', 12, 3, 12, 6, 2)]
    elif kind == 'fist':
        ops += [('poly', [(6, 8), (18, 8), (18, 18), (6, 18)]), ('dark_line', 9, 8, 9, 13, 1),
                ('dark_line', 12, 8, 12, 13, 1), ('dark_line', 15, 8, 15, 13, 1), ('dark_line', 6, 13, 12, 13, 1)]
    elif kind == 'hammer':
        ops += [('line', 6, 20, 14, 10, 2), ('poly', [(10, 4), (20, 10), (17, 14), (7, 8)])]
    elif kind == 'wing':
        ops += [('poly', [(5, 18), (8, 6), (20, 4), (17, 9), (19, 11), (15, 14), (16, 16)]),
                ('dark_line', 8, 14, 17, 7, 1)]
    elif kind == 'flask':
        ops += [('circle', 12, 15, 6), ('poly', [(10, 4), (14, 4), (14, 11), (10, 11)]), ('hi', 10, 14, 1.5)]
    elif kind == 'star':
        pts = []
        for i in range(10):
            r = 9 if i % 2 == 0 else 4
            a = -math.pi / 2 + math.pi * i / 5
            pts.append((12 + r * math.cos(a), 12.5 + r * math.sin(a)))
        ops += [('poly', pts)]
    elif kind == 'ring':
        ops += [('ring', 12, 13, 7, 2.5), ('poly', [(12, 2), (15, 5), (12, 8), (9, 5)])]
    else:
        raise ValueError(kind)
    return ops


def draw_ops(cv, ops, light, dark, mirror, dx=0, dy=0):
    def X(x):
        return (23 - x if mirror else x) + dx

    def Y(y):
        return y + dy
    for op in ops:
        kind = op[0]
        colour = dark if kind.startswith('dark') else light
        if kind in ('line', 'dark_line'):
            _, x0, y0, x1, y1, w = op
            cv.line(X(x0), Y(y0), X(x1), Y(y1), colour, w)
        elif kind == 'poly':
            cv.poly([(X(x) + (1 if mirror else 0), Y(y)) for x, y in op[1]], colour)
        elif kind in ('circle', 'dark_circle'):
            cv.circle(X(op[1]) + (1 if mirror else 0), Y(op[2]), op[3], colour)
        elif kind == 'hi':
            cv.circle(X(op[1]) + (1 if mirror else 0), Y(op[2]), op[3], (255, 255, 240))
        elif kind == 'ellipse':
            cv.ellipse(X(op[1]) + (1 if mirror else 0), Y(op[2]), op[3], op[4], colour)
        elif kind == 'ring':
            cv.circle(X(op[1]) + (1 if mirror else 0), Y(op[2]), op[3], colour, ring=op[4])


def make_icon(icon_id, art, salt=0):
    element, glyph = art.split()
    base = ELEMENT_COLOURS[element]
    v = icon_id * 7 + salt * 13
    cv = Canvas(24, 24, MAGENTA)
    shape = v % 3
    light, dark = mix(base, (255, 255, 255), 0.45), mix(base, (0, 0, 0), 0.55)
    top, bottom = (mix(base, (255, 255, 255), 0.25), mix(base, (0, 0, 0), 0.3))
    if (v // 3) % 2:
        top, bottom = bottom, top
    for y in range(24):
        row = mix(top, bottom, y / 23)
        for x in range(24):
            if shape == 0:
                inside_badge = 1 <= x <= 22 and 1 <= y <= 22 and not (
                    min(x - 1, 22 - x) + min(y - 1, 22 - y) < 3)
            elif shape == 1:
                inside_badge = math.hypot(x - 11.5, y - 11.5) <= 11.3
            else:
                inside_badge = abs(x - 11.5) + abs(y - 11.5) <= 15.5 and 1 <= x <= 22 and 1 <= y <= 22
            if inside_badge:
                cv.px[y * 24 + x] = row
    # Border: badge pixels next to the background.
    border = []
    for y in range(24):
        for x in range(24):
            if cv.px[y * 24 + x] == MAGENTA:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if not (0 <= nx < 24 and 0 <= ny < 24) or cv.px[ny * 24 + nx] == MAGENTA:
                    border.append((x, y))
                    break
    for x, y in border:
        cv.px[y * 24 + x] = dark
    ink_light = mix((250, 248, 235), base, 0.12)
    ink_dark = mix(base, (0, 0, 0), 0.7)
    mirror = bool((v // 6) % 2)
    ops = glyph_shapes(glyph)
    draw_ops(cv, ops, ink_dark, ink_dark, mirror, 1, 1)   # drop shadow
    draw_ops(cv, ops, ink_light, ink_dark, mirror)
    # Rank pips in the top corner tell similar icons apart.
    pips = (v // 12) % 5
    accent = mix(base, (255, 255, 120), 0.6)
    for i in range(pips):
        cv.rect(3 + 3 * i, 3, 4 + 3 * i, 4, accent)
    cv.px = [safe(c, MAGENTA) if c != MAGENTA else c for c in cv.px]
    return cv


# ---------------------------------------------------------------- portraits

JOB_STYLE = {
    # robe colour, trim colour, weapon
    0: ((70, 90, 150), (210, 200, 170), 'sword'), 1: ((120, 50, 150), (230, 190, 80), 'staff'),
    2: ((60, 120, 60), (160, 120, 70), 'bow'), 3: ((150, 60, 40), (200, 170, 120), 'axe'),
    4: ((230, 225, 200), (200, 160, 60), 'staff'), 5: ((90, 110, 50), (120, 80, 40), 'bow'),
    6: ((50, 50, 70), (110, 110, 130), 'dagger'), 7: ((200, 120, 40), (120, 60, 20), 'none'),
    8: ((160, 60, 110), (240, 210, 120), 'lute'), 9: ((60, 40, 60), (150, 40, 50), 'dagger'),
    10: ((40, 70, 120), (150, 220, 230), 'staff'), 11: ((110, 80, 60), (180, 180, 190), 'hammer'),
    12: ((150, 140, 110), (100, 90, 70), 'sword'), 13: ((100, 140, 120), (220, 190, 90), 'flask'),
    14: ((170, 40, 40), (220, 200, 180), 'spear'), 15: ((110, 110, 120), (170, 140, 80), 'spear'),
    16: ((80, 60, 150), (220, 220, 240), 'sword'), 17: ((30, 40, 90), (250, 230, 140), 'staff'),
    18: ((235, 235, 225), (200, 80, 60), 'ladle'), 19: ((60, 30, 80), (150, 230, 150), 'sword'),
}
SKIN = ((240, 200, 160), (225, 180, 140), (200, 150, 110))
HAIR = ((60, 40, 30), (150, 90, 40), (220, 190, 110), (40, 40, 50), (170, 60, 40))


def portrait_map(jobs):
    """Portrait id -> (job, sex, grade), first use wins."""
    out = {}
    for job in sorted(jobs):
        lo, hi = jobs[job][0], jobs[job][1]
        portraits = jobs[job][5]
        for grade in list(range(lo, hi + 1)) + [g for g in range(4) if not lo <= g <= hi]:
            for sex in (0, 1):
                pid = portraits[sex][grade]
                if pid and pid not in out:
                    out[pid] = (job, sex, grade)
    return out


def make_portrait(pid, job, sex, grade, width=60):
    robe, trim, weapon = JOB_STYLE[job]
    cv = Canvas(width, 110, WHITE)
    cx = width // 2
    skin = SKIN[(job + sex) % 3]
    hair = HAIR[(job * 3 + sex) % 5]
    tier = max(0, grade - 1)  # 0 first/second job, 1 advanced, 2 third job
    dark_robe = mix(robe, (0, 0, 0), 0.4)
    if tier >= 1:  # cape behind the body
        cape = mix(trim, robe, 0.3) if tier == 2 else mix(robe, (0, 0, 0), 0.25)
        cv.poly([(cx - 13, 34), (cx + 13, 34), (cx + 18, 98), (cx - 18, 98)], cape)
    if tier == 2:  # aura
        cv.circle(cx, 22, 15, mix(trim, (255, 255, 255), 0.5), ring=2)
    if sex == 1:  # long hair falling behind the shoulders
        cv.poly([(cx - 10, 14), (cx + 10, 14), (cx + 12, 42), (cx - 12, 42)], hair)
    # legs and boots
    cv.rect(cx - 8, 78, cx - 2, 100, mix(robe, (40, 40, 40), 0.5))
    cv.rect(cx + 2, 78, cx + 8, 100, mix(robe, (40, 40, 40), 0.5))
    cv.rect(cx - 9, 100, cx - 1, 105, (60, 40, 30))
    cv.rect(cx + 1, 100, cx + 9, 105, (60, 40, 30))
    # body
    if sex == 1:
        cv.poly([(cx - 9, 33), (cx + 9, 33), (cx + 15, 84), (cx - 15, 84)], robe)
    else:
        cv.poly([(cx - 11, 33), (cx + 11, 33), (cx + 10, 80), (cx - 10, 80)], robe)
    cv.rect(cx - 10, 60, cx + 10, 62, trim)                # belt
    cv.line(cx, 34, cx, 58, trim, 2)                       # front trim
    if tier >= 1:                                          # shoulder plates
        cv.circle(cx - 11, 36, 4, trim)
        cv.circle(cx + 11, 36, 4, trim)
    # arms
    cv.line(cx - 12, 36, cx - 16, 62, dark_robe, 5)
    cv.line(cx + 12, 36, cx + 16, 62, dark_robe, 5)
    cv.circle(cx - 16, 64, 3, skin)
    cv.circle(cx + 16, 64, 3, skin)
    # neck and head
    cv.rect(cx - 2, 28, cx + 2, 33, skin)
    cv.circle(cx, 20, 9, skin)
    cv.poly([(cx - 10, 19), (cx - 8, 11), (cx, 8), (cx + 8, 11), (cx + 10, 19), (cx + 5, 14), (cx - 5, 14)], hair)
    cv.rect(cx - 5, 20, cx - 3, 21, (40, 30, 30))
    cv.rect(cx + 3, 20, cx + 5, 21, (40, 30, 30))
    cv.line(cx - 2, 25, cx + 2, 25, (170, 80, 70))
    if tier == 2:  # circlet
        cv.line(cx - 8, 13, cx + 8, 13, (230, 190, 60), 2)
        cv.circle(cx, 12, 2, (200, 40, 60))
    # weapon in the right hand (viewer's right)
    hx, hy = cx + 16, 64
    if weapon == 'sword':
        cv.line(hx, hy + 4, hx + 6, hy - 30, (200, 205, 215), 3)
        cv.line(hx - 4, hy - 2, hx + 5, hy, trim, 2)
    elif weapon == 'staff':
        cv.line(hx, hy + 30, hx + 3, hy - 34, (120, 80, 40), 2)
        cv.circle(hx + 3, hy - 36, 4, mix(trim, (255, 255, 255), 0.2))
    elif weapon == 'bow':
        for i in range(30):
            a = -1.2 + 2.4 * i / 29
            cv.set(hx + 4 + 10 * math.cos(a), hy - 12 + 22 * math.sin(a), (120, 80, 40))
            cv.set(hx + 5 + 10 * math.cos(a), hy - 12 + 22 * math.sin(a), (120, 80, 40))
        cv.line(hx + 7, hy - 32, hx + 7, hy + 8, (90, 90, 90))
    elif weapon == 'axe':
        cv.line(hx, hy + 10, hx + 2, hy - 26, (110, 75, 40), 2)
        cv.poly([(hx + 2, hy - 28), (hx + 12, hy - 32), (hx + 12, hy - 16), (hx + 2, hy - 20)], (170, 175, 185))
    elif weapon == 'dagger':
        cv.line(hx, hy, hx + 3, hy - 12, (200, 205, 215), 2)
    elif weapon == 'lute':
        cv.ellipse(hx - 2, hy - 4, 6, 8, (170, 110, 50))
        cv.line(hx + 2, hy - 10, hx + 8, hy - 26, (120, 80, 40), 2)
    elif weapon == 'hammer':
        cv.line(hx, hy + 8, hx + 2, hy - 22, (110, 75, 40), 2)
        cv.rect(hx - 4, hy - 30, hx + 8, hy - 22, (130, 135, 145))
    elif weapon == 'flask':
        cv.circle(hx + 1, hy - 4, 5, (110, 200, 120))
        cv.rect(hx - 1, hy - 13, hx + 3, hy - 8, (180, 180, 190))
    elif weapon == 'spear':
        cv.line(hx, hy + 34, hx + 4, hy - 40, (120, 80, 40), 2)
        cv.poly([(hx + 1, hy - 40), (hx + 5, hy - 50), (hx + 8, hy - 39)], (200, 205, 215))
    elif weapon == 'ladle':
        cv.line(hx, hy + 6, hx + 4, hy - 20, (150, 150, 160), 2)
        cv.circle(hx + 5, hy - 23, 4, (150, 150, 160))
    cv.px = [safe(c, WHITE) if c != WHITE else c for c in cv.px]
    # the background stays white outside the figure
    return cv


def make_fallback():
    cv = Canvas(119, 99, WHITE)
    grey, dark = (200, 200, 205), (120, 120, 130)
    cv.rect(2, 2, 116, 96, dark)
    cv.rect(4, 4, 114, 94, grey)
    cv.circle(59, 32, 14, (170, 170, 178))
    cv.poly([(37, 90), (81, 90), (76, 52), (42, 52)], (170, 170, 178))
    # a question mark over the silhouette
    for i in range(24):
        a = math.pi * (1.1 - 1.35 * i / 23)
        cv.circle(59 + 8 * math.cos(a), 28 - 8 * math.sin(a), 2.2, (90, 90, 100))
    cv.line(59, 36, 59, 44, (90, 90, 100), 4)
    cv.circle(59, 51, 2.5, (90, 90, 100))
    return cv


# ---------------------------------------------------------------- arrowheads

def make_arrow(rid):
    """6 x 6: three centred bands 2 deep of 6, 4 and 2 pixels from the base
    edge, one half of the triangle red, the other dark red."""
    red, dark = (255, 0, 0), (200, 0, 0)
    cv = Canvas(6, 6, MAGENTA)
    for depth in range(6):
        band = depth // 2
        for along in range(band, 6 - band):
            if rid == 221:    # base left, points right, red above
                x, y, is_red = depth, along, along < 3
            elif rid == 222:  # base right, points left, red below
                x, y, is_red = 5 - depth, along, along >= 3
            elif rid == 223:  # base bottom, points up, red left
                x, y, is_red = along, 5 - depth, along < 3
            else:             # 224: base top, points down, red right
                x, y, is_red = along, depth, along >= 3
            cv.px[y * 6 + x] = red if is_red else dark
    return cv


# ---------------------------------------------------------------- all of them

def build_bitmaps(skills, jobs):
    files = {}
    qrc = ['<!DOCTYPE RCC>', '<!-- Generated by tools/gen_content.py. Bitmaps by resource id: ":/bmp/<id>". -->',
           '<RCC version="1.0">', '<qresource prefix="/bmp">']
    seen = set()
    for pos in sorted(skills):
        s = skills[pos]
        salt = 0
        while True:
            cv = make_icon(s.icon, s.art, salt)
            key = tuple(cv.px)
            if key not in seen:
                break
            salt += 1
        seen.add(key)
        rel = f'bitmaps/icons/{s.icon}.png'
        files['resources/' + rel] = png(24, 24, cv.px)
        qrc.append(f'  <file alias="{s.icon}">{rel}</file>')
    wide = 174  # the one portrait two pixels wider than the others
    # The chooser shows each job at its highest grade.
    shown_at_start = {jobs[job][5][sex][jobs[job][1]] for job in jobs for sex in (0, 1)}
    for pid, (job, sex, grade) in sorted(portrait_map(jobs).items()):
        width = 62 if pid == wide else 60
        cv = make_portrait(pid, job, sex, grade, width)
        if pid in shown_at_start:
            rel = f'bitmaps/portraits/{pid}.rgb32'
            files['resources/' + rel] = decoded(width, 110, cv.px)
            qrc.append(f'  <file alias="{pid}" compression-algorithm="none">{rel}</file>')
        else:
            rel = f'bitmaps/portraits/{pid}.png'
            files['resources/' + rel] = png(width, 110, cv.px)
            qrc.append(f'  <file alias="{pid}">{rel}</file>')
    cv = make_fallback()
    files['resources/bitmaps/portraits/133.png'] = png(119, 99, cv.px)
    qrc.append('  <file alias="133">bitmaps/portraits/133.png</file>')
    for rid in (221, 222, 223, 224):
        cv = make_arrow(rid)
        rel = f'bitmaps/arrows/{rid}.png'
        files['resources/' + rel] = png(6, 6, cv.px)
        qrc.append(f'  <file alias="{rid}">{rel}</file>')
    qrc += ['</qresource>', '</RCC>']
    files['resources/bitmaps.qrc'] = ('\n'.join(qrc) + '\n').encode()
    return files
