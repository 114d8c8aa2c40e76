"""Keys typed through the real X server (XTest) reach the keyboard handler from the main window
and the scene view, and not from the help panel; the space key pauses and resumes the robots."""

import time

import harness
from harness import check


def type_into(xvfb, window, *keys):
    harness.xdotool(xvfb, "windowfocus", "--sync", window)
    harness.xdotool(xvfb, "key", "--delay", "5", *keys)
    time.sleep(0.5)


def test_keys_reach_the_scene_from_main_window_and_scene_view_only():
    with harness.Xvfb() as xvfb, harness.Program(xvfb, harness.make_texture_dir()) as program:
        main = harness.main_window(xvfb)
        scene = harness.subwindow(xvfb, main, harness.SCENE_GEOMETRY)
        help_panel = harness.subwindow(xvfb, main, harness.HELP_GEOMETRY)

        type_into(xvfb, scene, "space")
        program.drain(0.2)
        lines_when_paused = len(program.lines)
        check(lines_when_paused < len(harness.SHOW_LINES), "the show ended before the pause")
        paused = harness.screenshot(xvfb, scene)
        time.sleep(1.5)
        check(harness.screenshot(xvfb, scene).rgb == paused.rgb, "robots moved while paused")

        type_into(xvfb, help_panel, *["a"] * 10)
        check(harness.screenshot(xvfb, scene).rgb == paused.rgb,
              "keys typed into the help panel moved the view")

        type_into(xvfb, main, *["a"] * 10)
        turned = harness.settled_screenshot(xvfb, scene, lambda shot: shot.rgb != paused.rgb)
        check(turned.rgb != paused.rgb, "keys typed into the main window did not move the view")

        # Ten turns back the other way, upper case, bring the view back exactly.
        type_into(xvfb, scene, *["D"] * 10)
        back = harness.settled_screenshot(xvfb, scene, lambda shot: shot.rgb == paused.rgb)
        check(back.rgb == paused.rgb, "keys typed into the scene view did not turn the view back")

        program.drain(0.5)
        check(len(program.lines) == lines_when_paused, "lines came while paused")
        type_into(xvfb, main, "space")
        moving = harness.settled_screenshot(xvfb, scene, lambda shot: shot.rgb != paused.rgb)
        check(moving.rgb != paused.rgb, "robots did not resume")
        lines = program.wait_for_lines(len(harness.SHOW_LINES), 600)
        check(lines == harness.SHOW_LINES, f"the show printed {lines}")


if __name__ == "__main__":
    harness.run_tests([("keys reach the scene from main window and scene view only",
                        test_keys_reach_the_scene_from_main_window_and_scene_view_only)])
