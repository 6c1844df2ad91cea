"""Tuho and TuhoKick beside the user's desktop, as real programs: the
launcher's single instance and click, Tuho's notification icon and tray
menu, the ways of ending and the launcher each one starts, settings kept in
the registry, Preferences, Welcome, About and the help page.

Both programs run from one install folder with a space in its name, as
"Program Files" has, beside help.html; the tray menu's "Exit" and the help
page are also tried from the build's own bin/ folder, which must lay the files
out as an installation does. The .html "open" verb is given to the test
player, so that opening help is logged instead of shown."""
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from harness import HarnessError, SessionPerClass, screenshots_folder, wait_until, windows_path

TUHO = os.environ.get("TUHO_EXE", "")
TUHOKICK = os.environ.get("TUHOKICK_EXE", "")

MAIN = "Tunehoard"
LAUNCHER = "TuhoKick"
DIALOG = "#32770"
MENU = "#32768"
SETTINGS_KEY = r"HKCU\Software\Brambleward\Tuho"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

WM_COMMAND, WM_SYSCOMMAND, SC_MINIMIZE = 0x0111, 0x0112, 0xF020
WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016
WM_LBUTTONUP, WM_RBUTTONUP = 0x0202, 0x0205
MMSG_TRAY_NOTIFY, TRAY_ICON_ID = 2333, 2334
LMSG_TRAY_NOTIFY, LAUNCHER_ICON_ID, LCMD_EXIT = 2010, 2011, 2012
CMD_ABOUT, CMD_HELP, CMD_PREFERENCES = 2318, 2338, 2335
IDC_ABOUT_VERSION = 2120
HELP_PROGID = "Tunehoard.TestHelp"


