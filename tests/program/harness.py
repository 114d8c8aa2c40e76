"""Drives the real cheerleaders program from outside: a private Xvfb, the program started in a
working directory of the test's choosing, its console lines, keys and window operations through
the X server, and screenshots of its windows."""

import os
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time

TITLE = "Dorv's OKSA Robot Cheerleaders"
SHOW_LINES = ["finished walking", "finished spelling letter"] * 4
TEXTURE_FILES = ["corrigatedIronTexture.bmp", "leopard.bmp", "concrete.bmp", "grass.bmp"]
FAILURE_LINES = [
    "failed to load bitmap for wall texture",
    "failed to load bitmap for oksa texture",
    "failed to load bitmap for ceiling texture",
    "failed to load bitmap for grass texture",
]


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


class Xvfb:
    """A private X server on a display number it picks itself."""

    def __init__(self, screen="1280x1024x24"):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
            pass_fds=[write_end], stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.time()))
            check(ready, "Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            check(chunk, "Xvfb ended before reporting its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def executable():
    path = os.environ.get("CHEERLEADERS")
    check(path and os.path.exists(path), "CHEERLEADERS does not name the program")
    return os.path.abspath(path)


def make_texture_dir(source=None):
    """A fresh working directory holding the four texture files from source (if given)."""
    directory = tempfile.mkdtemp(prefix="cheer-run-")
    source = source or os.environ.get("CHEER_TEXTURES")
    if source:
        for name in TEXTURE_FILES:
            if os.path.exists(os.path.join(source, name)):
                shutil.copy(os.path.join(source, name), directory)
    return directory


class Program:
    """The program under test, with its standard output read line by line."""

    def __init__(self, xvfb, cwd, wrapper=(), env_extra=None):
        env = xvfb.env()
        # In a sanitizer build: the program only ever exits through the window system, and the
        # leak report at that exit cannot name Mesa's unloaded driver; it also takes longer
        # than the few seconds allowed for ending. Leaks are the memcheck run's business.
        env["ASAN_OPTIONS"] = "detect_leaks=0"
        env.update(env_extra or {})
        self.xvfb = xvfb
        self.lines = []
        self._buffer = b""
        self.stderr = b""
        self.restarts = 0
        command = list(wrapper) + [executable()]
        while True:
            self.process = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            if self._opened_its_window(timeout=300 if wrapper else 60):
                break
            # Now and then a client cannot reach a newly started Xvfb at all, under load; that
            # is the test machine's start-up, not the program's, so it is started again.
            self.stderr = self.process.stderr.read()
            check(b"failed to open display" in self.stderr and self.restarts < 2,
                  f"the program ended at start-up: {self.stderr[-500:]!r}")
            self.restarts += 1
            print(f"    (program restarted: it could not reach {xvfb.display})", flush=True)

    def _opened_its_window(self, timeout):
        """Waits for the main window; False if the program ended first."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.alive():
                return False
            if xdotool(self.xvfb, "search", "--onlyvisible", "--name", "^" + TITLE + "$",
                       check_status=False).split():
                return True
            time.sleep(0.1)
        raise TestFailure("the main window did not appear")

    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def _read(self, timeout):
        ready, _, _ = select.select([self.process.stdout], [], [], timeout)
        if not ready:
            return False
        chunk = os.read(self.process.stdout.fileno(), 4096)
        if not chunk:
            return False
        self._buffer += chunk
        while b"\n" in self._buffer:
            line, self._buffer = self._buffer.split(b"\n", 1)
            self.lines.append(line.decode(errors="replace"))
        return True

    def wait_for_lines(self, count, timeout):
        """Reads until count lines have come, the program ends, or the time is up."""
        deadline = time.time() + timeout
        while len(self.lines) < count and time.time() < deadline:
            if not self._read(min(0.5, max(0.0, deadline - time.time()))) and not self.alive():
                break
        return self.lines

    def drain(self, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            self._read(max(0.0, deadline - time.time()))

    def stop(self, timeout=30):
        """Ends the program with SIGTERM; returns its exit status."""
        if self.alive():
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.drain(0)
        self.stderr = self.process.stderr.read()
        return self.process.returncode

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def xdotool(xvfb, *args, check_status=True):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], env=xvfb.env(),
                            capture_output=True, text=True, timeout=120)
    if check_status:
        check(result.returncode == 0, f"xdotool {args[:3]} failed: {result.stderr.strip()}")
    return result.stdout


def main_window(xvfb, timeout=30):
    """The id of the program's top-level window, once it is mapped."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        out = xdotool(xvfb, "search", "--onlyvisible", "--name", "^" + TITLE + "$",
                      check_status=False).split()
        if out:
            return int(out[0])
        time.sleep(0.1)
    raise TestFailure("the main window did not appear")


def children(xvfb, window):
    """{(x, y, width, height): id} of the window's children, relative to it, from xwininfo."""
    out = subprocess.run(["xwininfo", "-children", "-id", str(window)], env=xvfb.env(),
                         capture_output=True, text=True, timeout=30).stdout
    found = {}
    for line in out.splitlines():
        line = line.strip()
        if line.startswith("0x") and "+" in line:
            size, x, y = line.split()[-2].split("+")[:3]
            w, h = size.split("x")
            found[(int(x), int(y), int(w), int(h))] = int(line.split()[0], 16)
    return found


