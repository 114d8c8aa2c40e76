"""Drives the real cheerleaders program from outside: a private Xvfb, the program started in a
working directory of the test's choosing, its console lines, its windows through python-xlib,
keys through the X server, and pictures as NumPy arrays; or the web page in headless Chromium,
through the DevTools protocol.

Every look at the running program waits for what it expects: wait_until polls until the
condition holds or the deadline passes, and then fails with what it saw last."""

import base64
import functools
import http.server
import io
import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

import numpy
from PIL import Image
from Xlib import X, display as xdisplay, error as xerror

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
        """Mapped top-level windows with this title, also inside a window manager's frames."""
        found = []
        for top in self.root.query_tree().children:
            try:
                for window in [top, *top.query_tree().children]:
                    if window.get_wm_name() == title and self.viewable(window):
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


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


# Counts how long each animation frame's work takes, with the page's own clock.
FRAME_TIMER = """
window.frameTimes = [];
const requestFrame = window.requestAnimationFrame.bind(window);
window.requestAnimationFrame = callback => requestFrame(time => {
    const start = performance.now();
    callback(time);
    window.frameTimes.push([start, performance.now() - start]);
});
"""


class WebPage:
    """The web page in headless Chromium (SwiftShader's WebGL), served from its folder on a
    loopback port and driven through the DevTools protocol on a pipe; its console lines are
    read as they come."""

    def __init__(self, directory, query=""):
        self.lines = []
        self.errors = []
        self.session = None
        self._next_id = 0
        self._pending = b""
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(directory)))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.profile = tempfile.mkdtemp()
        # The browser reads commands from its descriptor 3 and writes to 4.
        commands, self._commands = os.pipe()
        self._replies, replies = os.pipe()

        def descriptors():
            reading, writing = os.dup(commands), os.dup(replies)
            os.dup2(reading, 3)
            os.dup2(writing, 4)

        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--remote-debugging-pipe",
             "--enable-unsafe-swiftshader", "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", f"--user-data-dir={self.profile}",
             "about:blank"],
            pass_fds=(3, 4), preexec_fn=descriptors, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(commands)
        os.close(replies)
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target,
                                 flatten=True)["sessionId"]
        for domain in ("Runtime", "Page"):
            self.call(domain + ".enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=FRAME_TIMER)
        port = self.server.server_address[1]
        self.call("Page.navigate", url=f"http://127.0.0.1:{port}/cheerleaders.html{query}")
        wait_until(lambda: self.evaluate("typeof Module === 'object' && Module.calledRun === true"),
                   bool, 60, f"the program did not start: {self.errors}")

    def _receive(self, timeout):
        """The next message, or None when none comes in time."""
        deadline = time.monotonic() + timeout
        while b"\0" not in self._pending:
            ready, _, _ = select.select([self._replies], [], [],
                                        max(0, deadline - time.monotonic()))
            if not ready:
                return None
            chunk = os.read(self._replies, 1 << 20)
            assert chunk, "Chromium ended"
            self._pending += chunk
        message, self._pending = self._pending.split(b"\0", 1)
        message = json.loads(message)
        if message.get("method") == "Runtime.consoleAPICalled":
            text = " ".join(str(arg.get("value", "")) for arg in message["params"]["args"])
            (self.lines if message["params"]["type"] == "log" else self.errors).append(text)
        elif message.get("method") == "Runtime.exceptionThrown":
            self.errors.append(str(message["params"]["exceptionDetails"]))
        return message

    def call(self, method, timeout=60, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if self.session:
            message["sessionId"] = self.session
        os.write(self._commands, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            reply = self._receive(max(0, deadline - time.monotonic()))
            assert reply is not None, f"no answer to {method}"
            if reply.get("id") == self._next_id:
                assert "error" not in reply, f"{method}: {reply['error']}"
                return reply["result"]

    def evaluate(self, expression, timeout=60):
        """The value of a JavaScript expression in the page (awaited, if it is a promise)."""
        result = self.call("Runtime.evaluate", timeout, expression=expression,
                           returnByValue=True, awaitPromise=True)
        assert "exceptionDetails" not in result, f"{expression}: {result['exceptionDetails']}"
        return result["result"].get("value")

    def wait_for_lines(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.lines) < count and time.monotonic() < deadline:
            self._receive(min(0.5, max(0, deadline - time.monotonic())))
        return self.lines

    def hold_after(self, idle_calls, timeout=120):
        """Lets the program's loop run to this many idle calls, and waits until the frame after
        the last of them is drawn."""
        self.evaluate(f"Module._webHoldAfterIdleCalls({idle_calls})")
        wait_until(lambda: self.evaluate("Module._webIdleCalls()"),
                   lambda calls: calls >= idle_calls, timeout, f"{idle_calls} idle calls")
        self.next_frames()

    def next_frames(self, count=2):
        self.evaluate("new Promise(done => { const next = n => n ? requestAnimationFrame(() =>"
                      f" next(n - 1)) : done(); next({count}); }})")

    def picture(self, geometry=(0, 0, 500, 500)):
        """What the canvas shows, or a region (x, y, width, height) of it, as an RGB array."""
        url = self.evaluate("document.getElementById('canvas').toDataURL()")
        png = Image.open(io.BytesIO(base64.b64decode(url.split(",", 1)[1])))
        x, y, width, height = geometry
        return numpy.asarray(png.convert("RGB"))[y:y + height, x:x + width]

    def type_keys(self, keys, shift=False):
        """Types the characters as key presses of the page, with Shift held for upper case."""
        for key in keys:
            code = "Space" if key == " " else "Key" + key.upper()
            for kind in ("keyDown", "keyUp"):
                self.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                          text=key if kind == "keyDown" else "", modifiers=8 if shift else 0,
                          windowsVirtualKeyCode=ord(key.upper()))

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(30)
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)

