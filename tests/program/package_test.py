"""The installed program, not the build tree's: the Debian package unpacked into a root of its
own (CHEER_PACKAGE_ROOT) and a `cmake --install` under another prefix, each started from an empty
directory, finds its own textures; a broken texture in the working directory is reported and
not replaced; --help and --version answer without any display. The references are drawn by the
snapshot tool, which reads its textures from the folder it is given and nowhere else."""

import os
import shutil
import subprocess
import tempfile

import harness
from harness import check

ROOT = os.environ.get("CHEER_PACKAGE_ROOT", "")
INSTALLED = os.path.join(ROOT, "usr", "games", "cheerleaders")
# The program under test is the installed one.
os.environ["CHEERLEADERS"] = INSTALLED
LEVELS = 4
MAX_SHARE = 0.001
# Every robot has long finished by then; the live program is compared once its eight lines came.
SETTLED_TICK = 3000
OKSA = harness.TEXTURE_FILES.index("leopard.bmp")


def break_leopard(directory):
    with open(os.path.join(directory, "leopard.bmp"), "wb") as f:
        f.write(b"BM" + bytes(60))


def show_and_scene(directory, expected_lines):
    """Runs the program in directory through the whole show; returns its lines (with any that
    come a second later) and the scene view."""
    with harness.Xvfb() as xvfb, harness.Program(xvfb, directory) as program:
        scene = harness.subwindow(xvfb, harness.main_window(xvfb), harness.SCENE_GEOMETRY)
        program.wait_for_lines(expected_lines, 120)
        program.drain(1)
        return program.lines, harness.screenshot(xvfb, scene)


def reference(textures, work):
    with harness.Xvfb() as xvfb:
        path = harness.snapshot(xvfb, os.path.join(work, "ref"), [SETTLED_TICK],
                                textures=textures)[SETTLED_TICK]
    return harness.read_png(path)


def test_installed_program_shows_its_textures_and_a_broken_one_is_reported():
    work = tempfile.mkdtemp(prefix="cheer-package-")
    try:
        textured = reference(os.environ["CHEER_TEXTURES"], work)
        empty = os.path.join(work, "empty")
        os.mkdir(empty)
        lines, shot = show_and_scene(empty, len(harness.SHOW_LINES))
        check(lines == harness.SHOW_LINES, f"from an empty directory it printed {lines}")
        share = harness.differing_share(shot, textured, LEVELS)
        print(f"    empty directory: {share:.4%} of the scene differs", flush=True)
        check(share <= MAX_SHARE, f"{share:.3%} of the scene differs from the textured show")

        broken = harness.make_texture_dir()
        break_leopard(broken)
        without_leopard = reference(broken, work)
        shutil.rmtree(broken)
        # Only the leopard.bmp is in the working directory, and it is broken.
        lonely = os.path.join(work, "broken")
        os.mkdir(lonely)
        break_leopard(lonely)
        lines, shot = show_and_scene(lonely, len(harness.SHOW_LINES) + 1)
        check(lines == [harness.FAILURE_LINES[OKSA]] + harness.SHOW_LINES,
              f"with a broken leopard.bmp it printed {lines}")
        share = harness.differing_share(shot, without_leopard, LEVELS)
        apart = harness.differing_share(without_leopard, textured, LEVELS)
        print(f"    broken leopard.bmp: {share:.4%} differs; the references {apart:.2%} apart",
              flush=True)
        check(share <= MAX_SHARE, f"{share:.3%} differs from the show without the leopard skin")
        check(apart > 0.01,
              "the references cannot tell a missing texture apart")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def test_an_install_under_another_prefix_has_the_same_tree_and_finds_its_textures():
    prefix = tempfile.mkdtemp(prefix="cheer-prefix-")
    try:
        subprocess.run(["cmake", "--install", os.environ["CHEER_BUILD_DIR"], "--prefix", prefix],
                       check=True, capture_output=True, timeout=120)

        def tree(top, strip):
            found = set()
            for folder, _, files in os.walk(top):
                for name in files:
                    path = os.path.relpath(os.path.join(folder, name), top)
                    found.add(path[len(strip):].removesuffix(".gz"))
            return found

        packaged = {p for p in tree(ROOT, "usr/") if not p.startswith("share/doc/")}
        installed = tree(prefix, "")
        check(packaged == installed, f"only packaged: {sorted(packaged - installed)}, "
                                     f"only installed: {sorted(installed - packaged)}")
        os.environ["CHEERLEADERS"] = os.path.join(prefix, "games", "cheerleaders")
        empty = os.path.join(prefix, "empty")
        os.mkdir(empty)
        with harness.Xvfb() as xvfb, harness.Program(xvfb, empty) as program:
            lines = program.wait_for_lines(1, 60)
        check(lines[:1] == ["finished walking"], f"the relocated program printed {lines}")
    finally:
        os.environ["CHEERLEADERS"] = INSTALLED
        shutil.rmtree(prefix, ignore_errors=True)


def test_help_and_version_answer_without_a_display():
    changelog = subprocess.run(
        ["dpkg-parsechangelog", "-l", os.path.join(os.environ["CHEER_SOURCE_DIR"], "debian",
                                                   "changelog"), "-S", "Version"],
        check=True, capture_output=True, text=True).stdout.strip()
    check(changelog == os.environ["CHEER_VERSION"],
          f"debian/changelog says {changelog}, CMake's project() {os.environ['CHEER_VERSION']}")
    with open(os.path.join(os.environ["CHEER_SOURCE_DIR"], "README.md")) as readme:
        check(f"apt install ./cheerleaders_{changelog}_amd64.deb" in readme.read(),
              "the README's install command names another version")
    # No display at all, and one that names no server: neither may be opened.
    for display in (None, ":4242"):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY")}
        if display:
            env["DISPLAY"] = display
        version = subprocess.run([INSTALLED, "--version"], env=env, capture_output=True,
                                 text=True, timeout=30)
        check((version.returncode, version.stdout, version.stderr) ==
              (0, f"cheerleaders {changelog}\n", ""), f"--version gave {version}")
        usage = subprocess.run([INSTALLED, "-display", ":4242", "--help"], env=env,
                               capture_output=True, text=True, timeout=30)
        check(usage.returncode == 0 and usage.stdout.startswith("Usage: cheerleaders")
              and "--version" in usage.stdout and not usage.stderr, f"--help gave {usage}")


if __name__ == "__main__":
    harness.run_tests([
        ("installed program: textures from its data directory, a broken one reported",
         test_installed_program_shows_its_textures_and_a_broken_one_is_reported),
        ("another prefix: same tree, textures found",
         test_an_install_under_another_prefix_has_the_same_tree_and_finds_its_textures),
        ("--help and --version without a display", test_help_and_version_answer_without_a_display),
    ])
