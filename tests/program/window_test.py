"""The real program's windows from outside: title and layout at start-up, and a storm of
resizes, unmaps and remaps of the main window that the subwindows must ride out unchanged."""

from harness import HELP_GEOMETRY, MAIN_GREY, SCENE_GEOMETRY, wait_until

SUBWINDOWS = sorted([SCENE_GEOMETRY, HELP_GEOMETRY])


def assert_laid_out(xvfb, program):
    """Main window 500 x 500 and grey, in its margin and between the subwindows, which sit at
    their places."""
    window = program.window
    wait_until(lambda: xvfb.size(window), lambda size: size == (500, 500), 30, "main window size")
    wait_until(lambda: sorted(xvfb.children(window)), lambda tree: tree == SUBWINDOWS, 30,
               "subwindows")
    wait_until(lambda: xvfb.picture(window),
               lambda shot: tuple(shot[3, 3]) == MAIN_GREY and tuple(shot[415, 250]) == MAIN_GREY,
               30, "grey margin and strip between the subwindows")


def test_opens_its_window_with_two_subwindows(xvfb, program):
    assert_laid_out(xvfb, program)
    assert program.alive()


def test_window_storm_leaves_subwindows_and_program_intact(xvfb, program):
    sizes = [(1, 1), (5000, 40), (40, 3000), (1, 900), (900, 1), (2, 2), (1280, 1024),
             (499, 501), (501, 499), (3, 7000), (7000, 3)]
    window = program.window
    for round_number in range(20):
        for w, h in sizes:
            window.configure(width=w, height=h)
        window.unmap()
        window.map()
        xvfb.x.sync()
        assert program.alive(), f"program ended during round {round_number}"
    window.configure(width=500, height=500)
    xvfb.x.sync()
    assert_laid_out(xvfb, program)
    assert program.stop() == -15, "program did not end on SIGTERM as usual"
    assert b"rror" not in program.stderr
