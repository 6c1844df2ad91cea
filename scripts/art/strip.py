"""The command strip: end caps, separators, the lower lip, the 40 x 40 buttons
in their four states, and the corners of the black browsing-area frame."""
import raster as R
import palette as P
import glyphs as G

STRIP_WIDTH = 470      # x 40 to 510 in the main window
BAR_HEIGHT = 40
LIP_HEIGHT = 4


def body(y):
    """Colour of the bar at row y: graphite above, the amber lip below."""
    if y == 0:
        return P.BAR_HIGHLIGHT
    if y < BAR_HEIGHT:
        return R.mix(P.BAR_TOP, P.BAR_BOTTOM, (y - 1) / float(BAR_HEIGHT - 2))
    return (P.AMBER_LIGHT, P.AMBER_DARK, (96, 62, 22), P.INK)[y - BAR_HEIGHT]


def strip_section(x0, y0, w, h):
    """A tile of the bare strip: x0 is its place along the strip, y0 its row."""
    c = R.Canvas(w, h, P.WINDOW)
    shape = R.rrect(-x0, -10 - y0, STRIP_WIDTH - x0, 43 - y0, 6)
    shade = R.Mask(w, h).add(R.rrect(-x0 + 0.5, -9 - y0, STRIP_WIDTH - x0 + 0.5, 44 - y0, 6.5))
    R.paint(c, shade, P.INK, 0.22)
    bar = R.Mask(w, h).add(shape)
    R.paint(c, bar, lambda x, y: body(y + y0))
    return c


def groove(c):
    """An etched vertical groove that splits the strip into groups."""
    for y in range(8, 33):
        fade = min(1.0, (y - 7) / 4.0, (33 - y) / 4.0)
        c.blend(4, y, P.INK, 0.85 * fade)
        c.blend(5, y, P.BAR_HIGHLIGHT, 0.9 * fade)


def strip_tiles():
    """Bitmap name -> canvas for the nine strip tiles."""
    tiles = {
        "strip-left-end": strip_section(0, 0, 10, BAR_HEIGHT),
        "strip-left-end-lip": strip_section(0, BAR_HEIGHT, 10, LIP_HEIGHT),
        "strip-right-end": strip_section(STRIP_WIDTH - 10, 0, 10, BAR_HEIGHT),
        "strip-right-end-lip": strip_section(STRIP_WIDTH - 10, BAR_HEIGHT, 10, LIP_HEIGHT),
        "strip-groove": strip_section(100, 0, 10, BAR_HEIGHT),
        "strip-before-button": strip_section(100, 0, 10, BAR_HEIGHT),
        "strip-after-button": strip_section(100, 0, 10, BAR_HEIGHT),
        "strip-lip": strip_section(100, BAR_HEIGHT, 10, LIP_HEIGHT),
        "strip-button-lip": strip_section(100, BAR_HEIGHT, 40, LIP_HEIGHT),
    }
    groove(tiles["strip-groove"])
    return tiles


BUTTONS = ("media-store", "ready-all", "ready-selected", "play-all", "play-selected",
           "enqueue-all", "enqueue-selected", "config")
STATES = ("normal", "hover", "pressed", "disabled")


def plate(c, top, bottom, rim, rim_alpha):
    m = R.Mask(40, 40).add(R.rrect(2.5, 2.5, 37.5, 37.5, 7))
    R.paint(c, m, lambda x, y: R.mix(top, bottom, y / 39.0))
    edge = R.Mask(40, 40).add(R.rrect(2.5, 2.5, 37.5, 37.5, 7)).cut(R.rrect(3.7, 3.7, 36.3, 36.3, 5.8))
    R.paint(c, edge, rim, rim_alpha)


def button(name, state):
    c = strip_section(100, 0, 40, BAR_HEIGHT)
    accent = G.button_accent(name)
    parts = G.button_glyph(name, G.Place())
    shadow = (P.INK, 0.65, 1, 1)
    offset = (0, 0)
    if state == "normal":
        colors = {"main": P.STEEL, "accent": accent, "dim": (P.STEEL, 0.3), "edge": P.BAR_BOTTOM}
    elif state == "hover":
        plate(c, (106, 114, 126), (60, 66, 76), P.AMBER, 0.9)
        colors = {"main": P.WHITE, "accent": R.scale_rgb(accent, 1.12), "dim": (P.WHITE, 0.35),
                  "edge": (70, 76, 86)}
    elif state == "pressed":
        plate(c, (24, 27, 32), (52, 57, 64), P.INK, 0.9)
        colors = {"main": P.STEEL_PRESSED, "accent": R.scale_rgb(accent, 0.86),
                  "dim": (P.STEEL_PRESSED, 0.3), "edge": (34, 38, 44)}
        offset = (1, 1)
    else:
        colors = {"main": P.STEEL_DISABLED, "accent": P.STEEL_DISABLED,
                  "dim": (P.STEEL_DISABLED, 0.45), "edge": P.BAR_BOTTOM}
        shadow = None
    G.draw(c, parts, colors, shadow, offset)
    return c


def buttons():
    return {"button-%s-%s" % (n, s): button(n, s) for n in BUTTONS for s in STATES}


def corners():
    """Rounded outer corners of the black frame, on the window background."""
    out = {}
    centres = {"top-left": (10, 10), "bottom-left": (10, 0), "top-right": (0, 10), "bottom-right": (0, 0)}
    for name, (cx, cy) in centres.items():
        c = R.Canvas(10, 10, P.WINDOW)
        R.paint(c, R.Mask(10, 10).add(R.circle(cx, cy, 10)), P.BLACK)
        out["corner-" + name] = c
    return out
