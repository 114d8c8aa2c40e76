"""Texture faults at start-up: with a texture missing, unreadable, truncated, a directory, a
FIFO, a link to a device or a dangling link, the program prints exactly that slot's line,
starts, and runs on; with four faults at once it still runs the whole show."""

import os
import shutil

import harness
from harness import check


def make_fault(directory, slot, kind):
    path = os.path.join(directory, harness.TEXTURE_FILES[slot])
    if os.path.lexists(path):
        os.unlink(path)
    if kind == "missing":
        return
    if kind == "unreadable":
        if os.geteuid() == 0:
            # Root reads any mode; reading a process's memory at offset 0 fails instead.
            os.symlink("/proc/self/mem", path)
        else:
            with open(path, "wb") as f:
                f.write(b"BM" + bytes(100))
            os.chmod(path, 0)
    elif kind == "truncated":
        source = os.path.join(os.environ["CHEER_TEXTURES"], harness.TEXTURE_FILES[slot])
        with open(source, "rb") as f:
            head = f.read(2000)
        with open(path, "wb") as f:
            f.write(head)
    elif kind == "directory":
        os.mkdir(path)
    elif kind == "fifo":
        os.mkfifo(path)
    elif kind == "device":
        os.symlink("/dev/zero", path)
    elif kind == "dangling":
        os.symlink(os.path.join(directory, "nothing-here"), path)
    else:
        raise ValueError(kind)


FAULTS = ["missing", "unreadable", "truncated", "directory", "fifo", "device", "dangling"]


def run_with_faults(faults, wait_for):
    directory = harness.make_texture_dir()
    try:
        for slot, kind in faults:
            make_fault(directory, slot, kind)
        with harness.Xvfb() as xvfb, harness.Program(xvfb, directory) as program:
            expected = [harness.FAILURE_LINES[slot] for slot, _ in sorted(faults)]
            lines = program.wait_for_lines(len(expected) + wait_for, 600)
            return expected, lines
    finally:
        shutil.rmtree(directory, ignore_errors=True)


def test_each_fault_prints_its_slots_line_and_the_program_runs_on():
    for number, kind in enumerate(FAULTS):
        slot = number % len(harness.TEXTURE_FILES)
        expected, lines = run_with_faults([(slot, kind)], wait_for=1)
        check(lines[:1] == expected, f"{kind} texture in slot {slot}: printed {lines}")
        check(lines[1:2] == ["finished walking"],
              f"{kind} texture in slot {slot}: the show did not go on ({lines})")


def test_four_faults_at_once_and_the_whole_show_still_runs():
    faults = [(0, "fifo"), (1, "device"), (2, "directory"), (3, "truncated")]
    expected, lines = run_with_faults(faults, wait_for=len(harness.SHOW_LINES))
    check(lines == expected + harness.SHOW_LINES, f"printed {lines}")


if __name__ == "__main__":
    harness.run_tests([
        ("each fault prints its slot's line and the program runs on",
         test_each_fault_prints_its_slots_line_and_the_program_runs_on),
        ("four faults at once, whole show", test_four_faults_at_once_and_the_whole_show_still_runs),
    ])
