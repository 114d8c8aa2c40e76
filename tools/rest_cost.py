#!/usr/bin/python3
"""What the show costs when nothing in it moves:

    rest_cost.py PROGRAM [PAGE_DIR]

PROGRAM (build/cheerleaders) runs under a private Xvfb with the textures make_textures writes
beside it; for each of paused, after the show, and iconified under openbox while playing, the
share of a core its own CPU time (user and system, from /proc) took over 5 s. PAGE_DIR (make
web) is the page in headless Chromium: over 2 s after the show and while paused, the animation
frames the page ran and the WebGL draw calls made; then how many frames one key press drew."""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "program"))
import harness  # noqa: E402
from web_page import DRAW_COUNTER, WAYS, WebPage  # noqa: E402

DESKTOP_SECONDS = 5
PAGE_SECONDS = 2


def core_share(program):
    before, began = harness.cpu_seconds(program.process.pid), time.monotonic()
    time.sleep(DESKTOP_SECONDS)
    return (harness.cpu_seconds(program.process.pid) - before) / (time.monotonic() - began)


def with_program(executable, textures, look, window_manager=False):
    xvfb = harness.Xvfb()
    manager = None
    try:
        if window_manager:
            manager = subprocess.Popen(["openbox", "--sm-disable"], env=xvfb.env(),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            check = xvfb.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
            harness.wait_until(lambda: xvfb.root.get_full_property(check, 0), bool, 30,
                               "openbox did not take the screen")
        program = harness.Program(xvfb, textures, command=[executable])
        try:
            return look(xvfb, program)
        finally:
            program.stop()
    finally:
        if manager:
            manager.terminate()
            manager.wait(10)
        xvfb.stop()


def paused(xvfb, program):
    xvfb.type_keys(program.subwindow(harness.SCENE_GEOMETRY), "space")
    time.sleep(0.5)
    return core_share(program)


def after_the_show(_, program):
    assert program.wait_for_lines(len(harness.SHOW_LINES), 900) == harness.SHOW_LINES
    time.sleep(0.5)
    return core_share(program)


def iconified(xvfb, program):
    program.subwindow(harness.SCENE_GEOMETRY)
    xvfb.xdotool("windowminimize", "--sync", str(program.window.id))
    time.sleep(0.5)
    return core_share(program)


def measure_desktop(executable):
    with tempfile.TemporaryDirectory() as textures:
        subprocess.run([os.path.join(os.path.dirname(executable), "make_textures"), textures],
                       check=True, capture_output=True)
        for name, look, manager in [("paused", paused, False),
                                    ("after the show", after_the_show, False),
                                    ("iconified under openbox", iconified, True)]:
            share = with_program(executable, textures, look, manager)
            print(f"desktop, {name}: {share:.1%} of a core over {DESKTOP_SECONDS} s")


def page_counts(page, seconds):
    """(animation frames, draw calls) over this long."""
    count = "[frameTimes.length, drawCalls.reduce((a, b) => a + b, 0)]"
    frames, draws = page.evaluate_program(count)
    time.sleep(seconds)
    later = page.evaluate_program(count)
    return later[0] - frames, later[1] - draws


def frames_one_key_draws(page):
    """The frames that drew for one key, typed once the page has settled."""
    before = page.evaluate_program("frameTimes.length")
    page.type_keys("a")
    time.sleep(0.5)
    return page.evaluate_program(f"drawCalls.slice({before}).filter(Boolean).length")


def measure_page(directory, way):
    """The frames and draw calls of the page at rest, with the program where `way` puts it:
    the counters run where the program draws."""
    page = WebPage(directory, program_script=DRAW_COUNTER, way=way)
    try:
        page.wait_for_lines(len(harness.SHOW_LINES), 300)
        for moment, keys in [("after the show", ""), ("paused", "r ")]:
            page.type_keys(keys)
            time.sleep(0.5)
            frames, draws = page_counts(page, PAGE_SECONDS)
            print(f"page ({way}), {moment}: {frames} animation frames, {draws} draw calls in "
                  f"{PAGE_SECONDS} s; one key then drew {frames_one_key_draws(page)} frames")
    finally:
        page.close()


if __name__ == "__main__":
    measure_desktop(os.path.abspath(sys.argv[1]))
    if len(sys.argv) > 2:
        for way in WAYS:
            measure_page(sys.argv[2], way)
