#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Veltrano's tile pictures and player figure as 32x32 XPM files.

Usage: python3 assets/draw_pictures.py

Writes assets/tiles/<code>.xpm and assets/figure/<facing>.xpm beside this
script. The game loads the .xpm files; this script only regenerates them.

Every picture is 32x32 with at most 16 colours (transparent included) and is
transparent wherever the level's floor colour must show through. Light falls
from the top left; outlines are a dark shade of each picture's main hue.
"""

import math
import os

SIZE = 32
LIGHT = (-0.55, -0.65, 0.52)  # from the top left, towards the viewer
_LEN = math.sqrt(sum(c * c for c in LIGHT))
LIGHT = tuple(c / _LEN for c in LIGHT)

HERE = os.path.dirname(os.path.abspath(__file__))


# ----------------------------------------------------------------------------
# Drawing surface


class Canvas:
    """A 32x32 grid of '#rrggbb' strings; None is transparent."""

    def __init__(self):
        self.px = [[None] * SIZE for _ in range(SIZE)]

    def get(self, x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            return self.px[y][x]
        return None

    def set(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = colour

    def each(self):
        for y in range(SIZE):
            for x in range(SIZE):
                yield x, y

    def fill_where(self, inside, colour):
        """Paints every pixel whose centre satisfies inside(cx, cy).

        colour is a string or a function (x, y, cx, cy) -> colour or None
        (None leaves the pixel as it was)."""
        for x, y in self.each():
            cx, cy = x + 0.5, y + 0.5
            if inside(cx, cy):
                c = colour(x, y, cx, cy) if callable(colour) else colour
                if c is not None:
                    self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, colour):
        """Inclusive pixel rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def disc(self, cx, cy, r, colour):
        self.fill_where(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill_where(
            lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0, colour)

    def polygon(self, points, colour):
        self.fill_where(lambda px, py: inside_polygon(points, px, py), colour)

    def line(self, x0, y0, x1, y1, colour):
        """Bresenham line between pixel coordinates."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def pattern(self, x0, y0, rows, colours):
        """Stamps a small hand-drawn pattern; ' ' leaves pixels alone."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch != ' ':
                    self.set(x0 + i, y0 + j, colours[ch])

    def outline(self, colour, diagonal=False):
        """Rings every opaque shape with colour, on the transparent side."""
        steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
        marks = []
        for x, y in self.each():
            if self.px[y][x] is None and any(
                    self.get(x + dx, y + dy) is not None for dx, dy in steps):
                marks.append((x, y))
        for x, y in marks:
            self.px[y][x] = colour

    def mirrored(self):
        out = Canvas()
        for x, y in self.each():
            out.px[y][SIZE - 1 - x] = self.px[y][x]
        return out


def inside_polygon(points, px, py):
    inside = False
    n = len(points)
    for i in range(n):
        x0, y0 = points[i]
        x1, y1 = points[(i + 1) % n]
        if (y0 > py) != (y1 > py):
            xc = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
            if px < xc:
                inside = not inside
    return inside


def sphere_light(dx, dy, r):
    """Brightness in [-1, 1] of a sphere of radius r at offset (dx, dy)."""
    nx, ny = dx / r, dy / r
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    return nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]


def ramp(value, steps):
    """steps: list of (threshold, colour) ascending; picks the last passed."""
    chosen = steps[0][1]
    for threshold, colour in steps:
        if value >= threshold:
            chosen = colour
    return chosen


def bezier(p0, p1, p2, t):
    a = (1 - t) * (1 - t)
    b = 2 * (1 - t) * t
    c = t * t
    return (a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1])


def stroke(canvas, p0, p1, p2, r0, r1, colour_fn, samples=80):
    """Fills a tapering quadratic curve. colour_fn(x, y, t, side) where side is
    the signed distance across the stroke divided by its radius (-1..1,
    negative on the left of the direction of travel)."""
    best = {}
    for i in range(samples + 1):
        t = i / samples
        cx, cy = bezier(p0, p1, p2, t)
        t2 = min(1.0, t + 0.01)
        t1 = max(0.0, t - 0.01)
        ax, ay = bezier(p0, p1, p2, t1)
        bx, by = bezier(p0, p1, p2, t2)
        tx, ty = bx - ax, by - ay
        tl = math.hypot(tx, ty) or 1.0
        tx, ty = tx / tl, ty / tl
        r = r0 + (r1 - r0) * t
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                ddx, ddy = x + 0.5 - cx, y + 0.5 - cy
                d = math.hypot(ddx, ddy)
                if d <= r:
                    side = (ddx * -ty + ddy * tx) / r  # left normal is (ty, -tx)
                    if (x, y) not in best or d < best[(x, y)][0]:
                        best[(x, y)] = (d, t, side)
    for (x, y), (_, t, side) in best.items():
        c = colour_fn(x, y, t, side)
        if c is not None:
            canvas.set(x, y, c)


# ----------------------------------------------------------------------------
# Shared colours

GREY = ['#2a2a30', '#4a4a52', '#6e6e78', '#9090a0', '#b4b4c0', '#d8d8e2', '#f4f4f8']
WHITE = '#ffffff'
RED = ['#3c0a0e', '#7a1418', '#b8222a', '#e0443c', '#ff8a78']
GOLD = ['#4a2c06', '#8a5a0c', '#c8901a', '#f0c030', '#fff090']
GREEN = ['#0c2e12', '#1c5a22', '#2e8a32', '#52b83e', '#a0e070']
BLUE = ['#0a1240', '#1a2e8a', '#2e5ad0', '#5a96f0', '#a8d4ff']
CYAN = ['#0e2a50', '#1a6aa8', '#2ea8e0', '#7ae0f8', '#d0faff']
BROWN = ['#2e1a0c', '#5a3418', '#8a5428', '#b87a3e', '#e0aa6a']
SKIN = ['#6a3a22', '#c8845a', '#f0b488', '#ffd8b4']
KHAKI = ['#4e3e1c', '#8e7640', '#c0a462', '#e6d08e']


