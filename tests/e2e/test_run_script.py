"""scripts/run.sh as a newcomer runs it on a machine without a display: no
Wine prefix and no catalogue yet. It must end with exit code 0 and leave a
screenshot of Tuho's main window showing the demo catalogue: a window of the
main window's size with its frame, strip, tree and list, not an empty desktop
or a lone dialog.

The script reuses this build (TUHO_RUN_BUILD) instead of making its own, and
keeps its prefix and screenshot in the end-to-end work folder."""
import os
import shutil
import subprocess
import unittest
from pathlib import Path

from harness import work_root

ROOT = Path(__file__).resolve().parents[2]
BUILD = os.environ.get("TUHO_RUN_BUILD", "")
SCREEN = (1024, 768)  # the virtual display run.sh makes

# Colours the main window paints itself: its grey background around the strip
# and the white of the tree and list.
WINDOW_GREY = (230, 230, 230)
WHITE = (255, 255, 255)


def colour_counts(picture):
    """{(r, g, b): pixel count} of a picture, read with ImageMagick."""
    out = subprocess.run(["convert", str(picture), "-alpha", "off", "-depth", "8", "-format", "%c",
                          "histogram:info:-"], check=True, capture_output=True, text=True, timeout=60).stdout
    counts = {}
    for line in out.splitlines():
        count, _, rest = line.strip().partition(":")
        rgb = rest.split("(", 1)[1].split(")", 1)[0].split(",")[:3]
        counts[tuple(round(float(v)) for v in rgb)] = int(count)
    return counts


def picture_size(picture):
    out = subprocess.run(["identify", "-format", "%w %h", str(picture)], check=True, capture_output=True,
                         text=True, timeout=60).stdout
    width, height = map(int, out.split())
    return width, height


@unittest.skipUnless(BUILD, "TUHO_RUN_BUILD is not set")
class RunScript(unittest.TestCase):
    def test_without_a_display_the_first_run_leaves_a_screenshot_of_the_main_window(self):
        out = work_root() / "run-script"
        shutil.rmtree(out, ignore_errors=True)
        shot = out / "tuho.png"
        env = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "WINEPREFIX")}
        env.update(TUHO_OUT=str(out), TUHO_SCREENSHOT=str(shot))
        done = subprocess.run([str(ROOT / "scripts" / "run.sh")], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True, timeout=600)
        print(done.stdout[-3000:])
        self.assertEqual(done.returncode, 0, done.stdout[-3000:])

        width, height = picture_size(shot)
        self.assertTrue(400 <= width <= SCREEN[0] and 300 <= height <= SCREEN[1],
                        f"a {width}x{height} screenshot is not the main window")
        self.assertNotEqual((width, height), SCREEN, "the screenshot shows the whole screen")
        counts = colour_counts(shot)
        pixels = width * height
        self.assertGreater(len(counts), 40, "the screenshot is nearly flat: no window was painted")
        self.assertLess(max(counts.values()), pixels * 0.9, "one colour fills the screenshot")
        self.assertGreater(counts.get(WINDOW_GREY, 0), pixels * 0.01, "no grey of the main window")
        self.assertGreater(counts.get(WHITE, 0), pixels * 0.2, "no white tree and list")
        self.assertIn(f"screenshot of its main window: {shot}", done.stdout)
        self.assertIn("run: a demo catalogue", done.stdout)


if __name__ == "__main__":
    unittest.main()
