#!/usr/bin/python3
"""Drives the web page (make web) in headless Chromium with SwiftShader's WebGL: the page served
from its folder on a loopback port, the browser driven through the DevTools protocol on a pipe,
the program's console lines read as they come, its canvas read as pictures, keys typed into it.
The web tests use it; run as a program, it measures the page's budgets:

    web_page.py PAGE_DIR

prints the files' sizes, raw and as gzip -9 gives them, and the start of their SHA-256, when the
first picture was shown, how long each animation frame's work took over the whole show (median,
99th percentile, largest) against the 60 Hz budget, how many bytes of vertices and indices a
frame copies into WebGL's buffers, each frame's work while the timeline is dragged from the
start to the end, and the time from a click of Download glTF to the saved file."""

import base64
import functools
import gzip
import hashlib
import http.server
import io
import itertools
import json
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

FRAME_BUDGET_MS = 1000 / 60
PAGE_FILES = ["cheerleaders.html", "cheerleaders_page.js", "cheerleaders_calls.js",
              "cheerleaders_program.js", "cheerleaders_input.js", "cheerleaders_worker.js",
              "cheerleaders_timeline.js", "cheerleaders_inspector.js",
              "cheerleaders_pose.js", "cheerleaders_show.js",
              "cheerleaders.png", "cheerleaders.js", "cheerleaders.wasm", "cheerleaders_textures.js",
              "cheerleaders_textures.wasm", "cheerleaders_download.js", "cheerleaders_export.js",
              "cheerleaders_export.wasm"]
# The name the page saves its glTF file under.
GLTF_FILE = "cheerleaders-show.glb"
# Times each animation frame's work with the clock of the program's side (the page, or the
# program's worker), from its first script on.
FRAME_TIMER = """
self.frameTimes = [];
const requestFrame = self.requestAnimationFrame.bind(self);
self.requestAnimationFrame = callback => requestFrame(time => {
    const start = performance.now();
    callback(time);
    self.frameTimes.push([start, performance.now() - start, time]);
});
"""
# A finger's events come a frame apart.
TOUCH_EVENT_SECONDS = 1 / 60
# The two ways the page runs the program: in a worker where the browser can, on the page's main
# thread where the address asks for it.
WAYS = {"worker": "", "main thread": "main-thread"}
# Counts the bytes each animation frame hands WebGL to copy into its buffers.
UPLOAD_COUNTER = """
self.uploadBytes = [];
const bufferSubData = WebGLRenderingContext.prototype.bufferSubData;
WebGLRenderingContext.prototype.bufferSubData = function (target, offset, data) {
    const frame = self.frameTimes.length;
    self.uploadBytes[frame] = (self.uploadBytes[frame] || 0) + data.byteLength;
    return bufferSubData.call(this, target, offset, data);
};
"""

# Counts the WebGL draw calls each animation frame makes.
DRAW_COUNTER = """
self.drawCalls = [];
for (const name of ["drawArrays", "drawElements"]) {
    const draw = WebGLRenderingContext.prototype[name];
    WebGLRenderingContext.prototype[name] = function (...args) {
        const frame = self.frameTimes.length;
        self.drawCalls[frame] = (self.drawCalls[frame] || 0) + 1;
        return draw.apply(this, args);
    };
}
"""

# The page's main-thread tasks over 50 ms ([start, duration] in ms), and when the first console
# line came: the page logs each of the program's lines.
LONG_TASKS = """self.longTasks = [];
new PerformanceObserver(list => longTasks.push(...list.getEntries().map(task =>
    [task.startTime, task.duration]))).observe({type: "longtask", buffered: true});
const logLine = console.log;
console.log = (...args) => { self.firstLineAt ??= performance.now(); logLine(...args); };"""
# The frames the program draws behind the loading line (HIDDEN_FRAMES in web/page_loop.cpp).
HIDDEN_FRAMES = 2

