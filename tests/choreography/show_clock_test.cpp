// The show clock's verbs on the program's own show, without windows: where each puts the show,
// playing and paused, what it prints, that the view follows every one (counted hooks), and that a
// hand pose gives way to every verb that moves the show and to no other.
#include "choreography/choreography.h"
#include "choreography/hand_pose.h"
#include "choreography/played_show.h"
#include "choreography/show_clock.h"
#include "common/view_hooks.h"
#include "controls/walking_camera.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

int wakes = 0, titles = 0, redisplays = 0;

class ShowClock : public testing::Test {
  protected:
    void SetUp() override {
        viewHooks = quietViewHooks();
        viewHooks.wakeShow = [] { ++wakes; };
        viewHooks.retitle = [] { ++titles; };
        viewHooks.redisplayScene = [] { ++redisplays; };
        replayShow();
        setSpeed(NORMAL_SPEED);
        viewerCamera = {};
        wakes = titles = redisplays = 0;
    }
    void TearDown() override {
        viewHooks = quietViewHooks();
    }

    // The verb ran once and the view followed it once.
    static void expectViewFollowed(const char* verb) {
        EXPECT_EQ(wakes, 1) << verb;
        EXPECT_EQ(titles, 1) << verb;
        EXPECT_EQ(redisplays, 1) << verb;
        wakes = titles = redisplays = 0;
    }

    // Runs the verb, returning what it printed.
    template <typename Verb> static std::string printed(Verb verb) {
        testing::internal::CaptureStdout();
        verb();
        return testing::internal::GetCapturedStdout();
    }
};

// The robots as they stand, bit for bit: angles, places and node matrices; and the show's tick.
struct Stances {
    float angles[ROBOT_COUNT][JOINT_COUNT];
    float positions[ROBOT_COUNT][3];
    float matrices[ROBOT_COUNT][BODY_PART_COUNT][16];
    std::uint32_t tick;
};

Stances stancesNow() {
    Stances now{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        std::memcpy(now.angles[i], robots[i].angles, sizeof now.angles[i]);
        std::memcpy(now.positions[i], robots[i].position, sizeof now.positions[i]);
        for (int part = 0; part < BODY_PART_COUNT; ++part) {
            std::memcpy(now.matrices[i][part], robots[i].nodes[part].matrix,
                        sizeof now.matrices[i][part]);
        }
    }
    now.tick = choreography.ticks;
    return now;
}

