"""The web page (make web) in headless Chromium: the show's eight console lines, the scene view
at the golden ticks against the desktop program's references, no drawing after the show but for
keys, keys of the page turning and moving the view and pausing the robots, the graphics lost and
given back, the mouse, touch (on a phone's screen too) and the page's buttons, a page that lost
one of its textures, a browser without WebGL, and the timeline, its console and links to a
moment; the program's reports, which the page follows without asking, its title, AltGr's keys,
the click that gives the canvas the keys, and the address of a show that plays on."""

import base64
import json
import os
import subprocess
import time

import numpy
import pytest

import harness
from golden_test import GOLDEN, LEVELS, SIDE_VIEW_KEYS
from harness import SCENE_GEOMETRY, SHOW_LINES
from web_page import DRAW_COUNTER, GLTF_FILE

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
    page = start_page(PAGE_DIR, "?hold=0", script=DRAW_COUNTER)
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
    page.evaluate("window.lose = document.getElementById('canvas').getContext('webgl')"
                  ".getExtension('WEBGL_lose_context'); lose.loseContext()")
    harness.wait_until(lambda: page.evaluate("document.getElementById('overlay').textContent"),
                       lambda text: "took the graphics away" in text, 10, "no word of the loss")
    page.evaluate("lose.restoreContext()")
    page.wait_started()
    page.type_keys("d" * 10)
    page.next_frames()
    assert numpy.array_equal(page.picture(SCENE_GEOMETRY), walking), "not back where it was"
    page.type_keys(" ")
    page.hold_after(1800)
    shares["final-poses"] = share_off(page.picture(SCENE_GEOMETRY), "final-poses")
    assert page.wait_for_lines(len(SHOW_LINES), 30) == SHOW_LINES
    # Let go, the show that is over draws nothing more until a key.
    page.evaluate("Module._webHoldAfterIdleCalls(-1)")
    page.next_frames()
    draws = "drawCalls.reduce((a, b) => a + b, 0)"
    drawn = page.evaluate(draws)
    page.next_frames(60)
    assert page.evaluate(draws) == drawn, "the show drew after its end"

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
    unlink = """Object.defineProperty(window, "Module", {configurable: true, set(page) {
        const start = page.onRuntimeInitialized;
        page.onRuntimeInitialized = () => { start(); page.FS_unlink("/leopard.bmp"); };
        Object.defineProperty(window, "Module", {value: page, writable: true}); }});"""
    page = start_page(PAGE_DIR, script=unlink)
    assert page.wait_for_lines(2, 60) == [harness.FAILURE_LINES[1], SHOW_LINES[0]]


def test_page_without_webgl_says_so_and_fetches_no_program(start_page):
    page = start_page(PAGE_DIR, browser_args=["--disable-webgl"], started=False)
    harness.wait_until(lambda: page.evaluate("document.getElementById('status')?.textContent"),
                       lambda text: "no WebGL" in (text or ""), 30, "no word of WebGL")
    assert not [path for path in page.server.requests if "cheerleaders.js" in path or
                ".wasm" in path], page.server.requests


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

    # On a phone the canvas is the width there is (358 CSS pixels of 390): 88 of them are 20 steps.
    page.call("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=3,
              mobile=True)
    page.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    assert page.evaluate("document.documentElement.scrollWidth") <= 390
    page.touch([(50, 150)], [[(8, 0)]] * 11)
    assert undone_by("d" * 20), "a finger's drag on a phone is not the turns it stands for"
    page.call("Emulation.clearDeviceMetricsOverride")

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


def test_wheel_before_the_mouse_moves_and_a_cancelled_touch(start_page):
    """A notch turned over the scene view as the page's first pointer event walks it; a touch the
    browser takes away within a tap's time is no tap."""
    page = start_page(PAGE_DIR, "?hold=0")
    page.hold_after(0)
    look = lambda: page.picture(SCENE_GEOMETRY)  # noqa: E731
    still = look()
    x, y = page.canvas_point(200, 200)
    page.call("Input.dispatchMouseEvent", type="mouseWheel", x=x, y=y, deltaX=0, deltaY=-100)
    page.next_frames()
    assert not numpy.array_equal(look(), still), "the notch was lost"
    page.type_keys("s" * 10)
    page.next_frames()
    assert numpy.array_equal(look(), still), "the notch was not 10 steps forward"

    page.touch([(200, 200)], end="touchCancel")
    page.next_frames()
    assert page.evaluate("Module.reported.paused") is False, "a cancelled touch paused the robots"
    assert page.errors == []