# The timeline dragged from its start to its end over this many frames, a step each frame.
SCRUB_FRAMES = 60
# Each step is taken in an animation frame of its own, before the program's; resolves with where
# the scrub's frames begin in frameTimes.
SCRUB = f"""new Promise(done => {{
    const slider = document.getElementById("timeline"), last = Number(slider.max);
    const first = frameTimes.length;
    let step = 0;
    const drag = () => {{
        slider.value = Math.round(last * step / ({SCRUB_FRAMES} - 1));
        slider.dispatchEvent(new Event("input"));
        if (++step < {SCRUB_FRAMES}) requestAnimationFrame(drag);
        else requestAnimationFrame(() => requestAnimationFrame(() => done(first)));
    }};
    requestAnimationFrame(drag);
}})"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Logs nothing, but keeps the paths asked for in the server's `requests`, and those it could
    not serve, with their status, in its `failed`."""

    def log_message(self, *args):
        self.server.requests.append(self.path)

    def send_error(self, code, *args, **kwargs):
        self.server.failed.append((self.path, code))
        super().send_error(code, *args, **kwargs)


def wait_for(look, what, timeout):
    deadline = time.monotonic() + timeout
    while not (seen := look()):
        assert time.monotonic() < deadline, what
        time.sleep(0.1)
    return seen


def with_way(query, way):
    """The page's query (and fragment) with the parameter that asks for the way, if any."""
    if not WAYS[way]:
        return query
    search, mark, fragment = query.partition("#")
    search = "?" + WAYS[way] + ("&" + search[1:] if search[1:] else "")
    return search + mark + fragment


