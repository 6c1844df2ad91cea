"""The Windows Installer package of this build, made with wixl and installed
with msiexec under Wine in a fresh prefix: the x64 package's whole life
(install, start, upgrade, remove), and the x86 package's installation (its
programs cannot run on these machines, but installing them needs no 32-bit
code). Both packages' tables are checked with msiinfo first."""
import os
import re
import shutil
import subprocess
import sys
import time
import unittest
from pathlib import Path

from harness import Session, wait_until, windows_path

ROOT = Path(__file__).resolve().parents[2]
BUILD = os.environ.get("TUHO_PACKAGE_BUILD")
UPGRADE_CODE = "{5A983F51-DC39-431A-A5AF-0FE87252E832}"
UNINSTALL_KEYS = [r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall",
                  r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"]
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
TITLE = "Tunehoard"


def read_contents():
    """What the build ships (written by packaging/CMakeLists.txt)."""
    if not BUILD:
        return {}
    path = Path(BUILD) / "package" / "contents.env"
    return dict(line.split("=", 1) for line in path.read_text().splitlines() if "=" in line)


CONTENTS = read_contents()
ARCH = CONTENTS.get("arch")


def newer(version):
    """The version with its third number raised: installers ignore the fourth."""
    numbers = [int(n) for n in version.split(".")]
    numbers[2] += 1
    return ".".join(map(str, numbers))


def msiinfo_table(msi, table):
    """Rows of an MSI table as dicts (msiinfo export: names, types, key line, rows)."""
    out = subprocess.run(["msiinfo", "export", str(msi), table], check=True, capture_output=True,
                         text=True).stdout.splitlines()
    names = out[0].split("\t")
    return [dict(zip(names, line.split("\t"))) for line in out[3:]]


def skip_line(reason):
    print(f"SKIPPED: {reason}", file=sys.stderr)


@unittest.skipUnless(shutil.which("wixl") and shutil.which("msiinfo"),
                     "wixl or msiinfo is missing (scripts/setup.sh installs msitools and wixl)")
@unittest.skipUnless(BUILD, "TUHO_PACKAGE_BUILD is not set")
class PackageTests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.contents = CONTENTS
        cls.version, cls.arch = CONTENTS["version"], ARCH
        cls.session = Session(f"package-{cls.arch}")
        # No menu entries of the prefix's shortcuts on this machine's desktop.
        cls.session.extra_env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        cls.packages = cls.session.dir / "packages"
        cls.msi = cls.make_package()

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    @classmethod
    def make_package(cls, version=None):
        command = [sys.executable, str(ROOT / "packaging" / "make-package.py"), BUILD, str(cls.packages)]
        done = subprocess.run(command + (["--version", version] if version else []),
                              capture_output=True, text=True)
        if done.returncode != 0:
            raise AssertionError(f"make-package.py failed:\n{done.stdout}{done.stderr}")
        return Path(done.stdout.split()[0])

    # -- what the package should hold

    def expected_files(self):
        """{installed name: the build's file}: the programs and the help page
        with every picture under help/images/, all from the build's bin/."""
        names = ["Tuho.exe", "TuhoKick.exe", "help.html"]
        names += [p.relative_to(ROOT / "help").as_posix() for p in (ROOT / "help" / "images").rglob("*") if p.is_file()]
        bin_dir = Path(self.contents["bin"])
        self.assertEqual(bin_dir, Path(BUILD) / "bin")
        for name in names[2:]:
            self.assertEqual((bin_dir / name).read_bytes(), (ROOT / "help" / name).read_bytes(),
                             f"bin/{name} is not the help's own")
        return {name: bin_dir / name for name in names}

    def report_missing_parts(self, files):
        if "TuhoKick.exe" not in files:
            skip_line("this build has no TuhoKick target: TuhoKick.exe is neither packaged nor checked")
        if not any(name.startswith("images/") for name in files):
            skip_line("help/images/ holds no pictures: no installed picture is checked")

    # -- the prefix

    def install_dir(self):
        program_files = "Program Files" if self.arch == "x64" else "Program Files (x86)"
        return self.session.prefix / "drive_c" / program_files / "Tunehoard"

    def msiexec(self, *args):
        log = self.session.dir / f"msiexec-{len(list(self.session.dir.glob('msiexec-*')))}.log"
        done = self.session.wine("msiexec", *args, "/qn", "/l*v", windows_path(log), timeout=300)
        text = log.read_bytes().decode("latin-1") if log.exists() else ""
        self.assertEqual(done.returncode, 0, f"msiexec {' '.join(args)}:\n{text[-3000:]}")

    def reg(self, *args):
        """reg.exe's output, with Linux line ends."""
        return self.session.wine("reg", *args).stdout.replace("\r\n", "\n")

    def uninstall_entries(self, raw=None):
        """{product code: values} of the entries named Tunehoard in Add/Remove
        Programs; reg's own output is appended to raw when it is given."""
        entries = {}
        for root in UNINSTALL_KEYS:
            key = None
            done = self.session.wine("reg", "query", root, "/s")
            if raw is not None:
                raw.append(f"reg query {root} /s -> {done.returncode}\n{done.stdout}{done.stderr}")
            for line in done.stdout.replace("\r\n", "\n").splitlines():
                if line.startswith("HKEY_"):
                    key = line.rsplit("\\", 1)[1]
                    values = {}
                    entries[key] = values
                elif key and (value := re.match(r"\s+(\S+)\s+REG_\w+\s*(.*)", line)):
                    values[value[1]] = value[2]
        return {key: values for key, values in entries.items() if values.get("DisplayName") == "Tunehoard"}

    def settled_uninstall_entries(self, count):
        """The uninstall entries once there are count of them. Under load the
        registry has been seen to lag msiexec's exit, so this waits a little,
        and shows what reg printed when the count never comes."""
        deadline = time.monotonic() + 20
        while True:
            raw = []
            entries = self.uninstall_entries(raw)
            if len(entries) == count:
                return entries
            if time.monotonic() > deadline:
                self.fail(f"{len(entries)} uninstall entries, expected {count}:\n" + "\n".join(raw)[-4000:])
            time.sleep(0.5)

    def shortcuts(self):
        """{name: .lnk bytes} of the Tunehoard shortcuts in the Start menus."""
        found = {}
        menus = ["drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs",
                 "drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"]
        for menu in (folder for pattern in menus for folder in self.session.prefix.glob(pattern)):
            for link in menu.glob("Tunehoard*.lnk"):
                found[link.stem] = link.read_bytes()
        return found

    def installed_files(self):
        folder = self.install_dir()
        return {p.relative_to(folder).as_posix() for p in folder.rglob("*") if p.is_file()}

    # -- checks shared by both architectures

    def check_tables(self, msi, files):
        properties = {row["Property"]: row["Value"] for row in msiinfo_table(msi, "Property")}
        self.assertEqual(properties["ProductVersion"], self.version)
        self.assertEqual(properties["ProductName"], "Tunehoard")
        self.assertEqual(properties["UpgradeCode"], UPGRADE_CODE)
        self.assertEqual(properties["ARPPRODUCTICON"], "tuho.ico")
        template = subprocess.run(["msiinfo", "suminfo", str(msi)], capture_output=True, text=True).stdout
        self.assertIn("Template: x64;" if self.arch == "x64" else "Template: Intel;", template)

        components = msiinfo_table(msi, "Component")
        packaged = {row["FileName"].split("|")[-1] for row in msiinfo_table(msi, "File")}
        self.assertEqual(packaged, {Path(name).name for name in files})
        self.assertEqual(len(components), len(files), "one component per file")
        self.assertEqual(len({row["ComponentId"] for row in components}), len(files))
        bits = 256 if self.arch == "x64" else 0
        self.assertEqual({int(row["Attributes"]) & 256 for row in components}, {bits}, "64-bit components")
        upgrade = msiinfo_table(msi, "Upgrade")
        self.assertEqual({row["UpgradeCode"] for row in upgrade}, {UPGRADE_CODE})
        shortcuts = {row["Name"]: row["Component_"] for row in msiinfo_table(msi, "Shortcut")}
        self.assertEqual(shortcuts, {"Tunehoard": "Tuho", "Tunehoard Help": "HelpPage"})

    def check_installed(self, files):
        self.assertEqual(self.installed_files(), set(files))
        for name, source in files.items():
            self.assertEqual((self.install_dir() / name).read_bytes(), source.read_bytes(), name)
        links = self.shortcuts()
        self.assertEqual(set(links), {"Tunehoard", "Tunehoard Help"})
        self.assertIn(b"Tuho.exe", links["Tunehoard"])
        self.assertIn(b"help.html", links["Tunehoard Help"])

    def install_the_build_package(self):
        """Checks the package's tables, installs it and checks what it
        installed; returns the files and the uninstall entry's product code."""
        files = self.expected_files()
        self.report_missing_parts(files)
        self.check_tables(self.msi, files)
        self.msiexec("/i", windows_path(self.msi))
        self.check_installed(files)
        (code, values), = self.settled_uninstall_entries(1).items()
        self.assertEqual(values["DisplayVersion"], self.version)
        return files, code

    # -- journeys

    @unittest.skipUnless(ARCH == "x64", "x64 builds only")
    def test_install_start_upgrade_and_remove(self):
        files, first_code = self.install_the_build_package()

        # The installed program runs from its folder and makes the user's data.
        process = self.session.start(self.install_dir() / "Tuho.exe")
        window = self.session.wait_for_window(TITLE, timeout=60, win_class=TITLE)
        data = self.session.data_folder()
        wait_until(lambda: (data / "Tuho.dat").exists(), 20, what="the catalogue in the data folder")
        self.session.close(window, "wm_close")
        self.assertEqual(self.session.wait_for_exit(process, 30), 0)

        # A newer package replaces this one: one entry, the newer version.
        self.msiexec("/i", windows_path(self.make_package(newer(self.version))))
        self.check_installed(files)
        entries = self.settled_uninstall_entries(1)
        self.assertEqual([values["DisplayVersion"] for values in entries.values()], [newer(self.version)])
        self.assertNotIn(first_code, entries)

        # The older package cannot go back over the newer one.
        done = self.session.wine("msiexec", "/i", windows_path(self.msi), "/qn", timeout=300)
        self.assertNotEqual(done.returncode, 0, "an older package installed over a newer one")

        # Removing Tunehoard takes the launcher's log-on value with it and
        # leaves the user's catalogue.
        launcher = r"C:\Program Files\Tunehoard\TuhoKick.exe"
        self.reg("add", RUN_KEY, "/v", "TuhoKick", "/t", "REG_SZ", "/d", launcher, "/f")
        self.reg("add", RUN_KEY, "/v", "SomeoneElse", "/t", "REG_SZ", "/d", r"C:\other.exe", "/f")
        (code, _), = self.settled_uninstall_entries(1).items()
        self.msiexec("/x", code)
        self.assertFalse(self.install_dir().exists(), sorted(self.installed_files()))
        self.assertEqual(self.shortcuts(), {})
        self.settled_uninstall_entries(0)
        run_values = self.reg("query", RUN_KEY)
        self.assertNotIn("TuhoKick", run_values)
        self.assertIn("SomeoneElse", run_values)
        self.assertTrue((data / "Tuho.dat").exists(), "the user's catalogue went with the program")

    @unittest.skipUnless(ARCH == "x86", "x86 builds only")
    def test_the_x86_package_installs_under_program_files_x86(self):
        self.install_the_build_package()


if __name__ == "__main__":
    unittest.main()
