"""The web page's input in headless Chromium, either way it runs the program: the mouse, touch
(on a phone's screen too) and the page's buttons, the wheel; the program's reports, which the
page follows without asking, its title, AltGr's keys, the timeline's keys, the click that gives
the canvas the keys, and the address of a show that plays on."""

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
    page.evaluate("program.call('webHoldAfterIdleCalls', [-1])")
    page.touch([(200, 200)])
    page.next_frames()
    paused = look()
    page.next_frames(20)
    assert numpy.array_equal(look(), paused), "the robots moved after a tap"
    assert page.evaluate("document.getElementById('pause').textContent") == "Resume"
    # A press is a tap by the fingers' own times, not by when the page got to them: held 0.29 s
    # it is one, held 0.31 s it is none.
    page.touch([(200, 200)], apart=0.31)
    page.next_frames(20)
    assert numpy.array_equal(look(), paused), "a press held past a tap's time resumed the robots"
    page.touch([(200, 200)], apart=0.29)
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
    assert page.evaluate("program.reported.paused") is False, "a cancelled touch paused the robots"
    assert page.errors == []


# Counts each call of the program's exports the page makes: every one goes through program.call.
COUNT_EXPORTS = """window.exportCalls = {};
const programCallOf = program.call;
program.call = (name, ...args) => {
    exportCalls[name] = (exportCalls[name] || 0) + 1;
    return programCallOf(name, ...args);
};"""
TITLE = "document.title"


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
    # The harness's own call, which waits for the program to have taken the page's input, aside.
    assert page.evaluate("(({webIdleCalls, ...asked}) => asked)(exportCalls)") == {}, \
        "the page asked the program each frame"
    # All read in one look: the show plays on between two.
    tick, reported, spoken = page.evaluate(
        "(t => [Number(t.value), program.reported.tick, t.getAttribute('aria-valuetext')])"
        "(document.getElementById('timeline'))")
    assert tick >= 274 and tick == reported
    assert spoken.startswith(f"tick {tick} of 2366"), spoken
    assert [line for line, _ in page.console_lines()] == SHOW_LINES[:1]
    program_title = page.evaluate(TITLE)
    assert "Robot Cheerleaders" in program_title and "tick" not in program_title

    page.type_keys(" ")
    harness.wait_until(lambda: page.evaluate(TITLE), lambda title: title.endswith(", paused"), 10,
                       "the title does not say the pause")
    tick = page.evaluate("program.reported.tick")
    assert page.evaluate(TITLE) == f"{program_title} \u2014 tick {tick} of 2366, paused"
    assert page.evaluate("document.getElementById('pause').textContent") == "Resume"

    press(page, "]", "BracketRight", modifiers=2)
    page.next_frames()
    assert page.evaluate("program.reported.speed") == 3, "Ctrl+] went to the program"
    press(page, "]", "BracketRight", modifiers=3)
    page.next_frames()
    assert page.evaluate("program.reported.speed") == 4, "AltGr+] did not reach the program"
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
    stepped = page.evaluate("program.reported")
    assert stepped["paused"] is True
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="ArrowUp", code="ArrowUp",
              windowsVirtualKeyCode=38, modifiers=8)
    page.next_frames()
    assert page.evaluate("program.reported.tick") == stepped["tick"] + 60
    assert page.evaluate("Number(document.getElementById('timeline').value)") == stepped["tick"] + 60
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="End", code="End",
              windowsVirtualKeyCode=35)
    page.next_frames()
    assert page.evaluate("program.reported.tick") == 2366
    assert page.errors == []


def test_the_address_of_a_show_that_plays_on_and_the_click_that_gives_the_keys(start_page):
    """Paused, the address names the place; resumed, it drops the place and keeps the page's own
    parameters, so a reload starts the show afresh and playing, while Copy link still names the
    moment. Robot 3 chosen in the list stays selected through the click that gives the canvas the
    keys; the next click, on the field, selects none."""
    page = start_page(PAGE_DIR, "?hold=-1")
    page.type_keys(" ")
    search = lambda: page.evaluate("location.search")  # noqa: E731
    # The page's own parameters: ours, and the one that asks for the way it runs the program.
    own = with_way("?hold=-1", page.way)
    harness.wait_until(search, lambda query: query.startswith(own + "&t=") and "&paused&cam=" in
                       query, 10, "the address does not name the paused place")
    page.type_keys(" ")
    harness.wait_until(search, lambda query: query == own, 10,
                       "the address keeps the paused place after the show plays on")
    assert page.evaluate("program.call('webPlaceLink', [''])"
                         ).startswith("?t=")
    page.call("Page.reload")
    page.wait_started()
    page.next_frames()
    assert page.evaluate("program.reported.paused") is False, "the reload opened paused"

    page.evaluate("(r => { r.focus(); r.value = '3'; r.dispatchEvent(new Event('change')); })"
                  "(document.getElementById('robot'))")
    field = page.canvas_point(240, 390)
    for expected in (3, 0):
        for kind in ("mousePressed", "mouseReleased"):
            page.call("Input.dispatchMouseEvent", type=kind, x=field[0], y=field[1],
                      button="left", clickCount=1)
        page.next_frames()
        assert page.evaluate("program.reported.selectedRobot") == expected
        assert page.evaluate("document.getElementById('inspect-state').hidden") == (expected == 0)
    assert page.evaluate("document.activeElement.id") == "canvas"
    assert page.errors == []
