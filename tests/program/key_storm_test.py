"""Key storm: thousands of key events through the real X server, every byte value 0-255 among
them, mixed with the bound keys and spaces. The program must not crash, must still answer,
and must show exactly the view that the same bytes give through the keyboard handler in the
snapshot tool, which proves every key arrived and the camera stayed finite. Among the bytes, r
replays the show and f changes full screen, so the view is compared once the last replay has
run to its end, in both."""

import os
import random

import numpy

from harness import (SCENE_GEOMETRY, SHOW_LINES, differing_share, held_still, read_png, snapshot,
                     wait_until)

CONTROL_NAMES = {0: "ctrl+at", 27: "Escape", 28: "ctrl+backslash", 29: "ctrl+bracketright",
                 30: "ctrl+asciicircum", 31: "ctrl+underscore", 127: "Delete"}


def key_for(byte):
    """The xdotool key that makes the keyboard handler receive this byte."""
    if byte in CONTROL_NAMES:
        return CONTROL_NAMES[byte]
    if 1 <= byte <= 26:
        return "ctrl+" + chr(ord("a") + byte - 1)
    # Printable ASCII and Latin-1 keysyms have the byte's own value.
    return f"0x{byte:02x}"


def storm_bytes(seed, extra):
    rng = random.Random(seed)
    every_byte = list(range(256))
    rng.shuffle(every_byte)
    bound = b"wWsSaAdDpPlL "
    mixed = [rng.choice(bound) if rng.random() < 0.7 else rng.randrange(256) for _ in range(extra)]
    return bytes(every_byte + mixed)


def test_key_storm(xvfb, program, tmp_path):
    keys = storm_bytes(seed=7, extra=int(os.environ.get("CHEER_STORM_KEYS", "3000")))
    # A replay lets the robots run; a pause left after the last one would stop them at a tick
    # that depends on the typing's pace, so one more space ends it.
    last_replay = max(keys.rfind(b"r"), keys.rfind(b"R"))
    if keys[last_replay:].count(b" ") % 2:
        keys += b" "
    scene = program.subwindow(SCENE_GEOMETRY)
    assert program.wait_for_lines(len(SHOW_LINES), 900) == SHOW_LINES

    xvfb.type_keys(scene, *[key_for(b) for b in keys])
    assert program.alive(), "program ended in the storm"

    # The keys come at tick 2400, and by 4800 the show they last replayed has ended.
    expected = read_png(snapshot(xvfb, tmp_path / "storm", [2400, 4800], keys=keys)[4800])
    unmoved = read_png(snapshot(xvfb, tmp_path / "still", [2400])[2400])
    assert differing_share(expected, unmoved, 8) > 0.05, \
        "the storm's keys leave the view where it was, so the comparison proves nothing"
    # The program works through its queue of key events at its own pace, and the robots through
    # the last replay: the view is compared once it holds still.
    shown = wait_until(lambda: held_still(xvfb, scene),
                       lambda shot: shot is not None and differing_share(shot, expected, 8) <= 0.001,
                       120, "the view after the storm is not the expected one")

    # Still answering: a turn changes the picture.
    xvfb.type_keys(scene, *["a"] * 20)
    wait_until(lambda: xvfb.picture(scene), lambda shot: not numpy.array_equal(shot, shown), 30,
               "no longer answers keys")
    assert program.stop() == -15, "program did not end on SIGTERM"
    # The first show, then replays cut short, then the last one whole.
    assert program.lines[:8] == SHOW_LINES and program.lines[-8:] == SHOW_LINES