# ----------------------------------------------------------------------------
# Tiles


def brick_wall():
    """1: grey brick wall, seamless when walls stand side by side."""
    c = Canvas()
    mortar, shadow, face, lit, bright = GREY[1], GREY[2], GREY[3], GREY[4], GREY[5]
    speck = '#84848f'
    for x, y in c.each():
        row = y // 8
        offset = 0 if row % 2 == 0 else 8
        bx = (x + offset) % 16
        by = y % 8
        if by == 7 or bx == 15:
            col = mortar
        elif by == 0 and bx <= 13:
            col = bright if bx <= 10 else lit
        elif bx == 0 and by <= 5:
            col = lit
        elif by == 6 or bx == 14:
            col = shadow
        else:
            col = face
            n = (x * 7 + y * 13 + (x * y) % 5) % 11
            if n == 0:
                col = speck
            elif n == 5 and 2 <= by <= 4:
                col = lit
        c.set(x, y, col)
    return c


def palm_tree():
    """2: palm tree on a little mound of sand."""
    c = Canvas()
    sand = ['#8a6a30', '#d8b460', '#f0d890']
    # Sand mound.
    c.fill_where(lambda x, y: ((x - 15) / 8.0) ** 2 + ((y - 32.0) / 3.2) ** 2 <= 1.0,
                 lambda x, y, cx, cy: sand[2] if cy < 30 and cx < 14 else
                 (sand[0] if cx > 19 else sand[1]))
    # Trunk: rings across a curved stem, lit on the left.
    def bark(x, y, t, side):
        s = t * 22.0 + abs(side) * 1.3
        if side > 0.45:
            return BROWN[1]
        if s % 3.4 < 1.0:
            return BROWN[1] if side > -0.2 else BROWN[2]
        return BROWN[4] if side < -0.35 else BROWN[3]
    stroke(c, (14.0, 31.0), (14.5, 20.0), (18.5, 11.5), 2.7, 1.8, bark)
    # Fronds: lighter on top, darker underneath, notched into leaflets.
    fronds = [
        ((18.5, 10.5), (11.0, 2.0), (3.0, 6.0)),
        ((18.0, 11.0), (7.0, 7.0), (2.0, 17.0)),
        ((18.5, 10.5), (25.0, 1.5), (30.0, 6.0)),
        ((19.0, 11.0), (28.0, 8.0), (30.0, 19.0)),
        ((18.5, 10.0), (16.0, 3.0), (12.0, 1.5)),
        ((18.0, 11.5), (11.0, 12.0), (9.5, 20.0)),
        ((19.0, 11.5), (25.0, 12.0), (25.5, 22.0)),
    ]
    for i, (p0, p1, p2) in enumerate(fronds):
        def leaf(x, y, t, side, i=i):
            if t > 0.25 and abs(side) > 0.55 and (x + y + i) % 3 == 0:
                return None  # gaps between leaflets
            if side < -0.25:
                return GREEN[4] if t < 0.7 else GREEN[3]
            if side < 0.35:
                return GREEN[3] if t < 0.5 else GREEN[2]
            return GREEN[1]
        stroke(c, p0, p1, p2, 2.4, 0.7, leaf)
    # Coconuts under the crown.
    for cx, cy in ((16.5, 13.5), (20.0, 13.5)):
        c.fill_where(lambda x, y, cx=cx, cy=cy: (x - cx) ** 2 + (y - cy) ** 2 <= 2.9,
                     lambda x, y, px, py, cx=cx, cy=cy:
                     BROWN[3] if (px - cx) + (py - cy) < -0.9 else BROWN[1])
    c.outline(GREEN[0])
    # The mound sits on the bottom edge: no outline below it.
    return c


def banknote():
    """3: a green banknote with two gold coins."""
    c = Canvas()
    note_dark, note_mid, note_light, note_pale = GREEN[1], '#4a9a48', '#86c46e', '#c4e6a4'
    # Note, slightly tilted.
    pts = [(1.5, 8.5), (27.5, 3.5), (30.5, 18.5), (4.5, 23.5)]
    c.polygon(pts, note_light)
    # Inner frame and central oval.
    inner = [(4.0, 10.0), (25.5, 6.0), (28.0, 17.0), (6.5, 21.0)]
    c.fill_where(lambda x, y: inside_polygon(inner, x, y) and not inside_polygon(
        [(5.2, 11.0), (24.8, 7.3), (26.8, 16.1), (7.3, 19.8)], x, y), note_mid)
    c.fill_where(lambda x, y: ((x - 16.2) / 4.2) ** 2 + ((y - 13.7) / 3.6) ** 2 <= 1.0,
                 lambda x, y, px, py: note_pale if px + py < 29.2 else note_mid)
    c.fill_where(lambda x, y: ((x - 16.2) / 2.0) ** 2 + ((y - 13.7) / 1.8) ** 2 <= 1.0,
                 note_dark)
    # Corner marks.
    c.set(7, 11, note_dark)
    c.set(8, 11, note_dark)
    c.set(23, 16, note_dark)
    c.set(24, 16, note_dark)
    c.outline(GREEN[0])
    # Coins: gold discs with a raised rim.
    def coin(cx, cy, r):
        def col(x, y, px, py):
            d = math.hypot(px - cx, py - cy)
            lit = (px - cx) + (py - cy) < 0
            if d > r - 1.2:
                return GOLD[3] if lit else GOLD[1]
            if d > r - 2.3:
                return GOLD[2] if lit else GOLD[3]
            if (px - cx) + (py - cy) < -r * 0.5:
                return GOLD[4]
            return GOLD[3]
        c.fill_where(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (r + 1) ** 2, GOLD[0])
        c.fill_where(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, col)
    coin(13.0, 25.5, 5.2)
    coin(22.5, 25.0, 5.8)
    return c


