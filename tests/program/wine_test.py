"""The cross-built Windows program under Wine, on a private Xvfb with a private Wine prefix.

Wine draws a subwindow's OpenGL into an offscreen X window of its own, redirected through the
Composite extension, and under Xvfb never copies it to the screen; the scene view's picture is
read from that window's pixmap: what the program presented, untouched."""

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

LOADER, SERVER = (next(p for p in paths if os.path.exists(p)) for paths in
                  (["/usr/lib/wine/wine64", "/usr/lib/wine/wine"],
                   ["/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"]))
# freeglut on Windows takes the DISPLAY variable, which Wine passes on, for a display name of its
# own and warns that it cannot open it; a Windows user has no such variable.
DISPLAY_NAME_WARNING = re.compile(rb"freeglut \([^)]*\): fgPlatformInitialize: CreateDC failed, "
                                  rb"Screen size info may be incorrect\r?\n"
                                  rb"This is quite likely caused by a bad '-display' parameter\r?\n")
# Wine's own loader, ended by SIGTERM while one of its threads talks to the Wine server (the
# program at rest waits there for its next message), may say so as it goes; the program does not.
WINE_STOPPED_MID_REQUEST = re.compile(rb"wine client error:[0-9a-f]+: sendmsg: "
                                      rb"Socket operation on non-socket\r?\n")


@pytest.fixture(scope="module")
def wine(tmp_path_factory):
    """(xvfb, environment): one X server for the whole file, so that the prefix's Wine server
    and desktop process see one display; they end with the file."""
    xvfb = harness.Xvfb()
    prefix = os.environ.get("CHEER_WINE_PREFIX") or str(tmp_path_factory.mktemp("wine-prefix"))
    env = {"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    subprocess.run([LOADER, "wineboot", "-i"], env=xvfb.env(env), check=True,
                   capture_output=True, timeout=180)
    yield xvfb, env
    subprocess.run([SERVER, "-k"], env=xvfb.env(env), capture_output=True, timeout=60)
    xvfb.stop()


def start(wine, directory):
    return harness.Program(wine[0], directory, command=[LOADER, os.environ["CHEER_WINDOWS_EXE"]],
                           env=wine[1], start_timeout=120)


@pytest.fixture(scope="module")
def shown(wine, tmp_path_factory):
    """The program started beside its textures, once it has printed its eight lines."""
    directory = harness.copy_textures(tmp_path_factory.mktemp("wine-run"))
    shutil.copy(os.environ["CHEER_WINDOWS_EXE"], directory)
    program = start(wine, directory)
    program.wait_for_lines(len(SHOW_LINES), 120)
    yield program
    program.stop()


def console_lines(program, count, timeout):
    """The lines so far, without the carriage returns of Windows' text-mode output."""
    return [line.removesuffix("\r") for line in program.wait_for_lines(count, timeout)]


def assert_nothing_on_standard_error(program):
    seen = WINE_STOPPED_MID_REQUEST.sub(b"", DISPLAY_NAME_WARNING.sub(b"", program.stderr))
    assert seen == b"", program.stderr


def gl_child(xvfb, size):
    """The one X window of this size: the one Wine renders the subwindow's OpenGL into."""
    def walk(window):
        for child in window.query_tree().children:
            yield child
            yield from walk(child)

    return harness.wait_until(lambda: [w for w in walk(xvfb.root) if xvfb.size(w) == size],
                              lambda found: len(found) == 1, 30, f"one window of {size}")[0]


def scene_picture(xvfb):
    return xvfb.offscreen_picture(gl_child(xvfb, SCENE_GEOMETRY[2:]))


def test_show_prints_its_eight_lines_and_no_failure_with_the_textures_beside_it(shown):
    assert console_lines(shown, len(SHOW_LINES), 0) == SHOW_LINES
    shown.drain(1)
    assert console_lines(shown, 0, 0) == SHOW_LINES, "lines after the show"
    assert shown.alive()


def test_window_has_its_title_and_its_subwindows_at_their_places(wine, shown):
    xvfb = wine[0]
    assert (shown.window.get_wm_name(), xvfb.size(shown.window)) == (TITLE, (500, 500))
    # The main window's grey shows everywhere but where its two subwindows clip it.
    uncovered = numpy.ones((500, 500), bool)
    for x, y, w, h in (SCENE_GEOMETRY, HELP_GEOMETRY):
        uncovered[y:y + h, x:x + w] = False
        gl_child(xvfb, (w, h))
    harness.wait_until(lambda: (xvfb.picture(shown.window) == MAIN_GREY).all(axis=2),
                       lambda grey: (grey == uncovered).all(), 30,
                       "grey exactly outside the subwindows")


def test_scene_after_the_show_matches_the_final_poses_reference(wine, shown, tmp_path):
    picture = scene_picture(wine[0])
    share = harness.differing_share(
        picture, harness.read_png(os.path.join(GOLDEN, "final-poses.png")), LEVELS)
    print(f"under Wine: {share:.4%} of pixels off by more than {LEVELS} levels")
    Image.fromarray(picture).save(tmp_path / "wine-final-poses.png")
    assert share <= MAX_SHARE, f"differs from final-poses: {tmp_path}/wine-final-poses.png"


def test_keys_typed_through_the_x_server_turn_the_view(wine, shown):
    xvfb = wine[0]
    still = scene_picture(xvfb)
    xvfb.type_keys(shown.window, *["a"] * 10)
    harness.wait_until(lambda: scene_picture(xvfb), lambda p: not numpy.array_equal(p, still),
                       30, "keys did not turn the view")
    xvfb.type_keys(shown.window, *["D"] * 10)
    harness.wait_until(lambda: scene_picture(xvfb), lambda p: numpy.array_equal(p, still), 30,
                       "ten turns back did not bring the view back")


def test_missing_leopard_prints_its_line_and_the_show_goes_on(wine, shown, tmp_path):
    shown.stop()
    assert_nothing_on_standard_error(shown)
    harness.copy_textures(tmp_path)
    # Besides the missing one, two that are no regular files, turned away without blocking.
    for name in ("leopard.bmp", "concrete.bmp", "grass.bmp"):
        os.unlink(tmp_path / name)
    os.mkdir(tmp_path / "concrete.bmp")
    os.mkfifo(tmp_path / "grass.bmp")
    program = start(wine, tmp_path)
    try:
        assert console_lines(program, 4, 120) == FAILURE_LINES[1:] + SHOW_LINES[:1]
    finally:
        program.stop()
    assert_nothing_on_standard_error(program)
