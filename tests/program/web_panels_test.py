"""The web page's timeline links and its inspector in headless Chromium, either way it runs the
program: links to a moment and the timeline's seek, picking a robot by a click, the body
frames' box, and the pose panel."""

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
from web_page import DRAW_COUNTER, GLTF_FILE, with_way
from web_support import (MAX_SHARES, PAGE_DIR, choose_robot, drag_slider, inspector_angles,
                         mirror_of, press, share_off)


def test_a_link_opens_the_moment_played_to_and_the_timeline_seeks(start_page):
    """A link with t, paused and cam shows what playing to that tick and turning there shows; the
    timeline put at tick 1500 leaves the four lines finished by then, and a click on the third
    goes to its tick, 1002."""
    played = start_page(PAGE_DIR, "?hold=0")
    played.hold_after(1000)
    played.type_keys("a" * 10 + "w" * 3)
    played.next_frames()
    query = played.evaluate("program.call('webPlaceLink', [''])")
    assert query.startswith("?t=1000&cam=15,"), query
    linked = start_page(PAGE_DIR, query.replace("&cam", "&paused&cam"))
    linked.next_frames()
    assert numpy.array_equal(linked.picture(), played.picture()), f"{query} opened another moment"
    assert [line for line, _ in linked.console_lines()] == SHOW_LINES[:2]
    linked.click("#step-forward")
    harness.wait_until(lambda: linked.evaluate("location.search"),
                       lambda search: search.startswith(with_way("?t=1001&paused&cam=15,",
                                                                 linked.way)), 10,
                       "the address does not follow the paused show")

    played.evaluate("(s => { s.value = 1500; s.dispatchEvent(new Event('input')); })"
                    "(document.getElementById('timeline'))")
    played.next_frames()
    assert played.console_lines() == [[line, f"tick {tick}"] for line, tick in
                                      zip(SHOW_LINES, [274, 726, 1002, 1454])]
    played.click("#finished li:nth-child(3) button")
    played.next_frames()
    assert played.evaluate("program.reported.tick") == 1002
    assert len(played.console_lines()) == 3

    refused = start_page(PAGE_DIR, "?hold=0&t=12x")
    assert "t=12x" in refused.evaluate("document.getElementById('status').textContent")
    assert refused.evaluate("program.reported.tick") == 0
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
        assert page.evaluate("program.reported.selectedRobot") == selected, point
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
    assert page.evaluate("program.reported.canUndoPose") is True

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
    assert inspector_angles(page) == kept and page.evaluate("program.reported.canUndoPose"), \
        "a key that moved nothing took the hand pose away"
    # A step from the hand pose lands where the show has it at tick 1001.
    page.click("#step-forward")
    page.next_frames()
    assert page.evaluate("program.reported.canUndoPose") is False, "the history outlived the step"
    stepped = start_page(PAGE_DIR, "?t=1001&paused")
    choose_robot(stepped, 2)
    assert numpy.array_equal(page.picture(), stepped.picture()), "the hand pose stayed"
    assert inspector_angles(page) == inspector_angles(stepped)

    drag_slider(page, 0, [10] * 3)
    page.click("#pause")
    harness.wait_until(lambda: page.evaluate("document.getElementById('pose').hidden"),
                       lambda hidden: hidden, 10, "the panel stayed while the show played")
    assert page.errors == stepped.errors == []
