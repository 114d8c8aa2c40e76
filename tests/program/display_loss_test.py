"""When the X server goes away under the running program, the program ends within seconds
instead of hanging or spinning."""

import time

import harness
from harness import check


def test_program_ends_when_the_display_goes_away():
    xvfb = harness.Xvfb()
    program = harness.Program(xvfb, harness.make_texture_dir())
    try:
        harness.main_window(xvfb)
        time.sleep(1)
        check(program.alive(), "program ended before the display went away")
        xvfb.process.kill()
        xvfb.process.wait()
        start = time.time()
        while program.alive() and time.time() - start < 5:
            time.sleep(0.05)
        check(not program.alive(), "program still running 5 s after its display went away")
        print(f"    ended {time.time() - start:.2f} s after the display, status "
              f"{program.process.returncode}", flush=True)
    finally:
        program.stop()
        xvfb.stop()


if __name__ == "__main__":
    harness.run_tests([("program ends when the display goes away",
                        test_program_ends_when_the_display_goes_away)])