def window_tree(xvfb, window):
    """(x, y, width, height) of the window's children, relative to it."""
    return sorted(children(xvfb, window))


SCENE_GEOMETRY = (10, 10, 480, 400)
HELP_GEOMETRY = (10, 420, 480, 70)


def subwindow(xvfb, window, geometry, timeout=20):
    """The id of the subwindow with this geometry, once it is there."""
    deadline = time.time() + timeout
    found = children(xvfb, window)
    while geometry not in found and time.time() < deadline:
        time.sleep(0.1)
        found = children(xvfb, window)
    check(geometry in found, f"no subwindow at {geometry}: {sorted(found)}")
    return found[geometry]


def geometry(xvfb, window):
    out = xdotool(xvfb, "getwindowgeometry", window)
    size = [l for l in out.splitlines() if "Geometry:" in l][0].split()[-1]
    w, h = size.split("x")
    return int(w), int(h)


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        """RGB at (x, y), y counted from the top."""
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])


def screenshot(xvfb, window="root"):
    """The window's content as seen on the screen, from xwd (ZPixmap, 24 or 32 bits)."""
    target = ["-root"] if window == "root" else ["-id", str(window)]
    data = subprocess.run(["xwd", "-silent"] + target, env=xvfb.env(),
                          capture_output=True, timeout=60).stdout
    check(len(data) > 100, "xwd returned no image")
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    bits_per_pixel, bytes_per_line, ncolors = header[11], header[12], header[19]
    byte_order = header[7]
    red_mask, green_mask, blue_mask = header[14], header[15], header[16]
    offset = header_size + ncolors * 12
    check(bits_per_pixel in (24, 32), f"unexpected xwd pixel size {bits_per_pixel}")
    step = bits_per_pixel // 8
    little = byte_order == 0

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    rgb = bytearray(width * height * 3)
    for y in range(height):
        row = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * step]
        for x in range(width):
            value = int.from_bytes(row[x * step:(x + 1) * step], "little" if little else "big")
            i = (y * width + x) * 3
            rgb[i] = (value >> rs) & 0xFF
            rgb[i + 1] = (value >> gs) & 0xFF
            rgb[i + 2] = (value >> bs) & 0xFF
    return Image(width, height, bytes(rgb))


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise TestFailure("no VmRSS for the program")


def run_tests(tests):
    """Runs each (name, function) and prints a closing line; exits non-zero on any failure."""
    passed = failed = 0
    for name, function in tests:
        start = time.time()
        try:
            function()
            passed += 1
            print(f"[ PASS ] {name} ({time.time() - start:.1f} s)", flush=True)
        except Exception as error:  # every failure of a case is reported, then the next runs
            failed += 1
            print(f"[ FAIL ] {name}: {error}", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    raise SystemExit(1 if failed else 0)


def read_png(path):
    """An 8-bit RGB or RGBA, non-interlaced PNG (what the snapshot tool writes) as an Image."""
    import zlib
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    pos, idat, width, height, channels = 8, b"", 0, 0, 3
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            check(depth == 8 and colour in (2, 6) and interlace == 0, f"{path}: unsupported PNG")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + predictor) & 0xFF
        rows.append(bytes(line))
        previous = line
    rgb = bytearray()
    for line in rows:
        if channels == 3:
            rgb += line
        else:
            for x in range(width):
                rgb += line[x * 4:x * 4 + 3]
    return Image(width, height, bytes(rgb))


def differing_share(a, b, levels):
    """The share of pixels whose channels differ by more than levels anywhere."""
    check((a.width, a.height) == (b.width, b.height),
          f"sizes differ: {a.width}x{a.height} and {b.width}x{b.height}")
    count = 0
    for i in range(0, len(a.rgb), 3):
        if (abs(a.rgb[i] - b.rgb[i]) > levels or abs(a.rgb[i + 1] - b.rgb[i + 1]) > levels
                or abs(a.rgb[i + 2] - b.rgb[i + 2]) > levels):
            count += 1
    return count / (a.width * a.height)


def snapshot(xvfb, out_prefix, ticks, keys=b"", main=False, textures=None):
    """Renders with the snapshot tool; returns the path of each picture, by tick."""
    command = [os.environ["CHEER_SNAPSHOT"], "--out", out_prefix,
               "--ticks", ",".join(str(t) for t in ticks)]
    if keys:
        keys_file = out_prefix + ".keys"
        with open(keys_file, "wb") as f:
            f.write(keys)
        command += ["--keys-file", keys_file]
    if main:
        command.append("--main")
    command += ["--textures", textures or os.environ["CHEER_TEXTURES"]]
    env = xvfb.env()
    env["ASAN_OPTIONS"] = "detect_leaks=0"  # as for the program itself, in a sanitizer build
    result = subprocess.run(command, env=env, capture_output=True, timeout=600)
    check(result.returncode == 0, f"snapshot failed: {result.stderr[-500:]!r}")
    return {t: f"{out_prefix}-{t:05d}.png" for t in ticks}


def settled_screenshot(xvfb, window, wanted, timeout=30):
    """Screenshots of the window until one satisfies wanted(image) or the time is up; returns
    the last. The program works through queued events at its own pace, slower under load."""
    deadline = time.time() + timeout
    while True:
        shot = screenshot(xvfb, window)
        if wanted(shot) or time.time() > deadline:
            return shot
        time.sleep(0.25)
