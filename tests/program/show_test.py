"""The whole show in the real program: with its textures present it prints exactly the eight
lines, alternating, and nothing on standard error; it then goes on running until ended."""

import time

import harness
from harness import check


def test_full_show_prints_its_eight_lines():
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        start = time.time()
        lines = program.wait_for_lines(len(harness.SHOW_LINES), 900)
        seconds = time.time() - start
        check(lines == harness.SHOW_LINES, f"the show printed {lines}")
        program.drain(2)
        check(program.lines == harness.SHOW_LINES, f"extra lines: {program.lines[8:]}")
        check(program.alive(), "program ended after the show")
        status = program.stop()
        check(status == -15, f"program ended with status {status} instead of by SIGTERM")
        check(program.stderr == b"", f"standard error: {program.stderr[:500]!r}")
        print(f"    show took {seconds:.1f} s", flush=True)


if __name__ == "__main__":
    harness.run_tests([("full show prints its eight lines", test_full_show_prints_its_eight_lines)])
