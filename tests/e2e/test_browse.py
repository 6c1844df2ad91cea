"""Browsing and correcting in the real Tuho.exe: the tree's and the list's
context menus and the Edit Tag dialog, read back with tuhodb."""
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from harness import SessionPerClass, screenshots_folder, wait_until, windows_path

TUHO = os.environ.get("TUHO_EXE", "")
TUHODB = os.environ.get("TUHODB_EXE", "")
TITLE = "Tunehoard"
LIST_ID = 1103
COUNTS_ID = 2135
GROUP_COMBO = (15 + 40, 64 + 10)  # the grouping box, left of the find box
TREE_FIRST_ROOT = (15 + 40, 94 + 10)  # the first root node's label, top of the tree
DOCS_SCREENSHOTS = Path(__file__).resolve().parents[2] / "docs" / "screenshots"


def song_bytes(title, artist, album, track, genre=17):
    """A small MP3 stand-in with an ID3v1 tag (genre 17 is Rock)."""
    tag = bytearray(128)
    tag[0:3] = b"TAG"
    for offset, text in ((3, title), (33, artist), (63, album)):
        tag[offset:offset + len(text)] = text.encode("latin-1")
    tag[126] = track
    tag[127] = genre
    return b"\xff" * 1024 + bytes(tag)