def exit_sign():
    """4: a green sign on two posts reading "Exit"."""
    c = Canvas()
    board_dark, board, board_lit = '#0e4a22', '#1e8a3c', '#48b860'
    # Posts.
    for x0 in (6, 23):
        c.rect(x0, 20, x0 + 2, 30, BROWN[2])
        c.rect(x0, 20, x0, 30, BROWN[3])
    # Board with a lit top-left bevel.
    c.rect(1, 4, 30, 20, board)
    c.rect(1, 4, 30, 4, board_lit)
    c.rect(1, 4, 1, 20, board_lit)
    c.rect(2, 20, 30, 20, board_dark)
    c.rect(30, 5, 30, 20, board_dark)
    glyphs = {
        'E': ["#####",
              "#####",
              "##   ",
              "##   ",
              "#### ",
              "#### ",
              "##   ",
              "##   ",
              "#####",
              "#####"],
        'x': ["      ",
              "      ",
              "      ",
              "##  ##",
              "##  ##",
              " #### ",
              "  ##  ",
              " #### ",
              "##  ##",
              "##  ##"],
        'i': ["##",
              "##",
              "  ",
              "##",
              "##",
              "##",
              "##",
              "##",
              "##",
              "##"],
        't': ["     ",
              " ##  ",
              " ##  ",
              "#####",
              "#####",
              " ##  ",
              " ##  ",
              " ##  ",
              " ## #",
              "  ###"],
    }
    x = 4
    top = 7
    for ch in "Exit":
        rows = glyphs[ch]
        # Shadow first, then the letter.
        c.pattern(x + 1, top + 1, [r.replace('#', 's') for r in rows], {'s': board_dark})
        c.pattern(x, top, rows, {'#': WHITE})
        x += len(rows[0]) + 2
    c.outline(GREEN[0])
    return c


def light_bulb():
    """5: a glowing light bulb with a screw base."""
    c = Canvas()
    glass = ['#c07a10', '#f0b020', '#ffd850', '#fff4a0', WHITE]
    cx, cy, r = 16.0, 12.0, 9.5
    # Glass: a sphere that narrows into a neck.
    def in_glass(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
            return True
        if cy <= y <= 22.0:
            half = 4.5 + (22.0 - y) / (22.0 - cy) * 3.5
            return abs(x - cx) <= half
        return False
    def glass_col(x, y, px, py):
        v = sphere_light(px - cx, py - cy, r + 1.5)
        return ramp(v, [(-2, glass[0]), (-0.15, glass[1]), (0.35, glass[2]), (0.72, glass[3])])
    c.fill_where(in_glass, glass_col)
    # Highlight.
    for x, y in ((10, 8), (10, 9), (11, 7), (12, 6), (10, 10), (11, 8)):
        c.set(x, y, glass[4])
    # Filament: two wires and a glowing zigzag.
    for y in range(14, 22):
        c.set(14, y, GREY[2])
        c.set(17, y, GREY[2])
    zig = [(13, 12), (14, 13), (15, 12), (16, 13), (17, 12), (18, 13)]
    for x, y in zig:
        c.set(x, y, '#ff6a00')
    c.set(14, 14, '#ff6a00')
    c.set(17, 14, '#ff6a00')
    # Screw base.
    for y in range(22, 29):
        for x in range(11, 21):
            lit = x <= 13
            dark = x >= 18
            if y % 2 == 0:
                col = GREY[3] if lit else (GREY[1] if dark else GREY[2])
            else:
                col = GREY[5] if lit else (GREY[3] if dark else GREY[4])
            c.set(x, y, col)
    c.rect(13, 29, 18, 29, GREY[1])
    c.rect(14, 30, 17, 30, GREY[0])
    c.outline('#3a2406')
    return c


def life_ring():
    """6: a red and white life ring."""
    c = Canvas()
    cx = cy = 16.0
    ro, ri = 14.2, 6.8
    mid, half = (ro + ri) / 2, (ro - ri) / 2
    reds = [RED[1], RED[2], RED[3], RED[4]]
    whites = [GREY[4], GREY[5], WHITE, WHITE]
    def col(x, y, px, py):
        dx, dy = px - cx, py - cy
        d = math.hypot(dx, dy)
        ang = math.degrees(math.atan2(dy, dx)) % 90
        white = 22 <= ang < 68
        # Tube normal: radial component across the tube, plus towards viewer.
        u = (d - mid) / half
        nz = math.sqrt(max(0.0, 1 - u * u))
        nx, ny = dx / d * u, dy / d * u
        v = nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]
        shades = whites if white else reds
        return ramp(v, [(-2, shades[0]), (0.0, shades[1]), (0.45, shades[2]), (0.88, shades[3])])
    c.fill_where(lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= ro * ro, col)
    c.outline(RED[0])
    return c


