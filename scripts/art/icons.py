"""Program and notification-area icons of both programs, with alpha."""
import math

import raster as R
import palette as P


def _disc(c, s, cx, cy, r, rim=None):
    w = c.w

    def sheen(x, y):
        t = math.atan2(y - cy * s, x - cx * s)
        k = 0.5 + 0.5 * math.cos(2 * t + 0.8)
        return R.mix(P.SILVER, P.SILVER_LIGHT, k)
    if rim:
        R.paint(c, R.Mask(w, w).add(R.circle(cx * s, cy * s, (r + 1.1) * s)), rim)
    R.paint(c, R.Mask(w, w).add(R.circle(cx * s, cy * s, r * s)).cut(R.circle(cx * s, cy * s, r * 0.16 * s)), sheen)
    label = R.Mask(w, w).add(R.circle(cx * s, cy * s, r * 0.42 * s)).cut(R.circle(cx * s, cy * s, r * 0.16 * s))
    R.paint(c, label, P.AMBER)


def _note(c, s, outline):
    w = c.w
    m = R.Mask(w, w)
    m.add(R.ellipse(20.5 * s, 24.5 * s, 4.2 * s, 3.1 * s, -0.38)).add(R.rrect(22.9 * s, 9 * s, 25.1 * s, 24.5 * s, 0.5 * s))
    m.add(R.polygon([(22.9 * s, 9 * s), (27.5 * s, 12 * s), (29 * s, 16.5 * s), (27.6 * s, 20 * s),
                     (27.4 * s, 16.8 * s), (25.1 * s, 14.6 * s)]))
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        R.paint(c, m, outline, 1.0, dx, dy)
    R.paint(c, m, P.WHITE if outline != P.WHITE else P.BAR_BOTTOM)


def _play_badge(c, s):
    w = c.w
    R.paint(c, R.Mask(w, w).add(R.circle(23 * s, 23 * s, 8.4 * s)), P.BAR_BOTTOM)
    R.paint(c, R.Mask(w, w).add(R.circle(23 * s, 23 * s, 7.2 * s)),
            lambda x, y: R.mix((132, 214, 112), (66, 160, 60), (y - 16 * s) / (14.0 * s)))
    R.paint(c, R.Mask(w, w).add(R.polygon([(20.6 * s, 19 * s), (20.6 * s, 27 * s), (27.4 * s, 23 * s)])), P.WHITE)


def _tile(c, s):
    w = c.w
    R.paint(c, R.Mask(w, w).add(R.rrect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)),
            lambda x, y: R.mix(P.BAR_TOP, P.BAR_BOTTOM, y / float(w)))
    R.paint(c, R.Mask(w, w).add(R.rrect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)).cut(
        R.rrect(1 * s, 2.2 * s, 31 * s, 31 * s, 6 * s)), P.BAR_HIGHLIGHT, 0.9)


def program_icon(size, launcher=False):
    c = R.Canvas(size, size, clear=True)
    s = size / 32.0
    _tile(c, s)
    _disc(c, s, 13.5, 13.5, 9.6)
    if launcher:
        _play_badge(c, s)
    else:
        _note(c, s, P.BAR_BOTTOM)
    return c


def tray_icon(size, launcher=False):
    c = R.Canvas(size, size, clear=True)
    s = size / 32.0
    _disc(c, s, 14, 14, 12.2, rim=(90, 96, 108))
    if launcher:
        _play_badge(c, s)
    else:
        _note(c, s, P.WHITE)
    return c


def icons():
    return {
        "tuho": [program_icon(n) for n in (48, 32, 16)],
        "tuho-tray": [tray_icon(n) for n in (32, 16)],
        "tuhokick": [program_icon(n, True) for n in (48, 32, 16)],
        "tuhokick-tray": [tray_icon(n, True) for n in (32, 16)],
    }
