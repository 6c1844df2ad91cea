"""Adding, removing and locating media sources in the real Tuho.exe.

Discs are simulated with Wine's drive mapping: a drive letter in the prefix's
dosdevices folder points at a folder of generated MP3 files; removing the
link ejects the disc, pointing another letter at it moves it to another
drive. Screenshots of the dialogs go to the screenshots folder of the run."""
import os
import shutil
import subprocess
import time
import unittest

from harness import SessionPerClass, screenshots_folder, wait_until
from test_tuho import song_bytes

TUHO = os.environ.get("TUHO_EXE", "")
TUHODB = os.environ.get("TUHODB_EXE", "")
TITLE = "Tunehoard"

# Client coordinates of what the journeys click.
MEDIA_STORE_BUTTON = (90, 20)
READY_ALL_BUTTON = (160, 20)
PLAY_ALL_BUTTON = (270, 20)
STORE_FIRST_ROW = (60, 103)
STORE_ADD = (342, 106)
STORE_REMOVE = (342, 141)
STORE_CLOSE = (352, 277)
STORE_DETAILS_ID = 1020
WIZARD_NEXT = (352, 327)
WIZARD_CANCEL = (267, 327)
WIZARD_LOCATION_BOX = (100, 182)
WIZARD_NAME_BOX = (150, 182)
LOCATE_BOX = (100, 112)
LOCATE_OK = (252, 157)


