"""Key storm: thousands of key events through the real X server, every byte value 0-255 among
them, mixed with the bound keys and spaces. The program must not crash, must still answer,
and must show exactly the view that the same bytes give through the keyboard handler in the
snapshot tool, which proves every key arrived and the camera stayed finite."""

import os
import random
import tempfile
import time

import harness
from harness import check

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


def test_key_storm():
    keys = storm_bytes(seed=7, extra=int(os.environ.get("CHEER_STORM_KEYS", "3000")))
    out = tempfile.mkdtemp(prefix="cheer-storm-")
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        main = harness.main_window(xvfb)
        scene = harness.subwindow(xvfb, main, harness.SCENE_GEOMETRY)
        lines = program.wait_for_lines(len(harness.SHOW_LINES), 900)
        check(lines == harness.SHOW_LINES, f"the show printed {lines}")

        harness.xdotool(xvfb, "windowfocus", "--sync", scene)
        names = [key_for(b) for b in keys]
        for start in range(0, len(names), 200):
            harness.xdotool(xvfb, "key", "--delay", "0", *names[start:start + 200])
            check(program.alive(), f"program ended after {start} keys")
        check(program.alive(), "program ended after the storm")

        expected = harness.read_png(harness.snapshot(xvfb, os.path.join(out, "storm"), [2400],
                                                     keys=keys)[2400])
        unmoved = harness.read_png(harness.snapshot(xvfb, os.path.join(out, "still"), [2400])[2400])
        check(harness.differing_share(expected, unmoved, 8) > 0.05,
              "the storm's keys leave the view where it was, so the comparison proves nothing")
        # The program works through its queue of key events at its own pace; wait for it.
        deadline = time.time() + 120
        while True:
            shown = harness.screenshot(xvfb, scene)
            share = harness.differing_share(shown, expected, 8)
            if share <= 0.001 or time.time() > deadline:
                break
            check(program.alive(), "program ended after the storm")
            time.sleep(1)
        print(f"    {len(keys)} key events ({len(set(keys))} distinct bytes); "
              f"{share:.4%} of pixels differ from the expected view", flush=True)
        check(share <= 0.001, f"the view after the storm is not the expected one ({share:.2%})")

        # Still answering: a turn changes the picture.
        harness.xdotool(xvfb, "key", "--delay", "5", *["a"] * 20)
        turned = harness.settled_screenshot(xvfb, scene, lambda shot: shot.rgb != shown.rgb)
        check(turned.rgb != shown.rgb, "no longer answers keys")
        check(program.stop() == -15, "program did not end on SIGTERM")
        check(program.lines == harness.SHOW_LINES, f"unexpected output {program.lines[8:]}")


if __name__ == "__main__":
    harness.run_tests([("key storm", test_key_storm)])