bool sameStances(const Stances& a, const Stances& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

constexpr std::uint32_t HAND_TICK = 1000;

// The show paused at HAND_TICK, as its script has it.
void pausedAtHandTick() {
    replayShow();
    seekTo(HAND_TICK);
    pauseShow();
}

// Every robot posed by hand at three joints, a step each; the last robot's steps are kept.
void poseEveryRobot() {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        ASSERT_TRUE(beginPoseStep(handPose, robots, paused, i));
        for (const int joint : {TorsoYaw, LeftUpperArmPitch, RightLowerLegPitch}) {
            ASSERT_TRUE(
                setJointAngle(handPose, robots, choreography, joint, 40.5 + 11 * i + joint));
        }
        endPoseStep(handPose);
    }
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

TEST_F(ShowClock, EverySpeedPlaysToTheEndAt2366WithEachLineAtItsTick) {
    const ShowHistory& whole = showHistory();
    for (int speed = 0; speed < SPEED_COUNT; ++speed) {
        replayShow();
        setSpeed(speed);
        int seen = 0;
        const std::string out = printed([&] {
            for (int call = 0; call < 40000 && !showResting(choreography, paused); ++call) {
                const ShowHistory passed = playIdleCall();
                for (int k = 0; k < passed.completionCount && seen < whole.completionCount; ++k) {
                    const TimedCompletion& c = passed.completions[k];
                    EXPECT_EQ(c.tick, whole.completions[seen].tick) << "speed " << speed;
                    EXPECT_EQ(c.completion.robot, whole.completions[seen].completion.robot);
                    ++seen;
                }
            }
            // A call after the end runs nothing.
            playIdleCall();
        });
        EXPECT_EQ(seen, 8) << "speed " << speedName(speed);
        EXPECT_EQ(lineCount(out), 8) << "speed " << speedName(speed);
        EXPECT_EQ(choreography.ticks, 2366u) << "speed " << speedName(speed);
        EXPECT_EQ(placeNow().tick, 2366u);
    }
}

TEST_F(ShowClock, PausedIdleCallsRunNothing) {
    pauseShow();
    EXPECT_EQ(playIdleCall().completionCount, 0);
    EXPECT_EQ(choreography.ticks, 0u);
    playShow();
    setSpeed(SPEED_COUNT - 1);
    playIdleCall();
    EXPECT_EQ(choreography.ticks, 8u);
}

TEST_F(ShowClock, SeekPrintsGoingForwardOnlyAndKeepsThePause) {
    for (bool isPaused : {false, true}) {
        replayShow();
        paused = isPaused;
        wakes = titles = redisplays = 0;
        EXPECT_EQ(lineCount(printed([] { seekTo(1002); })), 3);
        expectViewFollowed("seekTo");
        EXPECT_EQ(choreography.ticks, 1002u);
        EXPECT_EQ(paused, isPaused);
        EXPECT_EQ(printed([] { seekTo(1001); }), "");
        EXPECT_EQ(choreography.ticks, 1001u);
        EXPECT_EQ(lineCount(printed([] { seekTo(1002); })), 1);
        wakes = titles = redisplays = 0;
    }
}

TEST_F(ShowClock, StepsPauseFirstAndStopAtZeroAndTheLastTick) {
    seekTo(100);
    wakes = titles = redisplays = 0;
    stepBy(-1);
    expectViewFollowed("stepBy");
    EXPECT_TRUE(paused);
    EXPECT_EQ(choreography.ticks, 99u);
    stepBy(LONG_STEP_TICKS);
    EXPECT_EQ(choreography.ticks, 159u);
    stepBy(-200);
    EXPECT_EQ(choreography.ticks, 0u);
    stepBy(-1);
    EXPECT_EQ(choreography.ticks, 0u);
    playShow();
    seekTo(MAX_TICK - 1);
    stepBy(1);
    EXPECT_EQ(choreography.ticks, MAX_TICK);
    stepBy(1);
    EXPECT_EQ(choreography.ticks, MAX_TICK) << "a step past the last tick wrapped";
    stepBy(LONG_STEP_TICKS);
    EXPECT_EQ(choreography.ticks, MAX_TICK);
    EXPECT_TRUE(paused);
}

TEST_F(ShowClock, PageUpWalksBackPlayingAndPaused) {
    // Paused: the last completion before now, press after press.
    seekTo(1500);
    pauseShow();
    for (std::uint32_t expected : {1454u, 1002u, 726u, 274u, 0u, 0u}) {
        seekCompletion(false);
        EXPECT_EQ(choreography.ticks, expected);
        EXPECT_TRUE(paused);
    }
    // Playing: the show moves on between presses; every press still goes further back.
    playShow();
    seekTo(1500);
    wakes = titles = redisplays = 0;
    seekCompletion(false);
    expectViewFollowed("seekCompletion");
    EXPECT_EQ(choreography.ticks, 1002u);
    for (std::uint32_t expected : {726u, 274u, 0u}) {
        playIdleCall();
        playIdleCall();
        seekCompletion(false);
        EXPECT_EQ(choreography.ticks, expected);
        EXPECT_FALSE(paused);
    }
    // Page Down: the first completion after now, either way; after the last, where it is.
    seekTo(1002);
    seekCompletion(true);
    EXPECT_EQ(choreography.ticks, 1454u);
    pauseShow();
    seekCompletion(true);
    EXPECT_EQ(choreography.ticks, 1730u);
    seekTo(2400);
    seekCompletion(true);
    EXPECT_EQ(choreography.ticks, 2400u);
}

TEST_F(ShowClock, PauseSpeedAndReplay) {
    pauseShow();
    expectViewFollowed("pauseShow");
    EXPECT_TRUE(paused);
    togglePause();
    expectViewFollowed("togglePause");
    EXPECT_FALSE(paused);
    togglePause();
    EXPECT_TRUE(paused);
    wakes = titles = redisplays = 0;
    playShow();
    expectViewFollowed("playShow");
    EXPECT_FALSE(paused);
    setSpeed(0);
    expectViewFollowed("setSpeed");
    EXPECT_EQ(playSpeed, 0);
    setSpeed(-1);
    EXPECT_EQ(playSpeed, 0);
    setSpeed(SPEED_COUNT);
    EXPECT_EQ(playSpeed, 0);
    setSpeed(SPEED_COUNT - 1);
    EXPECT_EQ(playSpeed, SPEED_COUNT - 1);
    wakes = titles = redisplays = 0;
    seekTo(800);
    pauseShow();
    wakes = titles = redisplays = 0;
    replayShow();
    expectViewFollowed("replayShow");
    EXPECT_EQ(choreography.ticks, 0u);
    EXPECT_FALSE(paused);
}

TEST_F(ShowClock, APlaceOpensWithOrWithoutItsLinesAndReadsBack) {
    const ShowPlace place{1002, true, 1, {10.0f, -2.0f, 3.5f, 0.01f, 45.0f, -7.0f}};
    EXPECT_EQ(lineCount(printed([&] { openPlace(place, true); })), 3);
    expectViewFollowed("openPlace");
    const ShowPlace now = placeNow();
    EXPECT_EQ(now.tick, 1002u);
    EXPECT_TRUE(now.paused);
    EXPECT_EQ(now.speed, 1);
    EXPECT_EQ(now.camera.heading, 10.0f);
    EXPECT_EQ(now.camera.x, -2.0f);
    EXPECT_EQ(now.camera.pitch, -7.0f);
    replayShow();
    EXPECT_EQ(printed([&] { openPlace(place, false); }), "");
    EXPECT_EQ(placeLine(placeNow()), placeLine(place));
    // A speed out of range (a record made by hand) keeps the one there is.
    openPlace(ShowPlace{5, false, SPEED_COUNT, ViewerCamera{}}, false);
    EXPECT_EQ(playSpeed, 1);
    EXPECT_FALSE(paused);
    EXPECT_EQ(choreography.ticks, 5u);
}

TEST_F(ShowClock, EveryVerbThatMovesTheShowMovesItFromTheScriptsStanceAndNotTheHands) {
    const struct {
        const char* name;
        void (*verb)();
    } verbs[] = {
        {"seek forward", [] { seekTo(HAND_TICK + 30); }},
        {"seek back", [] { seekTo(HAND_TICK - 30); }},
        {"step on", [] { stepBy(1); }},
        {"step back", [] { stepBy(-LONG_STEP_TICKS); }},
        {"next completion", [] { seekCompletion(true); }},
        {"previous completion", [] { seekCompletion(false); }},
        {"open a place",
         [] {
             openPlace({HAND_TICK + 7, true, NORMAL_SPEED, {}}, false);
         }},
        {"replay", [] { replayShow(); }},
        {"start a show", [] { startBuiltInShow(); }},
        {"one playing idle call",
         [] {
             setSpeed(SPEED_COUNT - 1);
             playShow();
             playIdleCall();
         }},
    };
    for (const auto& v : verbs) {
        // The verb, then a step on: a hand's stance left behind would come back at the next give
        // way.
        Stances script[2], fromHand[2];
        printed([&] {
            pausedAtHandTick();
            v.verb();
            script[0] = stancesNow();
            stepBy(1);
            script[1] = stancesNow();
            pausedAtHandTick();
            poseEveryRobot();
            v.verb();
            fromHand[0] = stancesNow();
            stepBy(1);
            fromHand[1] = stancesNow();
        });
        EXPECT_TRUE(sameStances(fromHand[0], script[0])) << v.name;
        EXPECT_TRUE(sameStances(fromHand[1], script[1])) << v.name << ", then a step";
        EXPECT_FALSE(canUndoPose(handPose, ROBOT_COUNT - 1)) << v.name;
    }
}

TEST_F(ShowClock, AVerbThatLeavesTheShowWhereItIsKeepsTheHandPoseAndItsSteps) {
    printed([] { pausedAtHandTick(); });
    poseEveryRobot();
    const Stances posed = stancesNow();
    setSpeed(0);
    pauseShow();
    togglePause();
    togglePause();
    playIdleCall(); // paused: no tick
    followPlace();
    EXPECT_TRUE(sameStances(stancesNow(), posed));
    EXPECT_TRUE(canUndoPose(handPose, ROBOT_COUNT - 1));

    // At the slowest speed the calls between ticks run none. Lined up after a tick, the next call
    // waits and the hand pose stays; the call that ticks gives way first.
    replayShow();
    while (choreography.ticks == 0) {
        playIdleCall();
    }
    printed([] { pausedAtHandTick(); });
    poseEveryRobot();
    playShow();
    playIdleCall();
    EXPECT_EQ(choreography.ticks, HAND_TICK);
    EXPECT_TRUE(sameStances(stancesNow(), posed));
    while (choreography.ticks == HAND_TICK) {
        printed([] { playIdleCall(); });
    }
    const Stances ticked = stancesNow();
    printed([] {
        pausedAtHandTick();
        stepBy(1);
    });
    EXPECT_TRUE(sameStances(ticked, stancesNow()));
    setSpeed(NORMAL_SPEED);
}

} // namespace
