"""Vector glyphs of the strip buttons, also used small on the banners.

A glyph is a list of parts (role, operations); each operation adds a shape
to or cuts it from that part.  Coordinates are in a 40 x 40 design space and
are placed on a canvas by a Place (offset and scale).
"""
import math

import raster as R


class Place:
    def __init__(self, ox=0.0, oy=0.0, s=1.0):
        self.ox, self.oy, self.s = ox, oy, s

    def x(self, v):
        return self.ox + v * self.s

    def y(self, v):
        return self.oy + v * self.s

    def circle(self, cx, cy, r):
        return R.circle(self.x(cx), self.y(cy), r * self.s)

    def ring(self, cx, cy, r, w):
        return R.ring(self.x(cx), self.y(cy), r * self.s, w * self.s)

    def ellipse(self, cx, cy, rx, ry, angle=0.0):
        return R.ellipse(self.x(cx), self.y(cy), rx * self.s, ry * self.s, angle)

    def rrect(self, x0, y0, x1, y1, r=0.0):
        return R.rrect(self.x(x0), self.y(y0), self.x(x1), self.y(y1), r * self.s)

    def capsule(self, ax, ay, bx, by, w):
        return R.capsule(self.x(ax), self.y(ay), self.x(bx), self.y(by), w * self.s)

    def polygon(self, pts):
        return R.polygon([(self.x(a), self.y(b)) for a, b in pts])


def disc_stack(p):
    return [
        ("dim", [("add", p.circle(24, 23, 11)), ("cut", p.circle(24, 23, 2.4))]),
        ("edge", [("add", p.circle(17, 16, 12.2))]),
        ("main", [("add", p.circle(17, 16, 11)), ("cut", p.circle(17, 16, 2.4))]),
        ("accent", [("add", p.circle(17, 16, 5.2)), ("cut", p.circle(17, 16, 2.4))]),
    ]


def gear(p):
    pts = []
    teeth = 8
    for i in range(teeth * 4):
        a = (i / (teeth * 4.0)) * 2 * math.pi
        r = 12.5 if (i % 4) in (1, 2) else 9.6
        pts.append((20 + r * math.cos(a), 19 + r * math.sin(a)))
    return [
        ("main", [("add", p.polygon(pts)), ("add", p.circle(20, 19, 10.2)), ("cut", p.circle(20, 19, 5.2))]),
        ("accent", [("add", p.circle(20, 19, 2.6))]),
    ]


def play(p, shift=0.0):
    return [("accent", [("add", p.polygon([(8 - shift, 7), (8 - shift, 31), (29 - shift, 19)]))])]


def enqueue(p):
    return [
        ("main", [("add", p.polygon([(5, 12), (5, 30), (19, 21)]))]),
        ("accent", [("add", p.rrect(18.5, 9.8, 31.5, 13.6, 1)), ("add", p.rrect(23.1, 5.2, 26.9, 18.2, 1))]),
    ]


def ready(p):
    return [
        ("accent", [("add", p.rrect(11, 4, 18, 15, 1)), ("add", p.polygon([(5.5, 13.5), (23.5, 13.5), (14.5, 23.5)]))]),
        ("main", [("add", p.rrect(3, 26.5, 25.5, 30, 1.2)), ("add", p.rrect(3, 19.5, 6.6, 30, 1.2)),
                  ("add", p.rrect(21.9, 19.5, 25.5, 30, 1.2))]),
    ]


def bin_(p):
    return [
        ("main", [("add", p.polygon([(9, 12), (27, 12), (25, 32), (11, 32)])),
                  ("cut", p.rrect(13.5, 15, 15.5, 29, 1)), ("cut", p.rrect(20.5, 15, 22.5, 29, 1))]),
        ("accent", [("add", p.rrect(7, 7.5, 29, 10.5, 1.2)), ("add", p.rrect(14, 4.5, 22, 8, 1.2))]),
    ]


def pencil(p):
    return [
        ("main", [("add", p.polygon([(12, 21), (25, 8), (30, 13), (17, 26)]))]),
        ("accent", [("add", p.polygon([(12, 21), (17, 26), (8, 30)])), ("add", p.polygon([(25, 8), (27, 6), (32, 11), (30, 13)]))]),
    ]


def minus_badge(p):
    return [
        ("edge", [("add", p.circle(29, 28, 8.2))]),
        ("accent", [("add", p.circle(29, 28, 7)), ("cut", p.rrect(24.5, 26.6, 33.5, 29.4, 0.8))]),
    ]


def list_badge(p, selected):
    parts = []
    for i, y in enumerate((23, 27.5, 32)):
        shapes = [("add", p.rrect(27, y, 29.6, y + 2.6, 0.7)), ("add", p.rrect(31, y, 37, y + 2.6, 0.7))]
        role = ("accent" if i == 1 else "dim") if selected else "main"
        parts.append((role, shapes))
    return parts


def button_glyph(name, p):
    """The parts of a strip button's glyph."""
    if name == "media-store":
        return disc_stack(p)
    if name == "config":
        return gear(p)
    kind, which = name.split("-")
    selected = which == "selected"
    if kind == "play":
        base = play(p, shift=2.0)
    elif kind == "enqueue":
        base = enqueue(p)
    else:
        base = ready(p)
    return base + list_badge(p, selected)


def button_accent(name):
    import palette as P
    if name.startswith("play"):
        return P.GREEN
    if name.startswith("enqueue"):
        return P.BLUE
    return P.AMBER


def draw(canvas, parts, colors, shadow=None, offset=(0, 0)):
    """Paints parts with colours by role; shadow is (colour, alpha, dx, dy)."""
    w, h = canvas.w, canvas.h
    masks = []
    for role, ops in parts:
        m = R.Mask(w, h)
        for op, shape in ops:
            if op == "add":
                m.add(shape)
            else:
                m.cut(shape)
        masks.append((role, m))
    if shadow:
        color, alpha, dx, dy = shadow
        union = R.Mask(w, h)
        for role, m in masks:
            if role in colors:
                union.a = [max(a, b) for a, b in zip(union.a, m.a)]
        R.paint(canvas, union, color, alpha, dx + offset[0], dy + offset[1])
    for role, m in masks:
        if role not in colors:
            continue
        color = colors[role]
        alpha = 1.0
        if isinstance(color, tuple) and len(color) == 2 and isinstance(color[0], tuple):
            color, alpha = color
        R.paint(canvas, m, color, alpha, offset[0], offset[1])
