#!/usr/bin/env python3
"""Tuho under Wine: seconds from start until the group tree of a catalogue of
COUNT tracks has its roots, against the same start with an empty catalogue
(one source, no tracks), medians of RUNS alternating runs in one session of
the end-to-end harness.

usage: bench/wine_tree.py WIN64_BUILD NATIVE_TUHODB [COUNT] [RUNS]
  WIN64_BUILD    a MinGW x86_64 build configured with -DTUHO_BENCH=ON
                 (it holds bin/Tuho.exe and bench/tree_timer.exe)
  NATIVE_TUHODB  the native tuhodb, which builds the catalogue to show
"""
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import harness  # noqa: E402


def write_song(path, number):
    def field(text, size):
        return text.encode("ascii")[:size].ljust(size, b"\0")
    tag = (b"TAG" + field(f"Song {number}", 30) + field(f"Artist {number % 1000}", 30) +
           field(f"Album {number % 5000}", 30) + field("", 4) + field("", 30) + struct.pack("B", number % 40))
    path.write_bytes(b"\xff" * 1024 + tag)


def make_catalogue(tuhodb, folder, count):
    music = folder / "music"
    for number in range(count):
        album = music / f"Folder {number // 20}"
        album.mkdir(parents=True, exist_ok=True)
        write_song(album / f"song {number}.mp3", number)
    music.mkdir(parents=True, exist_ok=True)
    data = folder / "data"
    subprocess.run([str(tuhodb), "--data", str(data), "--drive", f"D={music}", "add-source", "--name", "Music",
                    "--kind", "local", "--path", "D:\\"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return data


def time_tree(session, timer, tuho, data, empty):
    target = session.data_folder()
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    for name in ("Tuho.dat", "Folders.dat"):
        shutil.copy(data / name, target / name)
    code, output = session.run(timer, tuho, *(["--empty"] if empty else []), timeout=300)
    if code != 0:
        raise harness.HarnessError(f"tree_timer failed ({code}): {output}")
    return float(output.split()[-1])


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    build, tuhodb = Path(sys.argv[1]), Path(sys.argv[2]).resolve()
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 50000
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    tuho = build / "bin" / "Tuho.exe"
    timer = build / "bench" / "tree_timer.exe"
    for program in (tuho, timer):
        if not program.is_file():
            print(f"wine_tree: {program} is missing: build {build} with -DTUHO_BENCH=ON first", file=sys.stderr)
            return 2
    with tempfile.TemporaryDirectory(prefix="tuho-wine-tree-") as work:
        work = Path(work)
        full = make_catalogue(tuhodb, work / "full", count)
        empty = make_catalogue(tuhodb, work / "empty", 0)
        with harness.Session("wine-tree") as session:
            times = {"empty": [], "full": []}
            for _ in range(runs):
                times["empty"].append(time_tree(session, timer, tuho, empty, True))
                times["full"].append(time_tree(session, timer, tuho, full, False))
    base, ours = statistics.median(times["empty"]), statistics.median(times["full"])
    print(f"tree of {count} tracks under Wine  {ours:8.3f} s  {ours / base:6.2f} x an empty catalogue ({base:.3f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
