"""The cross-built Windows program under Wine, on a private Xvfb with a private Wine prefix: the
same show, window, textures, picture and keys as the Linux program.

Wine draws OpenGL of a child window into an offscreen X window of its own (redirected through
the Composite extension) and does not put it on the screen under Xvfb, so the scene view's
picture is read from that window's pixmap: what the program presented, untouched."""

import os
import re
import shutil
import subprocess

import numpy
import pytest
from PIL import Image

import harness
from golden_test import GOLDEN, LEVELS, MAX_SHARE
from harness import FAILURE_LINES, HELP_GEOMETRY, MAIN_GREY, SCENE_GEOMETRY, SHOW_LINES, TITLE

WINE_DIR = "/usr/lib/wine"
# freeglut on Windows takes the DISPLAY variable, which Wine passes on, for a display name of its
# own and warns that it cannot open it; a Windows user has no such variable.
DISPLAY_NAME_WARNING = re.compile(rb"freeglut \([^)]*\): fgPlatformInitialize: CreateDC failed, "
                                  rb"Screen size info may be incorrect\r?\n"
                                  rb"This is quite likely caused by a bad '-display' parameter\r?\n")


def wine_tool(*names):
    return next(os.path.join(WINE_DIR, n) for n in names if os.path.exists(os.path.join(WINE_DIR, n)))


@pytest.fixture(scope="module")
def wine(tmp_path_factory):
    """(xvfb, environment) for Wine: one Xvfb and one prefix for the whole file, so that the
    prefix's Wine server and desktop process see one display; the server ends with the file."""
    xvfb = harness.Xvfb()
    prefix = os.environ.get("CHEER_WINE_PREFIX") or str(tmp_path_factory.mktemp("wine-prefix"))
    env = {"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    loader = wine_tool("wine64", "wine")
    subprocess.run([loader, "wineboot", "-i"], env=xvfb.env(env), check=True,
                   capture_output=True, timeout=180)
    yield xvfb, env, loader
    subprocess.run([wine_tool("wineserver64", "wineserver"), "-k"], env=xvfb.env(env),
                   capture_output=True, timeout=60)
    xvfb.stop()


def start(wine, directory):
    xvfb, env, loader = wine
    return harness.Program(xvfb, directory, command=[loader, os.environ["CHEER_WINDOWS_EXE"]],
                           env=env, start_timeout=120)


@pytest.fixture(scope="module")
def shown(wine, tmp_path_factory):
    """The program with its textures beside it, once it has printed its eight lines."""
    directory = tmp_path_factory.mktemp("wine-run")
    harness.copy_textures(directory)
    shutil.copy(os.environ["CHEER_WINDOWS_EXE"], directory)
    program = start(wine, directory)
    program.wait_for_lines(len(SHOW_LINES), 120)
    yield program
    program.stop()


def console_lines(program, count, timeout):
    """The program's lines so far (at least count, or until the time is up), without the
    carriage returns of Windows' text-mode output."""
    return [line.removesuffix("\r") for line in program.wait_for_lines(count, timeout)]


def gl_child(xvfb, size):
    """The X window Wine renders a GL subwindow of this size into (the only one of its size)."""
    def walk(window):
        for child in window.query_tree().children:
            yield child
            yield from walk(child)

    found = [w for w in walk(xvfb.root) if xvfb.size(w) == size]
    assert len(found) == 1, f"{len(found)} windows of {size}"
    return found[0]


def scene_picture(xvfb):
    return xvfb.offscreen_picture(gl_child(xvfb, SCENE_GEOMETRY[2:]))


def test_show_prints_its_eight_lines_and_no_failure_with_the_textures_beside_it(shown):
    assert console_lines(shown, len(SHOW_LINES), 0) == SHOW_LINES
    shown.drain(1)
    assert console_lines(shown, 0, 0) == SHOW_LINES, "lines after the show"
    assert shown.alive()


def test_window_has_its_title_and_its_subwindows_at_their_places(wine, shown):
    xvfb = wine[0]
    assert shown.window.get_wm_name() == TITLE
    assert xvfb.size(shown.window) == (500, 500)
    # The main window draws its grey everywhere but where its two subwindows clip it.
    uncovered = numpy.ones((500, 500), bool)
    for x, y, w, h in (SCENE_GEOMETRY, HELP_GEOMETRY):
        uncovered[y:y + h, x:x + w] = False
        assert xvfb.size(gl_child(xvfb, (w, h))) == (w, h)
    grey = harness.wait_until(lambda: (xvfb.picture(shown.window) == MAIN_GREY).all(axis=2),
                              lambda seen: (seen == uncovered).all(), 30,
                              "grey exactly outside the subwindows")
    assert grey.sum() == 500 * 500 - 480 * 400 - 480 * 70


def test_scene_after_the_show_matches_the_final_poses_reference(wine, shown, tmp_path):
    picture = scene_picture(wine[0])
    share = harness.differing_share(picture,
                                    harness.read_png(os.path.join(GOLDEN, "final-poses.png")),
                                    LEVELS)
    print(f"under Wine: {share:.4%} of pixels off by more than {LEVELS} levels")
    if share > MAX_SHARE:
        Image.fromarray(picture).save(tmp_path / "wine-final-poses.png")
    assert share <= MAX_SHARE, f"scene differs from final-poses ({tmp_path}/wine-final-poses.png)"


def test_keys_typed_through_the_x_server_turn_the_view(wine, shown):
    xvfb = wine[0]
    still = scene_picture(xvfb)
    xvfb.type_keys(shown.window, *["a"] * 10)
    harness.wait_until(lambda: scene_picture(xvfb), lambda p: not numpy.array_equal(p, still),
                       30, "keys did not turn the view")
    xvfb.type_keys(shown.window, *["D"] * 10)
    harness.wait_until(lambda: scene_picture(xvfb), lambda p: numpy.array_equal(p, still), 30,
                       "ten turns back did not bring the view back")


def assert_nothing_on_standard_error(program):
    assert DISPLAY_NAME_WARNING.sub(b"", program.stderr) == b"", program.stderr


def test_missing_leopard_prints_its_line_and_the_show_goes_on(wine, shown, tmp_path):
    shown.stop()
    assert_nothing_on_standard_error(shown)
    harness.copy_textures(tmp_path)
    os.unlink(tmp_path / "leopard.bmp")
    # Two more that are no regular files: the reader turns them away without blocking.
    os.unlink(tmp_path / "concrete.bmp")
    os.mkdir(tmp_path / "concrete.bmp")
    os.unlink(tmp_path / "grass.bmp")
    os.mkfifo(tmp_path / "grass.bmp")
    program = start(wine, tmp_path)
    try:
        lines = console_lines(program, 4, 120)
        assert lines == FAILURE_LINES[1:] + SHOW_LINES[:1]
    finally:
        program.stop()
    assert_nothing_on_standard_error(program)