def test_a_link_opens_the_moment_played_to_and_the_timeline_seeks(start_page):
    """A link with t, paused and cam shows what playing to that tick and turning there shows; the
    timeline put at tick 1500 leaves the four lines finished by then, and a click on the third
    goes to its tick, 1002."""
    played = start_page(PAGE_DIR, "?hold=0")
    played.hold_after(1000)
    played.type_keys("a" * 10 + "w" * 3)
    played.next_frames()
    query = played.evaluate("Module.ccall('webPlaceLink', 'string', ['string'], [''])")
    assert query.startswith("?t=1000&cam=15,"), query
    linked = start_page(PAGE_DIR, query.replace("&cam", "&paused&cam"))
    linked.next_frames()
    assert numpy.array_equal(linked.picture(), played.picture()), f"{query} opened another moment"
    assert [line for line, _ in linked.console_lines()] == SHOW_LINES[:2]
    linked.click("#step-forward")
    harness.wait_until(lambda: linked.evaluate("location.search"),
                       lambda search: search.startswith("?t=1001&paused&cam=15,"), 10,
                       "the address does not follow the paused show")

    played.evaluate("(s => { s.value = 1500; s.dispatchEvent(new Event('input')); })"
                    "(document.getElementById('timeline'))")
    played.next_frames()
    assert played.console_lines() == [[line, f"tick {tick}"] for line, tick in
                                      zip(SHOW_LINES, [274, 726, 1002, 1454])]
    played.click("#finished li:nth-child(3) button")
    played.next_frames()
    assert played.evaluate("Module.reported.tick") == 1002
    assert len(played.console_lines()) == 3

    refused = start_page(PAGE_DIR, "?hold=0&t=12x")
    assert "t=12x" in refused.evaluate("document.getElementById('status').textContent")
    assert refused.evaluate("Module.reported.tick") == 0
    assert played.errors == linked.errors == refused.errors == []


def test_a_click_selects_a_robot_whose_angles_are_the_desktops_and_the_frames_box(
        start_page, start_program, xvfb):
    """At a link to tick 1000, paused, a click on the second robot's torso (where the scene
    view's frustum puts the point (-1, 0.4, -1) seen from the start camera) selects it, and the
    inspector's thirteen angles are those the desktop prints for 2 then i at the same tick; a
    click on the field selects none; the frames box changes the picture and gives it back."""
    page = start_page(PAGE_DIR, "?t=1000&paused")
    page.next_frames()
    plain = page.picture()
    for point, selected in [((210, 206), 2), ((240, 390), 0), ((210, 206), 2)]:
        x, y = page.canvas_point(*point)
        for kind in ("mousePressed", "mouseReleased"):
            page.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1)
        page.next_frames()
        assert page.evaluate("Module.reported.selectedRobot") == selected, point
    angles = page.evaluate("Array.from(document.querySelectorAll('#joints tbody tr'), r =>"
                           " [r.cells[0].textContent, r.cells[1].textContent])")

    desktop = start_program(command=[harness.executable(), "--at", "1000", "--paused"])
    scene = desktop.subwindow(SCENE_GEOMETRY)
    xvfb.type_keys(scene, "2", "i")
    joints = desktop.wait_for_lines(2 + 5, 30)[-1].split("joints: ")[1]
    assert [pair.split("=") for pair in joints.split(", ")] == angles

    page.click("#frames")
    page.next_frames()
    assert not numpy.array_equal(page.picture(), plain), "the frames box drew nothing"
    page.click("#frames")
    page.next_frames()
    assert numpy.array_equal(page.picture(), plain), "the frames box did not give the picture back"
    assert page.errors == []


