"""The installed program, not the build tree's: the Debian package unpacked into a root of its
own (CHEER_PACKAGE_ROOT) and a `cmake --install` under another prefix, each started from an empty
directory, find their own textures; a broken texture in the working directory is reported and
not replaced; --help and --version answer without any display, and the manual page lists every key
and mouse row --help lists. The references are drawn by the
snapshot tool, which reads its textures from the folder it is given and nowhere else."""

import gzip
import os
import subprocess

from PIL import Image

import harness
from harness import FAILURE_LINES, SCENE_GEOMETRY, SHOW_LINES

INSTALLED = os.path.join(os.environ.get("CHEER_PACKAGE_ROOT", ""), "usr", "games", "cheerleaders")
LEVELS = 4
MAX_SHARE = 0.001
# Every robot has long finished by then, as in the live program once its eight lines came.
SETTLED_TICK = 3000
OKSA = harness.TEXTURE_FILES.index("leopard.bmp")


def folder(tmp_path, name):
    path = tmp_path / name
    path.mkdir()
    return path


def break_leopard(directory):
    (directory / "leopard.bmp").write_bytes(b"BM" + bytes(60))


def settled_scene(program, expected_lines):
    """The program's lines once the show is over (with any that come a second later) and its
    scene view then; ends the program, so that the next one has the screen to itself."""
    scene = program.subwindow(SCENE_GEOMETRY)
    program.wait_for_lines(expected_lines, 300)
    lines, picture = program.drain(1), program.xvfb.picture(scene)
    program.stop()
    return lines, picture


def reference(xvfb, tmp_path, name, textures):
    return harness.read_png(harness.snapshot(xvfb, tmp_path / name, [SETTLED_TICK],
                                             textures=textures)[SETTLED_TICK])


def assert_looks_like(shot, wanted, tmp_path, name):
    share = harness.differing_share(shot, wanted, LEVELS)
    saved = tmp_path / f"{name}.png"
    Image.fromarray(shot).save(saved)
    assert share <= MAX_SHARE, f"{share:.3%} of the scene differs from the reference; see {saved}"


def test_installed_program_shows_its_textures_and_a_broken_one_is_reported(xvfb, start_program,
                                                                           tmp_path):
    textured = reference(xvfb, tmp_path, "textured", os.environ["CHEER_TEXTURES"])
    lines, shot = settled_scene(start_program(folder(tmp_path, "empty"), command=[INSTALLED]),
                                len(SHOW_LINES))
    assert lines == SHOW_LINES, "from an empty directory"
    assert_looks_like(shot, textured, tmp_path, "empty")

    # The reference has the other three textures and the broken one; the program's working
    # directory holds only the broken one.
    references = harness.copy_textures(folder(tmp_path, "references"))
    break_leopard(references)
    without_leopard = reference(xvfb, tmp_path, "without-leopard", references)
    assert harness.differing_share(without_leopard, textured, LEVELS) > 0.01, \
        "the references cannot tell a missing texture apart"
    lonely = folder(tmp_path, "broken")
    break_leopard(lonely)
    lines, shot = settled_scene(start_program(lonely, command=[INSTALLED]), 1 + len(SHOW_LINES))
    assert lines == [FAILURE_LINES[OKSA]] + SHOW_LINES, "with a broken leopard.bmp"
    assert_looks_like(shot, without_leopard, tmp_path, "broken")


def files_under(top, strip=""):
    found = set()
    for where, _, names in os.walk(top):
        for name in names:
            path = os.path.relpath(os.path.join(where, name), top)
            found.add(path.removeprefix(strip).removesuffix(".gz"))
    return found


def test_an_install_under_another_prefix_has_the_same_tree_and_finds_its_textures(start_program,
                                                                                  tmp_path):
    prefix = folder(tmp_path, "prefix")
    subprocess.run(["cmake", "--install", os.environ["CHEER_BUILD_DIR"], "--prefix", prefix],
                   check=True, capture_output=True, timeout=120)
    packaged = {path for path in files_under(os.environ["CHEER_PACKAGE_ROOT"], "usr/")
                if not path.startswith("share/doc/")}
    installed = files_under(prefix)
    assert packaged == installed, f"only packaged: {sorted(packaged - installed)}, " \
                                  f"only installed: {sorted(installed - packaged)}"
    program = start_program(folder(tmp_path, "empty"), command=[prefix / "games" / "cheerleaders"])
    assert program.wait_for_lines(1, 120)[:1] == ["finished walking"]


def test_help_and_version_answer_without_a_display():
    source = os.environ["CHEER_SOURCE_DIR"]
    changelog = subprocess.run(
        ["dpkg-parsechangelog", "-l", os.path.join(source, "debian", "changelog"), "-S",
         "Version"], check=True, capture_output=True, text=True).stdout.strip()
    assert changelog == os.environ["CHEER_VERSION"], "debian/changelog against CMake's project()"
    with open(os.path.join(source, "README.md")) as readme:
        assert f"apt install ./cheerleaders_{changelog}_amd64.deb" in readme.read(), \
            "the README's install command names another version"
    # No display at all, and one that names no server: neither may be opened.
    for display in (None, ":4242"):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY")}
        env.update({"DISPLAY": display} if display else {})
        version = subprocess.run([INSTALLED, "--version"], env=env, capture_output=True,
                                 text=True, timeout=30)
        assert (version.returncode, version.stdout, version.stderr) == \
            (0, f"cheerleaders {changelog}\n", ""), f"--version gave {version}"
        usage = subprocess.run([INSTALLED, "-display", ":4242", "--help"], env=env,
                               capture_output=True, text=True, timeout=30)
        assert usage.returncode == 0 and usage.stdout.startswith("Usage: cheerleaders") \
            and "--version" in usage.stdout and not usage.stderr, f"--help gave {usage}"


def test_the_installed_manual_page_has_every_key_row_of_help():
    usage = subprocess.run([INSTALLED, "--help"], capture_output=True, text=True, timeout=30,
                           check=True).stdout
    keys = usage[usage.index("\nKeys ("):].split("\n\n")[0]
    rows = [line for line in keys.splitlines() if line.startswith("  ")]
    assert len(rows) > 10, f"--help lists no keys: {usage}"
    page = os.path.join(os.environ["CHEER_PACKAGE_ROOT"], "usr/share/man/man6/cheerleaders.6.gz")
    with gzip.open(page, "rt") as manual:
        text = manual.read().replace("\\fB", "").replace("\\fR", "").replace("\\-", "-")
    for row in rows:
        label, help_text = (part.strip() for part in row.split("  ", 2)[1:])
        entry = f".TP\n{label}\n{help_text[0].upper()}{help_text[1:]}."
        assert entry in text, f"the manual page has no {entry!r}"
