"""After the show the program goes on redrawing for as long as it runs: run it for a number of
idle calls past the show (CHEER_SOAK_FRAMES, 100,000 by default) and sample its resident
memory, which must not grow beyond noise."""

import os
import tempfile
import time

import harness
from harness import check

WARM_UP_FRAMES = 2000
ALLOWED_GROWTH_KIB = 1024


def frames_so_far(path):
    try:
        with open(path) as f:
            return int(f.read().strip() or 0)
    except (OSError, ValueError):
        return 0


def test_memory_stays_flat_after_the_show():
    target = int(os.environ.get("CHEER_SOAK_FRAMES", "100000"))
    counter_library = os.environ["CHEER_FRAME_COUNTER"]
    count_file = tempfile.mktemp(prefix="cheer-frames-")
    env = {"LD_PRELOAD": counter_library, "CHEER_FRAME_COUNT_FILE": count_file,
           "ASAN_OPTIONS": "verify_asan_link_order=0:detect_leaks=0"}
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir(),
                                                 env_extra=env) as program:
        lines = program.wait_for_lines(len(harness.SHOW_LINES), 900)
        check(lines == harness.SHOW_LINES, f"the show printed {lines}")
        show_end = frames_so_far(count_file)
        start = show_end + WARM_UP_FRAMES
        while frames_so_far(count_file) < start:
            check(program.alive(), "program ended during warm-up")
            time.sleep(0.2)
        samples = [(frames_so_far(count_file), harness.resident_kib(program.pid()))]
        began = time.time()
        while samples[-1][0] < start + target:
            check(program.alive(), "program ended during the soak")
            time.sleep(2)
            samples.append((frames_so_far(count_file), harness.resident_kib(program.pid())))
        seconds = time.time() - began
        first, last = samples[0][1], samples[-1][1]
        peak = max(kib for _, kib in samples)
        print(f"    {samples[-1][0] - samples[0][0]} frames past warm-up in {seconds:.0f} s, "
              f"resident {first} KiB at start, {last} KiB at end, peak {peak} KiB, "
              f"{len(samples)} samples", flush=True)
        check(last - first <= ALLOWED_GROWTH_KIB, f"resident memory grew {last - first} KiB")
        check(program.alive(), "program ended")
    os.unlink(count_file)


if __name__ == "__main__":
    harness.run_tests([("memory stays flat after the show", test_memory_stays_flat_after_the_show)])
