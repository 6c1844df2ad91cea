#!/usr/bin/python3
"""Draws every bitmap and icon of Tuho and TuhoKick from the code in
scripts/art/ and writes them where the resource scripts expect them.

    make-art.py              write the art files
    make-art.py --check      exit 1 if a committed file differs from what is drawn
    make-art.py --preview F  also write a PNG sheet of the whole set to F

Python 3 standard library only; the output is the same byte for byte on
every run.
"""
import os
import struct
import sys
import zlib

sys.dont_write_bytecode = True  # keep scripts/art free of __pycache__
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "art"))

import raster as R          # noqa: E402
import strip                # noqa: E402
import small_icons          # noqa: E402
import banners              # noqa: E402
import icons                # noqa: E402
import palette as P         # noqa: E402

ROOT = os.path.dirname(HERE)
TUHO_ART = os.path.join("resources", "art")
KICK_ART = os.path.join("launcher", "resources", "art")


def drawn():
    """Every art file as (relative path, bytes, canvases for the preview)."""
    bitmaps = {}
    for table in (strip.strip_tiles(), strip.buttons(), strip.corners(),
                  small_icons.tree_images(), small_icons.list_images(), banners.banners()):
        bitmaps.update(table)
    bitmaps["about"] = banners.about()
    out = [(os.path.join(TUHO_ART, name + ".bmp"), R.bmp_bytes(c), [c]) for name, c in sorted(bitmaps.items())]
    for name, images in sorted(icons.icons().items()):
        folder = KICK_ART if name.startswith("tuhokick") else TUHO_ART
        out.append((os.path.join(folder, name + ".ico"), R.ico_bytes(images), images))
    return out


def write(files):
    for rel, data, _ in files:
        path = os.path.join(ROOT, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    print("wrote %d files" % len(files))


def check(files):
    wanted = {rel for rel, _, _ in files}
    bad = []
    for rel, data, _ in files:
        path = os.path.join(ROOT, rel)
        if not os.path.exists(path):
            bad.append("missing: " + rel)
        else:
            with open(path, "rb") as f:
                if f.read() != data:
                    bad.append("differs: " + rel)
    for folder in (TUHO_ART, KICK_ART):
        full = os.path.join(ROOT, folder)
        for name in sorted(os.listdir(full)) if os.path.isdir(full) else []:
            if os.path.join(folder, name) not in wanted:
                bad.append("not drawn by the script: " + os.path.join(folder, name))
    for line in bad:
        print(line)
    if bad:
        print("art is out of date: run scripts/make-art.py and commit the result")
        return 1
    print("all %d art files match" % len(files))
    return 0


# Preview sheet ----------------------------------------------------------

def png_bytes(c):
    raw = bytearray()
    for y in range(c.h):
        raw.append(0)
        for x in range(c.w):
            raw += bytes(c.rgba8(x, y)[:3])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", c.w, c.h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def stamp(sheet, img, x0, y0, zoom=1, back=P.WINDOW):
    for y in range(img.h * zoom):
        for x in range(img.w * zoom):
            p = img.px[(y // zoom) * img.w + x // zoom]
            if 0 <= x0 + x < sheet.w and 0 <= y0 + y < sheet.h:
                q = sheet.px[(y0 + y) * sheet.w + x0 + x]
                a = p[3]
                col = [p[i] * a + back[i] * (1 - a) for i in range(3)]
                q[0], q[1], q[2], q[3] = col[0], col[1], col[2], 1.0


def preview(files, path):
    by = {os.path.splitext(os.path.basename(rel))[0]: imgs for rel, _, imgs in files}
    sheet = R.Canvas(820, 700, P.WINDOW)
    layout = [(40, "strip-left-end"), (50, "strip-groove"), (60, "strip-before-button"), (70, "button-media-store-normal"),
              (110, "strip-after-button"), (120, "strip-groove"), (130, "strip-before-button"),
              (140, "button-ready-all-hover"), (180, "button-ready-selected-disabled"),
              (220, "strip-after-button"), (230, "strip-groove"), (240, "strip-before-button"),
              (250, "button-play-all-normal"), (290, "button-play-selected-pressed"), (330, "button-enqueue-all-normal"),
              (370, "button-enqueue-selected-normal"), (410, "strip-after-button"), (420, "strip-groove"),
              (430, "strip-before-button"), (440, "button-config-normal"), (480, "strip-after-button"),
              (490, "strip-groove"), (500, "strip-right-end")]
    for x, name in layout:
        stamp(sheet, by[name][0], x, 0)
        lip = {"strip-left-end": "strip-left-end-lip", "strip-right-end": "strip-right-end-lip"}.get(
            name, "strip-button-lip" if name.startswith("button") else "strip-lip")
        stamp(sheet, by[lip][0], x, 40)
    for i, b in enumerate(strip.BUTTONS):
        for j, s in enumerate(strip.STATES):
            stamp(sheet, by["button-%s-%s" % (b, s)][0], 20 + i * 48, 60 + j * 44, 1)
    for i, name in enumerate(sorted(n for n in by if n.startswith(("tree-", "list-")))):
        stamp(sheet, by[name][0], 20 + i * 36, 250, 2)
    for i, name in enumerate(("corner-top-left", "corner-top-right", "corner-bottom-left", "corner-bottom-right")):
        stamp(sheet, by[name][0], 450 + i * 24, 250, 2)
    y = 290
    for name in ("banner-media-store", "banner-media-store-sub", "banner-add-media", "banner-add-media-location"):
        stamp(sheet, by[name][0], 20, y)
        y += by[name][0].h
    y = 290
    for name in ("banner-progress-copy", "banner-progress-sub", "banner-preferences"):
        stamp(sheet, by[name][0], 440, y)
        y += by[name][0].h
    stamp(sheet, by["about"][0], 20, 430)
    x = 440
    for name in ("tuho", "tuhokick", "tuho-tray", "tuhokick-tray"):
        for img in by[name]:
            stamp(sheet, img, x, 430, 1, P.WINDOW)
            stamp(sheet, img, x, 490, 1, (40, 44, 50))
            x += img.w + 6
    with open(path, "wb") as f:
        f.write(png_bytes(sheet))
    print("preview written to " + path)


def main(argv):
    files = drawn()
    if "--check" in argv:
        return check(files)
    if "--preview" in argv:
        i = argv.index("--preview")
        if i + 1 >= len(argv):
            print("--preview needs a file name")
            return 2
        preview(files, argv[i + 1])
    write(files)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
