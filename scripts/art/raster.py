"""Pixels, coverage masks and anti-aliased shapes, and the BMP and ICO writers.

Everything is plain floating-point arithmetic in a fixed order, so the same
source always yields the same bytes.
"""
import math
import struct

from font import text_pixels


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    """Linear blend of two RGB colours, t = 0 gives a, t = 1 gives b."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def scale_rgb(c, f):
    return tuple(min(255.0, c[i] * f) for i in range(3))


class Canvas:
    """An RGBA image with straight alpha; opaque unless made with clear=True."""

    def __init__(self, w, h, color=(0, 0, 0), clear=False):
        self.w, self.h = w, h
        a = 0.0 if clear else 1.0
        self.px = [[float(color[0]), float(color[1]), float(color[2]), a] for _ in range(w * h)]

    def blend(self, x, y, color, alpha):
        if alpha <= 0.0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        p = self.px[y * self.w + x]
        da = p[3]
        out_a = alpha + da * (1.0 - alpha)
        if out_a <= 0.0:
            return
        k = da * (1.0 - alpha)
        for i in range(3):
            p[i] = (color[i] * alpha + p[i] * k) / out_a
        p[3] = out_a

    def fill(self, color_at):
        """Overwrites every pixel with color_at(x, y), opaque."""
        for y in range(self.h):
            for x in range(self.w):
                c = color_at(x, y)
                self.px[y * self.w + x] = [float(c[0]), float(c[1]), float(c[2]), 1.0]

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for y in range(h):
            for x in range(w):
                out.px[y * w + x] = list(self.px[(y0 + y) * self.w + x0 + x])
        return out

    def rgba8(self, x, y):
        p = self.px[y * self.w + x]
        return tuple(int(math.floor(clamp01(v / 255.0) * 255.0 + 0.5)) for v in p[:3]) + (
            int(math.floor(clamp01(p[3]) * 255.0 + 0.5)),)


class Mask:
    """Coverage values 0..1, combined by union (add) and difference (cut)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.a = [0.0] * (w * h)

    def _each(self, shape):
        cov, (x0, y0, x1, y1) = shape
        for y in range(max(0, int(math.floor(y0)) - 1), min(self.h, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(math.floor(x0)) - 1), min(self.w, int(math.ceil(x1)) + 1)):
                c = cov(x + 0.5, y + 0.5)
                if c > 0.0:
                    yield y * self.w + x, c

    def add(self, shape):
        for i, c in self._each(shape):
            self.a[i] = max(self.a[i], c)
        return self

    def cut(self, shape):
        for i, c in self._each(shape):
            self.a[i] *= 1.0 - c
        return self

    def shifted(self, dx, dy):
        out = Mask(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                sx, sy = x - dx, y - dy
                if 0 <= sx < self.w and 0 <= sy < self.h:
                    out.a[y * self.w + x] = self.a[sy * self.w + sx]
        return out


def paint(canvas, mask, color, alpha=1.0, dx=0, dy=0):
    """Paints a colour, or a colour function of (x, y), through a mask."""
    for y in range(mask.h):
        for x in range(mask.w):
            c = mask.a[y * mask.w + x]
            if c > 0.0:
                col = color(x + dx, y + dy) if callable(color) else color
                canvas.blend(x + dx, y + dy, col, c * alpha)


# Shapes: (coverage function at a pixel centre, bounding box).  Smooth shapes
# use their signed distance for one pixel of anti-aliasing; polygons are
# supersampled.

def _from_distance(d):
    return clamp01(0.5 - d)


def circle(cx, cy, r):
    return (lambda x, y: _from_distance(math.hypot(x - cx, y - cy) - r),
            (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r, width):
    return (lambda x, y: _from_distance(abs(math.hypot(x - cx, y - cy) - r) - width / 2.0),
            (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def ellipse(cx, cy, rx, ry, angle=0.0):
    ca, sa = math.cos(angle), math.sin(angle)

    def cov(x, y):
        u = (x - cx) * ca + (y - cy) * sa
        v = -(x - cx) * sa + (y - cy) * ca
        k = math.hypot(u / rx, v / ry)
        return _from_distance((k - 1.0) * min(rx, ry))
    m = max(rx, ry)
    return cov, (cx - m, cy - m, cx + m, cy + m)


def rrect(x0, y0, x1, y1, r=0.0):
    """Rectangle from (x0, y0) to (x1, y1) with corners rounded by r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def cov(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return _from_distance(outside + min(max(qx, qy), 0.0) - r)
    return cov, (x0, y0, x1, y1)


def capsule(ax, ay, bx, by, width):
    """A line from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1e-9
    h = width / 2.0

    def cov(x, y):
        t = clamp01(((x - ax) * dx + (y - ay) * dy) / ll)
        return _from_distance(math.hypot(x - ax - t * dx, y - ay - t * dy) - h)
    return cov, (min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h)


def polygon(points, samples=4):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    n = len(points)
    offs = [(i + 0.5) / samples - 0.5 for i in range(samples)]

    def inside(x, y):
        hit = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit

    def cov(x, y):
        count = 0
        for oy in offs:
            for ox in offs:
                if inside(x + ox, y + oy):
                    count += 1
        return count / float(samples * samples)
    return cov, (min(xs), min(ys), max(xs), max(ys))


def text_mask(w, h, text, x, y, scale=1):
    """Mask of pixel-font text whose cap top-left is at (x, y)."""
    m = Mask(w, h)
    for c, r in text_pixels(text):
        for sy in range(scale):
            for sx in range(scale):
                px, py = x + c * scale + sx, y + r * scale + sy
                if 0 <= px < w and 0 <= py < h:
                    m.a[py * w + px] = 1.0
    return m


# File formats ------------------------------------------------------------

def bmp_bytes(canvas):
    """A 24-bit bottom-up Windows bitmap file of an opaque canvas."""
    stride = (canvas.w * 3 + 3) & ~3
    image = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.w):
            r, g, b, _ = canvas.rgba8(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        image += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + bytes(image)


def _icon_dib(canvas):
    """One icon image: 32-bit BGRA colour rows plus the 1-bit AND mask."""
    w, h = canvas.w, canvas.h
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = canvas.rgba8(x, y)
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_bytes(canvases):
    """An icon file holding one image per canvas (square, up to 255 pixels)."""
    images = [_icon_dib(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w, c.h, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)