# Counts each call of the program's exports the page makes: every one is Module's _web* function.
COUNT_EXPORTS = """window.exportCalls = {};
for (const name of Object.keys(Module).filter(name => name.startsWith("_web"))) {
    const call = Module[name];
    Module[name] = (...args) => {
        exportCalls[name] = (exportCalls[name] || 0) + 1;
        return call(...args);
    };
}"""
TITLE = "document.title"


def press(page, key, code, modifiers=0):
    """A key of the page with modifiers (Alt 1, Ctrl 2, Shift 8), typing its key's text."""
    for kind in ("keyDown", "keyUp"):
        page.call("Input.dispatchKeyEvent", type=kind, key=key, code=code, modifiers=modifiers,
                  text=key if kind == "keyDown" else "")


def test_the_program_reports_and_the_page_asks_nothing_each_frame(start_page):
    """While the show plays the page calls none of the program's exports, yet the timeline, its
    spoken value and the console follow the show; the title says the pause and the speed as the
    desktop's does; [ and ] typed with AltGr (Ctrl and Alt) reach the program, with Ctrl alone
    they do not; the timeline's keys are the program's, which pause to step."""
    page = start_page(PAGE_DIR, "?hold=-1")
    page.evaluate(COUNT_EXPORTS)
    page.next_frames(30)
    assert page.wait_for_lines(1, 30) == SHOW_LINES[:1]
    page.next_frames(10)
    assert page.evaluate("exportCalls") == {}, "the page asked the program each frame"
    # All read in one look: the show plays on between two.
    tick, reported, spoken = page.evaluate(
        "(t => [Number(t.value), Module.reported.tick, t.getAttribute('aria-valuetext')])"
        "(document.getElementById('timeline'))")
    assert tick >= 274 and tick == reported
    assert spoken.startswith(f"tick {tick} of 2366"), spoken
    assert [line for line, _ in page.console_lines()] == SHOW_LINES[:1]
    program_title = page.evaluate(TITLE)
    assert "Robot Cheerleaders" in program_title and "tick" not in program_title

    page.type_keys(" ")
    harness.wait_until(lambda: page.evaluate(TITLE), lambda title: title.endswith(", paused"), 10,
                       "the title does not say the pause")
    tick = page.evaluate("Module.reported.tick")
    assert page.evaluate(TITLE) == f"{program_title} \u2014 tick {tick} of 2366, paused"
    assert page.evaluate("document.getElementById('pause').textContent") == "Resume"

    press(page, "]", "BracketRight", modifiers=2)
    page.next_frames()
    assert page.evaluate("Module.reported.speed") == 3, "Ctrl+] went to the program"
    press(page, "]", "BracketRight", modifiers=3)
    page.next_frames()
    assert page.evaluate("Module.reported.speed") == 4, "AltGr+] did not reach the program"
    assert page.evaluate("document.getElementById('speed').value") == "4"
    page.type_keys(" ")
    harness.wait_until(lambda: page.evaluate(TITLE), lambda title: title.endswith("2\u00d7 speed"),
                       10, "the title does not say the speed")
    press(page, "[", "BracketLeft", modifiers=3)
    harness.wait_until(lambda: page.evaluate(TITLE), lambda title: title == program_title, 10,
                       "the title does not come back at the normal speed")

    # On the timeline: Right steps one tick, pausing; Shift+Up a second; End goes to the end.
    page.evaluate("document.getElementById('timeline').focus()")
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="ArrowRight", code="ArrowRight",
              windowsVirtualKeyCode=39)
    page.next_frames()
    stepped = page.evaluate("Module.reported")
    assert stepped["paused"] is True
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="ArrowUp", code="ArrowUp",
              windowsVirtualKeyCode=38, modifiers=8)
    page.next_frames()
    assert page.evaluate("Module.reported.tick") == stepped["tick"] + 60
    assert page.evaluate("Number(document.getElementById('timeline').value)") == stepped["tick"] + 60
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="End", code="End",
              windowsVirtualKeyCode=35)
    page.next_frames()
    assert page.evaluate("Module.reported.tick") == 2366
    assert page.errors == []