def diamond():
    """7: a cut diamond with a sparkle."""
    c = Canvas()
    a, m, b = (9.0, 5.0), (16.0, 5.0), (23.0, 5.0)
    g0, g1, g2, g3, g4 = (2.0, 12.0), (9.5, 12.0), (16.0, 12.0), (22.5, 12.0), (30.0, 12.0)
    p = (16.0, 29.5)
    facets = [
        ([g0, a, g1], CYAN[3]),
        ([a, m, g2, g1], CYAN[4]),
        ([m, b, g3, g2], CYAN[3]),
        ([b, g4, g3], CYAN[2]),
        ([g0, g1, p], CYAN[3]),
        ([g1, g2, p], CYAN[2]),
        ([g2, g3, p], BLUE[2]),
        ([g3, g4, p], CYAN[1]),
    ]
    for pts, colour in facets:
        c.polygon(pts, colour)
    # Girdle: a bright band where crown meets pavilion.
    for x in range(3, 29):
        if c.get(x, 12) is not None:
            c.set(x, 12, WHITE if x < 16 else CYAN[4])
    # Table shine.
    for x, y in ((11, 7), (12, 6), (12, 7), (13, 6), (10, 8)):
        c.set(x, y, WHITE)
    c.outline(CYAN[0])
    # Sparkle at the top right.
    for x, y in ((27, 1), (27, 2), (27, 3), (27, 4), (27, 5), (25, 3), (26, 3), (28, 3), (29, 3)):
        c.set(x, y, WHITE)
    return c


def boulder():
    """80: a round grey boulder."""
    c = Canvas()
    cx, cy = 16.0, 16.5
    def radius(px, py):
        ang = math.atan2(py - cy, px - cx)
        return 13.8 + 0.45 * math.sin(3 * ang + 0.6) + 0.3 * math.sin(5 * ang + 2.0)
    def inside(px, py):
        return math.hypot(px - cx, py - cy) <= radius(px, py) and py < 30.9
    def col(x, y, px, py):
        v = sphere_light(px - cx, py - cy, 14.5)
        v += 0.04 * math.sin(px * 1.7 + py * 2.3) * math.cos(px * 0.9 - py * 1.3)
        return ramp(v, [(-2, GREY[1]), (-0.1, GREY[2]), (0.3, GREY[3]), (0.62, GREY[4]),
                        (0.86, GREY[5])])
    c.fill_where(inside, col)
    # Cracks and pits.
    crack = [(19, 6), (20, 7), (20, 8), (21, 9), (22, 9)]
    crack += [(9, 18), (10, 19), (11, 19), (12, 20), (12, 21)]
    crack += [(22, 21), (23, 22), (23, 23)]
    for x, y in crack:
        c.set(x, y, GREY[1])
    for x, y in ((20, 6), (21, 8), (10, 18), (11, 18), (13, 21), (24, 22)):
        if c.get(x, y) is not None:
            c.set(x, y, GREY[4] if y < 16 else GREY[3])
    c.outline(GREY[0])
    return c


def ant():
    """81: a red-brown ant seen from above, head up."""
    c = Canvas()
    body = ['#2a0e06', '#5e2410', '#94381a', '#c8582a', '#f09060']
    leg = body[1]
    # Legs first so the body covers their roots.
    legs = [
        [(14, 13), (11, 11), (9, 9), (8, 8), (7, 5)],
        [(17, 13), (20, 11), (22, 9), (23, 8), (24, 5)],
        [(14, 15), (10, 15), (7, 15), (5, 17), (4, 19)],
        [(17, 15), (21, 15), (24, 15), (26, 17), (27, 19)],
        [(14, 17), (11, 19), (8, 22), (7, 25), (6, 28)],
        [(17, 17), (20, 19), (23, 22), (24, 25), (25, 28)],
    ]
    for pts in legs:
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            c.line(x0, y0, x1, y1, leg)
    # Antennae with an elbow.
    for pts in ([(14, 4), (12, 2), (10, 2), (9, 1)], [(17, 4), (19, 2), (21, 2), (22, 1)]):
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            c.line(x0, y0, x1, y1, leg)
    parts = [(16.0, 7.0, 4.0, 3.6), (16.0, 14.5, 2.6, 3.6), (16.0, 23.5, 5.2, 6.4)]
    def shade(cx, cy, rx, ry):
        def col(x, y, px, py):
            v = sphere_light((px - cx) / rx * 8, (py - cy) / ry * 8, 8.6)
            return ramp(v, [(-2, body[1]), (0.05, body[2]), (0.5, body[3]), (0.85, body[4])])
        return col
    for cx, cy, rx, ry in parts:
        c.ellipse(cx, cy, rx, ry, shade(cx, cy, rx, ry))
    c.rect(15, 18, 16, 18, body[2])  # waist
    # Eyes and mandibles.
    for x, y in ((12, 6), (12, 7), (19, 6), (19, 7)):
        c.set(x, y, body[0])
    c.set(12, 6, '#fff0e0')
    c.set(19, 6, '#fff0e0')
    c.set(14, 11, body[1])
    c.set(17, 11, body[1])
    # Stripes on the abdomen.
    for x in range(12, 21):
        for y in (21, 25):
            if c.get(x, y) not in (None,) and c.get(x, y) != body[4]:
                c.set(x, y, body[1] if x > 15 else body[2])
    c.outline(body[0])
    return c


