"""Dialog banners (a graphite title band over a light subtitle band, each
lettered with the pixel font) and the About picture."""
import math

import raster as R
import palette as P
import glyphs as G
from font import text_width

UPPER = 33
LOWER = 31


def title_band(c, y0, title, glyph_parts):
    """The dark band: glyph at the left, the title, faint disc grooves."""
    w = c.w
    for y in range(UPPER):
        col = R.mix(P.BAR_TOP, P.BAR_BOTTOM, y / float(UPPER - 3)) if y < UPPER - 2 else (
            P.AMBER_LIGHT if y == UPPER - 2 else P.AMBER_DARK)
        if y == 0:
            col = P.BAR_HIGHLIGHT
        for x in range(w):
            c.px[(y0 + y) * w + x] = [float(col[0]), float(col[1]), float(col[2]), 1.0]
    grooves = R.Mask(w, c.h)
    for r in range(14, 90, 7):
        grooves.add(R.ring(w - 36, y0 + 15, r, 1.2))
    grooves.a = [a if y0 <= i // w < y0 + UPPER - 2 else 0.0 for i, a in enumerate(grooves.a)]
    R.paint(c, grooves, P.WHITE, 0.06)
    place = G.Place(5, y0 + 3.5, 0.66)
    colors = {"main": P.STEEL, "accent": P.AMBER, "dim": (P.STEEL, 0.45), "edge": P.BAR_BOTTOM}
    if glyph_parts:
        G.draw(c, glyph_parts(place), colors, (P.INK, 0.6, 1, 1))
    text = R.text_mask(w, c.h, title, 38, y0 + 9, 2)
    R.paint(c, text, P.INK, 0.7, 1, 1)
    R.paint(c, text, lambda x, y: R.mix((250, 250, 250), (206, 212, 220), (y - y0 - 9) / 14.0))


def subtitle_band(c, y0, subtitle, step=None):
    """The light band with one line of dark text and, for a wizard, its step."""
    w = c.w
    for y in range(LOWER):
        col = R.mix((252, 251, 250), (224, 224, 228), y / float(LOWER - 1))
        for x in range(w):
            c.px[(y0 + y) * w + x] = [float(col[0]), float(col[1]), float(col[2]), 1.0]
    text = R.text_mask(w, c.h, subtitle, 38, y0 + 12, 1)
    R.paint(c, text, P.WHITE, 0.9, 0, 1)
    R.paint(c, text, P.SLATE)
    if step is not None:
        for i in range(3):
            cx = w - 58 + 16 * i
            if i + 1 == step:
                R.paint(c, R.Mask(w, c.h).add(R.circle(cx, y0 + 15.5, 4.2)), P.AMBER)
            else:
                R.paint(c, R.Mask(w, c.h).add(R.ring(cx, y0 + 15.5, 3.6, 1.2)), P.SLATE_SOFT)


def upper(width, title, glyph_parts=G.disc_stack):
    c = R.Canvas(width, UPPER)
    title_band(c, 0, title, glyph_parts)
    return c


def lower(width, subtitle, step=None):
    c = R.Canvas(width, LOWER)
    subtitle_band(c, 0, subtitle, step)
    return c


def whole(width, title, subtitle, glyph_parts=G.disc_stack):
    c = R.Canvas(width, UPPER + LOWER)
    title_band(c, 0, title, glyph_parts)
    subtitle_band(c, UPPER, subtitle)
    return c


def check_fits(name, canvas, title):
    if 38 + text_width(title, 2) > canvas.w - 4:
        raise ValueError("%s: title %r does not fit" % (name, title))


def banners():
    out = {
        "banner-media-store": upper(400, "Media Store"),
        "banner-media-store-sub": lower(400, "Add, remove and rescan the media sources of your catalogue"),
        "banner-progress-scan": upper(300, "Scanning"),
        "banner-progress-copy": upper(300, "Copying", G.ready),
        "banner-progress-delete": upper(300, "Deleting", G.bin_),
        "banner-progress-edit": upper(300, "Editing", G.pencil),
        "banner-progress-group": upper(300, "Grouping"),
        "banner-progress-list": upper(300, "Listing"),
        "banner-progress-remove": upper(300, "Removing", lambda p: G.disc_stack(p) + G.minus_badge(p)),
        "banner-progress-sub": lower(300, "Progress - please wait while the job runs"),
        "banner-add-media": upper(400, "Add Media"),
        "banner-add-media-type": lower(400, "Step 1 of 3: choose the type of media", 1),
        "banner-add-media-location": lower(400, "Step 2 of 3: choose the drive or folder", 2),
        "banner-add-media-name": lower(400, "Step 3 of 3: give the media source a name", 3),
        "banner-locate-volume": upper(300, "Locate Volume"),
        "banner-locate-volume-sub": lower(300, "A media source is not where it was"),
        "banner-preferences": whole(300, "Preferences", "Notification icons and start-up", G.gear),
        "banner-welcome": upper(300, "Welcome"),
        "banner-welcome-sub": lower(300, "Your catalogue has no media sources yet"),
    }
    return out


# About ----------------------------------------------------------------------

def disc_colour(cx, cy):
    """Silver with a faint rainbow sheen that turns with the angle."""
    def colour(x, y):
        t = math.atan2(y - cy, x - cx)
        k = 0.5 + 0.5 * math.cos(2 * t + 0.8)
        base = R.mix(P.SILVER, P.SILVER_LIGHT, k)
        return (base[0] + 10 * math.cos(2 * t), base[1] + 10 * math.cos(2 * t + 2.1),
                base[2] + 10 * math.cos(2 * t + 4.2))
    return colour


def about():
    w, h = 400, 250
    c = R.Canvas(w, h, P.PAPER)
    cx, cy, r = 296, 100, 76
    R.paint(c, R.Mask(w, h).add(R.circle(cx + 4, cy + 5, r)), P.INK, 0.16)
    disc = R.Mask(w, h).add(R.circle(cx, cy, r)).cut(R.circle(cx, cy, 9))
    R.paint(c, disc, disc_colour(cx, cy))
    R.paint(c, R.Mask(w, h).add(R.ring(cx, cy, r - 0.6, 1.4)), (146, 152, 162))
    R.paint(c, R.Mask(w, h).add(R.circle(cx, cy, 31)).cut(R.circle(cx, cy, 9)), (255, 255, 255), 0.35)
    label = R.Mask(w, h).add(R.circle(cx, cy, 25)).cut(R.circle(cx, cy, 9))
    R.paint(c, label, lambda x, y: R.mix(P.AMBER_LIGHT, P.AMBER_DARK, (y - cy + 25) / 50.0))
    R.paint(c, R.Mask(w, h).add(R.ring(cx, cy, 9.5, 1.2)), (150, 100, 30), 0.8)
    note = R.Mask(w, h)
    note.add(R.ellipse(222, 170, 17, 12, -0.38)).add(R.rrect(233.5, 70, 240.5, 168, 2))
    note.add(R.polygon([(233.5, 70), (252, 82), (266, 100), (268, 122), (261, 136), (263, 116),
                        (255, 102), (240.5, 96)]))
    R.paint(c, note, P.PAPER, 1.0, -2, 0)
    R.paint(c, note, P.PAPER, 1.0, 2, 0)
    R.paint(c, note, P.PAPER, 1.0, 0, -2)
    R.paint(c, note, P.INK, 0.25, 3, 4)
    R.paint(c, note, lambda x, y: R.mix((70, 76, 88), (30, 33, 38), (y - 70) / 120.0))
    title = R.text_mask(w, h, "Tunehoard", 20, 80, 3)
    R.paint(c, title, P.WHITE, 1.0, 0, 2)
    R.paint(c, title, lambda x, y: R.mix((58, 64, 74), (28, 31, 36), (y - 80) / 21.0))
    R.paint(c, R.Mask(w, h).add(R.rrect(20, 110, 84, 113.5, 1.5)), P.AMBER)
    for i, line in enumerate(("The catalogue of your MP3 music", "on CDs, discs and folders")):
        R.paint(c, R.text_mask(w, h, line, 20, 126 + 13 * i, 1), P.SLATE_SOFT)
    for y in range(208, h):
        col = P.AMBER_LIGHT if y == 208 else P.AMBER_DARK if y == 209 else R.mix(P.BAR_TOP, P.BAR_BOTTOM, (y - 210) / 39.0)
        for x in range(w):
            c.px[y * w + x] = [float(col[0]), float(col[1]), float(col[2]), 1.0]
    name = R.text_mask(w, h, "Brambleward", 20, 222, 2)
    R.paint(c, name, P.INK, 0.7, 1, 1)
    R.paint(c, name, (236, 238, 242))
    for i, col in enumerate((P.AMBER, P.GREEN, P.BLUE)):
        R.paint(c, R.Mask(w, h).add(R.circle(338 + 16 * i, 229, 4.5)), col)
    return c
