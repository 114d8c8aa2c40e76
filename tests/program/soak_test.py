"""After the show the program goes on redrawing for as long as it runs: run it for a number of
idle calls past the show (CHEER_SOAK_FRAMES, 100,000 by default) and sample its resident
memory, which must not grow beyond noise."""

import os
import time

from harness import SHOW_LINES, resident_kib, wait_until

WARM_UP_FRAMES = 2000
ALLOWED_GROWTH_KIB = 1024


def frames_so_far(path):
    try:
        with open(path) as f:
            return int(f.read().strip() or 0)
    except (OSError, ValueError):
        return 0


def test_memory_stays_flat_after_the_show(start_program, tmp_path):
    target = int(os.environ.get("CHEER_SOAK_FRAMES", "100000"))
    count_file = tmp_path / "frames"
    program = start_program(env={"LD_PRELOAD": os.environ["CHEER_FRAME_COUNTER"],
                                 "CHEER_FRAME_COUNT_FILE": str(count_file)})
    assert program.wait_for_lines(len(SHOW_LINES), 900) == SHOW_LINES
    start = frames_so_far(count_file) + WARM_UP_FRAMES
    wait_until(lambda: frames_so_far(count_file),
               lambda frames: frames >= start or not program.alive(), 600, "warm-up")
    samples = [(frames_so_far(count_file), resident_kib(program.process.pid))]
    began = time.monotonic()
    while samples[-1][0] < start + target:
        assert program.alive(), "program ended during the soak"
        time.sleep(2)
        samples.append((frames_so_far(count_file), resident_kib(program.process.pid)))
    first, last = samples[0][1], samples[-1][1]
    print(f"{samples[-1][0] - samples[0][0]} frames past warm-up in "
          f"{time.monotonic() - began:.0f} s, resident {first} KiB at start, {last} KiB at end, "
          f"peak {max(kib for _, kib in samples)} KiB, {len(samples)} samples")
    assert last - first <= ALLOWED_GROWTH_KIB, f"resident memory grew {last - first} KiB"
    assert program.alive(), "program ended"
