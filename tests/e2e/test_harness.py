"""The harness proven on its own: the catalogue journeys against a stand-in
window program, and the shell verbs reaching the test media player."""
import os
import unittest
from pathlib import Path

from harness import Session, windows_path
from journeys import CatalogueJourneys


def required(variable):
    value = os.environ.get(variable)
    if not value:
        raise unittest.SkipTest(f"{variable} is not set: run this suite through ctest")
    return value


class StandInJourneys(CatalogueJourneys, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.program = required("TUHO_STAND_IN")
        required("TUHO_WIN_QUERY")
        super().setUpClass()


class ShellVerbsReachTheTestPlayer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.shell_verb = required("TUHO_SHELL_VERB")
        required("TUHO_TEST_PLAYER")
        cls.session = Session(cls.__name__)
        cls.session.register_test_player()
        cls.music = cls.session.dir / "music folder"
        cls.music.mkdir()
        for name in ("song.mp3", "second song.mp3"):
            (cls.music / name).write_bytes(b"ID3")

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def setUp(self):
        self.session.player_log_path.unlink(missing_ok=True)

    def ask_shell(self, verb, name, folder):
        code, out = self.session.run(self.shell_verb, verb, name, windows_path(folder))
        self.assertEqual(code, 0, out)

    def test_play_with_the_file_name_alone_reaches_the_player_with_the_full_path(self):
        self.ask_shell("Play", "song.mp3", self.music)
        [(verb, path, _, _)] = self.session.player_requests()
        self.assertEqual(verb, "Play")
        self.assertEqual(path.lower(), windows_path(self.music / "song.mp3").lower())

    def test_enqueue_reaches_the_player_with_its_own_verb(self):
        self.ask_shell("Enqueue", "second song.mp3", self.music)
        [(verb, path, _, _)] = self.session.player_requests()
        self.assertEqual(verb, "Enqueue")
        self.assertEqual(path.lower(), windows_path(self.music / "second song.mp3").lower())

    def test_requests_are_logged_in_the_order_they_were_made(self):
        self.ask_shell("Play", "song.mp3", self.music)
        self.ask_shell("Enqueue", "second song.mp3", self.music)
        self.ask_shell("Enqueue", "song.mp3", self.music)
        verbs = [(verb, Path(path.replace("\\", "/")).name) for verb, path, _, _ in self.session.player_requests()]
        self.assertEqual(verbs, [("Play", "song.mp3"), ("Enqueue", "second song.mp3"), ("Enqueue", "song.mp3")])


class ShellVerbErrors(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.shell_verb = required("TUHO_SHELL_VERB")
        cls.session = Session(cls.__name__)

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def test_without_a_registered_player_the_shell_shows_an_error_box_and_plays_nothing(self):
        folder = self.session.dir / "music"
        folder.mkdir()
        (folder / "song.mp3").write_bytes(b"ID3")
        asking = self.session.start(self.shell_verb, "Play", "song.mp3", windows_path(folder))
        box = self.session.wait_for_window("Error", timeout=30)
        self.session.close(box, "wm_close")
        self.assertNotEqual(self.session.wait_for_exit(asking, 30), 0)

if __name__ == "__main__":
    unittest.main()
