"""User journeys through the catalogue's main window, written once and run
against any program that shows it: the stand-in (to prove the harness) and
Tuho.exe itself. A test class mixes CatalogueJourneys into unittest.TestCase
and sets `program` to the executable; all tests of a class share one session
(prefix and display), and each test starts from no running catalogue."""
import time
from pathlib import Path

from harness import HarnessError, SessionPerClass, screenshots_folder, wait_until

TITLE = "Tunehoard"
MEDIA_STORE_BUTTON = (70, 0, 40, 40)  # client rectangle of the strip's first button


class CatalogueJourneys(SessionPerClass):
    program = None  # path of the executable under test

    def setUp(self):
        self.running = []
        self.assertEqual(self.session.find_windows(TITLE), [], "a catalogue window is left from before")

    def tearDown(self):
        for process in self.running:
            if process.poll() is None:
                self.session.run(self.session.win_query, "close", TITLE, TITLE)
                try:
                    process.wait(15)
                except Exception:
                    process.kill()
                    process.wait()

    # -- helper verbs

    def start_catalogue(self):
        process = self.session.start(self.program)
        self.running.append(process)
        window = self.session.wait_for_window(TITLE, timeout=60, win_class=TITLE)
        return process, window

    def assert_ends_cleanly(self, process, timeout=20):
        self.assertEqual(self.session.wait_for_exit(process, timeout), 0)
        self.session.wait_for_no_window(TITLE)

    def button_pixels(self, window):
        return self.session.grab_client(window, *MEDIA_STORE_BUTTON)

    def remove_data_folder(self):
        import shutil
        shutil.rmtree(self.session.data_folder().parent, ignore_errors=True)

    # -- journeys

    def test_first_start_creates_the_data_folder_with_an_empty_catalogue(self):
        self.remove_data_folder()
        process, window = self.start_catalogue()
        folder = self.session.data_folder()
        wait_until(lambda: (folder / "Folders.dat").exists(), 10, what="Folders.dat")
        self.assertEqual((folder / "Tuho.dat").stat().st_size, 147)
        self.assertEqual((folder / "Folders.dat").stat().st_size, 127)
        self.session.close(window, "wm_close")
        self.assert_ends_cleanly(process)
        self.assertEqual((folder / "Tuho.dat").stat().st_size, 147, "closing an empty catalogue changed its size")
        self.assertEqual((folder / "Folders.dat").stat().st_size, 127)

    def test_a_second_start_ends_at_once_and_leaves_the_first_window_alone(self):
        first, window = self.start_catalogue()
        before = self.session.window_info(window)
        second = self.session.start(self.program)
        self.assertEqual(self.session.wait_for_exit(second, 30), 0)
        self.assertIsNone(first.poll(), "the first catalogue ended")
        self.assertEqual(len(self.session.find_windows(TITLE)), 1)
        after = self.session.window_info(window)
        self.assertEqual((after.hwnd, after.window), (before.hwnd, before.window))

    def test_hovering_a_strip_button_changes_its_look_until_the_pointer_leaves(self):
        _, window = self.start_catalogue()
        self.session.move_pointer_away()
        time.sleep(0.5)
        normal = self.button_pixels(window)
        self.session.hover(window, 70 + 20, 0 + 20)
        wait_until(lambda: self.button_pixels(window) != normal, 5, what="the hover look")
        self.session.move_pointer_away()
        wait_until(lambda: self.button_pixels(window) == normal, 5, what="the normal look again")

    def test_clicking_the_media_store_button_opens_the_media_store(self):
        _, window = self.start_catalogue()
        self.session.click(window, 70 + 20, 0 + 20)
        store = self.session.wait_for_window("Media Store", timeout=10)
        shot = self.session.screenshot(screenshots_folder() / f"{type(self).__name__}-media-store.png")
        self.assertGreater(shot.stat().st_size, 1000)
        self.session.close(store, "wm_close")
        self.session.wait_for_no_window("Media Store")

    def test_closing_with_the_close_box_ends_the_program(self):
        process, window = self.start_catalogue()
        self.session.close(window, "close_box")
        self.assert_ends_cleanly(process)

    def test_closing_with_alt_f4_ends_the_program(self):
        process, window = self.start_catalogue()
        self.session.close(window, "alt_f4")
        self.assert_ends_cleanly(process)

    def test_closing_with_wm_close_ends_the_program(self):
        process, window = self.start_catalogue()
        self.session.close(window, "wm_close")
        self.assert_ends_cleanly(process)

    def test_the_main_window_screenshot_is_saved(self):
        _, window = self.start_catalogue()
        self.session.move_pointer_away()
        time.sleep(1.0)  # let the window finish painting
        shot = self.session.screenshot(screenshots_folder() / f"{type(self).__name__}-main-window.png")
        self.assertEqual(shot.read_bytes()[:8], b"\x89PNG\r\n\x1a\n")
