"""Golden pictures: renders a few frames with the snapshot tool (the program's own start-up and
drawing code) and compares them with the committed references in tests/data/golden. A frame
fails when more than MAX_SHARE of its pixels differ from the reference by more than LEVELS in
some channel: small enough that a moved robot, a lost texture, a changed material or a shifted
field line fails, large enough for rounding noise of another software renderer build.

Run with --update to write new references after an intended change of the picture."""

import os
import shutil
import sys
import tempfile

import harness
from harness import check

HERE = os.path.dirname(os.path.abspath(__file__))
GOLDEN = os.path.join(HERE, "..", "data", "golden")
LEVELS = 4
MAX_SHARE = 0.001

SIDE_VIEW_KEYS = b"w" * 40 + b"a" * 60 + b"w" * 160 + b"d" * 90

# name: (tick, keys, whole main window)
FRAMES = {
    "start": (0, b"", False),
    "mid-walk": (600, b"", False),
    "final-poses": (2400, b"", False),
    "side-view": (2400, SIDE_VIEW_KEYS, False),
    "main-window": (0, b"", True),
}


def render_all(xvfb, directory):
    paths = {}
    for name, (tick, keys, main) in FRAMES.items():
        rendered = harness.snapshot(xvfb, os.path.join(directory, name), [tick], keys=keys,
                                    main=main)
        paths[name] = rendered[tick]
    return paths


def test_frames_match_their_references():
    out = tempfile.mkdtemp(prefix="cheer-golden-")
    failures = []
    with harness.Xvfb() as xvfb:
        for name, path in render_all(xvfb, out).items():
            share = harness.differing_share(harness.read_png(path),
                                            harness.read_png(os.path.join(GOLDEN, name + ".png")),
                                            LEVELS)
            print(f"    {name}: {share:.4%} of pixels differ by more than {LEVELS} levels",
                  flush=True)
            if share > MAX_SHARE:
                failures.append(f"{name} ({share:.3%}, rendered at {path})")
    check(not failures, "frames differ from their references: " + ", ".join(failures))
    shutil.rmtree(out, ignore_errors=True)


def update():
    os.makedirs(GOLDEN, exist_ok=True)
    out = tempfile.mkdtemp(prefix="cheer-golden-")
    with harness.Xvfb() as xvfb:
        for name, path in render_all(xvfb, out).items():
            shutil.copy(path, os.path.join(GOLDEN, name + ".png"))
            print(f"wrote {name}.png")


if __name__ == "__main__":
    if "--update" in sys.argv:
        update()
    else:
        harness.run_tests([("frames match their references", test_frames_match_their_references)])
