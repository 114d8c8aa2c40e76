"""Fixtures of the program-level tests: a private X server, a working directory holding the
four textures, and the program started there (ended when the test ends)."""

import pytest

import harness


@pytest.fixture
def xvfb():
    server = harness.Xvfb()
    yield server
    server.stop()


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
