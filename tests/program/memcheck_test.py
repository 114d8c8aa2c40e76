"""The program under Valgrind's memcheck from start-up with its textures until robot 0 has
walked to its place and spelled its letter (both kinds of command started and finished), with
keys typed on the way and frames drawn before and after: no invalid read or write, no use of
uninitialised memory, and no leak from the project's own code (the system libraries' lifetime
allocations are suppressed in valgrind.supp, each with its reason).

While the robots walk, a window of the test's own covers the program's, so that the scene view
is not redrawn for every tick: under memcheck a frame of the software rasterizer costs far more
than a tick, and the frames drawn before and after run the same drawing code."""

import os
import re

import numpy
from Xlib import X

from harness import SCENE_GEOMETRY, SHOW_LINES, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
SKY = (26, 128, 230)  # the scene view's clear colour, once a frame is drawn


def test_memcheck_through_both_kinds_of_command(xvfb, start_program, tmp_path):
    log = tmp_path / "memcheck.log"
    wrapper = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
               "--errors-for-leak-kinds=definite", "--track-origins=no", "--num-callers=30",
               f"--suppressions={os.path.join(HERE, 'valgrind.supp')}", f"--log-file={log}"]
    program = start_program(wrapper=wrapper, start_timeout=300)
    scene = program.subwindow(SCENE_GEOMETRY)
    first = wait_until(lambda: xvfb.picture(scene), lambda shot: tuple(shot[5, 5]) == SKY, 300,
                       "no first frame")
    cover = xvfb.root.create_window(0, 0, 1280, 1024, 0, X.CopyFromParent,
                                    override_redirect=True)
    cover.map()
    xvfb.type_keys(scene, *"wwssaaddppll", "space", "space")
    assert program.wait_for_lines(2, 1200)[:2] == SHOW_LINES[:2]
    cover.unmap()
    xvfb.x.sync()
    wait_until(lambda: xvfb.picture(scene), lambda shot: not numpy.array_equal(shot, first), 300,
               "no frame after the robot posed")
    program.stop(timeout=300)
    report = log.read_text()
    summary = re.search(r"ERROR SUMMARY: (\d+) errors", report)
    assert summary, "valgrind wrote no summary"
    definitely = re.search(r"definitely lost: ([\d,]+) bytes", report)
    suppressed = re.search(r"suppressed: ([\d,]+) bytes", report)
    print(f"memcheck: {summary.group(1)} errors, definitely lost "
          f"{definitely.group(1) if definitely else 0} bytes (unsuppressed), "
          f"{suppressed.group(1) if suppressed else 0} bytes suppressed as library-held")
    assert summary.group(1) == "0", "memcheck reported errors:\n" + report[-4000:]
