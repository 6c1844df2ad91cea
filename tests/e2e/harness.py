"""Drives Windows programs under wine64 on a private Xvfb display.

A Session owns one Wine prefix (a cheap clone of a template prefix that is
built once per build folder) and one Xvfb display that Xvfb picks itself, so
several sessions can run side by side. Windows are found by title with
xdotool; what only Windows knows (client rectangle, close box, WM_CLOSE) is
asked of the small WinQuery.exe helper running in the same prefix.

Python 3 standard library only. Programs and helpers come from environment
variables that the build sets (see tests/e2e/CMakeLists.txt):
  TUHO_E2E_WORK     folder for the template prefix, sessions and screenshots
  TUHO_WIN_QUERY    WinQuery.exe
  TUHO_TEST_PLAYER  TestPlayer.exe, the media player of the "Play"/"Enqueue" verbs
  TUHO_E2E_KEEP=1   keep each session's folder (prefix, logs) after it stops
"""

import ctypes
import fcntl
import json
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

WINE = Path("/usr/lib/wine/wine64")
if not WINE.exists():
    WINE = Path(shutil.which("wine64") or "wine64")
WINESERVER = WINE.parent / "wineserver"
if not WINESERVER.exists():
    WINESERVER = Path(shutil.which("wineserver") or "wineserver")

SCREEN = "1024x768x24"
TEMPLATE_STAMP = ".tuho-template"
PLAYER_PROGID = "Tunehoard.TestPlayer"


class HarnessError(Exception):
    pass


def work_root():
    root = Path(os.environ.get("TUHO_E2E_WORK") or Path(tempfile.gettempdir()) / "tuho-e2e")
    root.mkdir(parents=True, exist_ok=True)
    return root