class WebPage:
    """The page in headless Chromium, started at once; close() ends both browser and server.
    `script` runs first on the page, `program_script` first where the program runs (the page, or
    the program's worker); `way` is one of WAYS, by default CHEER_WEB_WAY's or the worker."""

    def __init__(self, directory, query="", browser_args=(), script="", started=True,
                 program_script="", way=None):
        self.way = way or os.environ.get("CHEER_WEB_WAY", "worker")
        query = with_way(query, self.way)
        self.lines, self.errors = [], []
        self.session, self._next_id, self._pending = None, 0, b""
        self.worker_session, self._program_script = None, program_script
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(directory)))
        self.server.requests, self.server.failed = [], []
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.profile = tempfile.mkdtemp()
        # The browser reads commands from its descriptor 3 and answers on 4.
        commands, self._commands = os.pipe()
        self._answers, answers = os.pipe()

        def descriptors():
            reading, writing = os.dup(commands), os.dup(answers)
            os.dup2(reading, 3)
            os.dup2(writing, 4)

        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--remote-debugging-pipe",
             "--enable-unsafe-swiftshader", "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", f"--user-data-dir={self.profile}",
             # The browser's own toolbar pages, which it loads as it starts and a headless
             # browser never shows, would take a core from the page as it loads.
             "--disable-features=PreloadTopChromeWebUI,WebUIOmniboxPopup,WebUIOmniboxAimPopup,"
             "WebUIOmniboxFullPopup",
             *browser_args, "about:blank"],
            pass_fds=(3, 4), preexec_fn=descriptors, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(commands)
        os.close(answers)
        try:
            self._open(query, script, started)
        except BaseException:
            self.close()
            raise

    def _open(self, query, script, started):
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Runtime.enable")
        self.call("Page.enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=FRAME_TIMER + script + (
            self._program_script if self.way == "main thread" else ""))
        # With the program in its worker and a script for it, each worker waits, as it starts, for
        # its scripts: the program's gets the program's (a worker whose script cannot be loaded
        # would wait for good, and say nothing of it).
        if self.way == "worker" and self._program_script:
            self.call("Target.setAutoAttach", autoAttach=True, waitForDebuggerOnStart=True,
                      flatten=True)
        self.call("Page.navigate", url=f"http://127.0.0.1:{self.server.server_address[1]}"
                                       f"/cheerleaders.html{query}")
        if started:
            self.wait_started()

    def wait_started(self):
        """Waits for the page's program to have started, and the page to have seen it; a look
        that a page loading again (after lost graphics) cuts short counts as not yet."""
        def started():
            try:
                return self.evaluate("typeof running === 'boolean' && running")
            except AssertionError as error:
                if "navigated" not in str(error):
                    raise
                return False

        wait_for(started, f"the program did not start: {self.errors}", 60)

    def _receive(self, timeout):
        """Takes in the next message (console lines on the way), or None when none comes."""
        while b"\0" not in self._pending:
            if not select.select([self._answers], [], [], timeout)[0]:
                return None
            chunk = os.read(self._answers, 1 << 20)
            assert chunk, "Chromium ended"
            self._pending += chunk
        message, self._pending = self._pending.split(b"\0", 1)
        message = json.loads(message)
        if message.get("method") == "Runtime.consoleAPICalled":
            params = message["params"]
            text = " ".join(str(arg.get("value", "")) for arg in params["args"])
            (self.lines if params["type"] == "log" else self.errors).append(text)
        elif message.get("method") == "Runtime.exceptionThrown":
            self.errors.append(str(message["params"]["exceptionDetails"]))
        elif message.get("method") == "Target.attachedToTarget":
            params = message["params"]
            session = params["sessionId"]
            if params["targetInfo"]["url"].endswith("/cheerleaders_worker.js"):
                self.worker_session = session
                self._send("Runtime.evaluate", session,
                           expression=FRAME_TIMER + self._program_script)
            self._send("Runtime.runIfWaitingForDebugger", session)
        return message

    def _send(self, method, session, **params):
        """Sends a command, not waiting for its answer; returns its id."""
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._commands, json.dumps(message).encode() + b"\0")
        return self._next_id

    def call(self, method, session=None, **params):
        sent = self._send(method, session or self.session, **params)
        while True:
            answer = self._receive(120)
            assert answer is not None, f"no answer to {method}"
            if answer.get("id") == sent:
                assert "error" not in answer, f"{method}: {answer['error']}"
                return answer["result"]

    def evaluate(self, expression, session=None):
        """The value of a JavaScript expression in the page, a promise's once it settles."""
        result = self.call("Runtime.evaluate", session, expression=expression,
                           returnByValue=True, awaitPromise=True)
        assert "exceptionDetails" not in result, f"{expression}: {result['exceptionDetails']}"
        return result["result"].get("value")

    def evaluate_program(self, expression):
        """The value of an expression where the program runs: the page, or its worker."""
        if self.way == "main thread":
            return self.evaluate(expression)
        wait_for(lambda: self.worker_session or self._receive(0.1) and False,
                 "no program's worker", 60)
        return self.evaluate(expression, self.worker_session)

    def settle(self):
        """Waits for the program to have taken what the page sent it so far, and for the page to
        have heard what it reported since: a call's answer comes after them, either way."""
        self.evaluate("typeof running === 'boolean' && running ? program.call('webIdleCalls') : 0")

    def wait_for_lines(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.lines) < count and time.monotonic() < deadline:
            self._receive(min(0.5, max(0, deadline - time.monotonic())))
        return self.lines

    def hold_after(self, idle_calls, timeout=300):
        """Lets the program run to this many idle calls; returns once the frame after the last
        of them is drawn."""
        self.evaluate(f"program.call('webHoldAfterIdleCalls', [{idle_calls}])")
        wait_for(lambda: self.evaluate("program.call('webIdleCalls')") >= idle_calls,
                 f"{idle_calls} idle calls", timeout)
        self.next_frames()

    def next_frames(self, count=2):
        self.settle()
        self.evaluate("new Promise(done => { const next = n => n ? requestAnimationFrame(() =>"
                      f" next(n - 1)) : done(); next({count}); }})")

    def picture(self, geometry=(0, 0, 500, 500)):
        """What the canvas shows, or a region (x, y, width, height) of it, as an RGB array."""
        import numpy
        from PIL import Image

        url = self.evaluate("program.call('picture')")
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
        self.settle()

    def console_lines(self):
        """The page's console of finished commands: [line, tick text] for each line it shows."""
        return self.evaluate("Array.from(document.querySelectorAll('#finished button'), b =>"
                             " [b.querySelector('.line').textContent,"
                             " b.querySelector('.tick').textContent])")

    def click(self, selector):
        """A left click in the middle of the page's element."""
        x, y = self.evaluate(f"(e => {{ e.scrollIntoView({{block: 'center'}}); const r = e"
                             f".getBoundingClientRect(); return [r.left + r.width / 2, r.top +"
                             f" r.height / 2]; }})(document.querySelector({json.dumps(selector)}))")
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1)
        self.settle()

    def canvas_point(self, x, y):
        """The page's point (in the viewport) of a point of the canvas, scrolled into the
        viewport first where it lies outside: an input event there would reach nothing."""
        left, top = self.evaluate(f"""(c => {{
            const below = c.getBoundingClientRect().top + {y} - innerHeight / 2;
            if (Math.abs(below) >= innerHeight / 2) scrollBy(0, below);
            const r = c.getBoundingClientRect();
            return [r.left, r.top];
        }})(document.getElementById('canvas'))""")
        return [left + x, top + y]

    def mouse_drag(self, start, moves):
        """A left-button drag from a point of the canvas by each (dx, dy)."""
        x, y = self.canvas_point(*start)
        for kind, (dx, dy) in [("mousePressed", (0, 0)), *[("mouseMoved", m) for m in moves],
                               ("mouseReleased", (0, 0))]:
            x, y = x + dx, y + dy
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      buttons=int(kind != "mouseReleased"), clickCount=1)
        self.settle()

    def touch(self, starts, moves=(), end="touchEnd", apart=TOUCH_EVENT_SECONDS):
        """Fingers down at points of the canvas, moved by each step's (dx, dy) per finger, up (or
        taken away, with end="touchCancel"). The events carry their own times, `apart` seconds
        apart (a frame), as a finger makes them, however late a busy machine hands them on."""
        points = [self.canvas_point(*start) for start in starts]
        stamps = (time.time() + k * apart for k in itertools.count())
        for kind, step in [("touchStart", ()), *[("touchMove", m) for m in moves]]:
            points = [[x + dx, y + dy] for (x, y), (dx, dy) in zip(points, step)] or points
            self.call("Input.dispatchTouchEvent", type=kind, timestamp=next(stamps),
                      touchPoints=[{"x": x, "y": y, "id": k} for k, (x, y) in enumerate(points)])
        self.call("Input.dispatchTouchEvent", type=end, timestamp=next(stamps), touchPoints=[])
        self.settle()

    def download_gltf(self, folder, timeout=120):
        """Clicks Download glTF with downloads going into the folder; the saved file's bytes and
        the seconds from the click to the file."""
        self.allow_downloads(folder)
        started = time.monotonic()
        self.click("#download-gltf")
        glb = self.saved_file(os.path.join(folder, GLTF_FILE), timeout)
        return glb, time.monotonic() - started

    def allow_downloads(self, folder):
        """Lets the page's downloads go into the folder, under the names the page gives them."""
        session, self.session = self.session, None
        try:
            self.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=str(folder))
        finally:
            self.session = session

    def saved_file(self, path, timeout=120):
        """The bytes of a download, once saved at the path."""
        # The browser writes into a file of another name and gives it the page's name when done.
        # The browser's messages are taken in meanwhile: a worker that waits for its scripts is
        # let go as they come.
        wait_for(lambda: self._receive(0.1) is None and os.path.exists(path) or
                 os.path.exists(path), f"nothing saved at {path}: {self.errors}", timeout)
        with open(path, "rb") as f:
            return f.read()

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(30)
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)


