"""Keys typed through the real X server (XTest) reach the keyboard handler from the main window
and the scene view, and not from the help panel; the space key pauses and resumes the robots. A
drag and the wheel are the key presses they stand for, a sideways scroll nothing, and r replays
the show. A moment opened with --at and --paused is the moment played to; steps go there and
back; the place line opens the same picture again; and the speed keys bring the show in fewer
frames."""

import os

import numpy
import pytest

from harness import (HELP_GEOMETRY, SCENE_GEOMETRY, SHOW_LINES, executable, held_still,
                     read_png, snapshot, wait_until)


def still_scene(xvfb, program):
    scene = program.subwindow(SCENE_GEOMETRY)
    return scene, wait_until(lambda: held_still(xvfb, scene, 0.5), lambda shot: shot is not None,
                             60, "the scene did not hold still")


def same_picture(seen, expected, tmp_path, name):
    if not numpy.array_equal(seen, expected):
        from PIL import Image
        Image.fromarray(seen).save(tmp_path / f"{name}.png")
        return False
    return True


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


def test_a_moment_opened_is_the_moment_played_to_and_steps_and_the_place_line_return(
        xvfb, start_program, tmp_path):
    played = read_png(snapshot(xvfb, tmp_path / "played", [1000])[1000])
    program = start_program(command=[executable(), "--at", "1000", "--paused"])
    scene, opened = still_scene(xvfb, program)
    assert same_picture(opened, played, tmp_path, "opened"), f"--at 1000 differs; see {tmp_path}"
    assert program.wait_for_lines(2, 30) == SHOW_LINES[:2]
    assert program.title().endswith(" tick 1000 of 2366, paused"), program.title()

    # Forward across robot 1's arrival at tick 1002 prints its line; back prints nothing.
    xvfb.type_keys(scene, *["Right"] * 10)
    wait_until(program.title, lambda title: title.endswith(" 1010 of 2366, paused"), 30, "steps")
    assert not numpy.array_equal(still_scene(xvfb, program)[1], opened), "the steps moved nothing"
    xvfb.type_keys(scene, *["Left"] * 10)
    wait_until(lambda: xvfb.picture(scene), lambda shot: numpy.array_equal(shot, opened), 30,
               "ten steps back did not come back to tick 1000")
    assert program.drain(0.5) == SHOW_LINES[:3]

    xvfb.type_keys(scene, *"aaawwl", "shift+Right", "c")
    lines = wait_until(lambda: program.drain(0.2), lambda seen: seen[-1].startswith("place:"),
                       30, "no place line")
    _, moved = still_scene(xvfb, program)
    program.stop()
    again = start_program(command=[executable(), *lines[-1].split("page:")[0].split()[1:]])
    assert same_picture(still_scene(xvfb, again)[1], moved, tmp_path, "again"), \
        f"{lines[-1]} opened another picture; see {tmp_path}"


# The show ends at tick 2366: at 4 ticks a frame that is frame 592, so 560 frames see seven lines
# and 660 all eight (at 1 tick a frame, 660 frames see two).
@pytest.mark.parametrize("frames, lines", [(560, 7), (660, 8)])
def test_speed_doubled_twice_brings_the_show_in_a_quarter_of_the_frames(xvfb, start_program,
                                                                       frames, lines):
    counter = os.environ.get("CHEER_FRAME_COUNTER") or pytest.skip("frames counted in the plain build")
    program = start_program(command=[executable(), "--paused"],
                            env={"LD_PRELOAD": counter, "CHEER_FRAME_EXIT_AT": str(frames)})
    xvfb.type_keys(program.subwindow(SCENE_GEOMETRY), "bracketright", "bracketright", "space")
    assert program.wait_for_lines(8, 300) == SHOW_LINES[:lines]