@unittest.skipUnless(TUHO and TUHODB, "Tuho.exe and tuhodb.exe are needed")
class MediaJourneys(SessionPerClass, unittest.TestCase):

    def setUp(self):
        shutil.rmtree(self.session.data_folder().parent, ignore_errors=True)
        self.running = []

    def tearDown(self):
        for process in self.running:
            if process.poll() is None:
                self.session.run(self.session.win_query, "close", TITLE, TITLE)
                try:
                    process.wait(15)
                except subprocess.TimeoutExpired:
                    process.kill()
        for letter in "mn":
            self.eject(letter)

    # -- discs and drives

    def make_disc(self, name, titles):
        album = self.session.dir / "discs" / name / "Album"
        shutil.rmtree(album.parent, ignore_errors=True)
        album.mkdir(parents=True)
        for track, title in enumerate(titles, 1):
            (album / f"{track:02d} {title}.mp3").write_bytes(song_bytes(title, "The Testers", track))
        return album.parent

    def insert(self, letter, disc):
        link = self.session.prefix / "dosdevices" / f"{letter}:"
        self.eject(letter)
        link.symlink_to(disc)

    def eject(self, letter):
        link = self.session.prefix / "dosdevices" / f"{letter}:"
        if link.is_symlink():
            link.unlink()

    # -- the program

    def start(self, welcome=False):
        """Starts Tuho; `welcome` says the catalogue has no media source, so
        its offer of help must come and is declined."""
        process = self.session.start(TUHO)
        self.running.append(process)
        window = self.session.wait_for_window(TITLE, timeout=60, win_class=TITLE)
        if welcome:
            self.session.decline_welcome()
        time.sleep(1.0)  # the tree is built once the loop runs
        return process, window

    def quit(self, process, window):
        self.session.close(window, "wm_close")
        self.assertEqual(self.session.wait_for_exit(process, 20), 0)

    def click(self, title, spot):
        window = self.session.wait_for_window(title, timeout=20)
        self.session.click(window, *spot)
        return window

    def type_into(self, title, spot, text):
        window = self.click(title, spot)
        self.session.key("End")
        self.session.key("shift+Home")
        self.session.xdotool("type", "--delay", "20", text)
        return window

    def wait_for_titles(self, title, count, timeout=20):
        wait_until(lambda: len(self.session.find_windows(title)) == count, timeout, what=f'{count} "{title}"')

    def wait_for_no_dialog(self, title, timeout=20):
        """Asks Windows, not X, whether a window of this title is left."""
        wait_until(lambda: self.session.run(self.session.win_query, "find", "-", title)[0] == 1, timeout,
                   what=f'"{title}" to close')

    def shoot(self, title, name):
        """A picture of one window, cropped from the screen."""
        time.sleep(0.5)
        info = self.session.window_info(self.session.wait_for_window(title))
        left, top, right, bottom = info.window
        path = screenshots_folder() / f"{name}.png"
        subprocess.run(["import", "-display", self.session.display, "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(path)],
                       check=True, timeout=60, capture_output=True)
        return path

    def add_through_wizard(self, location, name, shots=False):
        self.click("Media Store", STORE_ADD)
        self.session.wait_for_window("Add Media")
        if shots:
            self.shoot("Add Media", "add-media-type")
        self.click("Add Media", WIZARD_NEXT)  # "Standard CD"
        # A first run opens the folder browser by itself; the user cancels it
        # and types the location.
        browser = self.session.wait_for_window("Browse for Folder", timeout=20)
        self.session.key("Escape", browser)
        self.wait_for_no_dialog("Browse for Folder")
        self.type_into("Add Media", WIZARD_LOCATION_BOX, location)
        if shots:
            self.shoot("Add Media", "add-media-location")
        self.click("Add Media", WIZARD_NEXT)
        time.sleep(0.5)
        self.type_into("Add Media", WIZARD_NAME_BOX, name)
        if shots:
            self.shoot("Add Media", "add-media-name")
        self.click("Add Media", WIZARD_NEXT)  # "Finish"

    # -- journeys

    def test_a_cd_added_in_the_program_is_scanned_and_its_removal_lasts(self):
        disc = self.make_disc("first", ["Opening", "Middle", "Closing"])
        self.insert("m", disc)
        process, window = self.start(welcome=True)
        self.session.click(window, *MEDIA_STORE_BUTTON)
        self.session.wait_for_window("Media Store")
        self.add_through_wizard("M:\\", "Test CD", shots=True)
        self.wait_for_no_dialog("Add Media")
        self.wait_for_no_dialog("Progress", timeout=60)
        # The selected source's details: its kind, where it is, its tracks, and that its disc answers.
        self.click("Media Store", STORE_FIRST_ROW)
        def details():  # its lines; the console turns each "\r\n" into "\r\r\n"
            out = self.session.run(self.session.win_query, "text", "#32770", "Media Store", str(STORE_DETAILS_ID))[1]
            return [line for line in out.splitlines() if line]
        wait_until(lambda: len(details()) == 2, 10, what="the selected source's details")
        self.assertEqual(details(), ["Write Once Disc: M:\\", "3 tracks, reachable now"])
        self.shoot("Media Store", "media-store")
        self.click("Media Store", STORE_CLOSE)
        self.wait_for_no_dialog("Media Store")
        self.quit(process, window)
        [source] = self.tuhodb("sources")
        self.assertEqual((source["name"], source["root"], source["folder"], source["kind"]), ("Test CD", "M:", "", 3))
        tracks = self.tuhodb("tracks")
        self.assertEqual(sorted(t["file"] for t in tracks), ["01 Opening.mp3", "02 Middle.mp3", "03 Closing.mp3"])

        # After a restart: the same name again is refused; then the source is removed.
        process, window = self.start()
        self.session.click(window, *MEDIA_STORE_BUTTON)
        self.session.wait_for_window("Media Store")
        self.add_through_wizard("M:\\", "Test CD")
        self.session.key("Return", self.session.wait_for_window("Whoops"))
        self.wait_for_no_dialog("Whoops")
        self.click("Add Media", WIZARD_CANCEL)
        self.wait_for_no_dialog("Add Media")
        self.click("Media Store", STORE_FIRST_ROW)
        self.click("Media Store", STORE_REMOVE)
        self.wait_for_titles("Media Store", 2)  # the store and its question
        self.session.key("y")
        self.wait_for_no_dialog("Progress", timeout=60)
        self.wait_for_titles("Media Store", 1)
        self.click("Media Store", STORE_CLOSE)
        self.quit(process, window)
        process, window = self.start(welcome=True)  # removed for good: help is offered again
        self.quit(process, window)
        self.assertEqual(self.tuhodb("sources"), [])
        self.assertEqual(self.tuhodb("tracks"), [])

    def test_a_disc_in_another_drive_is_located_made_ready_and_played_from_its_copy(self):
        disc = self.make_disc("moving", ["Opening", "Closing"])
        self.insert("m", disc)
        self.tuhodb("add-source", "--name", "Test CD", "--kind", "cd", "--path", "M:\\")
        self.eject("m")
        self.insert("n", disc)  # the disc moved to another drive
        player_log = self.session.register_test_player()
        process, window = self.start()
        self.session.click(window, *READY_ALL_BUTTON)
        for track in range(2):  # each track asks
            question = self.session.window_info(self.session.wait_for_window("Test CD", timeout=30))
            if track == 0:
                self.shoot("Test CD", "locate-volume")
            self.type_into("Test CD", LOCATE_BOX, "N:\\")
            self.click("Test CD", LOCATE_OK)
            wait_until(lambda: self.session.run(self.session.win_query, "find", "-", "Test CD")[1].split(" ")[0] !=
                       f"hwnd={question.hwnd}", 20, what="the question to be answered")
        self.wait_for_no_dialog("Progress", timeout=60)
        self.session.click(window, *PLAY_ALL_BUTTON)
        requests = wait_until(lambda: len(self.session.player_requests()) == 2 and self.session.player_requests(),
                              30, what="two requests at the player")
        self.assertEqual([r[0] for r in requests], ["Play", "Enqueue"])
        # Each source's copies have a folder of their own, named by its id.
        self.assertRegex(requests[0][1], r"\\Tunehoard\\Copies\\\d+\\Album\\01 Opening\.mp3$")
        self.assertTrue(player_log.exists())
        self.quit(process, window)
        self.assertEqual([t["ready"] for t in self.tuhodb("tracks")], [1, 1])

    def test_closing_while_a_volume_is_asked_for_keeps_the_copies_made(self):
        disc = self.make_disc("half", ["Present", "Missing"])
        self.insert("m", disc)
        self.tuhodb("add-source", "--name", "Half CD", "--kind", "cd", "--path", "M:\\")
        (disc / "Album" / "02 Missing.mp3").unlink()
        process, window = self.start()
        self.session.click(window, *READY_ALL_BUTTON)
        self.session.wait_for_window("Half CD", timeout=30)
        started = time.monotonic()
        self.session.close(window, "wm_close")
        self.assertEqual(self.session.wait_for_exit(process, 20), 0)
        self.assertLess(time.monotonic() - started, 10)
        tracks = {t["file"]: t["ready"] for t in self.tuhodb("tracks")}
        self.assertEqual(tracks, {"01 Present.mp3": 1, "02 Missing.mp3": 0})
        copies = sorted(p.name for p in (self.session.data_folder() / "Copies").glob("*/Album/*"))
        self.assertEqual(copies, ["01 Present.mp3"])


if __name__ == "__main__":
    unittest.main()
