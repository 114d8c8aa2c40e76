"""A show of one's own in the real program: a show file that cannot be played, a file that
cannot be read and a word that cannot be spelled are refused with one line and exit status 2
before any window opens; the show printed by --print-show and played again by --show gives the
same lines at the same ticks as the show it came from."""

import re
import subprocess

from harness import SHOW_LINES, TITLE, executable, wait_until

# Robots of 1, 2, 1 and 3 commands; robot 1 is done at tick 1, robot 3's pose finishes last.
OWN_SHOW = """cheerleaders show 1
robot 1
walk -3 0.4 -2
robot 2
walk -1 0.4 -5
pose letter=R
robot 3
pose head_yaw=30
robot 4
walk 3 0.4 -11
pose letter=U
walk 3 0.4 -12
"""


def refused(xvfb, *arguments):
    run = subprocess.run([executable(), "-display", xvfb.display, *arguments],
                         capture_output=True, text=True, timeout=30)
    assert run.returncode == 2 and not run.stdout, run
    assert run.stderr.count("\n") == 1, run.stderr
    assert not xvfb.windows_titled(TITLE), "a window opened before the refusal"
    return run.stderr


def test_shows_that_cannot_be_played_are_refused_before_any_window(xvfb, tmp_path):
    bad = tmp_path / "bad.show"
    bad.write_text("cheerleaders show 1\nrobot 1\nwalk -3 0.4 -2.5\n")
    assert refused(xvfb, "--show", str(bad)).startswith(f"{bad}:3:13: "), "no FILE:LINE:COLUMN"
    assert str(tmp_path / "none.show") in refused(xvfb, f"--show={tmp_path / 'none.show'}")
    assert "'CHEERS'" in refused(xvfb, "--spell", "CHEERS")
    assert "--spell" in refused(xvfb, "--show", str(bad), "--spell", "A")


def lines_and_title(start_program, arguments, tick):
    """The lines printed on opening the show paused at the tick, and the title's tick words."""
    program = start_program(command=[executable(), *arguments, "--at", str(tick), "--paused"])
    title = wait_until(program.title, lambda t: t.endswith(", paused"), 30, "not paused")
    lines = program.drain(1.0)
    program.stop()
    return lines, re.search(r"tick .*", title)[0]


def test_a_printed_show_played_again_gives_its_lines_at_the_same_ticks(xvfb, start_program,
                                                                      tmp_path):
    own = tmp_path / "own.show"
    own.write_text(OWN_SHOW)
    printed = subprocess.run([executable(), "--show", str(own), "--print-show"],
                             capture_output=True, text=True, timeout=30, check=True).stdout
    again = tmp_path / "again.show"
    again.write_text(printed)
    assert subprocess.run([executable(), "--show", str(again), "--print-show"],
                          capture_output=True, text=True, timeout=30).stdout == printed
    built_in = subprocess.run([executable(), "--print-show"], capture_output=True, text=True,
                              timeout=30, check=True).stdout
    assert built_in.startswith("cheerleaders show 1\n") and built_in != printed

    first, title = lines_and_title(start_program, ["--show", str(own)], 4000)
    # Robot 1 arrives at once, robot 3's head has turned by tick 61, then the walks come in.
    assert first[:2] == ["finished walking", "finished spelling letter"], first
    assert sorted(first) == ["finished spelling letter"] * 3 + ["finished walking"] * 4, first
    ended = re.fullmatch(r"tick 4000, after the end at (\d+), paused", title)
    assert ended, title
    end = int(ended[1])
    for tick in (end - 1, end):
        assert lines_and_title(start_program, ["--show", str(again)], tick) == \
            lines_and_title(start_program, ["--show", str(own)], tick), f"tick {tick}"
    assert len(lines_and_title(start_program, ["--show", str(again)], end - 1)[0]) == len(first) - 1
    assert lines_and_title(start_program, ["--show", str(again)], 0)[0] == []
    built_in_lines, built_in_title = lines_and_title(start_program, [], 2366)
    assert built_in_lines == SHOW_LINES and built_in_title == "tick 2366 of 2366, paused"
