"""tuhodb under crashes and faults: kill -9 at random points (fixed seed), two
programs on one data folder, a full disk, every byte of a file head flipped,
and one failed system call on the data files at every point of each command.
After each trial no track or source stored before is lost, nothing is
duplicated, `check` was right about the file, and a command that met a
failure said so and exited non-zero."""
import glob
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tuhodb_test import CORPUS, TUHODB, lines, run  # noqa: E402

SEED = 1010
TRIALS = int(os.environ.get("TUHO_FAULT_TRIALS", "10"))
IN_USE = "is in use by another program"


class DataFolder(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tuhodb-faults-")
        self.data = os.path.join(self.root, "data")
        self.random = random.Random(SEED)

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def db(self, *args, check=True):
        return run(*args, data=self.data, check=check)

    def music(self, name, count, per_folder=25):
        """A folder of `count` MP3 files, `per_folder` to a sub-folder."""
        folder = os.path.join(self.root, name)
        corpus = os.path.join(CORPUS, "tinytag__cbr.mp3")
        for i in range(count):
            sub = os.path.join(folder, "f%02d" % (i // per_folder))
            os.makedirs(sub, exist_ok=True)
            shutil.copyfile(corpus, os.path.join(sub, "t%04d.mp3" % i))
        os.makedirs(folder, exist_ok=True)
        return folder

    def add_source(self, name, folder, check=True):
        return self.db("add-source", "--name", name, "--kind", "local", "--path", folder, check=check)

    def catalogue(self):
        """Track id -> its fields; fails on a duplicated id or file."""
        tracks = lines(self.db("tracks"))
        ids = [t["id"] for t in tracks]
        self.assertEqual(len(ids), len(set(ids)), "a track id appears twice")
        files = [(t["source"], t["folder"], t["file"]) for t in tracks]
        self.assertEqual(len(files), len(set(files)), "a file is catalogued twice")
        return {t["id"]: t for t in tracks}

    def sources(self):
        return {s["id"]: s for s in lines(self.db("sources"))}

    def path(self, name="Tuho.dat"):
        return os.path.join(self.data, name)

    def set_aside(self):
        return sorted(glob.glob(self.path("Tuho.dat.damaged*")))

    def kill_during(self, args, seconds):
        process = subprocess.Popen([TUHODB, "--data", self.data] + list(args), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(seconds)
        process.send_signal(signal.SIGKILL)
        process.wait()

    def timed(self, args):
        start = time.monotonic()
        self.db(*args)
        return time.monotonic() - start

    def assert_survived(self, before_tracks, before_sources, where, changing=()):
        """`check` must say whether opening will repair; afterwards nothing
        stored before is missing (or changed, but for `changing`) and the file is whole."""
        verdict = run("check", self.path(), check=False).returncode
        aside = self.set_aside()
        after_tracks = self.catalogue()
        repaired = self.set_aside() != aside
        self.assertEqual(verdict == 1, repaired, where + ": check said %s" % ("damaged" if verdict else "whole"))
        missing = [i for i, t in before_tracks.items()
                   if i not in after_tracks or (i not in changing and after_tracks[i] != t)]
        self.assertEqual(missing, [], where + ": stored tracks lost or changed")
        after_sources = self.sources()
        self.assertTrue(all(after_sources.get(i) == s for i, s in before_sources.items()), where + ": sources lost")
        self.assertEqual(run("check", self.path(), check=False).returncode, 0, where + ": not whole after opening")
        return after_tracks


class Kills(DataFolder):
    def trials(self, prepare, args, check_after=None, changing=()):
        """Kills the command at TRIALS random points within its running time."""
        folder = prepare()
        duration = self.timed(args)
        for trial in range(TRIALS):
            shutil.rmtree(self.data)
            shutil.copytree(folder, self.data)
            before_tracks, before_sources = self.catalogue(), self.sources()
            delay = self.random.uniform(0, duration * 1.2)
            self.kill_during(args, delay)
            where = "%s, trial %d, killed at %.1f ms" % (args[0], trial, delay * 1000)
            after = self.assert_survived(before_tracks, before_sources, where, changing)
            if check_after:
                check_after(before_tracks, after, where)

    def saved(self, setup):
        """Runs setup on a fresh data folder and keeps a copy of the result."""
        setup()
        copy = os.path.join(self.root, "saved")
        shutil.copytree(self.data, copy)
        return copy

    def test_scan(self):
        music = self.music("new", 150)
        self.trials(lambda: self.saved(lambda: self.add_source("Old", self.music("old", 30))),
                    ["add-source", "--name", "New", "--kind", "local", "--path", music])

    def test_rescan(self):
        music = self.music("m", 60)

        def setup():
            self.add_source("M", music)
            for i in range(120):
                shutil.copyfile(os.path.join(music, "f00", "t0000.mp3"), os.path.join(music, "f00", "n%03d.mp3" % i))
        self.trials(lambda: self.saved(setup), ["rescan", "M"])

    def test_edit(self):
        def setup():
            self.add_source("M", self.music("m", 20))
        folder = self.saved(setup)
        track = min(lines(self.db("tracks")), key=lambda t: t["id"])["id"]
        artist = "A much longer artist name that moves the record"

        def edited_or_not(before, after, where):
            self.assertIn(after[track]["artist"], (before[track]["artist"], artist), where)
        self.trials(lambda: folder, ["edit", str(track), "--artist", artist], edited_or_not, changing=[track])

    def test_source_list_save(self):
        def setup():
            empty = self.music("empty", 0)
            for i in range(60):
                self.add_source("S%02d" % i, empty)
        self.trials(lambda: self.saved(setup), ["add-source", "--name", "New", "--kind", "local", "--path",
                                                self.music("one", 1)])

    def test_compaction(self):
        def setup():
            self.add_source("M", self.music("m", 130))
            for track in lines(self.db("tracks"))[::10]:
                self.db("delete", str(track["id"]))
        self.trials(lambda: self.saved(setup), ["compact", self.data])


class TwoPrograms(DataFolder):
    def together(self, first, second, rounds):
        """Runs two command lists side by side; returns every result."""
        results = []

        def loop(commands):
            for _ in range(rounds):
                for command in commands:
                    results.append((command, self.db(*command, check=False)))
        threads = [threading.Thread(target=loop, args=(c,)) for c in (first, second)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        for command, result in results:
            if result.returncode != 0:
                self.assertIn(IN_USE, result.stderr, "%s failed otherwise: %s" % (command, result.stderr))
                self.assertEqual(result.stderr.count("\n"), 1, result.stderr)
        return results

    def test_readers_beside_each_other_lose_nothing(self):
        self.add_source("M", self.music("m", 300))
        before = self.catalogue()
        results = self.together([["tracks"]], [["tracks"]], 15)
        for command, result in results:
            if result.returncode == 0:
                self.assertEqual(len(lines(result)), 300)
        self.assertEqual(self.catalogue(), before)
        self.assertEqual(run("check", self.path()).returncode, 0)

    def test_two_scans_each_whole_or_refused(self):
        folders = {"A": self.music("a", 200), "B": self.music("b", 200)}
        self.db("init", self.data)
        results = self.together([["add-source", "--name", "A", "--kind", "local", "--path", folders["A"]]],
                                [["add-source", "--name", "B", "--kind", "local", "--path", folders["B"]]], 1)
        added = [c[2] for c, r in results if r.returncode == 0]
        self.assertGreaterEqual(len(added), 1)
        self.assertEqual(sorted(s["name"] for s in self.sources().values()), sorted(added))
        self.assertEqual(len(self.catalogue()), 200 * len(added))

    def test_rescan_beside_edits(self):
        self.add_source("M", self.music("m", 300))
        before = self.catalogue()
        track = min(before)
        results = self.together([["rescan", "M"]], [["edit", str(track), "--artist", "Edited artist " + "x" * 40]], 5)
        after = self.catalogue()
        self.assertEqual(sorted(after), sorted(before))
        edits = [r for c, r in results if c[0] == "edit" and r.returncode == 0]
        if edits:
            self.assertTrue(after[track]["artist"].startswith("Edited artist"))


class HoldNotTaken(DataFolder):
    """The locks that keep a second program out are set with their own
    open, flock and fcntl calls. Each of them failing once (EIO, injected by
    strace) must refuse the command: a hold not taken is never a silent pass."""

    def test_a_hold_that_cannot_be_taken_refuses_the_command(self):
        if shutil.which("strace") is None:
            self.skipTest("strace is not installed")
        self.add_source("Old", self.music("old", 3))
        music = self.music("new", 2)
        before_tracks, before_sources = self.catalogue(), self.sources()
        catalogue = self.path()
        with open(catalogue, "rb") as file:
            before_bytes = file.read()
        # The catalogue's own open is the 1st openat of Tuho.dat; the locks'
        # descriptor is the 2nd. Every fcntl of the file until it is
        # admitted sets or tests a lock.
        faults = [("openat", 2), ("flock", 1)] + [("fcntl", n) for n in range(1, 12)]
        refused = 0
        for call, nth in faults:
            where = "%s #%d failed" % (call, nth)
            command = ["strace", "-qq", "-o", "/dev/null", "-P", catalogue, "-e", "trace=" + call,
                       "-e", "inject=%s:error=EIO:when=%d" % (call, nth),
                       TUHODB, "--data", self.data, "add-source", "--name", "New", "--kind", "local", "--path", music]
            result = subprocess.run(command, capture_output=True, text=True, timeout=120, env=TRACED_ENV)
            if result.returncode == 0:
                # The fault fell after the hold was taken (a later fcntl): it
                # must then have been harmless and the source added whole.
                self.assertIn("New", [s["name"] for s in self.sources().values()], where)
                break
            refused += 1
            self.assertIn("Tuho.dat", result.stderr, where)
            with open(catalogue, "rb") as file:
                self.assertEqual(file.read(), before_bytes, where + ": the catalogue changed")
            self.assertEqual(self.catalogue(), before_tracks, where)
            self.assertEqual(self.sources(), before_sources, where)
        self.assertGreaterEqual(refused, 8)


class FullDisk(DataFolder):
    def test_a_scan_onto_a_full_disk_stops_with_one_message(self):
        small = os.path.join(self.root, "small")
        os.makedirs(small)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", small], capture_output=True)
        if mounted.returncode != 0:
            self.skipTest("full disk: no small file system can be mounted here (mount tmpfs failed)")
        try:
            self.data = os.path.join(small, "data")
            self.add_source("Old", self.music("old", 20))
            before_tracks, before_sources = self.catalogue(), self.sources()
            result = self.add_source("Big", self.music("big", 600), check=False)
            self.assertNotEqual(result.returncode, 0)
            self.assertNotIn("Error 200", result.stderr)
            full = [line for line in result.stderr.splitlines() if "disk is full" in line]
            self.assertEqual(len(full), 1, result.stderr)
            stored = len(self.catalogue()) - len(before_tracks)
            self.assertIn("%d tracks were stored" % stored, full[0])
            self.assert_survived(before_tracks, before_sources, "full disk")
        finally:
            subprocess.run(["umount", "-l", small])


class DamagedHead(DataFolder):
    def test_every_byte_of_the_head_flipped(self):
        self.add_source("M", self.music("m", 3))
        before = self.catalogue()
        with open(self.path(), "rb") as file:
            whole = file.read()
        lost = []
        for offset in range(147):
            for name in self.set_aside():
                os.remove(name)
            damaged = bytearray(whole)
            damaged[offset] ^= 0xFF
            with open(self.path(), "wb") as file:
                file.write(bytes(damaged))
            verdict = run("check", self.path(), check=False).returncode
            result = self.db("tracks", check=False)
            self.assertEqual(result.returncode, 0, "byte %d: %s" % (offset, result.stderr))
            self.assertEqual(verdict == 1, bool(self.set_aside()), "byte %d: check was wrong" % offset)
            after = {t["id"]: t for t in lines(result)}
            if after != before:
                lost.append(offset)
                # What was not kept must have been set aside whole.
                kept = b""
                for name in self.set_aside():
                    with open(name, "rb") as file:
                        kept += file.read()
                self.assertEqual(kept, bytes(damaged), "byte %d" % offset)
            self.assertEqual(run("check", self.path(), check=False).returncode, 0, "byte %d" % offset)
        print("head flips that emptied the catalogue: %d of 147" % len(lost), file=sys.stderr)
        self.assertEqual(lost, [])


STRACE = shutil.which("strace")
# LeakSanitizer cannot run under ptrace: a sanitized tuhodb traced by strace
# checks everything but leaks.
TRACED_ENV = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
DATA_FILES = ("Tuho.dat", "Folders.dat", "TuhoTemp.dat", "FoldersTemp.dat")
# The system calls failed one at a time, and the errors they fail with.
CALLS = {"open": "openat", "read": "read", "write": "write", "fsync": "fsync", "rename": "rename,renameat,renameat2"}
ERRORS = {"open": ("EIO",), "read": ("EIO",), "write": ("EIO", "ENOSPC"), "fsync": ("EIO", "ENOSPC"),
          "rename": ("EIO", "ENOSPC")}
# Every N up to this is tried; past it, N is sampled.
EVERY_N = 6
SAMPLED_N = 4
FAILURE_WORDS = ("could not", "ERROR:", "DB ", "disk is full", "failed", "Full:")


def strace_works():
    if not STRACE:
        return False
    probe = subprocess.run([STRACE, "-qq", "-e", "trace=none", "true"], capture_output=True)
    return probe.returncode == 0


@unittest.skipUnless(strace_works(), "no working strace: system calls cannot be failed from outside")
class Countdown(DataFolder):
    maxDiff = None
    """Fails the Nth open, read, write, fsync or rename of the data files with
    EIO or ENOSPC, for every N (sampled where a command makes many) until the
    command runs through without meeting the failure."""

    def tracer(self, call, error, nth, log):
        paths = []
        for name in DATA_FILES:
            paths += ["-P", self.path(name)]
        return [STRACE, "-f", "-qq", "-o", log] + paths + [
            "-e", "trace=" + CALLS[call], "-e", "inject=%s:error=%s:when=%d" % (CALLS[call], error, nth)]

    def calls_made(self, args, call):
        log = os.path.join(self.root, "count.log")
        command = self.tracer(call, "EIO", 65535, log) + [TUHODB, "--data", self.data] + list(args)
        subprocess.run(command, capture_output=True, timeout=120, env=TRACED_ENV)
        with open(log) as file:
            return sum(1 for line in file if line.strip())

    @staticmethod
    def points(total):
        every = list(range(1, min(total, EVERY_N) + 1))
        if total <= EVERY_N:
            return every + [total + 1]
        step = (total - EVERY_N) / SAMPLED_N
        return sorted(set(every + [EVERY_N + round(step * (i + 1)) for i in range(SAMPLED_N)])) + [total + 1]

    def failed_run(self, args, call, error, nth):
        """Runs the command with one failed call; returns the result and the
        line of the call that failed (None when the command never reached it)."""
        log = os.path.join(self.root, "inject.log")
        command = self.tracer(call, error, nth, log) + [TUHODB, "--data", self.data] + list(args)
        result = subprocess.run(command, capture_output=True, text=True, timeout=120, env=TRACED_ENV)
        with open(log) as file:
            injected = [line for line in file if "(INJECTED)" in line]
        return result, (injected[0].strip() if injected else None)

    @staticmethod
    def is_hold(injected):
        """The open of the second descriptor that carries the cross-process hold."""
        return injected.split("(", 1)[0].endswith("openat") and "O_RDONLY" in injected and "O_CREAT" not in injected

    def countdown(self, saved, args, may_go=(), may_change=(), may_add=0, source_may_go=None):
        """Every failure point of every call and error; returns how many
        trials failed the command."""
        shutil.rmtree(self.data, ignore_errors=True)
        shutil.copytree(saved, self.data)
        before_tracks, before_sources = self.catalogue(), self.sources()
        trials = failures = 0
        problems = []
        for call in CALLS:
            shutil.rmtree(self.data)
            shutil.copytree(saved, self.data)
            total = self.calls_made(args, call)
            for error in ERRORS[call]:
                for nth in self.points(total):
                    shutil.rmtree(self.data)
                    shutil.copytree(saved, self.data)
                    result, injected = self.failed_run(args, call, error, nth)
                    where = "%s: %s #%d %s" % (" ".join(args[:1]), call, nth, error)
                    if injected is None:
                        self.assertEqual(result.returncode, 0, where + ": failed without a failure: " + result.stderr)
                        continue
                    trials += 1
                    if self.is_hold(injected):
                        continue  # test_a_failed_hold_is_a_refusal
                    if result.returncode == 0 or not any(w in result.stderr for w in FAILURE_WORDS):
                        problems.append("%s: exit %d, %r after %s" % (where, result.returncode,
                                                                       result.stderr.strip()[-200:], injected))
                    else:
                        failures += 1
                    self.assert_kept(before_tracks, before_sources, where, may_go, may_change, may_add,
                                     source_may_go)
        self.assertEqual(problems, [], "failures not reported:\n" + "\n".join(problems))
        self.assertGreater(trials, 0)
        return failures

    def assert_kept(self, before_tracks, before_sources, where, may_go, may_change, may_add, source_may_go):
        verdict = run("check", self.path(), check=False).returncode
        aside = self.set_aside()
        after = self.catalogue()
        self.assertEqual(verdict == 1, self.set_aside() != aside, where + ": check said %s" %
                         ("damaged" if verdict else "whole"))
        lost = [i for i, t in before_tracks.items()
                if i not in may_go and (i not in after or (i not in may_change and after[i] != t))]
        self.assertEqual(lost, [], where + ": stored tracks lost or changed")
        self.assertLessEqual(len(set(after) - set(before_tracks)), may_add, where + ": tracks added twice")
        sources = self.sources()
        kept = {i: s for i, s in before_sources.items() if i != source_may_go}
        self.assertTrue(all(sources.get(i) == s for i, s in kept.items()), where + ": sources lost")
        self.assertEqual(run("check", self.path(), check=False).returncode, 0, where + ": not whole after opening")
        self.assertEqual(run("check", self.path("Folders.dat"), check=False).returncode, 0, where)

    def saved(self, setup):
        setup()
        copy = os.path.join(self.root, "saved")
        shutil.copytree(self.data, copy)
        return copy

    def two_sources(self):
        self.add_source("Old", self.music("old", 3))
        self.add_source("M", self.music("m", 6, per_folder=3))

    def test_scan_and_add_source(self):
        saved = self.saved(lambda: self.add_source("Old", self.music("old", 3)))
        self.countdown(saved, ["add-source", "--name", "New", "--kind", "local", "--path", self.music("new", 4)],
                       may_add=4)
        self.countdown(saved, ["add-source", "--name", "Empty", "--kind", "local", "--path", self.music("e", 0)])

    def test_rescan(self):
        def setup():
            self.two_sources()
            music = os.path.join(self.root, "m")
            os.remove(os.path.join(music, "f00", "t0000.mp3"))
            shutil.copyfile(os.path.join(music, "f01", "t0005.mp3"), os.path.join(music, "f01", "n.mp3"))
        saved = self.saved(setup)
        gone = [t["id"] for t in lines(run("tracks", data=saved)) if t["file"] == "t0000.mp3" and t["source"] == "M"]
        self.countdown(saved, ["rescan", "M"], may_go=gone, may_add=1)

    def test_edit(self):
        saved = self.saved(self.two_sources)
        track = min(t["id"] for t in lines(run("tracks", data=saved)))
        self.countdown(saved, ["edit", str(track), "--artist", "A much longer artist name that moves the record"],
                       may_change=[track])

    def test_remove(self):
        saved = self.saved(self.two_sources)
        source = [s["id"] for s in lines(run("sources", data=saved)) if s["name"] == "M"][0]
        gone = [t["id"] for t in lines(run("tracks", data=saved)) if t["source"] == "M"]
        self.countdown(saved, ["remove", "M"], may_go=gone, source_may_go=source)

    def test_delete_with_compaction(self):
        def setup():
            self.add_source("M", self.music("m", 110, per_folder=110))
            self.db("delete", "5")
        saved = self.saved(setup)
        self.countdown(saved, ["delete", "7"], may_go=[7])

    def test_a_failed_hold_is_a_refusal(self):
        saved = self.saved(self.two_sources)
        track = min(t["id"] for t in lines(run("tracks", data=saved)))
        for args in (["tracks"], ["edit", str(track), "--artist", "B"]):
            for nth in (1, 2, 3, 4):
                shutil.rmtree(self.data)
                shutil.copytree(saved, self.data)
                result, injected = self.failed_run(args, "open", "EIO", nth)
                if injected and self.is_hold(injected):
                    self.assertNotEqual(result.returncode, 0, "%s: the hold was dropped: %s" % (args[0], injected))

    def test_listings(self):
        saved = self.saved(self.two_sources)
        self.countdown(saved, ["tracks"])
        self.countdown(saved, ["export", "--format", "csv"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
