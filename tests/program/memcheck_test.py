"""The program under Valgrind's memcheck through the whole show: no invalid read or write, no
use of uninitialised memory, and no leak from the project's own code (the system libraries'
lifetime allocations are suppressed in valgrind.supp, each with its reason)."""

import os
import re
import tempfile

import harness
from harness import check

HERE = os.path.dirname(os.path.abspath(__file__))


def test_memcheck_through_the_show():
    log = tempfile.mktemp(prefix="cheer-memcheck-", suffix=".log")
    wrapper = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
               "--errors-for-leak-kinds=definite", "--track-origins=no", "--num-callers=30",
               f"--suppressions={os.path.join(HERE, 'valgrind.supp')}", f"--log-file={log}"]
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir(),
                                                 wrapper=wrapper) as program:
        lines = program.wait_for_lines(len(harness.SHOW_LINES), 1500)
        check(lines == harness.SHOW_LINES, f"the show printed {lines}")
        program.stop(timeout=300)
    with open(log) as f:
        report = f.read()
    summary = re.search(r"ERROR SUMMARY: (\d+) errors", report)
    check(summary is not None, "valgrind wrote no summary")
    definitely = re.search(r"definitely lost: ([\d,]+) bytes", report)
    lost = definitely.group(1) if definitely else "0"
    suppressed = re.search(r"suppressed: ([\d,]+) bytes", report)
    print(f"    memcheck: {summary.group(1)} errors, definitely lost {lost} bytes (unsuppressed), "
          f"{suppressed.group(1) if suppressed else 0} bytes suppressed as library-held",
          flush=True)
    check(summary.group(1) == "0", "memcheck reported errors:\n" + report[-4000:])
    os.unlink(log)


if __name__ == "__main__":
    harness.run_tests([("memcheck through the show", test_memcheck_through_the_show)])
