"""Drives the real cheerleaders program from outside: a private Xvfb, the program started in a
working directory of the test's choosing, its console lines, its windows through python-xlib,
keys through the X server, and pictures as NumPy arrays; or the web page in headless Chromium,
through the DevTools protocol (tools/web_page.py).

Every look at the running program waits for what it expects: wait_until polls until the
condition holds or the deadline passes, and then fails with what it saw last."""

import os
import select
import signal
import subprocess
import sys
import time

import numpy
from PIL import Image
from Xlib import X, display as xdisplay, error as xerror

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from web_page import WebPage  # noqa: E402,F401

TITLE = "Dorv's OKSA Robot Cheerleaders"
SHOW_LINES = ["finished walking", "finished spelling letter"] * 4
TEXTURE_FILES = ["corrigatedIronTexture.bmp", "leopard.bmp", "concrete.bmp", "grass.bmp"]
FAILURE_LINES = [
    "failed to load bitmap for wall texture",
    "failed to load bitmap for oksa texture",
    "failed to load bitmap for ceiling texture",
    "failed to load bitmap for grass texture",
]
SCENE_GEOMETRY = (10, 10, 480, 400)
HELP_GEOMETRY = (10, 420, 480, 70)
MAIN_GREY = (153, 153, 153)
# A sanitizer build only ever exits through the window system, where the leak report cannot name
# Mesa's unloaded driver; leaks are the memcheck run's business.
QUIET_SANITIZERS = {"ASAN_OPTIONS": "detect_leaks=0"}


def wait_until(look, holds, timeout, what, interval=0.1):
    """Calls look() until holds(result) or the deadline passes; returns the result that held."""
    deadline = time.monotonic() + timeout
    while True:
        seen = look()
        if holds(seen):
            return seen
        assert time.monotonic() < deadline, f"{what}: last seen {summary(seen)}"
        time.sleep(interval)


def held_still(xvfb, window, seconds=1.0):
    """The window's picture if it stays the same for this long, else None."""
    first = xvfb.picture(window)
    time.sleep(seconds)
    second = xvfb.picture(window)
    return second if numpy.array_equal(first, second) else None


def summary(value):
    if isinstance(value, numpy.ndarray):
        return f"an image of {value.shape[1]}x{value.shape[0]}"
    return repr(value)[:800]


class Xvfb:
    """A private X server on a display number it picks itself, with one client connection."""

    def __init__(self, screen="1280x1024x24"):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
            pass_fds=[write_end], stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb", buffering=0) as reader:
            deadline = time.monotonic() + 30
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([reader], [], [], max(0, deadline - time.monotonic()))
                chunk = reader.read(16) if ready else b""
                assert chunk, "Xvfb did not report its display"
                number += chunk
        self.display = ":" + number.decode().strip()
        self.x = xdisplay.Display(self.display)
        self.root = self.x.screen().root

    def env(self, extra=None):
        return {**os.environ, "DISPLAY": self.display, **(extra or {})}

    def stop(self):
        try:
            self.x.close()
        except (xerror.ConnectionClosedError, OSError):
            pass
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)

    def windows_titled(self, title):
        """Mapped top-level windows whose title starts with this one (a paused show adds where
        it is), also inside a window manager's frames."""
        found = []
        for top in self.root.query_tree().children:
            try:
                for window in [top, *top.query_tree().children]:
                    name = window.get_wm_name()
                    if isinstance(name, str) and name.startswith(title) and self.viewable(window):
                        found.append(window)
            except xerror.BadWindow:  # gone while we looked
                pass
        return found

    def children(self, window):
        """{(x, y, width, height): window} of the window's children, relative to it."""
        found = {}
        for child in window.query_tree().children:
            g = child.get_geometry()
            found[(g.x, g.y, g.width, g.height)] = child
        return found

    def size(self, window):
        g = window.get_geometry()
        return g.width, g.height

    def picture(self, window):
        """What the window shows on the screen, as an RGB array of height x width x 3."""
        return self._rgb(window, window)

    def offscreen_picture(self, window):
        """What a window redirected offscreen (Composite) holds, from its pixmap."""
        pixmap = window.composite_name_window_pixmap()
        try:
            return self._rgb(pixmap, window)
        finally:
            pixmap.free()

    @staticmethod
    def _rgb(drawable, window):
        g = window.get_geometry()
        raw = drawable.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF)
        return numpy.asarray(Image.frombytes("RGB", (g.width, g.height), raw.data, "raw", "BGRX"))

    def viewable(self, window):
        return window.get_attributes().map_state == X.IsViewable

    def focus(self, window):
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        wait_until(lambda: self.x.get_input_focus().focus, lambda focus: focus == window, 30,
                   "focus not taken")

    def type_keys(self, window, *keys):
        """Gives the window the focus and types the keys (xdotool key names) through XTest."""
        self.focus(window)
        for start in range(0, len(keys), 200):
            subprocess.run(["xdotool", "key", "--delay", "0", *keys[start:start + 200]],
                           env=self.env(), check=True, capture_output=True, timeout=300)


    def drag(self, window, start, moves):
        """A left-button drag through XTest, from a point of the window by each (dx, dy)."""
        points = [start]
        for dx, dy in moves:
            points.append((points[-1][0] + dx, points[-1][1] + dy))
        steps = [["mousemove", "--window", str(window.id), str(x), str(y)] for x, y in points]
        self.xdotool(*steps[0], "mousedown", "1", *sum(steps[1:], []), "mouseup", "1")

    def wheel(self, window, notches, sideways=False):
        """Wheel notches over the window's corner: positive away from the viewer (button 4), or
        to the right (button 7) when sideways."""
        buttons = ("7", "6") if sideways else ("4", "5")
        self.xdotool("mousemove", "--window", str(window.id), "20", "20", "click", "--repeat",
                     str(abs(notches)), "--delay", "0", buttons[notches < 0])

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.env(), check=True, capture_output=True,
                       timeout=300)


