"""Keys typed through the real X server (XTest) reach the keyboard handler from the main window
and the scene view, and not from the help panel; the space key pauses and resumes the robots."""

import time

import numpy

from harness import HELP_GEOMETRY, SCENE_GEOMETRY, SHOW_LINES, wait_until


def held_still(xvfb, window, seconds=1.0):
    """The window's picture if it stays the same for this long, else None."""
    first = xvfb.picture(window)
    time.sleep(seconds)
    second = xvfb.picture(window)
    return second if numpy.array_equal(first, second) else None


def test_keys_reach_the_scene_from_main_window_and_scene_view_only(xvfb, program):
    scene = program.subwindow(SCENE_GEOMETRY)
    help_panel = program.subwindow(HELP_GEOMETRY)
    look = lambda: xvfb.picture(scene)  # noqa: E731

    xvfb.type_keys(scene, "space")
    paused = wait_until(lambda: held_still(xvfb, scene), lambda shot: shot is not None, 60,
                        "the robots did not stop after a space")
    lines_when_paused = len(program.drain(0.2))
    assert lines_when_paused < len(SHOW_LINES), "the show ended before the pause"

    xvfb.type_keys(help_panel, *["a"] * 10)
    xvfb.type_keys(program.window, *["a"] * 10)
    wait_until(look, lambda shot: not numpy.array_equal(shot, paused), 30,
               "keys typed into the main window did not move the view")
    # Ten turns back, upper case, into the scene view: the paused picture comes back only if
    # the keys typed into the help panel went nowhere and the robots stood still all along.
    xvfb.type_keys(scene, *["D"] * 10)
    wait_until(look, lambda shot: numpy.array_equal(shot, paused), 30,
               "the view did not come back to the paused one")
    assert len(program.drain(0.5)) == lines_when_paused, "lines came while paused"

    xvfb.type_keys(program.window, "space")
    wait_until(look, lambda shot: not numpy.array_equal(shot, paused), 30,
               "the robots did not resume")
    assert program.wait_for_lines(len(SHOW_LINES), 600) == SHOW_LINES