def pyramid():
    """82: a grey stepped pyramid of four tiers, seen from the front and a
    little from above, so each tier's top shows as a lit ledge."""
    c = Canvas()
    tread_lit, tread, face_lit, face, face_dark, edge = \
        GREY[6], GREY[5], GREY[4], GREY[3], GREY[2], GREY[1]
    tiers = [  # (left, right, ledge top row, front face top row, bottom row)
        (1, 30, 24, 26, 30),
        (5, 26, 17, 19, 23),
        (9, 22, 10, 12, 16),
        (13, 18, 2, 5, 9),
    ]
    for left, right, ledge, front, bottom in tiers:
        # Ledge: narrows by a pixel per row towards the back.
        for y in range(ledge, front):
            inset = front - 1 - y
            c.rect(left + inset, y, right - inset, y, tread)
            c.set(left + inset, y, tread_lit)
        c.rect(left, front - 1, right, front - 1, tread_lit)
        # Front face: stone courses with staggered joints.
        c.rect(left, front, right, bottom, face)
        c.rect(left, front, left, bottom, face_lit)
        c.rect(right - 1, front, right, bottom, face_dark)
        c.rect(left, bottom, right, bottom, face_dark)
        for y in range(front, bottom):
            row = y - front
            if row == 2:
                c.rect(left + 1, y, right - 2, y, face_dark)
            elif row != 0:
                for x in range(left + 2, right - 2):
                    if (x - left + (3 if row > 2 else 0)) % 6 == 0:
                        c.set(x, y, face_dark)
    # The top tier's flat roof is one lit slab.
    c.rect(14, 2, 17, 2, tread_lit)
    c.outline(edge)
    return c


def floppy_disk():
    """83: a floppy disk with its metal shutter and label."""
    c = Canvas()
    body = ['#0c1434', '#1c2c66', '#2c4494', '#4a68c0']
    # Body with a clipped top-right corner.
    c.polygon([(2, 2), (27, 2), (30, 5), (30, 30), (2, 30)], body[2])
    c.rect(2, 2, 26, 2, body[3])
    c.rect(2, 2, 2, 29, body[3])
    c.rect(3, 29, 29, 29, body[1])
    c.rect(29, 6, 29, 29, body[1])
    # Shutter with its window.
    c.rect(9, 2, 23, 11, GREY[4])
    c.rect(9, 2, 23, 2, GREY[5])
    c.rect(9, 2, 9, 11, GREY[5])
    c.rect(23, 3, 23, 11, GREY[2])
    c.rect(10, 11, 23, 11, GREY[2])
    c.rect(17, 4, 20, 9, body[0])
    # Label with writing lines.
    c.rect(6, 15, 26, 29, GREY[6])
    c.rect(6, 15, 26, 15, WHITE)
    c.rect(26, 16, 26, 29, GREY[4])
    for y in (19, 22, 25):
        c.rect(8, y, 24, y, '#8aa0d8')
    c.rect(8, 17, 14, 17, RED[2])
    # Write-protect hole.
    c.rect(3, 27, 4, 28, body[0])
    c.outline(body[0])
    return c


def clock():
    """84: a clock face with a brass rim."""
    c = Canvas()
    cx = cy = 16.0
    def rim(x, y, px, py):
        v = sphere_light(px - cx, py - cy, 15.0)
        dx, dy = px - cx, py - cy
        d = math.hypot(dx, dy)
        # Rim is a tube: lit outer edge at top left, lit inner edge at bottom right.
        u = (d - 13.0) / 2.0
        v = (dx / d * u) * LIGHT[0] + (dy / d * u) * LIGHT[1] + math.sqrt(max(0, 1 - u * u)) * LIGHT[2]
        return ramp(v, [(-2, GOLD[1]), (0.1, GOLD[2]), (0.5, GOLD[3]), (0.85, GOLD[4])])
    c.fill_where(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= 14.6 ** 2, rim)
    face = ['#c8c0b0', '#ece6da', '#fffdf6']
    c.fill_where(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= 11.2 ** 2,
                 lambda x, y, px, py: face[0] if math.hypot(px - cx - 1.5, py - cy - 1.5) > 11.2
                 else (face[1] if math.hypot(px - cx - 0.8, py - cy - 0.8) > 11.0 else face[2]))
    ink = '#1e1a24'
    # Hour marks: bold at 12, 3, 6 and 9.
    for hour in range(12):
        ang = math.radians(hour * 30)
        sx, sy = math.sin(ang), -math.cos(ang)
        if hour % 3 == 0:
            for rr in (8.6, 9.6):
                x, y = int(math.floor(cx + sx * rr)), int(math.floor(cy + sy * rr))
                c.set(x, y, ink)
                if hour in (0, 6):
                    c.set(x - 1, y, ink)
                else:
                    c.set(x, y - 1, ink)
        else:
            x, y = int(math.floor(cx + sx * 9.4)), int(math.floor(cy + sy * 9.4))
            c.set(x, y, GREY[2])
    # Hands at ten past ten.
    c.line(15, 15, 11, 12, ink)
    c.line(15, 16, 11, 13, ink)
    c.line(16, 15, 21, 9, ink)
    c.line(16, 16, 22, 9, ink)
    c.rect(15, 15, 16, 16, RED[2])
    c.set(15, 15, RED[4])
    c.outline(GOLD[0])
    return c


