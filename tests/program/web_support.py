"""What the web page's tests (web_*_test.py) share: the page built by make web (skipped without
one), the share of pixels by which its pictures may differ from the desktop's, and helpers that
work the page's controls."""

import json
import os
import subprocess

import pytest

import harness
from golden_test import GOLDEN, LEVELS

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


def press(page, key, code, modifiers=0):
    """A key of the page with modifiers (Alt 1, Ctrl 2, Shift 8), typing its key's text."""
    for kind in ("keyDown", "keyUp"):
        page.call("Input.dispatchKeyEvent", type=kind, key=key, code=code, modifiers=modifiers,
                  text=key if kind == "keyDown" else "")
    page.settle()


def choose_robot(page, robot):
    page.evaluate(f"(r => {{ r.value = '{robot}'; r.dispatchEvent(new Event('change')); }})"
                  "(document.getElementById('robot'))")
    page.next_frames()


def inspector_angles(page):
    """The inspector's read-only angles by joint name."""
    return dict(page.evaluate("Array.from(document.querySelectorAll('#joints tbody tr'), r =>"
                              " [r.cells[0].textContent, r.cells[1].textContent])"))


def drag_slider(page, joint, steps):
    """A left-button drag of the joint's slider: pressed at its middle (0 degrees), moved right by
    each step in pixels, let go."""
    x, y = page.evaluate(f"(e => {{ e.scrollIntoView({{block: 'center'}}); const r = e"
                         f".getBoundingClientRect(); return [r.left + r.width / 2, r.top +"
                         f" r.height / 2]; }})(document.querySelector('#pose-joints input"
                         f"[type=range][id=\"pose-joint-{joint}\"]'))")
    for kind, dx in [("mousePressed", 0), *[("mouseMoved", step) for step in steps],
                     ("mouseReleased", 0)]:
        x += dx
        page.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                  buttons=int(kind != "mouseReleased"), clickCount=1)
    page.next_frames()


# Left for right, and the turns about the body's vertical and its rolls reversed.
MIRRORED = {"torso yaw": ("torso yaw", -1), "head pitch": ("head pitch", 1),
            "head yaw": ("head yaw", -1), "left upper arm roll": ("right upper arm roll", -1),
            "right upper arm roll": ("left upper arm roll", -1)}


def mirror_of(angles):
    mirrored = {}
    for name, angle in angles.items():
        other, sign = MIRRORED.get(name, (name.replace("left", "@").replace("right", "left")
                                          .replace("@", "right"), 1))
        mirrored[other] = str(sign * float(angle)).removesuffix(".0").replace("-0", "0")
    return mirrored
