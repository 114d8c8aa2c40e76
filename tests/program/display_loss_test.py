"""When the X server goes away under the running program, the program ends within seconds
instead of hanging or spinning. The display is taken away at several moments, since the exit
can race with the GL driver's rendering threads."""

import time

import harness
from harness import check

ROUNDS = 6


def end_display_after(seconds):
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        harness.main_window(xvfb)
        time.sleep(seconds)
        check(program.alive(), "program ended before the display went away")
        # Ended the way a server shuts down: it closes its clients' connections and its socket.
        xvfb.process.terminate()
        xvfb.process.wait()
        start = time.time()
        while program.alive() and time.time() - start < 5:
            time.sleep(0.05)
        check(not program.alive(), "program still running 5 s after its display went away")
        took = time.time() - start
        status = program.stop()
        check(status == 1, f"program ended with status {status}")
        check(b"display connection lost" in program.stderr, f"stderr: {program.stderr[-300:]!r}")
        return took


def test_program_ends_when_the_display_goes_away():
    times = [end_display_after(0.3 + 0.4 * k) for k in range(ROUNDS)]
    print(f"    ended {max(times):.2f} s at most after the display went, in {ROUNDS} rounds",
          flush=True)


if __name__ == "__main__":
    harness.run_tests([("program ends when the display goes away",
                        test_program_ends_when_the_display_goes_away)])
