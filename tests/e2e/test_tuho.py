"""The catalogue's journeys against the real Tuho.exe."""
import os
import unittest

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

    # Tuho has no Media Store dialog yet. Once it has, this becomes an
    # unexpected success, which fails the suite, so the marker goes with it.
    @unittest.expectedFailure
    def test_clicking_the_media_store_button_opens_the_media_store(self):
        super().test_clicking_the_media_store_button_opens_the_media_store()


if __name__ == "__main__":
    unittest.main()
