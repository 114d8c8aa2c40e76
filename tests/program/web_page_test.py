"""The web page (make web) in headless Chromium, run in a worker or on the page's main thread
(CHEER_WEB_WAY): the show's eight console lines, the scene view at the golden ticks against the
desktop program's references, no drawing after the show but for keys, keys of the page turning
and moving the view and pausing the robots, the graphics lost and given back, a page that lost
one of its textures, and a browser without WebGL."""

import base64
import json
import os
import subprocess
import time

import numpy
import pytest

import harness
from golden_test import LEVELS, SIDE_VIEW_KEYS
from harness import SCENE_GEOMETRY, SHOW_LINES
from web_page import DRAW_COUNTER, GLTF_FILE
from web_support import (MAX_SHARES, PAGE_DIR, choose_robot, drag_slider, inspector_angles,
                         mirror_of, press, share_off)


def test_show_lines_pictures_and_keys(start_page):
    page = start_page(PAGE_DIR, "?hold=0", program_script=DRAW_COUNTER)
    page.hold_after(0)
    shares = {"start": share_off(page.picture(SCENE_GEOMETRY), "start"),
              "main-window": share_off(page.picture(), "main-window")}
    page.hold_after(600)
    walking = page.picture(SCENE_GEOMETRY)
    shares["mid-walk"] = share_off(walking, "mid-walk")

    # Paused through a hundred idle calls, the robots stand still; then on to tick 2400.
    page.type_keys(" ")
    page.hold_after(700)
    assert numpy.array_equal(page.picture(SCENE_GEOMETRY), walking), "moved while paused"
    # The graphics lost and given back mid-walk: the page after them goes on from the same tick
    # and camera, paused as it was, with the lines it had.
    page.type_keys("a" * 10)
    page.evaluate("program.call('loseGraphics')")
    harness.wait_until(lambda: page.evaluate("document.getElementById('overlay').textContent"),
                       lambda text: "took the graphics away" in text, 10, "no word of the loss")
    page.evaluate("program.call('restoreGraphics')")
    page.wait_started()
    page.type_keys("d" * 10)
    page.next_frames()
    assert numpy.array_equal(page.picture(SCENE_GEOMETRY), walking), "not back where it was"
    page.type_keys(" ")
    page.hold_after(1800)
    shares["final-poses"] = share_off(page.picture(SCENE_GEOMETRY), "final-poses")
    assert page.wait_for_lines(len(SHOW_LINES), 30) == SHOW_LINES
    # Let go, the show that is over draws nothing more until a key.
    page.evaluate("program.call('webHoldAfterIdleCalls', [-1])")
    page.next_frames()
    draws = "drawCalls.reduce((a, b) => a + b, 0)"
    drawn = page.evaluate_program(draws)
    page.next_frames(60)
    assert page.evaluate_program(draws) == drawn, "the show drew after its end"

    page.type_keys(SIDE_VIEW_KEYS.decode())
    page.next_frames()
    side = page.picture(SCENE_GEOMETRY)
    shares["side-view"] = share_off(side, "side-view")
    # Upper case turns as lower case does: ten turns left with Shift, ten back without.
    page.type_keys("A" * 10, shift=True)
    page.next_frames()
    assert not numpy.array_equal(page.picture(SCENE_GEOMETRY), side), "Shift+A did not turn"
    page.type_keys("d" * 10)
    page.next_frames()
    assert numpy.array_equal(page.picture(SCENE_GEOMETRY), side), "the view did not come back"

    print(f"share of pixels off by more than {LEVELS} levels:",
          ", ".join(f"{name} {share:.2%}" for name, share in shares.items()))
    over = {name: share for name, share in shares.items() if share > MAX_SHARES[name]}
    assert not over, f"pictures differ from their references: {over}"
    assert page.errors == []
    # Every file the page asks for is there: its icon too, where a browser would ask for one.
    assert page.server.failed == []


def test_page_without_leopard_says_so_and_goes_on(start_page):
    # The page's own start-up, but for leopard.bmp taken away once it has been written.
    unlink = """Object.defineProperty(self, "Module", {configurable: true, set(page) {
        const start = page.onRuntimeInitialized;
        page.onRuntimeInitialized = () => { start(); page.FS_unlink("/leopard.bmp"); };
        Object.defineProperty(self, "Module", {value: page, writable: true}); }});"""
    page = start_page(PAGE_DIR, program_script=unlink)
    assert page.wait_for_lines(2, 60) == [harness.FAILURE_LINES[1], SHOW_LINES[0]]


def test_page_without_webgl_says_so_and_fetches_no_program(start_page):
    page = start_page(PAGE_DIR, browser_args=["--disable-webgl"], started=False)
    harness.wait_until(lambda: page.evaluate("document.getElementById('status')?.textContent"),
                       lambda text: "no WebGL" in (text or ""), 30, "no word of WebGL")
    assert not [path for path in page.server.requests if "cheerleaders.js" in path or
                ".wasm" in path], page.server.requests


# The page's main-thread tasks over 50 ms, each as [start, duration] in ms.
LONG_TASKS = """self.longTasks = [];
new PerformanceObserver(list => longTasks.push(...list.getEntries().map(task =>
    [task.startTime, task.duration]))).observe({type: "longtask", buffered: true});"""


@pytest.mark.skipif(os.environ.get("CHEER_WEB_WAY") == "main thread",
                    reason="on the main thread the program's own frames are the page's tasks")
def test_no_long_task_on_the_page_after_the_first_picture(start_page):
    """With the program in its worker, the page's main thread has no task over 50 ms from the
    first picture on while the show plays, is scrubbed and its robot is posed."""
    page = start_page(PAGE_DIR, script=LONG_TASKS)
    assert page.evaluate("program.way()") == "worker"
    shown = harness.wait_until(lambda: page.evaluate("self.firstPictureAt || 0"), bool, 60,
                               "no first picture")
    assert page.wait_for_lines(1, 60) == SHOW_LINES[:1]
    page.evaluate("(s => { for (const t of [300, 900, 1500]) { s.value = t;"
                  " s.dispatchEvent(new Event('input')); } })(document.getElementById('timeline'))")
    page.type_keys(" ")
    choose_robot(page, 2)
    drag_slider(page, 3, [10] * 6)
    page.next_frames(30)
    late = [task for task in page.evaluate("longTasks") if task[0] >= shown]
    assert late == [], f"tasks over 50 ms after the first picture at {shown:.0f} ms: {late}"