class Program:
    """The program under test on an X server, its standard output read line by line."""

    def __init__(self, xvfb, cwd, command=None, wrapper=(), env=None, start_timeout=60):
        self.xvfb = xvfb
        self.lines = []
        self._pending = b""
        self.stderr = b""
        command = list(wrapper) + list(command or [executable()])
        self.process = subprocess.Popen(command, cwd=cwd, env=xvfb.env({**QUIET_SANITIZERS,
                                                                         **(env or {})}),
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        started = wait_until(lambda: xvfb.windows_titled(TITLE) or ("ended" * (not self.alive())),
                             bool, start_timeout, "the main window did not appear")
        assert started != "ended", f"the program ended at start-up: {self.stop()} {self.stderr!r}"
        self.window = started[0]

    def alive(self):
        return self.process.poll() is None

    def title(self):
        return self.window.get_wm_name()

    def subwindow(self, geometry, timeout=60):
        """The main window's child at this geometry, once it is there and viewable."""
        return wait_until(lambda: self.xvfb.children(self.window),
                          lambda seen: geometry in seen and self.xvfb.viewable(seen[geometry]),
                          timeout, f"no viewable subwindow at {geometry}")[geometry]

    def _read(self, timeout):
        ready, _, _ = select.select([self.process.stdout], [], [], timeout)
        chunk = os.read(self.process.stdout.fileno(), 4096) if ready else b""
        self._pending += chunk
        *complete, self._pending = self._pending.split(b"\n")
        self.lines += [line.decode(errors="replace") for line in complete]
        return bool(chunk)

    def wait_for_lines(self, count, timeout):
        """Reads until count lines have come, the program ends, or the time is up."""
        deadline = time.monotonic() + timeout
        while len(self.lines) < count and time.monotonic() < deadline:
            if not self._read(min(0.5, max(0, deadline - time.monotonic()))) and not self.alive():
                break
        return self.lines

    def drain(self, seconds):
        """Reads whatever comes for this long: for checking that nothing more does."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self._read(max(0, deadline - time.monotonic()))
        return self.lines

    def stop(self, timeout=30):
        """Ends the program with SIGTERM (if it still runs); returns its exit status."""
        if self.alive():
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        while self._read(0):
            pass
        self.stderr += self.process.stderr.read()
        return self.process.returncode


def executable():
    path = os.environ.get("CHEERLEADERS", "")
    assert os.path.exists(path), "CHEERLEADERS does not name the program"
    return os.path.abspath(path)


def copy_textures(directory, source=None):
    source = source or os.environ["CHEER_TEXTURES"]
    for name in TEXTURE_FILES:
        with open(os.path.join(source, name), "rb") as f, \
                open(os.path.join(directory, name), "wb") as out:
            out.write(f.read())
    return directory


def read_png(path):
    return numpy.asarray(Image.open(path).convert("RGB"))


def differing_share(a, b, levels):
    """The share of pixels whose channels differ by more than levels anywhere."""
    assert a.shape == b.shape, f"sizes differ: {a.shape} and {b.shape}"
    return float((numpy.abs(a.astype(int) - b.astype(int)) > levels).any(axis=2).mean())


def snapshot(xvfb, out_prefix, ticks, keys=b"", main=False, env=None, textures=None):
    """Renders with the snapshot tool; returns the path of each picture, by tick."""
    command = [os.environ["CHEER_SNAPSHOT"], "--out", str(out_prefix),
               "--ticks", ",".join(str(t) for t in ticks),
               "--textures", str(textures or os.environ["CHEER_TEXTURES"])]
    if keys:
        keys_file = f"{out_prefix}.keys"
        with open(keys_file, "wb") as f:
            f.write(keys)
        command += ["--keys-file", keys_file]
    if main:
        command.append("--main")
    result = subprocess.run(command, env=xvfb.env({**QUIET_SANITIZERS, **(env or {})}),
                            capture_output=True, timeout=600)
    assert result.returncode == 0, f"snapshot failed: {result.stderr[-500:]!r}"
    return {t: f"{out_prefix}-{t:05d}.png" for t in ticks}


def cpu_seconds(pid):
    """The process's user and system time so far."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))