def arrow_panel():
    """85: a grey panel with red arrows at its left and right sides and white
    arrows at its top and bottom, all pointing outwards."""
    c = Canvas()
    c.rect(1, 1, 30, 30, GREY[3])
    c.rect(1, 1, 30, 1, GREY[5])
    c.rect(1, 1, 1, 30, GREY[5])
    c.rect(2, 2, 29, 2, GREY[4])
    c.rect(2, 2, 2, 29, GREY[4])
    c.rect(2, 30, 30, 30, GREY[1])
    c.rect(30, 2, 30, 30, GREY[1])
    c.rect(3, 29, 29, 29, GREY[2])
    c.rect(29, 3, 29, 29, GREY[2])
    # Rivets in the corners.
    for x, y in ((5, 5), (25, 5), (5, 25), (25, 25)):
        c.set(x, y, GREY[5])
        c.set(x + 1, y + 1, GREY[1])
        c.set(x + 1, y, GREY[2])
        c.set(x, y + 1, GREY[4])
    # An arrow pointing left, as rows of (dx, dy) cells; turned for the others.
    head = ["    #",
            "   ##",
            "  ###",
            " ####",
            "#####",
            " ####",
            "  ###",
            "   ##",
            "    #"]
    def arrow(ox, oy, turn, fill, dark):
        cells = set()
        for j, row in enumerate(head):
            for i, ch in enumerate(row):
                if ch == '#':
                    cells.add((i, j - 4))
        for i in range(5, 9):
            for j in (-1, 0, 1):
                cells.add((i, j))
        def rot(i, j):
            for _ in range(turn):
                i, j = -j, i
            return i, j
        pts = {rot(i, j) for i, j in cells}
        # Dark rim, then fill.
        for i, j in pts:
            for di in (-1, 0, 1):
                for dj in (-1, 0, 1):
                    if (i + di, j + dj) not in pts:
                        c.set(ox + i + di, oy + j + dj, dark)
        for i, j in pts:
            c.set(ox + i, oy + j, fill)
    dark_red = RED[0]
    arrow(4, 15, 0, RED[3], dark_red)      # left, pointing left
    arrow(27, 16, 2, RED[3], dark_red)     # right, pointing right
    arrow(16, 4, 1, WHITE, GREY[1])        # top, pointing up
    arrow(15, 27, 3, WHITE, GREY[1])       # bottom, pointing down
    c.outline(GREY[0])
    return c


def globe():
    """86: a globe with blue seas and green lands."""
    c = Canvas()
    cx, cy, r = 16.0, 16.0, 14.2
    lands = [  # (longitude, latitude, radius) blobs in degrees
        (-45, 35, 30), (-30, 5, 22), (-55, 55, 22), (-20, -30, 24),
        (40, 25, 28), (60, 45, 26), (30, -15, 20), (70, -35, 14), (-80, -10, 10),
    ]
    def col(x, y, px, py):
        dx, dy = (px - cx) / r, (py - cy) / r
        dz = math.sqrt(max(0.0, 1 - dx * dx - dy * dy))
        lat = math.degrees(math.asin(-dy))
        lon = math.degrees(math.atan2(dx, dz))
        land = False
        for lo, la, rad in lands:
            # Great-circle-ish distance in degrees.
            d = math.hypot((lon - lo) * math.cos(math.radians((lat + la) / 2)), lat - la)
            if d < rad * (0.68 + 0.14 * math.sin(lon * 0.2 + lat * 0.3)):
                land = True
        v = sphere_light(px - cx, py - cy, r + 0.5)
        if land:
            return ramp(v, [(-2, GREEN[1]), (0.15, GREEN[2]), (0.55, GREEN[3]), (0.85, GREEN[4])])
        return ramp(v, [(-2, BLUE[1]), (0.15, BLUE[2]), (0.55, BLUE[3]), (0.88, BLUE[4])])
    c.disc(cx, cy, r, col)
    c.outline(BLUE[0])
    return c


def ray_dot():
    """87: a red dot giving off rays."""
    c = Canvas()
    cx = cy = 16.0
    rays = ['#ff5a2a', '#ffa040']
    for k in range(8):
        ang = math.radians(k * 45)
        length = 14.5 if k % 2 == 0 else 12.5
        sx, sy = math.cos(ang), math.sin(ang)
        def in_ray(px, py, sx=sx, sy=sy, length=length):
            along = (px - cx) * sx + (py - cy) * sy
            across = abs(-(px - cx) * sy + (py - cy) * sx)
            if not 8.0 <= along <= length:
                return False
            return across <= 1.6 * (1 - (along - 8.0) / (length - 8.0)) + 0.45
        c.fill_where(in_ray, lambda x, y, px, py, sx=sx, sy=sy:
                     rays[1] if (px - cx) * sy - (py - cy) * sx < 0 else rays[0])
    def dot(x, y, px, py):
        v = sphere_light(px - cx, py - cy, 6.5)
        return ramp(v, [(-2, RED[1]), (0.05, RED[2]), (0.45, RED[3]), (0.82, RED[4])])
    c.disc(cx, cy, 6.2, dot)
    c.set(13, 12, WHITE)
    c.set(12, 13, WHITE)
    c.outline(RED[0])
    return c


def target_ring():
    """88: a blue ring around a red centre."""
    c = Canvas()
    cx = cy = 16.0
    ro, ri = 14.2, 8.6
    mid, half = (ro + ri) / 2, (ro - ri) / 2
    def ring(x, y, px, py):
        dx, dy = px - cx, py - cy
        d = math.hypot(dx, dy)
        u = (d - mid) / half
        nz = math.sqrt(max(0.0, 1 - u * u))
        v = dx / d * u * LIGHT[0] + dy / d * u * LIGHT[1] + nz * LIGHT[2]
        return ramp(v, [(-2, BLUE[1]), (0.1, BLUE[2]), (0.55, BLUE[3]), (0.88, BLUE[4])])
    c.fill_where(lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= ro * ro, ring)
    def dot(x, y, px, py):
        v = sphere_light(px - cx, py - cy, 5.5)
        return ramp(v, [(-2, RED[1]), (0.05, RED[2]), (0.45, RED[3]), (0.82, RED[4])])
    c.disc(cx, cy, 5.2, dot)
    c.outline(BLUE[0])
    return c


