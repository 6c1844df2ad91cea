"""The help page as a browser shows it: headless Chromium renders help.html
from a copy of the help folder, and a script added to the copy reports every
picture that did not load. The links inside the page must lead somewhere.

Usage: help_page_test.py HELP_FOLDER OUTPUT_FOLDER (a screenshot of the
page is left there to look at)."""
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HELP = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ""
OUTPUT = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else tempfile.gettempdir()
MARKER = "help-check:"

# Runs once the page and every picture have loaded (or failed to).
CHECK_SCRIPT = """<script>
window.addEventListener("load", function () {
  var broken = [];
  for (var i = 0; i < document.images.length; i++) {
    var image = document.images[i];
    if (!image.complete || image.naturalWidth === 0) broken.push(image.getAttribute("src"));
  }
  var report = document.createElement("pre");
  report.textContent = "%s" + JSON.stringify({images: document.images.length, broken: broken});
  document.body.appendChild(report);
});
</script>
""" % MARKER


class PageParts(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.images, self.ids, self.anchors = [], set(), []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "img":
            self.images.append(attrs.get("src", ""))
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and attrs.get("href", "").startswith("#"):
            self.anchors.append(attrs["href"][1:])


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


class HelpPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(os.path.join(HELP, "help.html"), encoding="windows-1252") as page:
            cls.text = page.read()
        cls.parts = PageParts()
        cls.parts.feed(cls.text)

    def run_browser(self, page, *args):
        browser = chromium()
        self.assertIsNotNone(browser, "no Chromium to render the help page (scripts/setup.sh installs it)")
        with tempfile.TemporaryDirectory() as profile:
            done = subprocess.run(
                [browser, "--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
                 "--user-data-dir=" + profile, "--virtual-time-budget=10000", *args, "file://" + page],
                capture_output=True, text=True, timeout=180)
        return done

    def test_every_picture_loads_in_a_real_browser(self):
        self.assertGreaterEqual(len(self.parts.images), 8, "pictures of the windows the page describes")
        with tempfile.TemporaryDirectory() as copy:
            shutil.copytree(HELP, os.path.join(copy, "help"))
            page = os.path.join(copy, "help", "help.html")
            with open(page, "w", encoding="windows-1252") as out:
                out.write(self.text.replace("</body>", CHECK_SCRIPT + "</body>"))
            done = self.run_browser(page, "--dump-dom")
        found = re.search(re.escape(MARKER) + r"(\{.*?\})", done.stdout)
        self.assertIsNotNone(found, "the page did not finish loading:\n" + done.stderr[-2000:])
        report = json.loads(found.group(1))
        self.assertEqual(report["images"], len(self.parts.images))
        self.assertEqual(report["broken"], [], "pictures that did not load")

    def test_the_keyboard_section_names_every_shortcut(self):
        self.assertIn("keyboard", self.parts.ids)
        section = self.text[self.text.index('<section id="keyboard">'):]
        section = section[:section.index("</section>")]
        self.assertIn("<h2>Keyboard</h2>", section)
        for key in ("Ctrl+M", "Ctrl+R", "Ctrl+Shift+R", "Ctrl+P", "Ctrl+Shift+P", "Ctrl+E", "Ctrl+Shift+E",
                    ">F10<", "Ctrl+F", "Tab", "F6", "Enter", "Shift+Enter", "F2", "Delete", "Ctrl+A", "Shift+F10", "F5"):
            self.assertIn(key, section)

    def test_the_page_renders_and_its_links_lead_somewhere(self):
        missing = sorted(set(self.parts.anchors) - self.parts.ids)
        self.assertEqual(missing, [], "links to no part of the page")
        os.makedirs(OUTPUT, exist_ok=True)
        shot = os.path.join(OUTPUT, "help-page.png")
        if os.path.exists(shot):
            os.remove(shot)
        self.run_browser(os.path.join(HELP, "help.html"), "--hide-scrollbars", "--window-size=1100,6000",
                         "--screenshot=" + shot)
        self.assertTrue(os.path.exists(shot) and os.path.getsize(shot) > 10000, "no screenshot of the page")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
