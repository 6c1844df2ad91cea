"""Runs one unittest module of the end-to-end suite for ctest:
    run.py MODULE
Exit 0 when it passed, 1 when something failed, 77 (ctest's skip code here)
when every test in it was skipped."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
suite = unittest.defaultTestLoader.loadTestsFromName(sys.argv[1])
result = unittest.TextTestRunner(verbosity=2).run(suite)
if not result.wasSuccessful():
    sys.exit(1)
if result.testsRun and len(result.skipped) == result.testsRun:
    sys.exit(77)