def square_in_square():
    """90: a blue square holding a red square."""
    c = Canvas()
    def block(x0, y0, x1, y1, shades):
        dark, mid, face, lit = shades
        c.rect(x0, y0, x1, y1, face)
        c.rect(x0, y0, x1, y0 + 1, lit)
        c.rect(x0, y0, x0 + 1, y1, lit)
        c.rect(x0 + 1, y1 - 1, x1, y1, dark)
        c.rect(x1 - 1, y0 + 1, x1, y1, dark)
        c.set(x0, y1, lit)
        c.set(x0 + 1, y1 - 1, mid)
        c.set(x1, y0, mid)
        c.set(x1 - 1, y0 + 1, mid)
    block(1, 1, 30, 30, (BLUE[1], BLUE[2], BLUE[2], BLUE[3]))
    # Inner square sits in a dark groove.
    c.rect(9, 9, 22, 22, BLUE[0])
    block(10, 10, 22, 22, (RED[1], RED[2], RED[3], RED[4]))
    c.outline(BLUE[0])
    return c


# ----------------------------------------------------------------------------
# The player figure: a round-headed explorer in a sun helmet.

SHIRT = ['#0e3a3a', '#1e6e66', '#2e9a8a', '#5cc8b0']
HAIR = [BROWN[1], BROWN[2]]
OUTLINE = '#24141a'
ROSY = '#e07464'  # cheeks and mouth


def _helmet(c, cx, top, brim_y, brim_rx):
    """Dome and brim of the sun helmet, lit from the top left."""
    base = brim_y + 0.5
    height = base - top
    def dome(x, y, px, py):
        v = sphere_light(px - cx, (py - base) * 7.5 / height, 8.2)
        return ramp(v, [(-2, KHAKI[1]), (-0.15, KHAKI[2]), (0.55, KHAKI[3])])
    c.fill_where(lambda x, y: abs((x - cx) / 7.5) ** 2.2 + abs((y - base) / height) ** 2.2 <= 1.0
                 and y <= base, dome)
    # Band just above the brim.
    for x in range(SIZE):
        if c.get(x, brim_y - 1) in KHAKI:
            c.set(x, brim_y - 1, BROWN[1])
    c.fill_where(lambda x, y: ((x - cx) / brim_rx) ** 2 + ((y - (brim_y + 1.0)) / 1.1) ** 2 <= 1.0,
                 lambda x, y, px, py: KHAKI[3] if py < brim_y + 1 and px < cx + 2 else
                 (KHAKI[2] if py < brim_y + 1 else KHAKI[1]))


def _head(c, cx, cy, r):
    def skin(x, y, px, py):
        v = sphere_light(px - cx, py - cy, r + 0.8)
        return ramp(v, [(-2, SKIN[1]), (-0.12, SKIN[2]), (0.93, SKIN[3])])
    c.disc(cx, cy, r, skin)


def figure_down():
    c = Canvas()
    # Legs and boots.
    for x0 in (11, 17):
        c.rect(x0 + 1, 26, x0 + 3, 27, SKIN[2])
        c.rect(x0, 28, x0 + 4, 30, BROWN[2])
        c.rect(x0, 28, x0 + 4, 28, BROWN[3])
        c.rect(x0, 30, x0 + 4, 30, BROWN[1])
    # Shorts.
    c.rect(11, 23, 21, 25, KHAKI[2])
    c.rect(19, 23, 21, 25, KHAKI[1])
    c.rect(16, 24, 16, 25, KHAKI[1])
    # Shirt with rounded shoulders.
    c.polygon([(10, 18.5), (22, 18.5), (22.5, 23), (9.5, 23)], SHIRT[2])
    c.rect(10, 18, 21, 18, SHIRT[3])
    c.rect(19, 19, 21, 22, SHIRT[1])
    c.rect(15, 19, 16, 21, SHIRT[3])  # collar opening
    c.rect(15, 19, 16, 19, SKIN[2])
    # Belt.
    c.rect(10, 22, 21, 22, BROWN[1])
    c.rect(15, 22, 16, 22, KHAKI[3])
    # Arms.
    c.rect(8, 19, 9, 22, SHIRT[2])
    c.rect(8, 19, 8, 20, SHIRT[3])
    c.rect(8, 23, 9, 24, SKIN[2])
    c.rect(22, 19, 23, 22, SHIRT[1])
    c.rect(22, 23, 23, 24, SKIN[1])
    # Head and face.
    _head(c, 16.0, 12.0, 7.0)
    for x in (13, 18):
        c.rect(x, 11, x, 13, OUTLINE)
        c.set(x, 11, WHITE)
    c.set(11, 14, ROSY)
    c.set(20, 14, ROSY)
    c.rect(15, 16, 16, 16, ROSY)
    _helmet(c, 16.0, 1.5, 8, 10.5)
    c.outline(OUTLINE)
    return c


def figure_up():
    c = Canvas()
    for x0 in (11, 17):
        c.rect(x0 + 1, 26, x0 + 3, 27, SKIN[2])
        c.rect(x0, 28, x0 + 4, 30, BROWN[2])
        c.rect(x0, 28, x0 + 4, 28, BROWN[3])
        c.rect(x0, 30, x0 + 4, 30, BROWN[1])
    c.rect(11, 23, 21, 25, KHAKI[2])
    c.rect(19, 23, 21, 25, KHAKI[1])
    c.rect(16, 24, 16, 25, KHAKI[1])
    c.polygon([(10, 18.5), (22, 18.5), (22.5, 23), (9.5, 23)], SHIRT[2])
    c.rect(10, 18, 21, 18, SHIRT[3])
    c.rect(19, 19, 21, 22, SHIRT[1])
    c.rect(10, 22, 21, 22, BROWN[1])
    c.rect(8, 19, 9, 22, SHIRT[2])
    c.rect(8, 19, 8, 20, SHIRT[3])
    c.rect(8, 23, 9, 24, SKIN[2])
    c.rect(22, 19, 23, 22, SHIRT[1])
    c.rect(22, 23, 23, 24, SKIN[1])
    # Head from behind: hair all round, ears showing.
    def hair(x, y, px, py):
        v = sphere_light(px - 16.0, py - 12.0, 7.8)
        return HAIR[1] if v > 0.7 else HAIR[0]
    c.disc(16.0, 12.0, 7.0, hair)
    c.set(8, 12, SKIN[2])
    c.set(8, 13, SKIN[1])
    c.set(23, 12, SKIN[1])
    c.set(23, 13, SKIN[1])
    # Backpack.
    c.rect(12, 18, 19, 24, BROWN[3])
    c.rect(12, 18, 19, 18, BROWN[4])
    c.rect(18, 19, 19, 24, BROWN[2])
    c.rect(12, 24, 19, 24, BROWN[1])
    c.rect(13, 20, 18, 20, BROWN[1])
    c.rect(15, 21, 16, 21, KHAKI[3])
    _helmet(c, 16.0, 1.5, 8, 10.5)
    c.outline(OUTLINE)
    return c


