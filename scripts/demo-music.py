#!/usr/bin/env python3
"""Writes a small folder of tagged MP3 files for demonstrations and screenshots.

The audio is silence-sized filler; only the ID3 tags matter to the catalogue.
Usage: demo-music.py FOLDER
"""
import os
import sys

from mutagen.id3 import COMM, ID3, TALB, TCON, TIT2, TPE1, TRCK

ALBUMS = [
    ("Rock", "The Lanterns", "Harbour Lights", ["Low Tide", "Signal Fire", "Breakwater", "Northern Pier"]),
    ("Rock", "Copper Ridge", "Dust & Diesel", ["Mile Marker", "Overpass", "Gravel Hymn"]),
    ("Jazz", "Ada Quintet", "Blue Hours", ["Half Past Three", "Velvet Stairs", "Rain on Tin"]),
    ("Electronic", "Nightcable", "Circuits", ["Boot Sequence", "Phase Locked", "Carrier Wave", "Idle Loop"]),
    ("Folk", "Marrow & Pine", "Kindling", ["Woodsmoke", "The Long Field"]),
]


def write_song(path, genre, artist, album, title, number, total):
    with open(path, "wb") as file:
        file.write(b"\xff\xfb\x90\x00" + bytes(4092))
    tag = ID3()
    tag.add(TPE1(encoding=3, text=artist))
    tag.add(TALB(encoding=3, text=album))
    tag.add(TIT2(encoding=3, text=title))
    tag.add(TRCK(encoding=3, text=f"{number}/{total}"))
    tag.add(TCON(encoding=3, text=genre))
    tag.add(COMM(encoding=3, lang="eng", desc="", text="Demo catalogue"))
    tag.save(path, v2_version=3)


def main(folder):
    for genre, artist, album, titles in ALBUMS:
        album_folder = os.path.join(folder, artist, album)
        os.makedirs(album_folder, exist_ok=True)
        for number, title in enumerate(titles, 1):
            path = os.path.join(album_folder, f"{number:02d} {title}.mp3")
            write_song(path, genre, artist, album, title, number, len(titles))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
