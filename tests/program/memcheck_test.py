"""The program under Valgrind's memcheck from start-up with its textures until robot 0 has
walked to its place and spelled its letter (both kinds of command started and finished), with
keys typed on the way: no invalid read or write, no use of uninitialised memory, and no leak
from the project's own code (the system libraries' lifetime allocations are suppressed in
valgrind.supp, each with its reason)."""

import os
import re

from harness import SCENE_GEOMETRY, SHOW_LINES

HERE = os.path.dirname(os.path.abspath(__file__))


def test_memcheck_through_both_kinds_of_command(xvfb, start_program, tmp_path):
    log = tmp_path / "memcheck.log"
    wrapper = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
               "--errors-for-leak-kinds=definite", "--track-origins=no", "--num-callers=30",
               f"--suppressions={os.path.join(HERE, 'valgrind.supp')}", f"--log-file={log}"]
    program = start_program(wrapper=wrapper, start_timeout=300)
    xvfb.type_keys(program.subwindow(SCENE_GEOMETRY), *"wwssaaddppll", "space", "space")
    assert program.wait_for_lines(2, 1200)[:2] == SHOW_LINES[:2]
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
