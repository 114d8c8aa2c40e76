// The show clock's verbs on the program's own show, without windows: where each puts the show,
// playing and paused, what it prints, and that the view follows every one (counted hooks).
#include "choreography/choreography.h"
#include "choreography/show_clock.h"
#include "common/view_hooks.h"
#include "controls/walking_camera.h"

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

} // namespace