@unittest.skipUnless(TUHO and TUHOKICK, "Tuho.exe and TuhoKick.exe are not both part of this build")
class DesktopJourneys(SessionPerClass, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.install = cls.session.dir / "Program Files" / "Tunehoard"
        cls.install.mkdir(parents=True)
        for program in (TUHO, TUHOKICK):
            shutil.copy2(program, cls.install)
        help_folder = Path(TUHO).parent
        shutil.copy2(help_folder / "help.html", cls.install)
        shutil.copytree(help_folder / "images", cls.install / "images")
        cls.session.register_test_player()
        cls._register_help_viewer()
        # The prefix's first programs start its services; let that happen
        # before any journey counts seconds.
        cls.session.run(cls.session.win_query, "find", LAUNCHER, LAUNCHER, timeout=180)

    @classmethod
    def _register_help_viewer(cls):
        player = windows_path(os.environ["TUHO_TEST_PLAYER"]).replace("\\", "\\\\")
        lines = ["REGEDIT4", "", r"[HKEY_CLASSES_ROOT\.html]", f'@="{HELP_PROGID}"', "",
                 f"[HKEY_CLASSES_ROOT\\{HELP_PROGID}\\shell\\open\\command]", f'@="\\"{player}\\" open \\"%1\\""', ""]
        reg = cls.session.dir / "help-viewer.reg"
        reg.write_text("\r\n".join(lines) + "\r\n")
        cls.session.wine("regedit", "/S", windows_path(reg))

    def setUp(self):
        # Each journey sees only the help pages it opened itself.
        self.session.player_log_path.unlink(missing_ok=True)
        self.session.wine("reg", "delete", SETTINGS_KEY, "/f")
        self.session.wine("reg", "delete", RUN_KEY, "/v", "TuhoKick", "/f")
        self.assertFalse(self.exists(MAIN, MAIN) or self.exists(LAUNCHER, LAUNCHER), "a program is left from before")

    def tearDown(self):
        # Closing Tuho may start the launcher: close whatever runs until
        # nothing does.
        def closed():
            running = [pair for pair in ((MAIN, MAIN), (LAUNCHER, LAUNCHER)) if self.exists(*pair)]
            for pair in running:
                self.query("close", *pair)
            return not running
        wait_until(closed, 60, interval=1.0, what="both programs to end")

    # -- helper verbs

    def query(self, *args):
        return self.session.run(self.session.win_query, *args, timeout=90)

    def exists(self, win_class, title):
        # A query stuck behind a busy Wine counts as "not yet": the caller's
        # wait asks again.
        try:
            return self.session.run(self.session.win_query, "find", win_class, title, timeout=20)[0] == 0
        except subprocess.TimeoutExpired:
            return False

    def post(self, win_class, title, message, wparam=0, lparam=0):
        code, _ = self.query("post", win_class, title, message, wparam, lparam)
        self.assertEqual(code, 0, f"no window {win_class}/{title} to post to")

    def visible(self, win_class, title):
        code, out = self.query("find", win_class, title)
        return code == 0 and " visible=1 " in f" {out} "

    def start(self, program):
        return self.session.start(self.install / Path(program).name)

    def start_tuho(self, welcome_answer="No Thanks", from_build=False):
        """Starts Tuho from the install folder, or from the build's bin/."""
        process = self.session.start(TUHO) if from_build else self.start(TUHO)
        window = self.session.wait_for_window(MAIN, timeout=60, win_class=MAIN)
        if welcome_answer:
            self.answer_welcome(welcome_answer)
        return process, window

    def answer_welcome(self, answer, screenshot=None):
        welcome = self.session.wait_for_window("Like Help?", timeout=20, win_class=DIALOG)
        time.sleep(0.5)
        if screenshot:
            self.shoot(welcome, screenshot)
        self.session.click(welcome, 113 + 37, (125 if answer == "Yes Please" else 160) + 12)
        self.session.wait_for_no_window("Like Help?")

    def shoot(self, window, name):
        """A picture of one window, frame included, among the run's screenshots."""
        left, top, right, bottom = self.session.window_info(window).window
        path = screenshots_folder() / name
        subprocess.run(["import", "-display", self.session.display, "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(path)],
                       check=True, timeout=60, capture_output=True)
        return path

    def registry(self, key, value):
        """The value's data as reg.exe prints it (a DWORD as 0x...), or None."""
        done = self.session.wine("reg", "query", key, "/v", value)
        for line in done.stdout.splitlines():
            parts = line.split(None, 2)
            if len(parts) == 3 and parts[0] == value:
                return parts[2].strip()
        return None

    def launcher_started_by_tuho(self):
        wait_until(lambda: self.exists(LAUNCHER, LAUNCHER), 30, what="the launcher")
        self.assertFalse(self.visible(LAUNCHER, LAUNCHER), "the launcher's window is never shown")

    def help_requests(self):
        return [r for r in self.session.player_requests() if r[0] == "open"]

    # -- journeys

    def test_launcher_without_tuho_beside_it_still_ends_on_a_click(self):
        alone = self.session.dir / "alone"
        alone.mkdir(exist_ok=True)
        shutil.copy2(TUHOKICK, alone)
        launcher = self.session.start(alone / Path(TUHOKICK).name)
        wait_until(lambda: self.exists(LAUNCHER, LAUNCHER), 30, what="the launcher's window")
        self.post(LAUNCHER, LAUNCHER, LMSG_TRAY_NOTIFY, LAUNCHER_ICON_ID, WM_LBUTTONUP)
        self.assertEqual(self.session.wait_for_exit(launcher, 30), 0)
        self.assertFalse(self.exists(MAIN, MAIN))

    def test_the_launcher_runs_once_and_a_click_starts_tuho_which_offers_help(self):
        first = self.start(TUHOKICK)
        wait_until(lambda: self.exists(LAUNCHER, LAUNCHER), 30, what="the launcher's window")
        second = self.start(TUHOKICK)
        self.assertEqual(self.session.wait_for_exit(second, 30), 0)
        self.assertIsNone(first.poll(), "the first launcher ended")

        self.post(LAUNCHER, LAUNCHER, LMSG_TRAY_NOTIFY, LAUNCHER_ICON_ID, WM_LBUTTONUP)
        self.assertEqual(self.session.wait_for_exit(first, 30), 0)
        self.session.wait_for_window(MAIN, timeout=60, win_class=MAIN)
        self.answer_welcome("Yes Please", screenshot="welcome.png")
        requests = wait_until(self.help_requests, 20, what="the help page to be opened")
        self.assertEqual(requests[0][1].lower(), windows_path(self.install / "help.html").lower())
        self.assertFalse(self.exists(LAUNCHER, LAUNCHER))

    def test_exit_from_the_tray_menu_of_a_build_saves_the_settings_and_starts_the_launcher(self):
        # Tuho starts the launcher beside itself: run from the build's bin/,
        # only a TuhoKick.exe there can come up.
        self.assertEqual(Path(TUHO).parent, Path(TUHOKICK).parent, "the build keeps the programs apart")
        self.session.wine("reg", "add", SETTINGS_KEY, "/v", "MinNotify", "/t", "REG_DWORD", "/d", "5", "/f")
        process, window = self.start_tuho(from_build=True)
        self.post(MAIN, MAIN, WM_SYSCOMMAND, SC_MINIMIZE)
        time.sleep(1.0)
        # With a notification area the window hides behind the icon; without
        # one it stays an ordinary minimised window. Either way the tray
        # callback opens the tray menu.
        print(f"after minimising the window is {'shown' if self.visible(MAIN, MAIN) else 'hidden behind the icon'}")
        self.post(MAIN, MAIN, MMSG_TRAY_NOTIFY, TRAY_ICON_ID, WM_RBUTTONUP)
        wait_until(lambda: self.exists(MENU, "-"), 10, what="the tray menu")
        time.sleep(0.3)
        self.session.screenshot(screenshots_folder() / "tray-menu.png")
        self.session.key("Down")
        self.session.key("Return")  # the first item, "Exit"
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)
        self.launcher_started_by_tuho()
        for value in ("Col0", "Col1", "Col2", "Col3", "GRoot", "Top", "Left", "Right", "Bottom"):
            self.assertIsNotNone(self.registry(SETTINGS_KEY, value), f"{value} was not saved")
        self.assertEqual(self.registry(SETTINGS_KEY, "MinNotify"), "0x1")
        self.assertEqual(self.registry(SETTINGS_KEY, "Col2"), "0x19")

    def test_the_end_of_the_session_saves_the_settings_and_closes_the_catalogue(self):
        # Windows sends both and then ends the process, with no WM_CLOSE or
        # WM_DESTROY: the settings must be in the registry by then.
        self.session.wine("reg", "add", SETTINGS_KEY, "/v", "MinNotify", "/t", "REG_DWORD", "/d", "1", "/f")
        process, window = self.start_tuho()
        self.session.wine("reg", "delete", SETTINGS_KEY, "/f")
        self.post(MAIN, MAIN, WM_QUERYENDSESSION)
        self.post(MAIN, MAIN, WM_ENDSESSION, 1)
        wait_until(lambda: self.registry(SETTINGS_KEY, "Bottom"), 30, what="the settings to be saved")
        self.assertEqual(self.registry(SETTINGS_KEY, "MinNotify"), "0x1")
        self.assertEqual(self.registry(SETTINGS_KEY, "Col2"), "0x19")
        # Should Windows let it run on, the program ends by itself, its
        # catalogue closed, and starts no launcher: the next log-on does.
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)
        time.sleep(2.0)
        self.assertFalse(self.exists(LAUNCHER, LAUNCHER))

    def test_preferences_write_the_quoted_run_value_and_the_close_box_then_starts_the_launcher(self):
        process, window = self.start_tuho()
        self.session.move_pointer_away()
        self.post(MAIN, MAIN, WM_COMMAND, CMD_PREFERENCES)
        preferences = self.session.wait_for_window("Preferences", timeout=20, win_class=DIALOG)
        time.sleep(0.5)
        self.shoot(preferences, "preferences.png")
        self.session.click(preferences, 20 + 40, 130 + 10)   # "Run launcher at Windows startup"
        self.session.click(preferences, 215 + 37, 175 + 12)  # OK
        self.session.wait_for_no_window("Preferences")
        expected = '"' + windows_path(self.install / "TuhoKick.exe") + '"'
        value = wait_until(lambda: self.registry(RUN_KEY, "TuhoKick"), 10, what="the Run value")
        self.assertEqual(value, expected)

        self.session.close(window, "close_box")
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)
        self.launcher_started_by_tuho()
        self.post(LAUNCHER, LAUNCHER, WM_COMMAND, LCMD_EXIT)
        wait_until(lambda: not self.exists(LAUNCHER, LAUNCHER), 20, what="the launcher to end")

    def test_about_shows_the_built_version_and_help_opens_from_the_menu_of_a_build(self):
        process, window = self.start_tuho(from_build=True)
        self.session.move_pointer_away()
        self.post(MAIN, MAIN, WM_COMMAND, CMD_ABOUT)
        about = self.session.wait_for_window("About Tunehoard", timeout=20, win_class=DIALOG)
        time.sleep(0.5)
        self.shoot(about, "about.png")
        code, text = self.query("text", DIALOG, "About Tunehoard", IDC_ABOUT_VERSION)
        self.assertEqual((code, text.strip()), (0, "Version: 1.0.0.0"))
        self.session.close(about, "wm_close")
        self.session.wait_for_no_window("About Tunehoard")

        self.post(MAIN, MAIN, WM_COMMAND, CMD_HELP)
        requests = wait_until(self.help_requests, 20, what="the help page to be opened")
        page = Path(TUHO).parent / "help.html"
        self.assertEqual(requests[-1][1].lower(), windows_path(page).lower())
        self.assertTrue(page.is_file() and (page.parent / "images" / "main-window.png").is_file(),
                        "the build has no help page with its pictures beside Tuho.exe")
        self.session.close(window, "close_box")
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)
        time.sleep(2.0)
        self.assertFalse(self.exists(LAUNCHER, LAUNCHER), "the close box starts no launcher unless it runs at log-on")


if __name__ == "__main__":
    unittest.main()
