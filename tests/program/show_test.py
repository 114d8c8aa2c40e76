"""The whole show in the real program: with its textures present it prints exactly the eight
lines, alternating, and nothing on standard error; it then goes on running until ended."""

from harness import SHOW_LINES


def test_full_show_prints_its_eight_lines(program):
    assert program.wait_for_lines(len(SHOW_LINES), 900) == SHOW_LINES
    assert program.drain(2) == SHOW_LINES, "lines after the show"
    assert program.alive(), "program ended after the show"
    assert program.stop() == -15, "program did not end by SIGTERM"
    assert program.stderr == b""
