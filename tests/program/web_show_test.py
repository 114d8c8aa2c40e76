"""The web page's Show panel and the links that carry a show, in headless Chromium: a show played
from the panel (the timeline, its marks and the console follow it), a show refused with its line
and column and the caret put there while the show before plays on, the selected robot's pose
added to its script and played to the end, Reset; Copy link with a show of one's own in the
address's fragment, opened in another page at the same moment, and links whose show cannot be
read, which open the built-in show and say what was wrong."""

import base64
import os
import subprocess
import zlib

import numpy
import pytest

import harness
from web_page import with_way
from web_support import PAGE, PAGE_DIR, choose_robot, inspector_angles

if not os.path.isfile(PAGE):
    pytest.skip(f"no web page at '{PAGE}'", allow_module_level=True)

# Four two-command scripts: the README's example, robot 4's pose the shorter, so the show is.
OWN_SHOW = """cheerleaders show 1
robot 1
walk -3 0.4 0
pose letter=R
robot 2
walk -1 0.4 0
pose left_upper_arm_pitch=0 right_upper_arm_pitch=0
robot 3
walk 0.5 0.4 -4
walk 0.5 0.4 0
robot 4
walk 3 0.4 0
pose head_yaw=10
"""
BUILT_IN_LENGTH = 2366
BUILT_IN_MARKS = [274, 726, 1002, 1454]
MAX_SHOW_BYTES = 64 * 1024
CLIPBOARD = "navigator.clipboard.writeText = t => { window.copied = t; return Promise.resolve(); }"


def built_in_text():
    return subprocess.run([harness.executable(), "--print-show"], capture_output=True, text=True,
                          check=True, timeout=30).stdout


def panel_text(page):
    return page.evaluate("document.getElementById('show-text').value")


def status(page):
    return page.evaluate("document.getElementById('show-status').textContent")


def set_text(page, text):
    page.evaluate(f"document.getElementById('show-text').value = {text!r}")


def timeline(page):
    """The timeline's end and its marks' ticks."""
    return page.evaluate("[Number(document.getElementById('timeline').max), Array.from("
                         "document.querySelectorAll('#marks option'), o => Number(o.value))]")


def seek(page, tick):
    page.evaluate(f"program.call('webSeek', [{tick}])")
    page.next_frames()


def test_the_panel_plays_refuses_adds_a_pose_and_resets(start_page):
    page = start_page(PAGE_DIR, "?hold=-1")
    built_in = built_in_text()
    assert panel_text(page) == built_in, "the panel does not hold the played show's text"
    seek(page, 1500)
    assert len(page.console_lines()) == 4

    set_text(page, OWN_SHOW)
    page.click("#show-play")
    page.next_frames()
    length, marks = timeline(page)
    assert page.evaluate("program.reported.length") == length != BUILT_IN_LENGTH
    assert len(marks) == 8 and max(marks) == length and marks[:4] != BUILT_IN_MARKS, marks
    assert page.evaluate("program.reported.tick") < 100, "the show did not start again"
    assert page.console_lines() == [], "the console kept the lines of the show before"
    seek(page, length)
    lines = page.console_lines()
    assert [tick for _, tick in lines] == [f"tick {tick}" for tick in sorted(marks)], lines
    assert {line for line, _ in lines} == {"finished walking", "finished spelling letter"}

    # The third line's walk is off robot 1's grid at its 13th character; typed, then Ctrl+Enter.
    bad = OWN_SHOW.replace("walk -3 0.4 0\n", "walk -3 0.4 -2.5\n")
    set_text(page, bad)
    page.evaluate("document.getElementById('show-text').focus()")
    page.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Enter", code="Enter",
              windowsVirtualKeyCode=13, modifiers=2)
    page.next_frames()
    assert "show:3:13: " in status(page), status(page)
    caret = len("cheerleaders show 1\nrobot 1\nwalk -3 0.4 ")
    assert page.evaluate("(a => [document.activeElement === a, a.selectionStart, a.selectionEnd])"
                         "(document.getElementById('show-text'))") == [True, caret, caret]
    assert timeline(page) == [length, marks], "the refused show replaced the one playing"
    assert page.evaluate("program.reported.tick") == length, "the show before did not play on"

    # Robot 2 posed by hand at tick 1000, its pose added to its script and played to the end.
    seek(page, 1000)
    page.click("#pause")
    choose_robot(page, 2)
    field = "#pose-joints input[aria-label='head pitch, degrees']"
    page.evaluate(f"(f => {{ f.value = '-35.5'; f.dispatchEvent(new Event('change')); }})"
                  f"(document.querySelector(\"{field}\"))")
    page.next_frames()
    posed = inspector_angles(page)
    assert posed["head pitch"] == "-35.5"
    line = page.evaluate("program.call('webPoseLine')")
    set_text(page, OWN_SHOW)
    page.click("#show-add-pose")
    assert panel_text(page) == OWN_SHOW.replace("robot 3\n", line + "\nrobot 3\n")
    page.click("#show-play")
    page.next_frames()
    length_posed, _ = timeline(page)
    seek(page, length_posed)
    choose_robot(page, 2)
    assert inspector_angles(page) == posed, "the added pose is not robot 2's at the end"

    page.click("#show-reset")
    page.next_frames()
    assert panel_text(page) == built_in
    length, marks = timeline(page)
    assert length == BUILT_IN_LENGTH and len(marks) == 8 and marks[:4] == BUILT_IN_MARKS, marks
    assert page.evaluate("location.hash") == ""

    # On a phone the panel fits: nothing scrolls sideways.
    page.call("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=3,
              mobile=True)
    assert page.evaluate("document.documentElement.scrollWidth") <= 390
    assert page.errors == []


