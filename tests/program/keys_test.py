"""Keys typed through the real X server (XTest) reach the keyboard handler from the main window
and the scene view, and not from the help panel; the space key pauses and resumes the robots. A
drag and the wheel are the key presses they stand for, a sideways scroll nothing, and r replays
the show. A moment opened with --at and --paused is the moment played to; steps go there and
back; the place line opens the same picture again; the speed keys bring the show in fewer
frames, and the fastest ends it at its last line; the options take `=VALUE` and refuse what they
do not know."""

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


def walked_angles(ticks, swing, z, target_z):
    """The thirteen angles of a robot that has walked this many ticks from its start, by the
    gait's own rules: arms and legs swing half a degree a tick and turn past 225 and 134.5, one
    step at each turn; the bending knee follows, the other straightens down to 0."""
    a = [0.0] * 13
    a[3] = a[5] = a[7] = a[9] = 180.0
    for _ in range(ticks):
        if z == target_z:
            break
        d = 0.5 if swing else -0.5
        a[3], a[5], a[7], a[9] = a[3] - d, a[5] + d, a[7] + d, a[9] - d
        if a[7] > 225 or a[7] < 135:
            swing, z = a[7] < 135, z + 1
        bend, straighten = (8, 10) if swing else (10, 8)
        a[straighten] -= 0.5 if a[straighten] > 0 else 0
        a[bend] += 0.5
    return a


def test_frames_come_and_go_and_i_prints_the_selected_robots_joints(xvfb, start_program,
                                                                    tmp_path):
    program = start_program(command=[executable(), "--at", "1000", "--paused"])
    scene, plain = still_scene(xvfb, program)
    xvfb.type_keys(scene, "x")
    framed = wait_until(lambda: xvfb.picture(scene), lambda s: not numpy.array_equal(s, plain),
                        30, "x drew nothing")
    changed = (framed != plain).any(axis=2)
    for colour in [(255, 0, 0), (0, 255, 0), (0, 0, 255)]:
        assert (changed & (framed == colour).all(axis=2)).sum() > 20, f"no axis of {colour}"
    xvfb.type_keys(scene, "2")
    one = wait_until(lambda: xvfb.picture(scene), lambda s: not numpy.array_equal(s, framed),
                     30, "selecting a robot kept every robot's frames")
    assert 0 < (one != plain).any(axis=2).sum() < changed.sum()
    xvfb.type_keys(scene, "x")
    wait_until(lambda: xvfb.picture(scene), lambda s: numpy.array_equal(s, plain), 30,
               "x again did not give back the picture")

    xvfb.type_keys(scene, "i")
    lines = program.wait_for_lines(2 + 5, 30)[2:]
    assert lines[0] == "robot 2 command: walking to x -1, z 0" and len(lines) == 5, lines
    joints = dict(pair.split("=") for pair in lines[4].split("joints: ")[1].split(", "))
    assert [float(v) for v in joints.values()] == walked_angles(1000, False, -6, 0), lines[4]


def test_options_take_their_value_after_an_equals_sign_and_unknown_ones_are_refused(
        xvfb, start_program):
    import subprocess
    for arguments, named in [(["--at=12x"], "--at '12x'"), (["--bogus"], "--bogus"),
                             (["-display", xvfb.display, "--at=740", "--fullscreen=1"],
                              "--fullscreen"), (["--paused=yes"], "--paused 'yes'")]:
        refused = subprocess.run([executable(), *arguments], capture_output=True, text=True,
                                 timeout=30)
        assert refused.returncode == 2 and not refused.stdout, refused
        assert refused.stderr.count("\n") == 1 and named in refused.stderr, refused.stderr
    program = start_program(command=[executable(), "--at=1000", "--paused=1", "--speed=1/2"])
    wait_until(program.title, lambda title: title.endswith(" tick 1000 of 2366, paused"), 30,
               "--at=1000 --paused=1 did not open at tick 1000, paused")
    assert program.wait_for_lines(2, 30) == SHOW_LINES[:2]


# At 8 ticks a frame the last idle call's batch would run past the end; the show stops at 2366.
def test_the_fastest_speed_ends_the_show_at_its_last_line(xvfb, start_program):
    program = start_program(command=[executable(), "--speed", "8"])
    wait_until(program.title, lambda title: title.endswith("8\u00d7 speed"), 30, "no speed title")
    assert program.wait_for_lines(8, 300) == SHOW_LINES
    xvfb.type_keys(program.subwindow(SCENE_GEOMETRY), "c")
    lines = wait_until(lambda: program.drain(0.2), lambda seen: seen and
                       seen[-1].startswith("place:"), 30, "no place line")
    assert lines[-1].startswith("place: --at 2366 --speed 8 --camera "), lines[-1]
