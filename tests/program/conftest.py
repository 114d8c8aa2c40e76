"""Fixtures of the program-level tests: a private X server, optionally with a window manager on
it, a working directory holding the four textures, and the program started there (ended when the
test ends); or the web page in headless Chromium."""

import subprocess

import pytest

import harness


@pytest.fixture
def xvfb():
    server = harness.Xvfb()
    yield server
    server.stop()


@pytest.fixture
def window_manager(xvfb):
    """openbox managing the private X server's windows, once it has announced itself there."""
    process = subprocess.Popen(["openbox", "--sm-disable"], env=xvfb.env(),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    check = xvfb.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
    harness.wait_until(lambda: xvfb.root.get_full_property(check, 0), bool, 30,
                       "openbox did not take the screen")
    yield process
    process.terminate()
    process.wait(10)


@pytest.fixture
def run_dir(tmp_path):
    return harness.copy_textures(tmp_path)


@pytest.fixture
def start_program(xvfb, run_dir):
    """start_program(cwd=run_dir, **Program options): the program, ended after the test."""
    started = []

    def start(cwd=None, **options):
        started.append(harness.Program(xvfb, cwd or run_dir, **options))
        return started[-1]

    yield start
    for program in started:
        program.stop()


@pytest.fixture
def program(start_program):
    return start_program()


@pytest.fixture
def start_page():
    """start_page(directory, query="", **WebPage options): the web page in that folder, closed
    after the test."""
    pages = []

    def start(directory, query="", **options):
        pages.append(harness.WebPage(directory, query, **options))
        return pages[-1]

    yield start
    for page in pages:
        page.close()
