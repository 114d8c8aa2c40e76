"""When the X server goes away under the running program, the program ends within seconds
instead of hanging or spinning. The display is taken away at several moments, since the exit
can race with the GL driver's rendering threads."""

import time

import pytest

from harness import wait_until


@pytest.mark.parametrize("seconds", [0.3 + 0.4 * k for k in range(6)])
def test_program_ends_when_the_display_goes_away(xvfb, program, seconds):
    time.sleep(seconds)  # the moment of the loss, not a wait for anything
    assert program.alive(), "program ended before the display went away"
    # Ended the way a server shuts down: it closes its clients' connections and its socket.
    xvfb.process.terminate()
    xvfb.process.wait()
    wait_until(program.alive, lambda alive: not alive, 5, "program still running")
    assert program.stop() == 1
    assert b"display connection lost" in program.stderr
