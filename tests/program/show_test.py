"""The whole show in the real program: with its textures present it prints exactly the eight
lines, alternating, and nothing on standard error; it then goes on running until ended. Paused,
and after the show, it waits for events at next to no cost, and still answers them."""

import numpy

from harness import SCENE_GEOMETRY, SHOW_LINES, cpu_seconds, held_still, wait_until


def test_full_show_prints_its_eight_lines(program):
    assert program.wait_for_lines(len(SHOW_LINES), 900) == SHOW_LINES
    assert program.drain(2) == SHOW_LINES, "lines after the show"
    assert program.alive(), "program ended after the show"
    assert program.stop() == -15, "program did not end by SIGTERM"
    assert program.stderr == b""


def test_at_rest_it_costs_nothing_and_still_answers_keys(xvfb, program):
    scene = program.subwindow(SCENE_GEOMETRY)

    def resting(moment):
        """The picture, once it holds still; the lines and the CPU time of 2 s then."""
        still = wait_until(lambda: held_still(xvfb, scene, 0.5), lambda shot: shot is not None,
                           60, f"the scene did not hold still {moment}")
        printed = len(program.drain(0.2))
        before = cpu_seconds(program.process.pid)
        assert len(program.drain(2)) == printed, f"lines came {moment}"
        used = cpu_seconds(program.process.pid) - before
        assert used < 0.1, f"{used:.2f} s of CPU in 2 s {moment}"
        return still, printed

    xvfb.type_keys(scene, "space")
    assert resting("paused")[1] < len(SHOW_LINES), "the show ended before the pause"
    xvfb.type_keys(scene, "space")
    assert program.wait_for_lines(len(SHOW_LINES), 600) == SHOW_LINES
    ended, _ = resting("after the show")
    xvfb.type_keys(scene, "a")
    wait_until(lambda: xvfb.picture(scene), lambda shot: not numpy.array_equal(shot, ended), 30,
               "a key after the show drew nothing")
