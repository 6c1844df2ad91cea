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


if __name__ == "__main__":
    unittest.main()
