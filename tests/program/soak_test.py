"""The show played over and over, started again by r each time its eight lines are in (once it
is over the program draws nothing more): run it for a number of frames past the first show
(CHEER_SOAK_FRAMES, 100,000 by default) and sample its resident memory, which must not grow
beyond noise."""

import os
import time

from harness import SCENE_GEOMETRY, SHOW_LINES, resident_kib, wait_until

WARM_UP_FRAMES = 2000
ALLOWED_GROWTH_KIB = 1024


def frames_so_far(path):
    try:
        with open(path) as f:
            return int(f.read().strip() or 0)
    except (OSError, ValueError):
        return 0


def test_memory_stays_flat_over_replayed_shows(xvfb, start_program, tmp_path):
    target = int(os.environ.get("CHEER_SOAK_FRAMES", "100000"))
    count_file = tmp_path / "frames"
    program = start_program(env={"LD_PRELOAD": os.environ["CHEER_FRAME_COUNTER"],
                                 "CHEER_FRAME_COUNT_FILE": str(count_file)})
    scene = program.subwindow(SCENE_GEOMETRY)
    assert program.wait_for_lines(len(SHOW_LINES), 900) == SHOW_LINES
    shows = 1

    def frames_replaying():
        nonlocal shows
        if len(program.drain(0.1)) >= len(SHOW_LINES) * shows:
            xvfb.type_keys(scene, "r")
            shows += 1
        return frames_so_far(count_file)

    start = frames_replaying() + WARM_UP_FRAMES
    wait_until(frames_replaying,
               lambda frames: frames >= start or not program.alive(), 600, "warm-up")
    samples = [(frames_so_far(count_file), resident_kib(program.process.pid))]
    began = time.monotonic()
    while samples[-1][0] < start + target:
        assert program.alive(), "program ended during the soak"
        time.sleep(2)
        samples.append((frames_replaying(), resident_kib(program.process.pid)))
    first, last = samples[0][1], samples[-1][1]
    print(f"{samples[-1][0] - samples[0][0]} frames past warm-up in "
          f"{time.monotonic() - began:.0f} s, resident {first} KiB at start, {last} KiB at end, "
          f"peak {max(kib for _, kib in samples)} KiB, {len(samples)} samples")
    assert last - first <= ALLOWED_GROWTH_KIB, f"resident memory grew {last - first} KiB"
    assert program.alive(), "program ended"
    assert program.lines[:len(SHOW_LINES) * (shows - 1)] == SHOW_LINES * (shows - 1)