def figure_right():
    c = Canvas()
    # Back leg then front leg, mid-stride.
    c.rect(12, 25, 14, 27, SKIN[1])
    c.rect(10, 28, 14, 30, BROWN[1])
    c.rect(10, 28, 14, 28, BROWN[2])
    c.rect(18, 25, 20, 27, SKIN[2])
    c.rect(18, 28, 23, 30, BROWN[2])
    c.rect(18, 28, 23, 28, BROWN[3])
    c.rect(18, 30, 23, 30, BROWN[1])
    # Shorts.
    c.polygon([(11.5, 22.5), (20.5, 22.5), (21.5, 26), (11, 26)], KHAKI[2])
    c.rect(11, 25, 13, 25, KHAKI[1])
    # Shirt, narrower in profile.
    c.polygon([(11.5, 18.5), (20.5, 18.5), (21, 23), (11, 23)], SHIRT[2])
    c.rect(11, 18, 20, 18, SHIRT[3])
    c.rect(11, 22, 20, 22, BROWN[1])
    # Small pack on the back.
    c.rect(9, 18, 11, 22, BROWN[2])
    c.rect(9, 18, 11, 18, BROWN[3])
    # Arm swinging forward.
    c.rect(15, 19, 17, 21, SHIRT[1])
    c.rect(15, 19, 16, 19, SHIRT[3])
    c.rect(18, 21, 19, 22, SHIRT[1])
    c.rect(19, 23, 20, 24, SKIN[2])
    # Head: hair at the back, face to the right.
    _head(c, 16.0, 12.0, 7.0)
    def hair(x, y, px, py):
        return HAIR[1] if py < 11 else HAIR[0]
    c.fill_where(lambda x, y: (x - 16.0) ** 2 + (y - 12.0) ** 2 <= 49.0
                 and (x < 13.0 or (x < 16.0 and y < 10.0)) and y < 16.5, hair)
    c.rect(13, 12, 14, 13, SKIN[1])  # ear
    c.set(13, 12, SKIN[2])
    c.rect(20, 11, 20, 13, OUTLINE)  # eye
    c.set(20, 11, WHITE)
    c.set(23, 14, SKIN[2])  # nose
    c.set(23, 13, SKIN[3])
    c.set(19, 14, ROSY)
    c.set(20, 16, ROSY)
    _helmet(c, 16.0, 1.5, 8, 10.5)
    c.outline(OUTLINE)
    return c


# ----------------------------------------------------------------------------


TILES = {
    1: brick_wall,
    2: palm_tree,
    3: banknote,
    4: exit_sign,
    5: light_bulb,
    6: life_ring,
    7: diamond,
    80: boulder,
    81: ant,
    82: pyramid,
    83: floppy_disk,
    84: clock,
    85: arrow_panel,
    86: globe,
    87: ray_dot,
    88: target_ring,
    90: square_in_square,
}

SYMBOLS = ".#+@$%&*=-;:>,<1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"


def write_xpm(path, name, canvas):
    colours = []
    for x, y in canvas.each():
        col = canvas.px[y][x]
        if col is not None and col not in colours:
            colours.append(col)
    has_clear = any(canvas.px[y][x] is None for x, y in canvas.each())
    count = len(colours) + (1 if has_clear else 0)
    if count > 16:
        raise SystemExit(f"{path}: {count} colours, at most 16 allowed")
    symbol = {None: ' '}
    for i, col in enumerate(colours):
        symbol[col] = SYMBOLS[i]
    lines = ['/* XPM */', f'static const char *const {name}[] = {{',
             f'"{SIZE} {SIZE} {count} 1",']
    if has_clear:
        lines.append('"  c None",')
    for col in colours:
        lines.append(f'"{symbol[col]} c {col}",')
    rows = [''.join(symbol[canvas.px[y][x]] for x in range(SIZE)) for y in range(SIZE)]
    for i, row in enumerate(rows):
        lines.append(f'"{row}"' + (',' if i < SIZE - 1 else ''))
    lines.append('};')
    text = '\n'.join(lines) + '\n'
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', encoding='ascii') as f:
        f.write(text)


def main():
    for code, draw in TILES.items():
        write_xpm(os.path.join(HERE, 'tiles', f'{code}.xpm'), f'tile_{code}', draw())
    right = figure_right()
    figures = {
        'down': figure_down(),
        'up': figure_up(),
        'right': right,
        'left': right.mirrored(),
    }
    for facing, canvas in figures.items():
        write_xpm(os.path.join(HERE, 'figure', f'{facing}.xpm'), f'figure_{facing}', canvas)


if __name__ == '__main__':
    main()
