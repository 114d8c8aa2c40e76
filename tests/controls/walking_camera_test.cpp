// The walking camera's key arithmetic, bit for bit where single precision decides the value, the
// pointer's drags and wheel notches as the key presses they stand for, and the touch gestures
// that drive them.
#include "controls/pointer_look.h"
#include "controls/touch_gesture.h"
#include "controls/walking_camera.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class WalkingCamera : public testing::Test {
  protected:
    ViewerCamera camera; // start values: heading 0, at (0, 5), no bob, level
    bool paused = false;

    void press(const std::string& keys) {
        for (char key : keys) {
            applyKey(camera, paused, static_cast<unsigned char>(key));
        }
    }
};

TEST_F(WalkingCamera, OneForwardStepRoundsToTheNearestFloat) {
    press("w");
    EXPECT_EQ(camera.x, 0.0f);
    EXPECT_EQ(camera.z, 4.9499998f);
    EXPECT_NE(camera.z, 4.95f * 1.0000001f);
    EXPECT_EQ(camera.stepPhase, 30.0f);
    EXPECT_NEAR(camera.bob, 0.05f, 1e-7f);
}

TEST_F(WalkingCamera, BackStepFromPhaseZeroWrapsTo359) {
    press("s");
    EXPECT_EQ(camera.z, 5.0500002f);
    EXPECT_EQ(camera.stepPhase, 359.0f);
    EXPECT_NEAR(camera.bob, -0.0017452f, 1e-7f);
}

TEST_F(WalkingCamera, ForwardCycleHolds360ForOneStepThenResets) {
    const float phases[] = {30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 0, 30};
    const float bobs[] = {0.05f,       0.0866025f, 0.1f,        0.0866025f, 0.05f, 0.0f, -0.05f,
                          -0.0866025f, -0.1f,      -0.0866025f, -0.05f,     0.0f,  0.0f, 0.05f};
    for (int i = 0; i < 14; ++i) {
        press("w");
        EXPECT_EQ(camera.stepPhase, phases[i]) << "step " << i + 1;
        EXPECT_NEAR(camera.bob, bobs[i], 1e-7f) << "step " << i + 1;
    }
}

TEST_F(WalkingCamera, BackwardCycleRunsOneBelowTheMultiplesOfThirty) {
    const float phases[] = {359, 329, 299, 269, 239, 209, 179, 149, 119, 89, 59, 29, -1, 359};
    for (int i = 0; i < 14; ++i) {
        press("s");
        EXPECT_EQ(camera.stepPhase, phases[i]) << "step " << i + 1;
    }
}

TEST_F(WalkingCamera, MixedStepsFollowBothPhaseRules) {
    struct Case {
        std::string keys;
        std::vector<float> phases;
    };
    const Case cases[] = {
        {"wwssww", {30, 60, 30, 0, 30, 60}},
        {"wwsssww", {30, 60, 30, 0, 359, 0, 30}},
        {"sw", {359, 0}},
        {"sssssssssssswwww",
         {359, 329, 299, 269, 239, 209, 179, 149, 119, 89, 59, 29, 59, 89, 119, 149}},
    };
    for (const Case& c : cases) {
        ViewerCamera fresh;
        bool unused = false;
        for (size_t i = 0; i < c.keys.size(); ++i) {
            applyKey(fresh, unused, static_cast<unsigned char>(c.keys[i]));
            EXPECT_EQ(fresh.stepPhase, c.phases[i]) << c.keys << " key " << i + 1;
        }
    }
}

TEST_F(WalkingCamera, TwoForwardTwoBackReturnsExactlyToTheStart) {
    press("wwss");
    EXPECT_EQ(camera.z, 5.0f);
    EXPECT_EQ(camera.x, 0.0f);
    EXPECT_EQ(camera.stepPhase, 0.0f);
    EXPECT_EQ(camera.bob, 0.0f);
    press("sw");
    EXPECT_EQ(camera.z, 5.0f);
}

