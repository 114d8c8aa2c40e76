"""The real program's windows from outside: title and layout at start-up, and a storm of
resizes, unmaps and remaps of the main window that the subwindows must ride out unchanged."""

import sys
import time

import harness
from harness import check

SUBWINDOWS = [(10, 10, 480, 400), (10, 420, 480, 70)]


def test_opens_its_window_with_two_subwindows():
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        window = harness.main_window(xvfb)
        check(harness.geometry(xvfb, window) == (500, 500), "main window is not 500 x 500")
        check(harness.window_tree(xvfb, window) == SUBWINDOWS,
              f"subwindows at {harness.window_tree(xvfb, window)}")
        time.sleep(1)
        shot = harness.screenshot(xvfb, window)
        check(shot.pixel(3, 3) == (153, 153, 153), f"main window margin is {shot.pixel(3, 3)}")
        check(shot.pixel(250, 415) == (153, 153, 153), "no grey strip between the subwindows")
        check(program.alive(), "program ended on its own")


def test_window_storm_leaves_subwindows_and_program_intact():
    sizes = [(1, 1), (5000, 40), (40, 3000), (1, 900), (900, 1), (2, 2), (1280, 1024),
             (499, 501), (501, 499), (3, 7000), (7000, 3)]
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        window = harness.main_window(xvfb)
        operations = 0
        for round_number in range(20):
            for w, h in sizes:
                harness.xdotool(xvfb, "windowsize", window, w, h)
                operations += 1
            harness.xdotool(xvfb, "windowunmap", window)
            harness.xdotool(xvfb, "windowmap", window)
            operations += 2
            check(program.alive(), f"program ended during round {round_number}")
        harness.xdotool(xvfb, "windowsize", "--sync", window, 500, 500)
        time.sleep(1)
        check(program.alive(), "program ended after the storm")
        check(harness.window_tree(xvfb, window) == SUBWINDOWS,
              f"subwindows moved or resized: {harness.window_tree(xvfb, window)}")
        before = harness.screenshot(xvfb, window)
        check(before.pixel(3, 3) == (153, 153, 153), "main window no longer drawn grey")
        print(f"    {operations} window operations", flush=True)
        check(program.stop() == -15, "program did not end on SIGTERM as usual")
        check(b"rror" not in program.stderr, f"errors on stderr: {program.stderr[:300]!r}")


if __name__ == "__main__":
    harness.run_tests([
        ("opens its window with two subwindows", test_opens_its_window_with_two_subwindows),
        ("window storm", test_window_storm_leaves_subwindows_and_program_intact),
    ])