def test_the_address_of_a_show_that_plays_on_and_the_click_that_gives_the_keys(start_page):
    """Paused, the address names the place; resumed, it drops the place and keeps the page's own
    parameters, so a reload starts the show afresh and playing, while Copy link still names the
    moment. Robot 3 chosen in the list stays selected through the click that gives the canvas the
    keys; the next click, on the field, selects none."""
    page = start_page(PAGE_DIR, "?hold=-1")
    page.type_keys(" ")
    search = lambda: page.evaluate("location.search")  # noqa: E731
    harness.wait_until(search, lambda query: query.startswith("?hold=-1&t=") and "&paused&cam=" in
                       query, 10, "the address does not name the paused place")
    page.type_keys(" ")
    harness.wait_until(search, lambda query: query == "?hold=-1", 10,
                       "the address keeps the paused place after the show plays on")
    assert page.evaluate("Module.ccall('webPlaceLink', 'string', ['string'], [''])"
                         ).startswith("?t=")
    page.call("Page.reload")
    page.wait_started()
    page.next_frames()
    assert page.evaluate("Module.reported.paused") is False, "the reload opened paused"

    page.evaluate("(r => { r.focus(); r.value = '3'; r.dispatchEvent(new Event('change')); })"
                  "(document.getElementById('robot'))")
    field = page.canvas_point(240, 390)
    for expected in (3, 0):
        for kind in ("mousePressed", "mouseReleased"):
            page.call("Input.dispatchMouseEvent", type=kind, x=field[0], y=field[1],
                      button="left", clickCount=1)
        page.next_frames()
        assert page.evaluate("Module.reported.selectedRobot") == expected
        assert page.evaluate("document.getElementById('inspect-state').hidden") == (expected == 0)
    assert page.evaluate("document.activeElement.id") == "canvas"
    assert page.errors == []


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


