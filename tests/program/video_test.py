"""The show as video: a short clip made the way `make video` makes the whole show (the snapshot
tool's raw frames piped into ffmpeg) has the frames, pace and formats asked of it, and its first
and last frames are the snapshot tool's pictures of those ticks, within the golden pictures'
tolerance."""

import json
import os
import struct
import subprocess
import sys

import numpy
import pytest
from PIL import Image

import harness
from golden_test import LEVELS, MAX_SHARE

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
import make_video  # noqa: E402  (its pace and size, the ones the clip must have)

LAST_TICK = 120


def make_clip(xvfb, folder, lossless):
    webp, mp4 = os.path.join(folder, "clip.webp"), os.path.join(folder, "clip.mp4")
    build = os.path.dirname(os.path.dirname(os.environ["CHEER_SNAPSHOT"]))
    command = [sys.executable, os.path.join(TOOLS, "make_video.py"), build, "--mp4", mp4,
               "--webp", webp, "--ticks", f"0-{LAST_TICK}",
               "--textures", os.environ["CHEER_TEXTURES"]] + (["--lossless"] if lossless else [])
    result = subprocess.run(command, env=xvfb.env(harness.QUIET_SANITIZERS),
                            capture_output=True, timeout=300)
    assert result.returncode == 0, f"make_video failed: {result.stderr[-800:]!r}"
    return webp, mp4


@pytest.fixture
def pictures(xvfb, tmp_path):
    """The snapshot tool's pictures of the clip's first and last ticks."""
    paths = harness.snapshot(xvfb, tmp_path / "still", [0, LAST_TICK])
    return [harness.read_png(paths[0]), harness.read_png(paths[LAST_TICK])]


def assert_same_pictures(frames, pictures, what):
    shares = [harness.differing_share(frame, picture, LEVELS)
              for frame, picture in zip(frames, pictures)]
    print(f"{what}: first and last frame off by more than {LEVELS} levels: {shares}")
    assert max(shares) <= MAX_SHARE, f"{what} frames differ from the snapshot tool's: {shares}"


def top_level_boxes(path):
    with open(path, "rb") as f:
        data = f.read()
    kinds, at = [], 0
    while at + 8 <= len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        if size == 1:
            size = struct.unpack(">Q", data[at + 8:at + 16])[0]
        kinds.append(kind.decode())
        at += size if size else len(data)
    return kinds


def test_published_clip_has_its_formats_pace_and_pictures(xvfb, tmp_path, pictures):
    webp, mp4 = make_clip(xvfb, tmp_path, lossless=False)

    probe = json.loads(subprocess.run(
        ["ffprobe", "-v", "error", "-count_frames", "-show_streams", "-show_format",
         "-of", "json", mp4], capture_output=True, check=True, timeout=60).stdout)
    stream = probe["streams"][0]
    assert len(probe["streams"]) == 1 and "mp4" in probe["format"]["format_name"]
    assert (stream["codec_name"], stream["pix_fmt"], stream["width"], stream["height"],
            stream["r_frame_rate"]) == ("h264", "yuv420p", 480, 400, "60/1"), stream
    assert int(stream["nb_read_frames"]) == LAST_TICK + 1
    assert float(stream["duration"]) == pytest.approx((LAST_TICK + 1) / 60, abs=1e-3)
    boxes = top_level_boxes(mp4)
    assert boxes.index("moov") < boxes.index("mdat"), f"not fast-start: {boxes}"

    # Every step-th tick, each frame shown for step/60 s: the real pace of the show.
    info = subprocess.run(["webpmux", "-info", webp], capture_output=True, text=True,
                          check=True, timeout=60).stdout
    assert "Canvas size: 480 x 400" in info and "Loop Count : 0" in info, info
    rows = [line.split() for line in info.splitlines() if line.split()[0].rstrip(":").isdigit()]
    durations = [int(row[6]) for row in rows]
    step = make_video.WEBP_TICK_STEP
    assert len(durations) == LAST_TICK // step + 1, info
    assert all(abs(d - step * 1000 / 60) < 1 for d in durations), durations
    assert sum(durations) == pytest.approx(len(durations) * step * 1000 / 60, abs=1)

    animation = Image.open(webp)
    frames = [numpy.asarray(animation.convert("RGB"))]
    animation.seek(animation.n_frames - 1)
    assert_same_pictures(frames + [numpy.asarray(animation.convert("RGB"))], pictures, "WebP")


def test_lossless_mp4_frames_are_the_snapshot_pictures(xvfb, tmp_path, pictures):
    _, mp4 = make_clip(xvfb, tmp_path, lossless=True)
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", mp4, "-f", "rawvideo", "-pix_fmt",
                          "rgb24", "pipe:1"], capture_output=True, check=True, timeout=120).stdout
    frames = numpy.frombuffer(raw, numpy.uint8).reshape(-1, make_video.HEIGHT, make_video.WIDTH, 3)
    assert len(frames) == LAST_TICK + 1
    assert_same_pictures([frames[0], frames[-1]], pictures, "MP4")
