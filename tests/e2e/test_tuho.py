"""The catalogue's journeys against the real Tuho.exe."""
import os
import unittest

from harness import wait_until
from journeys import CatalogueJourneys

TUHO = os.environ.get("TUHO_EXE", "")


@unittest.skipUnless(TUHO, "Tuho.exe is not part of this build (no Tuho target)")
class TuhoJourneys(CatalogueJourneys, unittest.TestCase):
    program = TUHO

    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(cls.program):
            raise AssertionError(f"the Tuho target is built but {cls.program} is missing")
        super().setUpClass()

    @unittest.skip("the Media Store dialog comes with the source-management work")
    def test_clicking_the_media_store_button_opens_the_media_store(self):
        super().test_clicking_the_media_store_button_opens_the_media_store()

    def test_clicking_the_configuration_button_opens_its_menu(self):
        _, window = self.start_catalogue()
        menu_open = lambda: self.session.run(self.session.win_query, "find", "#32768", "-")[0] == 0
        self.assertFalse(menu_open())
        self.session.click(window, 440 + 20, 0 + 20)
        wait_until(menu_open, 10, what="the configuration menu")
        self.session.key("Escape")
        wait_until(lambda: not menu_open(), 10, what="the menu to close")


if __name__ == "__main__":
    unittest.main()