TEST_F(WalkingCamera, TurnedStepsGoToTheViewersSide) {
    press("aw");
    EXPECT_EQ(camera.heading, 1.5f);
    EXPECT_NEAR(camera.x, -0.0013088f, 1e-7f);
    EXPECT_NEAR(camera.z, 4.950017f, 1e-6f);

    ViewerCamera right;
    bool unused = false;
    applyKey(right, unused, 'd');
    applyKey(right, unused, 'w');
    EXPECT_EQ(right.heading, -1.5f);
    EXPECT_NEAR(right.x, 0.0013088f, 1e-7f);

    ViewerCamera behind;
    for (int i = 0; i < 120; ++i) {
        applyKey(behind, unused, 'A');
    }
    applyKey(behind, unused, 'W');
    EXPECT_EQ(behind.heading, 180.0f);
    EXPECT_NEAR(behind.z, 5.05f, 1e-6f);
}

TEST_F(WalkingCamera, NothingWrapsOrClamps) {
    press(std::string(240, 'a'));
    EXPECT_EQ(camera.heading, 360.0f);
    press(std::string(240, 'a'));
    EXPECT_EQ(camera.heading, 720.0f);
    press(std::string(90, 'l'));
    EXPECT_EQ(camera.pitch, 90.0f);
    press("L");
    EXPECT_EQ(camera.pitch, 91.0f);
    press(std::string(200, 'P'));
    EXPECT_EQ(camera.pitch, -109.0f);
    press(std::string(1000, 'D'));
    EXPECT_EQ(camera.heading, -780.0f);
}

TEST_F(WalkingCamera, HundredStepsAccumulateSinglePrecisionRounding) {
    press(std::string(100, 'w'));
    EXPECT_EQ(camera.stepPhase, 270.0f);
    EXPECT_NEAR(camera.bob, -0.1f, 1e-7f);
    EXPECT_NE(camera.z, 0.0f);
    EXPECT_NEAR(camera.z, -9.3e-7f, 0.5e-7f);
}

TEST_F(WalkingCamera, UpperCaseKeysActLikeLowerCase) {
    ViewerCamera lower, upper;
    bool pausedLower = false, pausedUpper = false;
    for (char key : std::string("wasdplwwsaal")) {
        applyKey(lower, pausedLower, static_cast<unsigned char>(key));
        applyKey(upper, pausedUpper, static_cast<unsigned char>(std::toupper(key)));
    }
    EXPECT_EQ(std::memcmp(&lower, &upper, sizeof lower), 0);
}

TEST_F(WalkingCamera, SpaceTogglesPauseAndLeavesTheCamera) {
    press(" ");
    EXPECT_TRUE(paused);
    press(" ");
    EXPECT_FALSE(paused);
    const ViewerCamera start;
    EXPECT_EQ(std::memcmp(&camera, &start, sizeof camera), 0);
}

TEST_F(WalkingCamera, UnboundKeysChangeNothing) {
    const std::string bound = "wWsSaAdDpPlL ";
    press("wa"); // away from the start values, so a stray reset would show
    const ViewerCamera before = camera;
    for (int key = 0; key < 256; ++key) {
        if (bound.find(static_cast<char>(key)) != std::string::npos) {
            continue;
        }
        applyKey(camera, paused, static_cast<unsigned char>(key));
    }
    EXPECT_EQ(std::memcmp(&camera, &before, sizeof camera), 0);
    EXPECT_FALSE(paused);
}

