"""The catalogue's journeys against the real Tuho.exe."""
import os
import time
import unittest

from harness import HarnessError, wait_until, windows_path
from journeys import CatalogueJourneys

TUHO = os.environ.get("TUHO_EXE", "")
TUHODB = os.environ.get("TUHODB_EXE", "")
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


if __name__ == "__main__":
    unittest.main()