def test_the_pose_panel_poses_the_selected_robot_and_gives_way_to_the_show(start_page):
    """At tick 1000, paused, robot 2 selected: a drag of its left upper arm's slider moves the
    arm in the inspector and the picture, and one Undo takes the whole drag back to the very
    picture; Redo and Ctrl+Z; a typed value off the grid is refused; Mirror swaps left and right;
    Copy pose gives the pose line of the inspector's angles; playing hides the panel, and a step
    from a hand pose shows what the show has at the next tick."""
    page = start_page(PAGE_DIR, "?t=1000&paused")
    assert page.evaluate("document.getElementById('pose').hidden"), "a panel with no robot"
    choose_robot(page, 2)
    assert not page.evaluate("document.getElementById('pose').hidden"), "no pose panel"
    plain, script = page.picture(), inspector_angles(page)
    arm = "left upper arm pitch"

    drag_slider(page, 3, [10] * 6)
    dragged = inspector_angles(page)
    assert dragged[arm] not in (script[arm], "0"), f"the drag left the arm at {dragged[arm]}"
    assert {k: v for k, v in dragged.items() if k != arm} == \
        {k: v for k, v in script.items() if k != arm}, "the drag moved another joint"
    assert page.evaluate("document.getElementById('pose-joint-3').value") == dragged[arm]
    posed = page.picture()
    assert harness.differing_share(posed, plain, LEVELS) > 0.001, "the picture did not follow"
    assert page.evaluate("Module.reported.canUndoPose") is True

    page.click("#pose-undo")
    page.next_frames()
    assert inspector_angles(page) == script, "one Undo did not take the whole drag back"
    assert numpy.array_equal(page.picture(), plain), "the picture did not come back"
    page.click("#pose-redo")
    page.next_frames()
    assert inspector_angles(page)[arm] == dragged[arm], "Redo did not give the drag back"
    press(page, "z", "KeyZ", modifiers=2)
    page.next_frames()
    assert inspector_angles(page) == script, "Ctrl+Z in the panel did not undo"
    press(page, "Z", "KeyZ", modifiers=10)
    page.next_frames()
    assert inspector_angles(page)[arm] == dragged[arm], "Ctrl+Shift+Z did not redo"

    field = "#pose-joints input[aria-label='head pitch, degrees']"
    for typed, shown in [("10.25", script["head pitch"]), ("400", script["head pitch"]),
                         ("-35.5", "-35.5")]:
        page.evaluate(f"(f => {{ f.focus(); f.value = '{typed}'; f.dispatchEvent("
                      f"new Event('change')); f.blur(); }})(document.querySelector(\"{field}\"))")
        page.next_frames()
        assert page.evaluate(f"document.querySelector(\"{field}\").value") == shown, typed
        assert inspector_angles(page)["head pitch"] == shown, typed

    before = inspector_angles(page)
    page.click("#pose-mirror")
    page.next_frames()
    assert inspector_angles(page) == mirror_of(before), "Mirror is not left for right"

    page.evaluate("navigator.clipboard.writeText = text => { window.copied = text;"
                  " return Promise.resolve(); }")
    page.click("#pose-copy")
    line = "pose " + " ".join(f"{name.replace(' ', '_')}={angle}"
                              for name, angle in inspector_angles(page).items())
    harness.wait_until(lambda: page.evaluate("window.copied"), lambda copied: copied == line, 10,
                       "Copy pose did not copy the pose line")
    page.evaluate("navigator.clipboard.writeText = () => Promise.reject()")
    page.click("#pose-copy")
    harness.wait_until(lambda: page.evaluate("(t => !t.hidden && t.value)"
                                             "(document.getElementById('pose-text'))"),
                       lambda text: text == line, 10, "no pose line to copy by hand")

    # A special key that moves nothing leaves the hand pose as it was.
    kept = inspector_angles(page)
    page.evaluate("document.getElementById('canvas').focus()")
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="ArrowDown", code="ArrowDown",
              windowsVirtualKeyCode=40)
    page.next_frames()
    assert inspector_angles(page) == kept and page.evaluate("Module.reported.canUndoPose"), \
        "a key that moved nothing took the hand pose away"
    # A step from the hand pose lands where the show has it at tick 1001.
    page.click("#step-forward")
    page.next_frames()
    assert page.evaluate("Module.reported.canUndoPose") is False, "the history outlived the step"
    stepped = start_page(PAGE_DIR, "?t=1001&paused")
    choose_robot(stepped, 2)
    assert numpy.array_equal(page.picture(), stepped.picture()), "the hand pose stayed"
    assert inspector_angles(page) == inspector_angles(stepped)

    drag_slider(page, 0, [10] * 3)
    page.click("#pause")
    harness.wait_until(lambda: page.evaluate("document.getElementById('pose').hidden"),
                       lambda hidden: hidden, 10, "the panel stayed while the show played")
    assert page.errors == stepped.errors == []


# Every worker the page makes, by its script, and the exporter's script where the test puts it.
WORKERS = """window.workersMade = []; window.exporterAt = "cheerleaders_export.js";
const PageWorker = window.Worker;
window.Worker = class extends PageWorker {
    constructor(url, ...options) {
        workersMade.push(String(url));
        super(url === "cheerleaders_export.js" ? exporterAt : url, ...options);
    }
};"""
DOWNLOAD_STATE = ("(b => [b.getAttribute('aria-busy'), b.textContent, document.getElementById("
                  "'status').textContent])(document.getElementById('download-gltf'))")
# A show's text given to the exporter's module in a worker of the test's: the file's bytes as a
# data address, or what was refused.
EXPORT_IN_WORKER = """text => new Promise(done => {
    const worker = new Worker("cheerleaders_export.js");
    worker.onmessage = ({data}) => {
        worker.terminate();
        if (!data.bytes) return done({refusal: data.refusal});
        const reader = new FileReader();
        reader.onload = () => done({bytes: reader.result});
        reader.readAsDataURL(new Blob([data.bytes]));
    };
    worker.postMessage(text);
})"""


def desktop(*arguments):
    """The desktop program's run, without a display, and its standard output."""
    return subprocess.run([os.environ["CHEERLEADERS"], *arguments], check=True, timeout=60,
                          capture_output=True, env={k: v for k, v in os.environ.items()
                                                    if k != "DISPLAY"}).stdout


