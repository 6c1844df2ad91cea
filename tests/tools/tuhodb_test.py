"""tuhodb as a user runs it: real files in a temporary data folder, JSON out."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TUHODB = os.environ["TUHODB"]
CORPUS = os.environ["TUHO_CORPUS"]


def run(*args, data=None, drives=(), check=True):
    command = [TUHODB]
    if data:
        command += ["--data", data]
    for drive in drives:
        command += ["--drive", drive]
    result = subprocess.run(command + list(args), capture_output=True, text=True, timeout=120)
    if check and result.returncode != 0:
        raise AssertionError(f"{args} failed ({result.returncode}): {result.stderr}")
    return result


def lines(result):
    return [json.loads(line) for line in result.stdout.splitlines() if line.strip()]


class Workspace(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tuhodb-test-")
        self.data = os.path.join(self.root, "data")
        self.music = os.path.join(self.root, "music")
        os.makedirs(self.music)

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def put(self, relative, corpus_name="tinytag__cbr.mp3"):
        path = os.path.join(self.music, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(os.path.join(CORPUS, corpus_name), path)
        return path

    def db(self, *args, **kwargs):
        return run(*args, data=self.data, **kwargs)


class StoreFiles(Workspace):
    def test_init_makes_the_first_start_files(self):
        run("init", self.data)
        self.assertEqual(os.path.getsize(os.path.join(self.data, "Tuho.dat")), 147)
        self.assertEqual(os.path.getsize(os.path.join(self.data, "Folders.dat")), 127)
        before = open(os.path.join(self.data, "Tuho.dat"), "rb").read()
        run("init", self.data)
        self.assertEqual(open(os.path.join(self.data, "Tuho.dat"), "rb").read(), before)

    def test_dump_shows_the_header_record(self):
        run("init", self.data)
        dump = json.loads(run("dump", os.path.join(self.data, "Tuho.dat")).stdout)
        self.assertEqual(dump["counter"], 1)
        header = dump["records"][0]
        self.assertEqual((header["offset"], header["id"], header["size"]), (31, 2, 112))
        self.assertEqual(header["fields"][0], {"id": 100, "type": "text", "block": 20, "value": "Jukebin"})

    def test_check_and_dump_answer_a_damaged_file(self):
        run("init", self.data)
        path = os.path.join(self.data, "Tuho.dat")
        self.assertEqual(run("check", path).returncode, 0)
        with open(path, "ab") as file:
            file.write(b"\x40\x00\x00\x00\x05")
        self.assertEqual(run("check", path, check=False).returncode, 1)
        dump = run("dump", path, check=False)
        self.assertEqual(dump.returncode, 1)
        self.assertEqual(len(json.loads(dump.stdout)["records"]), 1)

    def test_tags_reads_files_and_reports_those_it_cannot_open(self):
        result = run("tags", os.path.join(CORPUS, "tinytag__cbr.mp3"), os.path.join(self.root, "missing.mp3"),
                     check=False)
        self.assertEqual(result.returncode, 1)
        first, second = lines(result)
        self.assertEqual(first["artist"], "Basshunter")
        self.assertEqual(second["error"], "MP3 Other File Error")


class Catalogue(Workspace):
    def add(self, name="Mine", kind="local", path=None, drives=()):
        return lines(self.db("add-source", "--name", name, "--kind", kind, "--path", path or self.music,
                             drives=drives))[0]

    def tracks(self, *args):
        return lines(self.db("tracks", *args))

    def test_adding_a_source_scans_it(self):
        self.put("Artist/Album/a.mp3")
        self.put("b.mp3", "mutagen__silence-44-s.mp3")
        source = self.add()
        self.assertEqual(source["id"], 2)
        self.assertEqual(lines(self.db("sources")), [source])
        by_file = {track["file"]: track for track in self.tracks()}
        self.assertEqual(by_file["a.mp3"]["folder"], "\\Artist\\Album")
        self.assertEqual(by_file["a.mp3"]["artist"], "Basshunter")
        self.assertEqual(by_file["b.mp3"]["title"], "Silence")
        self.assertEqual([g["value"] for g in lines(self.db("groups", "genre"))].count("Dance"), 1)

    def test_find_lists_matching_tracks_with_their_source_and_stats_count_them(self):
        self.put("Artist/Album/Love Me.mp3")
        self.put("b.mp3", "mutagen__silence-44-s.mp3")
        self.add()
        self.put("Other/love.mp3")
        os.remove(os.path.join(self.music, "Artist/Album/Love Me.mp3"))
        self.add("Second", path=os.path.join(self.music, "Other"))
        found = lines(self.db("find", "LOVE", "mp3"))
        self.assertEqual([(t["file"], t["source"]) for t in found], [("Love Me.mp3", "Mine"), ("love.mp3", "Second")])
        self.assertEqual([t["file"] for t in lines(self.db("find", "silence"))], ["b.mp3"])
        self.assertEqual(lines(self.db("find", "love", "nowhere")), [])
        stats = lines(self.db("stats"))[0]
        self.assertEqual(stats["tracks"], 3)
        self.assertEqual(stats["sources"], 2)
        self.assertEqual(stats["perSource"], {"Mine": 2, "Second": 1})
        self.assertEqual(stats["perKind"], {"0": 3})
        self.assertEqual((stats["ready"], stats["readyBytes"]), (0, 0))

    def test_rescan_follows_the_folder_and_remove_empties_the_source(self):
        self.put("a.mp3")
        self.put("b.mp3")
        self.add()
        os.remove(os.path.join(self.music, "a.mp3"))
        self.put("c.mp3")
        self.db("rescan", "Mine")
        self.assertEqual(sorted(t["file"] for t in self.tracks()), ["b.mp3", "c.mp3"])
        self.db("remove", "Mine")
        self.assertEqual(self.tracks(), [])
        self.assertEqual(lines(self.db("sources")), [])

    def test_edit_and_delete_change_the_catalogue_only(self):
        path = self.put("a.mp3")
        before = open(path, "rb").read()
        self.add()
        track = self.tracks()[0]
        edited = lines(self.db("edit", str(track["id"]), "--artist", "Björk", "--track", "7"))[0]
        self.assertEqual((edited["artist"], edited["track"]), ("Björk", "7"))
        self.assertEqual(self.tracks("--artist", "Björk")[0]["id"], track["id"])
        self.assertEqual(open(path, "rb").read(), before)
        self.db("delete", str(track["id"]))
        self.assertEqual(self.tracks(), [])

    def test_editing_several_tracks_changes_only_the_given_values(self):
        self.put("a.mp3")
        self.put("b.mp3")
        self.add()
        first, second = self.tracks()
        self.db("edit", str(first["id"]), "--album", "Own Album")
        self.db("edit", str(first["id"]), str(second["id"]), "--artist", "Shared")
        after = {track["id"]: track for track in self.tracks()}
        self.assertEqual([after[t["id"]]["artist"] for t in (first, second)], ["Shared", "Shared"])
        self.assertEqual(after[first["id"]]["album"], "Own Album")
        self.assertEqual(after[second["id"]]["album"], second["album"])
        self.assertEqual(after[second["id"]]["title"], second["title"])

    def test_disc_tracks_are_made_ready_and_played_from_their_copies(self):
        self.put("Disc/Album/a.mp3")
        drive = "D=" + self.music
        self.add("CD", "cd", "D:\\Disc", drives=[drive])
        track = self.tracks()[0]
        source_id = lines(self.db("sources"))[0]["id"]
        copy = os.path.join(self.data, "Copies", str(source_id), "Album", "a.mp3")
        self.assertEqual(lines(self.db("play", str(track["id"]))), [])
        marks = lines(self.db("ready", str(track["id"]), drives=[drive]))
        self.assertEqual(marks, [{"id": track["id"], "mark": 1}])
        self.assertTrue(os.path.exists(copy))
        requests = lines(self.db("play", str(track["id"]), str(track["id"])))
        self.assertEqual([r["verb"] for r in requests], ["Play", "Enqueue"])
        self.assertEqual(requests[0]["directory"], self.data + "\\Copies\\%s\\Album" % source_id)
        self.db("unready", str(track["id"]))
        self.assertFalse(os.path.exists(copy))

    def test_a_moved_disc_is_located_from_the_command_line(self):
        self.put("Disc/a.mp3")
        self.add("CD", "cd", "D:\\Disc", drives=["D=" + self.music])
        os.rename(os.path.join(self.music, "Disc"), os.path.join(self.music, "Moved"))
        track = self.tracks()[0]
        result = self.db("ready", str(track["id"]), "--locate", "D:\\Moved", drives=["D=" + self.music])
        self.assertIn("Need Volume: CD", result.stderr)
        self.assertEqual(lines(result)[0]["mark"], 1)

    def test_a_rescan_without_the_disc_keeps_its_tracks(self):
        self.put("Disc/a.mp3")
        self.add("CD", "cd", "D:\\Disc", drives=["D=" + self.music])
        result = self.db("rescan", "CD", check=False)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Volume Not Found", result.stderr)
        self.assertEqual(len(self.tracks()), 1)

    def test_export_lists_every_track(self):
        self.put("a.mp3")
        self.add()
        csv = self.db("export", "--format", "csv").stdout.splitlines()
        self.assertEqual(csv[0], "id,ready,file,folder,source,title,artist,album,genre,track,comment")
        self.assertIn('"Basshunter"', csv[1])
        m3u = self.db("export", "--format", "m3u").stdout.splitlines()
        self.assertEqual(m3u[0], "#EXTM3U")
        self.assertEqual(m3u[2], os.path.join(self.music, "a.mp3"))

    def test_names_outside_the_code_page_are_never_stored_as_question_marks(self):
        # Windows-1252 holds "ö" and "é" but no CJK character.
        self.data = os.path.join(self.root, "Dätä")
        self.put("Motörhead/Café.mp3")
        self.put("音楽.mp3")
        self.put("映画/a.mp3")
        added = self.db("add-source", "--name", "Mine", "--kind", "local", "--path", self.music)
        self.assertIn("Names Not Supported: 2 files or folders were skipped", added.stderr)
        self.assertTrue(os.path.exists(os.path.join(self.data, "Tuho.dat")))
        track, = self.tracks()
        self.assertEqual((track["folder"], track["file"]), ("\\Motörhead", "Café.mp3"))
        m3u = self.db("export", "--format", "m3u").stdout.splitlines()
        self.assertEqual(m3u[2], os.path.join(self.music, "Motörhead", "Café.mp3"))
        self.assertTrue(os.path.exists(m3u[2]))
        self.db("rescan", "Mine")
        self.assertEqual(self.tracks(), [track])
        refused = self.db("add-source", "--name", "音楽", "--kind", "local", "--path", self.music, check=False)
        self.assertEqual(refused.returncode, 2)
        self.assertIn('cannot hold every character of "音楽"', refused.stderr)
        self.assertEqual(self.db("rescan", "映画", check=False).returncode, 2)
        self.assertEqual([source["name"] for source in lines(self.db("sources"))], ["Mine"])

    def test_a_ready_track_whose_source_is_gone_exports_the_copy_it_plays_from(self):
        self.put("Disc/Album/a.mp3")
        drive = "D=" + self.music
        self.add("CD", "cd", "D:\\Disc", drives=[drive])
        track = self.tracks()[0]
        source_id = lines(self.db("sources"))[0]["id"]
        self.db("ready", str(track["id"]), drives=[drive])
        # The source entry goes while the track's record stays.
        catalogue = os.path.join(self.data, "Tuho.dat")
        shutil.copyfile(catalogue, catalogue + ".kept")
        self.db("remove", "CD")
        shutil.copyfile(catalogue + ".kept", catalogue)
        copies = os.path.join(self.data, "Copies", str(source_id))
        copy = os.path.join(copies, "Album", "a.mp3")
        self.assertEqual(self.db("export", "--format", "m3u").stdout.splitlines()[2], copy)
        requests = lines(self.db("play", str(track["id"])))
        self.assertEqual(requests[0]["directory"], self.data + "\\Copies\\%s\\Album" % source_id)


class SourceIds(Workspace):
    def test_a_source_gone_from_the_list_never_lends_its_tracks_to_a_newcomer(self):
        """A source vanished from Folders.dat (written over by a program that
        had not seen it) while its tracks stayed in the catalogue. A source
        added later must get a new id, so those tracks stay sourceless rather
        than becoming the newcomer's; a removed source's id is not reused either."""
        for name in ("a.mp3", "b.mp3"):
            self.put(os.path.join("Gone", name))
        self.put(os.path.join("Fresh", "c.mp3"))
        drive = ["D=" + self.music]
        run("init", self.data)
        folders = os.path.join(self.data, "Folders.dat")
        shutil.copyfile(folders, folders + ".before")
        gone = lines(self.db("add-source", "--name", "Gone", "--kind", "local", "--path", "D:\\Gone", drives=drive))[0]
        shutil.copyfile(folders + ".before", folders)
        fresh = lines(self.db("add-source", "--name", "Fresh", "--kind", "local", "--path", "D:\\Fresh",
                              drives=drive))[0]
        self.assertGreater(fresh["id"], gone["id"])
        by_source = sorted((t["source"] or "", t["file"]) for t in lines(self.db("tracks")))
        self.assertEqual(by_source, [("", "a.mp3"), ("", "b.mp3"), ("Fresh", "c.mp3")])
        self.db("remove", "Fresh")
        again = lines(self.db("add-source", "--name", "Again", "--kind", "local", "--path", "D:\\Fresh",
                              drives=drive))[0]
        self.assertGreater(again["id"], fresh["id"])


class SourceInputs(Workspace):
    def data_files(self):
        files = {}
        for name in ("Tuho.dat", "Folders.dat"):
            with open(os.path.join(self.data, name), "rb") as file:
                files[name] = file.read()
        return files

    def test_names_and_paths_the_list_cannot_keep_are_refused_and_change_nothing(self):
        self.put(os.path.join("drive", "Album", "in.mp3"))
        self.put("outside.mp3")
        drive = ["D=" + os.path.join(self.music, "drive")]
        added = lines(self.db("add-source", "--name", "  x ", "--kind", "local", "--path", "D:\\..\\..",
                              drives=drive))[0]
        self.assertEqual((added["name"], added["root"], added["folder"]), ("x", "D:", "\\..\\.."))
        # ".." stops at the drive's root: nothing outside its folder is scanned.
        self.assertEqual([(t["folder"], t["file"]) for t in lines(self.db("tracks", drives=drive))],
                         [("\\Album", "in.mp3")])
        before = self.data_files()
        refusals = [
            (["x"], "D:\\Album", "a media source needs a name of its own"),
            (["x "], "D:\\Album", "a media source needs a name of its own"),
            (["   "], "D:\\Album", "A Media Source needs a name."),
            (["a\tb", "a\nb", "a\x7fb"], "D:\\Album", "cannot hold tabs, line breaks or other control characters"),
            (["n" * 512, "n" * 131000], "D:\\Album", "can have at most 511 characters"),
            (["y"], "", "is not a full path"),
            (["y"], "Album", "is not a full path"),
            (["y"], "D:Album", "is not a full path"),
            (["y"], "D:\\" + "m" * 300, "can have at most 259 characters"),
            (["y"], "D:\\Missing", "cannot be entered; the media source was not added"),
            (["y"], "Q:\\Album", "cannot be entered; the media source was not added"),
        ]
        for names, path, message in refusals:
            for name in names:
                result = self.db("add-source", "--name", name, "--kind", "local", "--path", path, drives=drive,
                                 check=False)
                where = "%r at %r" % (name[:20], path[:20])
                self.assertEqual(result.returncode, 1, where)
                self.assertIn(message, result.stderr, where)
        self.assertEqual(self.data_files(), before)
        self.assertEqual([s["name"] for s in lines(self.db("sources"))], ["x"])


class Usage(Workspace):
    def test_bad_commands_and_options_are_refused(self):
        self.assertEqual(run("frobnicate", check=False).returncode, 2)
        self.assertEqual(self.db("edit", "x", check=False).returncode, 2)
        self.assertEqual(self.db("groups", "year", check=False).returncode, 2)
        self.assertEqual(self.db("add-source", "--name", "x", "--kind", "tape", "--path", "/", check=False).returncode, 2)
        self.assertEqual(self.db("rescan", "Nobody", check=False).returncode, 1)


if __name__ == "__main__":
    unittest.main(verbosity=1)