def windows_path(path):
    """The Z: drive path under which Wine programs see a Linux path."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wait_until(predicate, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def _die_with_parent():
    # Xvfb must not outlive a harness that was killed without cleaning up.
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def _wine_environment(prefix, display=None):
    env = dict(os.environ)
    env["WINEPREFIX"] = str(prefix)
    env["WINEDEBUG"] = os.environ.get("TUHO_WINEDEBUG", "-all")
    # No Mono or Gecko: their installers would wait for a download that cannot come.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def _wine_version():
    return subprocess.run([str(WINE), "--version"], capture_output=True, text=True).stdout.strip()


def _template_stamp():
    """What the template was built from: a change to it makes a new template."""
    return _wine_version() + " + Marlett"


# ---------------------------------------------------------------- prefixes

def _build_template(template, log):
    env = _wine_environment(template)
    started = time.monotonic()
    subprocess.run([str(WINE), "wineboot", "-i"], env=env, stdout=log, stderr=log, timeout=300)
    # Wine draws the frame itself: with no window manager on Xvfb there would
    # be no caption, no close box, and the X window would be the client area.
    subprocess.run([str(WINE), "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                    "/t", "REG_SZ", "/d", "N", "/f"], env=env, stdout=log, stderr=log, timeout=120)
    subprocess.run([str(WINESERVER), "-w"], env=env, timeout=120)
    # Wine draws caption buttons with Marlett, which a new prefix lacks; without
    # it every screenshot shows the glyphs' letters ("0 1 r") instead.
    marlett = Path("/usr/share/wine/fonts/marlett.ttf")
    if marlett.exists():
        shutil.copy2(marlett, template / "drive_c" / "windows" / "Fonts")
    (template / TEMPLATE_STAMP).write_text(_template_stamp())
    return time.monotonic() - started


def ensure_template(root=None):
    """The template prefix of this build folder, built on first use under a
    lock so that concurrent suites build it once. Returns (path, seconds spent
    building it, 0 when it was there)."""
    root = Path(root or work_root())
    template = root / "prefix-template"
    with open(root / "prefix-template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        stamp = template / TEMPLATE_STAMP
        if stamp.exists() and stamp.read_text() == _template_stamp():
            return template, 0.0
        shutil.rmtree(template, ignore_errors=True)
        with open(root / "prefix-template.log", "w") as log:
            seconds = _build_template(template, log)
        return template, seconds


def clone_prefix(template, target):
    """Copies the template; the large, read-only system32 is hard-linked,
    which makes a clone take well under a second."""
    system32 = Path(template) / "drive_c" / "windows" / "system32"

    def copy(source, destination):
        if Path(source).is_relative_to(system32):
            os.link(source, destination)
        else:
            shutil.copy2(source, destination)

    shutil.copytree(template, target, symlinks=True, copy_function=copy)
    (Path(target) / TEMPLATE_STAMP).unlink(missing_ok=True)


# ---------------------------------------------------------------- display

class Xvfb:
    """An X server on a display number that Xvfb chooses itself (-displayfd)."""

    def __init__(self, log_path):
        read_end, write_end = os.pipe()
        self._log = open(log_path, "w")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self._log, stderr=self._log, preexec_fn=_die_with_parent)
        os.close(write_end)
        try:
            self.display = ":" + self._read_display(read_end)
        except Exception:
            self.stop()
            raise
        finally:
            os.close(read_end)

    def _read_display(self, fd):
        text = b""
        deadline = time.monotonic() + 20
        while not text.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([fd], [], [], remaining)[0]:
                raise HarnessError("Xvfb did not report its display")
            chunk = os.read(fd, 64)
            if not chunk:
                raise HarnessError("Xvfb ended before reporting its display")
            text += chunk
        return text.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()


# ---------------------------------------------------------------- windows

@dataclass
class Window:
    xid: str
    title: str
    win_class: str = "-"


@dataclass
class WindowInfo:
    hwnd: int
    pid: int
    visible: bool
    window: tuple  # left, top, right, bottom, screen coordinates
    client: tuple
    close: tuple  # centre of the close box, or (-1, -1)


def _parse_window_info(text):
    fields = dict(item.split("=", 1) for item in text.split())
    numbers = lambda key: tuple(int(n) for n in fields[key].split(","))
    return WindowInfo(int(fields["hwnd"]), int(fields["pid"]), fields["visible"] == "1",
                      numbers("window"), numbers("client"), numbers("close"))


# ---------------------------------------------------------------- session

class Session:
    """One prefix, one display, and the Windows programs started in them."""

    def __init__(self, name="session", win_query=None):
        self.root = work_root()
        self.template, self.template_seconds = ensure_template(self.root)
        runs = self.root / "runs"
        runs.mkdir(exist_ok=True)
        self.dir = Path(tempfile.mkdtemp(prefix=f"{name}-", dir=runs))
        self.prefix = self.dir / "prefix"
        started = time.monotonic()
        clone_prefix(self.template, self.prefix)
        self.clone_seconds = time.monotonic() - started
        self.win_query = win_query or os.environ.get("TUHO_WIN_QUERY")
        self.xvfb = None
        self.processes = []
        self.extra_env = {}
        try:
            self.xvfb = Xvfb(self.dir / "xvfb.log")
        except Exception:
            self._remove()
            raise
        self.env = _wine_environment(self.prefix, self.xvfb.display)
        self.display = self.xvfb.display

    # -- programs

    def _environment(self):
        env = dict(self.env)
        env.update(self.extra_env)
        return env

    def start(self, program, *args):
        """Starts a Windows program; returns its Popen (the Wine process is the
        program itself, so wait() gives its exit code)."""
        index = len(self.processes)
        log = open(self.dir / f"program-{index}.log", "w")
        process = subprocess.Popen([str(WINE), str(program), *map(str, args)], env=self._environment(),
                                   stdout=log, stderr=subprocess.STDOUT, cwd=str(Path(program).parent))
        log.close()
        self.processes.append(process)
        return process

    def run(self, program, *args, timeout=60):
        """Runs a Windows program to its end; returns (exit code, output)."""
        done = subprocess.run([str(WINE), str(program), *map(str, args)], env=self._environment(),
                              capture_output=True, text=True, timeout=timeout)
        return done.returncode, done.stdout

    def wine(self, *args, timeout=120):
        return subprocess.run([str(WINE), *map(str, args)], env=self._environment(),
                              capture_output=True, text=True, timeout=timeout)

    def wait_for_exit(self, process, timeout=20):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"process {process.pid} still runs after {timeout} s") from None

    # -- X side

    def xdotool(self, *args, check=True):
        done = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                              text=True, timeout=30)
        if check and done.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(map(str, args))}: {done.stderr.strip()}")
        return done.stdout

    def find_windows(self, title=None, x_class=None):
        """Visible X windows whose title (or X class, the program's file name
        in lower case) matches exactly."""
        if title is not None:
            args = ["--name", "^" + re.escape(title) + "$"]
        else:
            args = ["--class", "^" + re.escape(x_class) + "$"]
        out = self.xdotool("search", "--onlyvisible", *args, check=False)
        return [Window(xid, title or "") for xid in out.split()]

    def wait_for_window(self, title, timeout=30, win_class="-"):
        """Waits until a visible window has this title; returns it."""
        found = wait_until(lambda: self.find_windows(title), timeout, what=f'window "{title}"')
        window = found[0]
        window.win_class = win_class
        return window

    def wait_for_no_window(self, title, timeout=20):
        wait_until(lambda: not self.find_windows(title), timeout, what=f'window "{title}" to go')

    def decline_welcome(self, timeout=20):
        """While the catalogue has no media source Tuho first offers help, at
        once after its window appears; closes that offer. Raises HarnessError
        when no offer comes within `timeout`."""
        self.wait_for_window("Like Help?", timeout=timeout, win_class="#32770")
        self.run(self.win_query, "close", "#32770", "Like Help?")
        self.wait_for_no_window("Like Help?")

    def window_geometry(self, window):
        """(x, y, width, height) of the X window on the screen."""
        out = self.xdotool("getwindowgeometry", "--shell", window.xid)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    # -- Windows side

    def window_info(self, window):
        """Client rectangle, close box and process id as Windows sees them."""
        if not self.win_query:
            raise HarnessError("TUHO_WIN_QUERY is not set: WinQuery.exe is needed for client coordinates")
        code, out = self.run(self.win_query, "find", window.win_class, window.title, timeout=30)
        if code != 0:
            raise HarnessError(f'no window "{window.title}" (WinQuery exit {code})')
        return _parse_window_info(out)

    def client_to_screen(self, window, x, y):
        info = self.window_info(window)
        return info.client[0] + x, info.client[1] + y

    # -- input

    def hover(self, window, x, y):
        """Moves the pointer to client coordinates of the window."""
        self.point_at(*self.client_to_screen(window, x, y))

    def point_at(self, sx, sy):
        """Moves the pointer to a point of the screen. A one-pixel approach
        first, so the program sees movement into the spot, and so that --sync
        never waits for a move to where the pointer already is (xdotool waits
        about 15 s for that move, which never comes)."""
        self.xdotool("mousemove", "--sync", sx - 1, sy - 1)
        self.xdotool("mousemove", "--sync", sx, sy)

    def click(self, window, x, y, button=1):
        """Clicks at client coordinates of the window."""
        self.hover(window, x, y)
        time.sleep(0.1)
        self.xdotool("click", button)

    def move_pointer_away(self):
        self.xdotool("mousemove", "--sync", 1, 1)

    def key(self, keys, window=None):
        """Sends keys (xdotool syntax, e.g. "alt+F4") to the focused window,
        focusing the given one first."""
        if window is not None:
            self.xdotool("windowfocus", window.xid)
            time.sleep(0.3)
        self.xdotool("key", keys)

    def close(self, window, how="wm_close"):
        """Asks a window to close: "wm_close" posts WM_CLOSE, "alt_f4" types
        Alt+F4 into it, "close_box" clicks its caption's close box."""
        if how == "wm_close":
            code, _ = self.run(self.win_query, "close", window.win_class, window.title, timeout=30)
            if code != 0:
                raise HarnessError(f'no window "{window.title}" to close')
        elif how == "alt_f4":
            self.key("alt+F4", window)
        elif how == "close_box":
            info = self.window_info(window)
            if info.close[0] < 0:
                raise HarnessError(f'window "{window.title}" has no close box')
            self.xdotool("mousemove", "--sync", *info.close)
            time.sleep(0.1)
            self.xdotool("click", 1)
        else:
            raise ValueError(how)

    # -- pictures

    def screenshot(self, path):
        """Saves the whole screen as PNG; returns the path."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       check=True, timeout=60, capture_output=True)
        return path

    def grab(self, x, y, width, height):
        """The screen pixels of a rectangle as raw RGB bytes (PPM body)."""
        done = subprocess.run(["import", "-display", self.display, "-window", "root",
                               "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
                              check=True, timeout=60, capture_output=True)
        return done.stdout[-width * height * 3:]  # the body follows the header

    def grab_client(self, window, x, y, width, height):
        sx, sy = self.client_to_screen(window, x, y)
        return self.grab(sx, sy, width, height)

    # -- files

    def user_folder(self):
        users = self.prefix / "drive_c" / "users"
        names = [os.environ.get("USER"), "root"] + sorted(p.name for p in users.iterdir() if p.name != "Public")
        for name in names:
            if name and (users / name / "AppData").is_dir() or name and (users / name / "Application Data").is_dir():
                return users / name
        raise HarnessError(f"no user folder in {users}")

    def app_data(self):
        """The Linux path of the prefix user's roaming application data folder."""
        user = self.user_folder()
        for relative in ("AppData/Roaming", "Application Data"):
            if (user / relative).is_dir():
                return user / relative
        raise HarnessError(f"no application data folder under {user}")

    def data_folder(self):
        return self.app_data() / "Brambleward" / "Tunehoard"

    # -- the test media player

    def register_test_player(self, player=None, log=None):
        """Makes TestPlayer.exe the handler of the "Play" and "Enqueue" verbs of
        .mp3 files in this prefix; its requests are logged to `log` (default:
        player.log in the session folder). Returns the log's path."""
        player = Path(player or os.environ["TUHO_TEST_PLAYER"])
        log = Path(log or self.dir / "player.log")
        exe = windows_path(player).replace("\\", "\\\\")
        lines = ["REGEDIT4", "", r"[HKEY_CLASSES_ROOT\.mp3]", f'@="{PLAYER_PROGID}"', ""]
        for verb in ("Play", "Enqueue"):
            lines += [f"[HKEY_CLASSES_ROOT\\{PLAYER_PROGID}\\shell\\{verb}\\command]",
                      f'@="\\"{exe}\\" {verb} \\"%1\\""', ""]
        reg = self.dir / "test-player.reg"
        reg.write_text("\r\n".join(lines) + "\r\n")
        done = self.wine("regedit", "/S", windows_path(reg))
        if done.returncode != 0:
            raise HarnessError(f"regedit failed: {done.stdout}{done.stderr}")
        self.extra_env["TUHO_PLAYER_LOG"] = windows_path(log)
        self.player_log_path = log
        return log

    def player_requests(self):
        """What the test player was asked to do: [(verb, full path, current
        directory, argument as received)], oldest first."""
        path = getattr(self, "player_log_path", None)
        if not path or not path.exists():
            return []
        text = path.read_bytes().decode("latin-1")
        return [tuple(line.split("\t")) for line in text.splitlines() if line]

    # -- end

    def stop(self):
        """Ends every program of the prefix, the prefix's wineserver and Xvfb;
        removes the session folder unless TUHO_E2E_KEEP=1."""
        subprocess.run([str(WINESERVER), "-k"], env=self.env, capture_output=True, timeout=60)
        for process in self.processes:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        try:
            subprocess.run([str(WINESERVER), "-w"], env=self.env, capture_output=True, timeout=30)
        except subprocess.TimeoutExpired:
            pass
        if self.xvfb:
            self.xvfb.stop()
        if os.environ.get("TUHO_E2E_KEEP") != "1":
            self._remove()

    def _remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def screenshots_folder():
    folder = work_root() / "screenshots"
    folder.mkdir(exist_ok=True)
    return folder


class SessionPerClass:
    """A test-case mixin: one session for all the tests of a class, started
    before the first and stopped after the last."""
    session = None

    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__)

    @classmethod
    def tearDownClass(cls):
        if cls.session:
            cls.session.stop()

    def tuhodb(self, *args):
        """Runs tuhodb.exe (TUHODB_EXE) on the session's data folder, only
        while Tuho is not running, and returns its JSON lines; a failure
        fails the test."""
        data = self.session.data_folder()
        data.mkdir(parents=True, exist_ok=True)
        code, out = self.session.run(os.environ["TUHODB_EXE"], "--data", windows_path(data), *args)
        self.assertEqual(code, 0, out)
        return [json.loads(line) for line in out.splitlines() if line.startswith("{")]
