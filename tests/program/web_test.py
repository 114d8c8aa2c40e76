"""The web page (make web) in headless Chromium: the show's eight console lines, the scene view
at the golden ticks against the desktop program's references, keys of the page turning and
moving the view and pausing the robots, and a page built without one of its textures."""

import os
import shutil
import subprocess

import numpy
import pytest

import harness
from golden_test import GOLDEN, LEVELS, SIDE_VIEW_KEYS
from harness import SCENE_GEOMETRY, SHOW_LINES

PAGE = os.environ.get("CHEER_WEB_PAGE", "")
if not os.path.isfile(PAGE):
    pytest.skip(f"no web page at '{PAGE}': make web builds one where the gl4es source can be had",
                allow_module_level=True)
PAGE_DIR = os.path.dirname(PAGE)

# The share of pixels off by more than LEVELS by which each picture of the page may differ from
# the desktop's reference: what headless Chromium's SwiftShader was measured to give, and a little
# more. WebGL smooths no lines or edges, so the field lines and outlines differ; textures are
# sampled a little differently (speckles on the robots and the far grass), and a line of help text
# whose baseline falls on half a pixel lands a pixel lower.
MAX_SHARES = {"start": 0.07, "main-window": 0.06, "mid-walk": 0.075, "final-poses": 0.085,
              "side-view": 0.045}


def share_off(picture, name):
    reference = harness.read_png(os.path.join(GOLDEN, name + ".png"))
    return harness.differing_share(picture, reference, LEVELS)


def test_show_lines_pictures_and_keys(start_page):
    page = start_page(PAGE_DIR, "?hold=0")
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
    page.type_keys(" ")
    page.hold_after(2500)
    shares["final-poses"] = share_off(page.picture(SCENE_GEOMETRY), "final-poses")
    assert page.wait_for_lines(len(SHOW_LINES), 30) == SHOW_LINES

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


def test_page_without_leopard_says_so_and_goes_on(start_page, tmp_path):
    for name in ("cheerleaders.html", "cheerleaders.js", "cheerleaders.wasm"):
        shutil.copy(os.path.join(PAGE_DIR, name), tmp_path)
    textures = os.environ["CHEER_TEXTURES"]
    preload = [f"{textures}/{name}@/{name}" for name in harness.TEXTURE_FILES
               if name != "leopard.bmp"]
    root = subprocess.run(["em-config", "EMSCRIPTEN_ROOT"], capture_output=True, text=True,
                          check=True).stdout.strip()
    subprocess.run(["python3", os.path.join(root, "tools", "file_packager.py"),
                    str(tmp_path / "cheerleaders.data"), "--preload", *preload,
                    "--js-output=" + str(tmp_path / "cheerleaders.data.js")],
                   check=True, capture_output=True)
    page = start_page(tmp_path)
    assert page.wait_for_lines(2, 60) == [harness.FAILURE_LINES[1], SHOW_LINES[0]]


def test_mouse_touch_and_buttons_drive_the_show(start_page):
    """Drags by mouse and by finger, 20 steps and a rest, are 20 presses of a; two fingers spread
    by a notch are 10 of w; a tap pauses, another resumes; Replay starts the show again; and the
    canvas keeps its gestures from scrolling the page."""
    page = start_page(PAGE_DIR, "?hold=0")
    page.hold_after(0)
    look = lambda: page.picture(SCENE_GEOMETRY)  # noqa: E731
    still = look()

    def undone_by(keys):
        page.next_frames()
        moved = look()
        page.type_keys(keys)
        page.next_frames()
        return not numpy.array_equal(moved, still) and numpy.array_equal(look(), still)

    page.mouse_drag((100, 200), [(7, 0)] * 17 + [(6, 0)])
    assert undone_by("d" * 20), "a mouse drag is not the turns it stands for"
    page.touch([(100, 200)], [[(7, 0)]] * 17 + [[(6, 0)]])
    assert undone_by("d" * 20), "a finger's drag is not the turns it stands for"
    page.touch([(200, 200), (260, 200)], [[(-10, 0), (10, 0)]] * 2)
    assert undone_by("s" * 10), "two fingers spread by a notch do not walk 10 steps"
    page.touch([(200, 380)], [[(0, -60)]] * 5)
    assert page.evaluate("window.scrollY") == 0, "a drag on the canvas scrolled the page"

    page.type_keys("p" * 50)
    page.evaluate("Module._webHoldAfterIdleCalls(-1)")
    page.touch([(200, 200)])
    page.next_frames()
    paused = look()
    page.next_frames(20)
    assert numpy.array_equal(look(), paused), "the robots moved after a tap"
    assert page.evaluate("document.getElementById('pause').textContent") == "Resume"
    page.touch([(200, 200)])
    page.next_frames(20)
    assert not numpy.array_equal(look(), paused), "a second tap did not resume the robots"
    # Robot 0 finishes walking at tick 274, and after a replay again before anything else.
    assert page.wait_for_lines(1, 30) == SHOW_LINES[:1]
    page.evaluate("document.getElementById('replay').click()")
    assert page.wait_for_lines(2, 30) == [SHOW_LINES[0]] * 2
    assert page.errors == []