def measure_files(directory):
    sizes, hashes = {}, {}
    for name in PAGE_FILES:
        with open(os.path.join(directory, name), "rb") as f:
            data = f.read()
        sizes[name] = (len(data), len(gzip.compress(data, compresslevel=9)))
        # The start of each file's SHA-256: two builds of one commit give the same files.
        hashes[name] = hashlib.sha256(data).hexdigest()[:12]
    print("files, raw and gzip -9, sha256:",
          ", ".join(f"{name} {raw / 1e3:.1f} / {packed / 1e3:.1f} KB {hashes[name]}"
                    for name, (raw, packed) in sizes.items()),
          f"(all {sum(r for r, _ in sizes.values()) / 1e3:.1f} / "
          f"{sum(p for _, p in sizes.values()) / 1e3:.1f} KB)")


def blocking(tasks, start, end):
    """The long tasks that began between the two times: their count, and the time they blocked
    beyond 50 ms each (total blocking time), in ms."""
    within = [duration for begun, duration in tasks if start <= begun < end]
    return len(within), sum(duration - 50 for duration in within)


def measure(directory, way):
    print(f"-- the program {'in its worker' if way == 'worker' else 'on the main thread'}:")
    page = WebPage(directory, script=LONG_TASKS, program_script=UPLOAD_COUNTER, way=way)
    try:
        page.wait_for_lines(8, 300)
        page.next_frames(60)
        frames = page.evaluate_program("frameTimes")
        uploads = page.evaluate_program("Array.from(uploadBytes, bytes => bytes || 0)")
        shown = page.evaluate("firstPictureAt")
        paint = page.evaluate("performance.getEntriesByName('first-contentful-paint')[0]"
                              ".startTime")
        first_line = page.evaluate("firstLineAt")
        tasks = page.evaluate("longTasks")
        idle_calls = page.evaluate("program.call('webIdleCalls')")
        scrub_from = page.evaluate(SCRUB)
        scrubbed = page.evaluate(f"frameTimes.slice({scrub_from})")
        length = page.evaluate("program.reported.length")
        with tempfile.TemporaryDirectory() as folder:
            glb, download_seconds = page.download_gltf(folder)
    finally:
        page.close()
    count, blocked = blocking(tasks, paint, first_line)
    late, _ = blocking(tasks, shown, float("inf"))
    print(f"main thread's long tasks from the first contentful paint ({paint:.0f} ms) to the "
          f"show's first line ({first_line:.0f} ms): {count}, total blocking time "
          f"{blocked:.0f} ms; longest of all {max([d for _, d in tasks], default=0):.0f} ms; "
          f"after the first picture: {late}")
    # The frames drawn behind the loading line come first.
    hidden = [duration for _, duration, *_ in frames[:HIDDEN_FRAMES]]
    uploads = sorted(uploads[HIDDEN_FRAMES:len(frames)])
    frames = [(start, duration) for start, duration, *_ in frames[HIDDEN_FRAMES:]]
    work = sorted(duration for _, duration in frames)
    seconds = (frames[-1][0] - frames[0][0]) / 1000
    print(f"first picture shown {shown:.0f} ms after the page began to load, behind the loading"
          f" line {len(hidden)} frames of " + ", ".join(f"{d:.0f}" for d in hidden) + " ms")
    print(f"{len(frames)} frames in {seconds:.1f} s ({len(frames) / seconds:.1f} frames/s), "
          f"{idle_calls} idle calls")
    over = [f"frame {i} {duration:.0f} ms" for i, (_, duration) in enumerate(frames)
            if duration > FRAME_BUDGET_MS]
    print(f"frame work once shown: median {statistics.median(work):.1f} ms, 99th percentile "
          f"{work[len(work) * 99 // 100]:.1f} ms, largest {work[-1]:.1f} ms; over the "
          f"{FRAME_BUDGET_MS:.1f} ms budget: " + (", ".join(over[:10]) or "none") +
          (f" and {len(over) - 10} more" if len(over) > 10 else ""))
    print(f"vertex and index bytes copied into WebGL's buffers once shown: median "
          f"{statistics.median(uploads) / 1e6:.2f} MB a frame, largest {uploads[-1] / 1e6:.2f} MB")
    # The main thread's work in each frame of the scrub: every animation frame callback given
    # the frame's time, the timeline's step and (on the main thread) the program's frame.
    by_frame = {}
    for _, duration, time_ in scrubbed:
        by_frame[time_] = by_frame.get(time_, 0) + duration
    scrub = list(by_frame.values())[:SCRUB_FRAMES]
    over = [f"frame {i} {work:.1f} ms" for i, work in enumerate(scrub) if work > FRAME_BUDGET_MS]
    print(f"Download glTF: {len(glb) / 1e3:.1f} KB saved {download_seconds * 1000:.0f} ms after"
          f" the click (the exporter's module fetched, compiled and run in a worker)")
    print(f"timeline dragged from tick 0 to {length} in {len(scrub)} frames, the main thread's "
          f"work each frame in ms: " + " ".join(f"{work:.1f}" for work in scrub))
    print(f"  median {statistics.median(scrub):.1f} ms, largest {max(scrub):.1f} ms; over the "
          f"{FRAME_BUDGET_MS:.1f} ms budget: " + (", ".join(over) or "none"))


if __name__ == "__main__":
    measure_files(sys.argv[1])
    # Both ways, one after the other, twice.
    for run in (1, 2):
        for way in WAYS:
            measure(sys.argv[1], way)