@unittest.skipUnless(TUHO and TUHODB, "Tuho.exe and tuhodb.exe are not both part of this build")
class BrowseJourneys(SessionPerClass, unittest.TestCase):

    # -- helper verbs

    def catalogue_songs(self, songs):
        music = self.session.dir / "music"
        shutil.rmtree(music, ignore_errors=True)
        music.mkdir(parents=True)
        for number, (title, artist, album) in enumerate(songs, 1):
            (music / f"{number:02d}.mp3").write_bytes(song_bytes(title, artist, album, number))
        self.tuhodb("add-source", "--name", "Shelf", "--kind", "local", "--path", windows_path(music))

    def start(self):
        process = self.session.start(TUHO)
        window = self.session.wait_for_window(TITLE, timeout=60, win_class=TITLE)
        time.sleep(2.0)  # the tree is built and its first node fills the list
        return process, window

    def stop(self, process, window):
        self.session.close(window, "wm_close")
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)

    def row_label(self, row):
        code, out = self.session.run(self.session.win_query, "rowlabel", TITLE, TITLE, str(LIST_ID), str(row))
        self.assertEqual(code, 0, f"row {row} has no label on screen")
        values = dict(pair.split("=") for pair in out.split())
        return int(values["x"]), int(values["y"])

    def click_at(self, point, button=1, modifier=None):
        self.session.point_at(*point)
        time.sleep(0.1)
        if modifier:
            self.session.xdotool("keydown", modifier)
        self.session.xdotool("click", button)
        if modifier:
            self.session.xdotool("keyup", modifier)
        time.sleep(0.3)

    def rows(self):
        """The list's rows as the user sees them: (artist, album, #, title, media)."""
        code, out = self.session.run(self.session.win_query, "rows", TITLE, TITLE, str(LIST_ID))
        self.assertEqual(code, 0, "the list's rows could not be read")
        return [tuple(line.split("\t")) for line in out.splitlines()]

    def wait_for_rows(self, expected, what):
        """Waits until the list holds exactly these rows, in any order."""
        expected = sorted(expected)
        wait_until(lambda: sorted(self.rows()) == expected, 20, what=what)

    def counts(self):
        return self.session.run(self.session.win_query, "text", TITLE, TITLE, str(COUNTS_ID))[1].strip()

    def wait_for_counts(self, expected, what):
        wait_until(lambda: self.counts() == expected, 30, what=what)

    def menu_open(self):
        return self.session.run(self.session.win_query, "find", "#32768", "-")[0] == 0

    def shoot(self, name, window):
        """Saves the screen cut to the main window; TUHO_UPDATE_SCREENSHOTS=1
        puts it in docs/screenshots as well."""
        shot = self.session.screenshot(screenshots_folder() / f"browse-{name}.png")
        left, top, right, bottom = self.session.window_info(window).window
        subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        str(shot)], check=True, timeout=60)
        if os.environ.get("TUHO_UPDATE_SCREENSHOTS") == "1":
            shutil.copyfile(shot, DOCS_SCREENSHOTS / f"{name}.png")

    # -- journeys

    def test_editing_three_selected_rows_from_the_row_menu_changes_only_their_artist(self):
        self.catalogue_songs([("Dawn", "The Testers", "Morning"), ("Noon", "The Testers", "Midday"),
                              ("Dusk", "The Testers", "Evening")])
        process, window = self.start()
        # The tree's menu for the first genre: folder tracks play and enqueue.
        self.click_at(self.session.client_to_screen(window, *TREE_FIRST_ROOT), button=3)
        wait_until(self.menu_open, 10, what="the tree's context menu")
        self.shoot("tree-context-menu", window)
        self.session.key("Escape")
        wait_until(lambda: not self.menu_open(), 10, what="the tree's menu to close")
        # Select the three rows, open the row menu on a label, "Edit Tag Info".
        self.click_at(self.row_label(0))
        self.click_at(self.row_label(2), modifier="shift")
        self.click_at(self.row_label(0), button=3)
        wait_until(self.menu_open, 10, what="the row menu")
        self.shoot("row-context-menu", window)
        # Top to bottom: Play, Delete, Edit Tag Info, Enqueue.
        for key in ("Down", "Down", "Down", "Return"):
            self.session.key(key)
            time.sleep(0.2)
        self.session.wait_for_window("Edit Tag", timeout=10)
        time.sleep(0.5)
        self.shoot("edit-tag-several-tracks", window)
        # The artist box has the focus with its text selected: typing replaces it.
        self.session.xdotool("type", "--delay", "50", "Renamed Band")
        self.session.key("Return")
        self.session.wait_for_no_window("Edit Tag")
        self.stop(process, window)
        tracks = sorted(self.tuhodb("tracks"), key=lambda track: track["title"])
        self.assertEqual([track["artist"] for track in tracks], ["Renamed Band"] * 3)
        self.assertEqual([(track["title"], track["album"]) for track in tracks],
                         [("Dawn", "Morning"), ("Dusk", "Evening"), ("Noon", "Midday")])


    def test_a_keyboard_alone_opens_the_store_browses_plays_enqueues_and_edits(self):
        # A catalogue of its own, gone again at the end: the other journeys
        # of the class share the session and start from an empty one.
        shutil.rmtree(self.session.data_folder().parent, ignore_errors=True)
        self.addCleanup(shutil.rmtree, self.session.data_folder().parent, ignore_errors=True)
        self.catalogue_songs([("Dawn", "Ann", "Morning"), ("Noon", "Ann", "Morning"), ("Dusk", "Bob", "Evening")])
        self.session.register_test_player()
        process, window = self.start()
        self.session.key("ctrl+m", window)
        self.session.wait_for_window("Media Store", timeout=10)
        self.session.key("Escape")
        self.session.wait_for_no_window("Media Store")
        time.sleep(0.5)
        # From the grouping box to the tree, into the genre and down to "Ann".
        for key in ("Tab", "Right", "Down", "Return"):
            self.session.key(key)
            time.sleep(0.3)
        requests = wait_until(lambda: len(self.session.player_requests()) >= 2 and self.session.player_requests(),
                              30, what="Ann's tracks at the player")
        self.assertEqual([(r[0], Path(r[1].replace("\\", "/")).name) for r in requests],
                         [("Play", "01.mp3"), ("Enqueue", "02.mp3")])
        # To the list: every row, enqueued in list order.
        for key in ("Tab", "ctrl+a", "shift+Return"):
            self.session.key(key)
            time.sleep(0.3)
        requests = wait_until(lambda: len(self.session.player_requests()) >= 4 and self.session.player_requests(),
                              30, what="the list's tracks at the player")
        self.assertEqual([(r[0], Path(r[1].replace("\\", "/")).name) for r in requests[2:]],
                         [("Enqueue", "01.mp3"), ("Enqueue", "02.mp3")])
        self.session.key("F2")
        self.session.wait_for_window("Edit Tag", timeout=10)
        self.session.key("Escape")
        self.session.wait_for_no_window("Edit Tag")
        self.stop(process, window)

    def test_two_thousand_rows_are_edited_and_deleted_and_the_window_keeps_answering(self):
        music = self.session.dir / "crate"
        shutil.rmtree(music, ignore_errors=True)
        music.mkdir(parents=True)
        for number in range(2000):  # genre 0, Blues: the first root
            (music / f"{number:04d}.mp3").write_bytes(
                song_bytes(f"Song {number}", f"Artist {number % 300}", f"Album {number % 700}", number % 99 + 1, 0))
        for number in range(5):
            (music / f"soul{number}.mp3").write_bytes(song_bytes(f"Kept {number}", "Soulful", "Kept", 1, genre=42))
        self.tuhodb("add-source", "--name", "Crate", "--kind", "local", "--path", windows_path(music))
        process, window = self.start()
        # The first genre, Blues, fills the list: every row selected.
        self.click_at(self.row_label(0))
        self.session.key("shift+End")
        self.wait_for_counts("2005 tracks, 2000 listed, 2000 selected", "every Blues row selected")
        self.click_at(self.row_label(1999), button=3)
        wait_until(self.menu_open, 10, what="the row menu")
        for key in ("Down", "Down", "Down", "Return"):
            self.session.key(key)
            time.sleep(0.2)
        self.session.wait_for_window("Edit Tag", timeout=10)
        time.sleep(0.5)
        self.session.xdotool("type", "--delay", "50", "Renamed Band")
        self.session.key("Return")
        self.session.wait_for_no_window("Edit Tag")
        # The window answers again soon: the keyboard selects afresh, the
        # row menu opens, and "Delete" takes every row but the last. Each
        # step waits for the counts line: a row's place is read from the
        # list, which must have scrolled to it first.
        started = time.monotonic()
        self.session.key("Home")
        self.wait_for_counts("2005 tracks, 2000 listed, 1 selected", "Home to select the first row alone")
        self.session.key("shift+End")
        self.wait_for_counts("2005 tracks, 2000 listed, 2000 selected", "Shift+End to select every row")
        self.click_at(self.row_label(1999), modifier="ctrl")  # the last row leaves the selection
        self.wait_for_counts("2005 tracks, 2000 listed, 1999 selected", "the last row to leave the selection")
        self.click_at(self.row_label(1998), button=3)
        wait_until(self.menu_open, 20, what="the row menu after the edit")
        answered = time.monotonic() - started
        for key in ("Down", "Down", "Return"):
            self.session.key(key)
            time.sleep(0.2)
        self.wait_for_counts("6 tracks, 1 listed, 0 selected", "the deletion to leave one Blues row")
        started = time.monotonic()
        self.click_at(self.row_label(0), button=3)
        wait_until(self.menu_open, 20, what="the row menu after the deletion")
        self.session.key("Escape")
        deleted = time.monotonic() - started
        self.stop(process, window)
        print(f"window answered {answered:.1f} s after Edit Tag, {deleted:.1f} s after Delete")
        tracks = self.tuhodb("tracks")
        blues = [track for track in tracks if track["genre"] == "Blues"]
        self.assertEqual(len(blues), 1)
        self.assertEqual(blues[0]["artist"], "Renamed Band")
        self.assertEqual(sorted(track["title"] for track in tracks if track["genre"] == "Soul"),
                         [f"Kept {number}" for number in range(5)])
        self.assertTrue(all(track["artist"] == "Soulful" for track in tracks if track["genre"] == "Soul"))
        groups = self.tuhodb("groups", "artist", "--genre", "Blues")
        self.assertEqual([group["value"] for group in groups], ["Renamed Band"])

    def test_found_tracks_show_their_media_play_and_give_the_node_back_and_media_groups_match_tuhodb(self):
        shutil.rmtree(self.session.data_folder().parent, ignore_errors=True)
        self.addCleanup(shutil.rmtree, self.session.data_folder().parent, ignore_errors=True)
        shelves = {"Shelf": [("Love Song", "Ann", "Morning"), ("Noon", "Ann", "Morning"), ("Lovely Day", "Bob", "Dusk")],
                   "Crate": [("Glove Box", "Cat", "Night"), ("Rain", "Cat", "Night")]}
        for name, songs in shelves.items():
            music = self.session.dir / name.lower()
            shutil.rmtree(music, ignore_errors=True)
            music.mkdir(parents=True)
            for number, (title, artist, album) in enumerate(songs, 1):
                (music / f"{name.lower()}{number}.mp3").write_bytes(song_bytes(title, artist, album, number))
            self.tuhodb("add-source", "--name", name, "--kind", "local", "--path", windows_path(music))

        def row(track):
            return (track["artist"], track["album"], str(track["track"]), track["title"], track["source"])
        found = self.tuhodb("find", "LOVE")
        self.assertEqual(sorted(track["title"] for track in found), ["Glove Box", "Love Song", "Lovely Day"])
        file_of = {track["title"]: track["file"] for track in found}
        everything = self.tuhodb("tracks")
        stats = self.tuhodb("stats")[0]
        self.assertEqual(stats["perSource"], {"Crate": 2, "Shelf": 3})
        self.session.register_test_player()
        process, window = self.start()
        # Wide enough for the Media column in the pictures; the size is given back before closing,
        # since the window keeps it for the other journeys.
        width, height = self.session.window_geometry(window)[2:]
        self.session.xdotool("windowsize", "--sync", window.xid, 1000, height)
        self.wait_for_rows([row(track) for track in everything], "the first genre's rows")  # all are Rock
        node_rows = self.rows()
        self.assertEqual(self.counts(), f"{stats['tracks']} tracks, {len(node_rows)} listed, 0 selected")

        # Found as typed, each row with its media; played in list order.
        self.session.key("ctrl+f", window)
        self.session.xdotool("type", "--delay", "50", "love")
        self.wait_for_rows([row(track) for track in found], "the found rows")
        self.shoot("find", window)
        self.assertEqual(self.counts(), f"{stats['tracks']} tracks, {len(found)} listed, 0 selected")
        listed = self.rows()
        self.click_at(self.row_label(0))
        self.session.key("ctrl+a")
        time.sleep(0.3)
        self.assertEqual(self.counts(), f"{stats['tracks']} tracks, {len(found)} listed, {len(found)} selected")
        earlier = len(self.session.player_requests())  # the player's log is the class session's
        self.session.key("Return")
        requests = wait_until(lambda: len(self.session.player_requests()) >= earlier + len(found) and
                              self.session.player_requests()[earlier:], 30, what="the found tracks at the player")
        self.assertEqual([(r[0], Path(r[1].replace("\\", "/")).name) for r in requests],
                         [("Play" if number == 0 else "Enqueue", file_of[shown[3]])
                          for number, shown in enumerate(listed)])

        # Escape in the find box gives the node's rows back.
        self.session.key("ctrl+f")
        self.session.key("Escape")
        self.wait_for_rows(node_rows, "the node's rows again")

        # Grouped by media: each source's node lists exactly its tracks.
        self.click_at(self.session.client_to_screen(window, *GROUP_COMBO))
        for key in ("End", "Return"):
            self.session.key(key)
            time.sleep(0.3)
        time.sleep(1.0)
        self.shoot("grouped-by-media", window)
        for name, key in (("Crate", "Home"), ("Shelf", "End")):  # the roots, sorted by name
            if name == "Crate":
                self.click_at(self.session.client_to_screen(window, *TREE_FIRST_ROOT))
            self.session.key(key)
            self.wait_for_rows([row(track) for track in everything if track["source"] == name], f"{name}'s rows")
            self.assertEqual(self.counts(), f"{stats['tracks']} tracks, {stats['perSource'][name]} listed, 0 selected")
        # The grouping and the size are kept on close: the other journeys expect genres at the usual size.
        self.click_at(self.session.client_to_screen(window, *GROUP_COMBO))
        for key in ("Home", "Return"):
            self.session.key(key)
            time.sleep(0.3)
        self.session.xdotool("windowsize", "--sync", window.xid, width, height)
        self.stop(process, window)


if __name__ == "__main__":
    unittest.main()