def test_download_gltf_saves_the_desktops_file_from_a_module_of_its_own(start_page, tmp_path):
    """The page fetches no exporter until Download glTF is clicked, and the program carries none
    of it; the click saves the very file the desktop's --export-gltf writes, from one worker
    however often it is clicked while the button says it is busy."""
    page = start_page(PAGE_DIR, script=WORKERS)
    assert not [path for path in page.server.requests if "export" in path], page.server.requests
    # The glTF writer's keys are in the exporter's module and not in the program.
    for name, holds in [("cheerleaders_export.wasm", True), ("cheerleaders.wasm", False)]:
        with open(os.path.join(PAGE_DIR, name), "rb") as f:
            code = f.read()
        assert (b"bufferView" in code and b"componentType" in code) == holds, name

    page.allow_downloads(tmp_path)
    started = time.monotonic()
    page.click("#download-gltf")
    busy, label, said = page.evaluate(DOWNLOAD_STATE)
    assert busy == "true" and label != "Download glTF", (busy, label)
    page.click("#download-gltf")
    glb = page.saved_file(tmp_path / GLTF_FILE)
    seconds = time.monotonic() - started
    desktop("--export-gltf", str(tmp_path / "desktop.glb"))
    assert glb == (tmp_path / "desktop.glb").read_bytes(), "the page's file is not the desktop's"
    harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE), lambda state: state[0] == "false",
                       10, "the button stays busy")
    assert page.evaluate(DOWNLOAD_STATE) == ["false", "Download glTF", ""]
    assert page.evaluate("workersMade.filter(url => url.includes('export'))") == [
        "cheerleaders_export.js"], "a click while busy started another export"
    assert sorted(os.listdir(tmp_path)) == ["cheerleaders-show.glb", "desktop.glb"]
    sizes = {name: os.path.getsize(os.path.join(PAGE_DIR, name)) for name in
             ("cheerleaders_export.js", "cheerleaders_export.wasm")}
    print(f"Download glTF: {len(glb)} bytes saved {seconds:.2f} s after the click; exporter's "
          f"module {sizes}")
    assert page.errors == [] and page.server.failed == []


def test_download_gltf_says_what_went_wrong_and_exports_the_show_it_is_given(start_page,
                                                                              tmp_path):
    """A text that is no show and an exporter that cannot be loaded each leave a line on the
    status line and the button ready again, and the next download clears it; the exporter reads
    the show it is handed: a spelled show's text gives the desktop's file of that show."""
    page = start_page(PAGE_DIR, script=WORKERS)
    page.evaluate("""window.programCall = Module.ccall; Module.ccall = (name, ...rest) =>
        name === "webShowText" ? "cheerleaders show 1\\nrobot 9\\n"
                                     : programCall(name, ...rest)""")
    page.click("#download-gltf")
    state = harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE),
                               lambda state: state[0] == "false", 60, "the button stays busy")
    assert state[2].startswith("Download glTF failed: played show:2:"), state
    page.evaluate("Module.ccall = programCall; exporterAt = 'cheerleaders_missing.js'")
    page.click("#download-gltf")
    state = harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE),
                               lambda state: state[0] == "false", 60, "the button stays busy")
    assert state[2].startswith("Download glTF failed: "), state
    page.evaluate("exporterAt = 'cheerleaders_export.js'")
    page.download_gltf(tmp_path)
    assert page.evaluate(DOWNLOAD_STATE) == ["false", "Download glTF", ""]

    text = desktop("--spell", "GO", "--print-show").decode()
    made = page.evaluate(f"({EXPORT_IN_WORKER})({json.dumps(text)})")
    desktop("--spell", "GO", "--export-gltf", str(tmp_path / "go.glb"))
    assert "bytes" in made, made
    glb = base64.b64decode(made["bytes"].split(",", 1)[1])
    assert glb == (tmp_path / "go.glb").read_bytes(), "the spelled show's file is not the desktop's"
    assert glb != (tmp_path / GLTF_FILE).read_bytes(), "the spelled show was not read"
    assert page.evaluate(f"({EXPORT_IN_WORKER})('cheerleaders show 2\\n')")["refusal"].startswith(
        "played show:1:"), "a text that is no show gave a file"
