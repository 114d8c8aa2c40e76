"""Golden pictures: renders a few frames with the snapshot tool (the program's own start-up and
drawing code) and compares them with the committed references in tests/data/golden, under two
independent software rasterizers, so that a reference only one of them reproduces fails. A frame
fails when more than MAX_SHARE of its pixels differ from the reference by more than LEVELS in
some channel: small enough that a moved robot, a lost texture, a changed material or a shifted
field line fails, large enough for the rounding noise between rasterizers.

Run with --update to write new references after an intended change of the picture."""

import os
import shutil
import sys

import pytest

import harness

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "golden")
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


def render_all(xvfb, directory, env=None):
    return {name: harness.snapshot(xvfb, os.path.join(directory, name), [tick], keys=keys,
                                   main=main, env=env)[tick]
            for name, (tick, keys, main) in FRAMES.items()}


@pytest.mark.parametrize("rasterizer", ["llvmpipe", "softpipe"])
def test_frames_match_their_references(xvfb, tmp_path, rasterizer):
    rendered = render_all(xvfb, tmp_path, env={"GALLIUM_DRIVER": rasterizer})
    shares = {name: harness.differing_share(harness.read_png(path),
                                            harness.read_png(os.path.join(GOLDEN, name + ".png")),
                                            LEVELS)
              for name, path in rendered.items()}
    print(f"{rasterizer}: share of pixels off by more than {LEVELS} levels:",
          ", ".join(f"{name} {share:.4%}" for name, share in shares.items()))
    assert max(shares.values()) <= MAX_SHARE, f"frames differ from their references: {shares}"


if __name__ == "__main__" and "--update" in sys.argv:
    server = harness.Xvfb()
    out = os.path.join(GOLDEN, "..", "golden-new")
    os.makedirs(out, exist_ok=True)
    for name, path in render_all(server, out).items():
        shutil.copy(path, os.path.join(GOLDEN, name + ".png"))
        print(f"wrote {name}.png")
    shutil.rmtree(out)
    server.stop()
