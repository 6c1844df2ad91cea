"""The catalogue's journeys against the real Tuho.exe."""
import os
import shutil
import subprocess
import time
import unittest

from harness import HarnessError, wait_until, windows_path
from journeys import CatalogueJourneys

TUHO = os.environ.get("TUHO_EXE", "")
TUHODB = os.environ.get("TUHODB_EXE", "")
NATIVE_TUHODB = os.environ.get("TUHO_NATIVE_TUHODB", "")
IN_USE = "is in use by another program"
PLAY_ALL_BUTTON = (250 + 20, 0 + 20)


def song_bytes(title, artist, track):
    """A small MP3 stand-in with an ID3v1 tag (genre 17, Rock)."""
    tag = bytearray(128)
    tag[0:3] = b"TAG"
    tag[3:3 + len(title)] = title.encode("latin-1")
    tag[33:33 + len(artist)] = artist.encode("latin-1")
    tag[126] = track
    tag[127] = 17
    return b"\xff" * 1024 + bytes(tag)


@unittest.skipUnless(TUHO, "Tuho.exe is not part of this build (no Tuho target)")
class TuhoJourneys(CatalogueJourneys, unittest.TestCase):
    program = TUHO

    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(cls.program):
            raise AssertionError(f"the Tuho target is built but {cls.program} is missing")
        super().setUpClass()

    def start_catalogue(self, welcome=True):
        process, window = super().start_catalogue()
        if welcome:
            try:
                self.session.decline_welcome(timeout=10)
            except HarnessError:
                pass  # an earlier journey added a source
        return process, window

    def test_clicking_the_configuration_button_opens_its_menu(self):
        _, window = self.start_catalogue()
        menu_open = lambda: self.session.run(self.session.win_query, "find", "#32768", "-")[0] == 0
        self.assertFalse(menu_open())
        self.session.click(window, 440 + 20, 0 + 20)
        wait_until(menu_open, 10, what="the configuration menu")
        self.session.key("Escape")
        wait_until(lambda: not menu_open(), 10, what="the menu to close")

    @unittest.skipUnless(TUHODB, "tuhodb.exe is not part of this build")
    def test_play_all_plays_the_first_track_and_enqueues_the_rest_in_the_player(self):
        music = self.session.dir / "music" / "Album"
        music.mkdir(parents=True, exist_ok=True)
        for track, title in enumerate(["Opening", "Middle", "Closing"], 1):
            (music / f"{track:02d} {title}.mp3").write_bytes(song_bytes(title, "The Testers", track))
        data = self.session.data_folder()
        data.mkdir(parents=True, exist_ok=True)
        code, out = self.session.run(TUHODB, "--data", windows_path(data), "add-source", "--name", "Test Music",
                                     "--kind", "local", "--path", windows_path(music.parent))
        self.assertEqual(code, 0, out)
        self.session.register_test_player()
        _, window = self.start_catalogue(welcome=False)
        # The first genre is selected once the tree is built; its tracks fill the list.
        time.sleep(2.0)
        self.session.click(window, *PLAY_ALL_BUTTON)
        requests = wait_until(lambda: len(self.session.player_requests()) == 3 and self.session.player_requests(),
                              30, what="three requests at the player")
        self.assertEqual([request[0] for request in requests], ["Play", "Enqueue", "Enqueue"])
        files = [request[1].rsplit("\\", 1)[-1] for request in requests]
        self.assertEqual(files, ["01 Opening.mp3", "02 Middle.mp3", "03 Closing.mp3"])
        self.assertTrue(requests[0][1].lower().startswith(windows_path(music).lower()), requests[0][1])

    def native(self, *args, **kwargs):
        return subprocess.run([NATIVE_TUHODB, "--data", str(self.session.data_folder()), *args],
                              capture_output=True, text=True, **kwargs)

    def data_files(self):
        folder = self.session.data_folder()
        return {name: (folder / name).read_bytes() for name in ("Tuho.dat", "Folders.dat")}

    # Wine keeps Windows sharing modes to itself: the data folder is held by
    # a lock that native programs see too, both ways.
    @unittest.skipUnless(TUHODB and os.path.isfile(NATIVE_TUHODB),
                         "tuhodb.exe and a native tuhodb (TUHO_NATIVE_TUHODB) are needed")
    def test_a_native_tuhodb_and_tuho_under_wine_never_share_the_data_folder(self):
        music = self.session.dir / "hold-music"
        music.mkdir(parents=True, exist_ok=True)
        (music / "a.mp3").write_bytes(song_bytes("Held", "Holder", 1))
        process, window = self.start_catalogue()
        folder = self.session.data_folder()
        wait_until(lambda: (folder / "Folders.dat").exists(), 10, what="Folders.dat")
        before = self.data_files()
        for args in (["add-source", "--name", "Native", "--kind", "local", "--path", str(music)],
                     ["delete", "2"], ["sources"]):
            result = self.native(*args, timeout=60)
            self.assertEqual(result.returncode, 1, "%s was let in: %s" % (args[0], result.stdout))
            self.assertIn(IN_USE, result.stderr)
        self.assertEqual(self.data_files(), before, "a refused command changed the data folder")
        self.session.close(window, "wm_close")
        self.assert_ends_cleanly(process)
        self.assertEqual(self.native("sources", timeout=60).returncode, 0, "the folder stayed held after Tuho ended")

        # The other way round: while a native tuhodb holds the folder (held
        # up by strace just after the catalogue is open), tuhodb.exe is refused.
        if shutil.which("strace") is None:
            return
        holder = subprocess.Popen(["strace", "-qq", "-o", "/dev/null", "-P", str(folder / "Folders.dat"),
                                   "-e", "trace=openat", "-e", "inject=openat:delay_enter=30000000:when=1",
                                   NATIVE_TUHODB, "--data", str(folder), "sources"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(2)
            self.assertIsNone(holder.poll(), "the native holder ended early")
            code, out = self.session.run(TUHODB, "--data", windows_path(folder), "sources")
            self.assertEqual(code, 1, "tuhodb.exe was let in beside a native tuhodb: " + out)
        finally:
            holder.terminate()  # strace lets the held command go on to its end
            holder.wait()
        wait_until(lambda: self.session.run(TUHODB, "--data", windows_path(folder), "sources")[0] == 0, 30,
                   interval=1, what="the folder to be free again")


if __name__ == "__main__":
    unittest.main()
