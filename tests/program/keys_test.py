"""Keys typed through the real X server (XTest) reach the keyboard handler from the main window
and the scene view, and not from the help panel; the space key pauses and resumes the robots. A
drag and the wheel are the key presses they stand for, a sideways scroll nothing, and r replays
the show."""

import numpy

from harness import HELP_GEOMETRY, SCENE_GEOMETRY, SHOW_LINES, held_still, wait_until


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


def test_drag_and_wheel_are_their_keys_and_r_replays(xvfb, program):
    scene = program.subwindow(SCENE_GEOMETRY)
    settled = lambda: held_still(xvfb, scene, 0.5)  # noqa: E731
    assert program.wait_for_lines(2, 120)[:2] == SHOW_LINES[:2]
    xvfb.type_keys(scene, "space")
    still = wait_until(settled, lambda shot: shot is not None, 60, "no pause")
    printed = len(program.drain(0.2))

    def returns_with(keys):
        moved = wait_until(settled, lambda shot: shot is not None, 30, "no settled picture")
        xvfb.type_keys(scene, *keys)
        wait_until(settled, lambda shot: shot is not None and numpy.array_equal(shot, still), 30,
                   f"{len(keys)} presses of {keys[0]} did not undo it")
        return not numpy.array_equal(moved, still)

    # 20 steps of 6 pixels and a rest of 5, to the right and down: 20 turns left, 3 tilts up.
    xvfb.drag(scene, (100, 100), [(7, 1)] * 17 + [(6, 1)])
    assert returns_with(["d"] * 20 + ["l"] * 3), "the drag did not turn the view"
    xvfb.wheel(scene, 1)
    assert returns_with(["s"] * 10), "a notch did not walk"
    # Scrolling sideways walks nowhere.
    xvfb.wheel(scene, 3, sideways=True)
    xvfb.wheel(scene, -2, sideways=True)
    wait_until(settled, lambda shot: shot is not None and numpy.array_equal(shot, still), 30,
               "a sideways scroll moved the view")

    # The replay starts the show over from the pause: the eight lines again, in order.
    xvfb.type_keys(scene, "r")
    assert program.wait_for_lines(printed + 8, 300) == SHOW_LINES[:printed] + SHOW_LINES
    assert printed >= 2