TEST_F(WalkingCamera, ReplayFullScreenAndEscapeAreHandedBackUnboundKeysAreNot) {
    const struct {
        unsigned char key;
        KeyAction action;
    } cases[] = {
        {'r', KeyAction::Replay},
        {'R', KeyAction::Replay},
        {'f', KeyAction::ToggleFullScreen},
        {'F', KeyAction::ToggleFullScreen},
        {27, KeyAction::LeaveFullScreen},
        {'q', KeyAction::None},
        {'w', KeyAction::None},
        {' ', KeyAction::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(applyKey(camera, paused, c.key), c.action) << "key " << int{c.key};
    }
}

TEST_F(WalkingCamera, DragsAndNotchesAreTheKeyPressesTheyStandFor) {
    // 13 steps of K pixels and a rest, in motions that split the steps anywhere; y twice as far.
    const int n = 13, r = LOOK_PIXELS_PER_STEP - 1;
    ViewerCamera moved;
    DragCarry carry;
    for (int left = n * LOOK_PIXELS_PER_STEP + r, motion = 1; left > 0; motion = motion % 7 + 1) {
        const int dx = std::min(motion, left);
        applyLookDrag(moved, carry, dx, -2 * dx);
        left -= dx;
    }
    EXPECT_EQ(carry.x, r);
    EXPECT_EQ(carry.y, LOOK_PIXELS_PER_STEP - 2 * r);
    // Back to the left: the rest counts, and the view turns right.
    applyLookDrag(moved, carry, -(r + 2 * LOOK_PIXELS_PER_STEP), 0);
    EXPECT_EQ(carry.x, 0);
    applyWheel(moved, 3);
    applyWheel(moved, -1);
    press(std::string(n, 'a') + std::string(2 * n + 1, 'l') + "dd" +
          std::string(3 * WALK_STEPS_PER_NOTCH, 'w') + std::string(WALK_STEPS_PER_NOTCH, 's'));
    EXPECT_EQ(std::memcmp(&moved, &camera, sizeof camera), 0);
    // A drag no screen could give is bounded, and leaves a sane carry.
    applyLookDrag(moved, carry, 2147483647, -2147483647 - 1);
    EXPECT_LT(std::abs(carry.x) + std::abs(carry.y), 2 * LOOK_PIXELS_PER_STEP);
}

// A browser's touch events on a fresh gesture, each with its changed fingers and its time.
class TouchGestures : public testing::Test {
  protected:
    TouchGesture gesture{};
    std::vector<TouchAction> actions;

    void event(TouchPhase phase, std::vector<Finger> changed, double ms = 0) {
        const TouchReport report =
            applyTouch(gesture, phase, changed.data(), static_cast<int>(changed.size()), ms);
        actions.insert(actions.end(), report.actions, report.actions + report.actionCount);
    }

    int count(TouchActionKind kind) const {
        return static_cast<int>(
            std::count_if(actions.begin(), actions.end(),
                          [kind](const TouchAction& a) { return a.kind == kind; }));
    }

    int notches() const {
        int sum = 0;
        for (const TouchAction& a : actions) {
            sum += a.kind == TouchActionKind::Notches ? a.count : 0;
        }
        return sum;
    }
};

TEST_F(TouchGestures, AShortStillTouchIsOneTapAndACancelledOneNone) {
    event(TouchPhase::Start, {{7, 100, 100}}, 1000);
    event(TouchPhase::Move, {{7, 105, 96}}, 1100);
    event(TouchPhase::End, {{7, 105, 96}}, 1200);
    EXPECT_EQ(count(TouchActionKind::Tap), 1);
    EXPECT_EQ(count(TouchActionKind::ButtonDown), 1);
    EXPECT_EQ(count(TouchActionKind::ButtonUp), 1);

    actions.clear();
    event(TouchPhase::Start, {{8, 100, 100}}, 2000);
    event(TouchPhase::Cancel, {{8, 100, 100}}, 2050);
    // Lifted after the cancel: a finger the gesture no longer follows.
    event(TouchPhase::End, {{8, 100, 100}}, 2100);
    EXPECT_EQ(count(TouchActionKind::Tap), 0);
    EXPECT_EQ(count(TouchActionKind::ButtonUp), 1) << "the look was not let go";
}

TEST_F(TouchGestures, AFingerLandingOrLiftingWalksNowhereAndTwoSpreadingWalk) {
    event(TouchPhase::Start, {{1, 100, 200}, {2, 160, 200}});
    event(TouchPhase::Start, {{3, 300, 50}});
    event(TouchPhase::End, {{1, 100, 200}});
    // The pair is now 2 and 3; neither moves, and 3 lifting leaves 2 alone.
    event(TouchPhase::Move, {{2, 160, 200}, {3, 300, 50}});
    event(TouchPhase::End, {{3, 300, 50}});
    event(TouchPhase::Start, {{4, 240, 200}});
    EXPECT_EQ(notches(), 0);
    // 2 and 4, 80 apart, spread to 160 in steps: two notches forward, to the window where the
    // walk began.
    for (int k = 1; k <= 4; ++k) {
        event(TouchPhase::Move, {{2, 160 - 10 * k, 200}, {4, 240 + 10 * k, 200}});
    }
    EXPECT_EQ(notches(), 80 / TOUCH_PIXELS_PER_NOTCH);
    EXPECT_EQ(actions.back().x, 100);
    EXPECT_EQ(actions.back().y, 200);
    EXPECT_EQ(count(TouchActionKind::ButtonDown), 1);
    EXPECT_EQ(count(TouchActionKind::Motion), 0);
    event(TouchPhase::End, {{2, 80, 200}, {4, 320, 200}}, 100);
    EXPECT_EQ(count(TouchActionKind::Tap), 0);
}

} // namespace
