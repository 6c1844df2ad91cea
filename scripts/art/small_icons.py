"""16 x 16 images of the group tree (genre, artist, album in three states)
and of the track list (a track in three states), on the views' white."""
import raster as R
import palette as P
from glyphs import Place, draw

SIZE = 16


def genre(p):
    return [("base", [("add", p.ellipse(3.6, 11.6, 2.6, 1.9, -0.4)), ("add", p.ellipse(10.1, 10.1, 2.6, 1.9, -0.4)),
                      ("add", p.rrect(5.2, 2.6, 6.4, 11.6)), ("add", p.rrect(11.7, 1.2, 12.9, 10.1)),
                      ("add", p.polygon([(5.2, 2.6), (12.9, 1.0), (12.9, 3.6), (5.2, 5.2)]))])]


def artist(p):
    return [("base", [("add", p.circle(6.8, 4.3, 3.1)),
                      ("add", p.rrect(1.2, 8.6, 12.4, 17, 4.6))]),
            ("cutline", [("add", p.rrect(1.2, 14, 12.4, 17))])]


def album(p):
    return [("base", [("add", p.rrect(0.8, 0.8, 12.8, 12.8, 1.2))]),
            ("light", [("add", p.circle(6.8, 6.8, 4.3)), ("cut", p.circle(6.8, 6.8, 1.3))]),
            ("base", [("add", p.circle(6.8, 6.8, 1.9)), ("cut", p.circle(6.8, 6.8, 1.0))])]


def track(p):
    return [("base", [("add", p.ellipse(5.0, 11.4, 3.1, 2.2, -0.4)),
                      ("add", p.rrect(7.0, 1.5, 8.4, 11.4)),
                      ("add", p.polygon([(8.4, 1.5), (12.6, 4.2), (12.8, 7.6), (11.6, 6.0), (8.4, 4.8)]))])]


def badge(p, state):
    """Bottom-right marker: on a disc, ready to play, or in a folder."""
    halo = [("halo", [("add", p.circle(12, 12, 4.8))])]
    if state == "disc":
        return halo + [("silver", [("add", p.circle(12, 12, 3.8)), ("cut", p.circle(12, 12, 1.0))]),
                       ("rim", [("add", p.ring(12, 12, 3.5, 0.8))])]
    if state == "ready":
        return halo + [("ready", [("add", p.circle(12, 12, 4.0)),
                                  ("cut", p.capsule(9.9, 12.1, 11.4, 13.7, 1.3)),
                                  ("cut", p.capsule(11.4, 13.7, 14.3, 10.2, 1.3))])]
    return [("halo", [("add", p.rrect(6.8, 7.8, 16, 16, 1))]),
            ("folderedge", [("add", p.rrect(7.5, 8.5, 11.5, 11, 0.8)), ("add", p.rrect(7.5, 9.7, 15.5, 15.5, 0.8))]),
            ("folder", [("add", p.rrect(8.4, 10.6, 14.6, 14.6, 0.4))])]


COLORS = {"halo": P.WHITE, "silver": (150, 158, 170), "rim": (110, 118, 130), "ready": P.READY,
          "folder": P.FOLDER, "folderedge": P.FOLDER_EDGE, "light": (214, 226, 244), "cutline": P.WHITE}


def image(glyph, base_color, state):
    c = R.Canvas(SIZE, SIZE, P.WHITE)
    p = Place()
    colors = dict(COLORS, base=base_color)
    draw(c, glyph(p), colors)
    draw(c, badge(p, state), colors)
    return c


def tree_images():
    out = {}
    for level, glyph, color in (("genre", genre, P.GENRE), ("artist", artist, P.ARTIST), ("album", album, P.ALBUM)):
        out["tree-%s" % level] = image(glyph, color, "disc")
        out["tree-%s-ready" % level] = image(glyph, color, "ready")
        out["tree-%s-folder" % level] = image(glyph, color, "folder")
    return out


def list_images():
    return {"list-track": image(track, P.SLATE, "disc"),
            "list-track-ready": image(track, P.SLATE, "ready"),
            "list-track-folder": image(track, P.SLATE, "folder")}
