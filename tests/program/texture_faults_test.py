"""Texture faults at start-up: with a texture missing, unreadable, truncated, a directory, a
FIFO, a link to a device, a dangling link or a 1 KB run-length file that claims 16384 x 16384
pixels, the program prints exactly that slot's line, starts, and runs on; with four faults at
once it still runs the whole show."""

import os
import struct

import pytest

from harness import FAILURE_LINES, SHOW_LINES, TEXTURE_FILES


def make_fault(directory, slot, kind):
    path = os.path.join(directory, TEXTURE_FILES[slot])
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
        source = os.path.join(os.environ["CHEER_TEXTURES"], TEXTURE_FILES[slot])
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
    elif kind == "sparse-run-length":
        # Header, 256-entry palette, then at once the end-of-picture code: 1,080 bytes.
        info = struct.pack("<IiiHHIIiiII", 40, 16384, 16384, 1, 8, 1, 2, 2835, 2835, 256, 0)
        with open(path, "wb") as f:
            f.write(b"BM" + struct.pack("<IHHI", 1080, 0, 0, 1078) + info + bytes(1024) + b"\0\1")
    else:
        raise ValueError(kind)


FAULTS = ["missing", "unreadable", "truncated", "directory", "fifo", "device", "dangling",
          "sparse-run-length"]


@pytest.mark.parametrize("slot, kind", [(n % 4, kind) for n, kind in enumerate(FAULTS)])
def test_a_fault_prints_its_slots_line_and_the_program_runs_on(start_program, run_dir, slot, kind):
    make_fault(run_dir, slot, kind)
    lines = start_program().wait_for_lines(2, 600)
    assert lines[:2] == [FAILURE_LINES[slot], "finished walking"]


def test_four_faults_at_once_and_the_whole_show_still_runs(start_program, run_dir):
    for slot, kind in enumerate(["fifo", "device", "directory", "truncated"]):
        make_fault(run_dir, slot, kind)
    lines = start_program().wait_for_lines(4 + len(SHOW_LINES), 600)
    assert lines == FAILURE_LINES + SHOW_LINES
