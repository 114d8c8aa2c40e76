"""The real program's windows from outside: title and layout at start-up, a storm of resizes,
unmaps and remaps of the main window that the subwindows must ride out unchanged, and life under a
real window manager: resized, maximized and made fullscreen, by it and by the f key (Escape
leaves it), named for a dock, and iconified, when the show waits."""

import subprocess

import numpy
from Xlib import error as xerror

from harness import (HELP_GEOMETRY, MAIN_GREY, SCENE_GEOMETRY, SHOW_LINES, TITLE, cpu_seconds,
                     executable, wait_until)

SUBWINDOWS = sorted([SCENE_GEOMETRY, HELP_GEOMETRY])


def assert_laid_out(xvfb, program, expose=lambda: None):
    """Main window 500 x 500 and grey, in its margin and between the subwindows, which sit at
    their places; expose() is called before each look at the picture."""
    window = program.window
    wait_until(lambda: xvfb.size(window), lambda size: size == (500, 500), 30, "main window size")
    wait_until(lambda: sorted(xvfb.children(window)), lambda tree: tree == SUBWINDOWS, 30,
               "subwindows")

    def look():
        expose()
        return [tuple(xvfb.picture(window)[y, x]) for y, x in [(3, 3), (415, 250)]]

    wait_until(look, lambda pixels: pixels == [MAIN_GREY] * 2, 30,
               "grey margin and strip between the subwindows", interval=0.5)


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

    # The last frame of a burst of resizes can reach the screen at a size the window no longer
    # has (the software rasterizer learns its window's size only when it draws). What must hold
    # is that the program, once through its queue of events, answers an expose with a grey frame.
    def restore():
        window.unmap()
        window.map()
        xvfb.x.sync()

    assert_laid_out(xvfb, program, expose=restore)
    assert program.stop() == -15, "program did not end on SIGTERM as usual"
    assert b"rror" not in program.stderr


def test_main_window_is_grey_at_every_size_the_window_manager_gives(xvfb, window_manager,
                                                                      program):
    window = program.window
    scene = program.subwindow(SCENE_GEOMETRY)

    def not_grey():
        """How many pixels outside the subwindows are not grey, and the box that holds them."""
        try:
            wrong = (xvfb.picture(window) != MAIN_GREY).any(axis=2)
        except xerror.BadMatch:  # changed size, or partly off the screen, while we looked
            return None, "no picture"
        for x, y, w, h in SUBWINDOWS:
            wrong[y:y + h, x:x + w] = False
        ys, xs = numpy.nonzero(wrong)
        return len(xs), (xs.min(), ys.min(), xs.max(), ys.max()) if len(xs) else None

    def wmctrl(*action):
        subprocess.run(["wmctrl", "-i", "-r", str(window.id), *action], env=xvfb.env(), check=True,
                       timeout=30)

    # Nothing exposes the window meanwhile: what it shows is what it drew for its new size. The
    # program's own keys come last: Escape out of full screen, f into it, Escape out.
    previous = xvfb.size(window)
    for action in [("-e", "0,-1,-1,700,600"), ("-b", "add,maximized_vert,maximized_horz"),
                   ("-b", "remove,maximized_vert,maximized_horz"), ("-b", "add,fullscreen"),
                   "Escape", "f", "Escape"]:
        if isinstance(action, str):
            xvfb.type_keys(scene, action)
        else:
            wmctrl(*action)
        size = wait_until(lambda: xvfb.size(window), lambda seen: seen != previous, 10,
                          f"size after {action}")
        wait_until(not_grey, lambda seen: seen[0] == 0, 5, f"grey at {size} after {action}")
        previous = size
    assert size == (700, 600), "Escape did not bring the window back"
    assert sorted(xvfb.children(window)) == SUBWINDOWS

    classes = window.get_wm_class()
    utf8_title = window.get_full_property(xvfb.x.intern_atom("_NET_WM_NAME"),
                                          xvfb.x.intern_atom("UTF8_STRING")).value
    assert (classes, utf8_title) == (("cheerleaders", "Cheerleaders"), TITLE.encode())


def test_iconified_the_show_waits_and_goes_on_when_shown_again(xvfb, window_manager,
                                                               start_program):
    # Seven lines printed at the start, and at an eighth of the speed the last is seconds away.
    program = start_program(command=[executable(), "--at", "2300", "--paused"])
    xvfb.type_keys(program.subwindow(SCENE_GEOMETRY), *["bracketleft"] * 3, "space")
    xvfb.xdotool("windowminimize", "--sync", str(program.window.id))
    printed = len(program.drain(0.2))
    before = cpu_seconds(program.process.pid)
    assert len(program.drain(2)) == printed == 7, "lines came while iconified"
    used = cpu_seconds(program.process.pid) - before
    assert used < 0.1, f"{used:.2f} s of CPU in 2 s iconified"
    subprocess.run(["wmctrl", "-i", "-a", str(program.window.id)], env=xvfb.env(), check=True,
                   timeout=30)
    assert program.wait_for_lines(len(SHOW_LINES), 120) == SHOW_LINES