def copied_link(page):
    page.evaluate("window.copied = null")
    page.click("#copy-link")
    return harness.wait_until(lambda: page.evaluate("window.copied"), lambda link: link, 10,
                              "Copy link copied nothing")


def test_a_link_carries_a_show_of_ones_own_to_its_moment(start_page):
    page = start_page(PAGE_DIR, "?hold=-1")
    page.evaluate(CLIPBOARD)
    assert "#" not in copied_link(page), "the built-in show's link carries a show"

    set_text(page, OWN_SHOW)
    page.click("#show-play")
    page.click("#pause")
    seek(page, 600)
    page.evaluate("document.getElementById('canvas').focus()")
    page.type_keys("a" * 5)
    page.next_frames()
    link = copied_link(page)
    assert len(link) < 600, f"{len(link)} characters: {link}"
    query, fragment = link[link.index("?"):].split("#")
    assert query.startswith("?t=600&paused&cam=7.5,"), link
    # The address names the show too, and keeps it as the paused place moves.
    assert page.evaluate("location.hash") == "#" + fragment
    page.click("#step-forward")
    harness.wait_until(lambda: page.evaluate("location.search + location.hash"),
                       lambda address: address.startswith(
                           with_way("?hold=-1&t=601&paused", page.way)) and address.endswith("#" + fragment), 10, "the address lost the show")
    page.click("#step-back")
    page.next_frames()

    opened = start_page(PAGE_DIR, f"{query}#{fragment}")
    opened.next_frames()
    # The panel shows the canonical text of the show the link carries.
    canonical = "program.call('webShowText')"
    assert panel_text(opened) == page.evaluate(canonical) != built_in_text()
    assert timeline(opened) == timeline(page), "the link's show is not the one played"
    assert opened.evaluate("[program.reported.tick, program.reported.paused]") == [600, True]
    assert numpy.array_equal(opened.picture(), page.picture()), "another moment or view"
    assert status(opened) == ""
    assert page.errors == opened.errors == []


def deflated(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return base64.urlsafe_b64encode(packer.compress(data) + packer.flush()).decode().rstrip("=")


def padded_show(size):
    """OWN_SHOW with comment lines to make it exactly `size` bytes."""
    filler = size - len(OWN_SHOW)
    lines = ["#" * 99 + "\n"] * (filler // 100)
    return (OWN_SHOW + "".join(lines) + "#" * (filler % 100)).encode()


def test_links_whose_show_cannot_be_read_open_the_built_in_show(start_page):
    built_in = built_in_text()
    cases = [("@@", "its show is not base64url"), ("QUJD", "its show does not decompress"),
             (deflated(b"cheerleaders show 1\nrobot 9\n"), "link:2:7: unknown robot '9'"),
             (deflated(b"\xff\xfe"), "not UTF-8"),
             (deflated(padded_show(MAX_SHOW_BYTES + 1)), f"over {MAX_SHOW_BYTES} bytes")]
    for fragment, wrong in cases:
        page = start_page(PAGE_DIR, f"?t=300&paused#show={fragment}")
        page.next_frames()
        assert wrong in status(page) and "built-in show plays" in status(page), status(page)
        assert panel_text(page) == built_in, wrong
        assert page.evaluate("[program.reported.length, program.reported.tick]") == \
            [BUILT_IN_LENGTH, 300], wrong
        assert page.errors == [], wrong
        page.close()
    # The longest show there may be is read.
    page = start_page(PAGE_DIR, f"?t=300&paused#show={deflated(padded_show(MAX_SHOW_BYTES))}")
    assert status(page) == "" and panel_text(page) == page.evaluate(
        "program.call('webShowText')") != built_in, status(page)
    assert timeline(page)[0] != BUILT_IN_LENGTH
