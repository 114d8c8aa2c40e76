#include "choreography/show_clock.h"

#include "choreography/choreography.h"
#include "choreography/hand_pose.h"
#include "common/console.h"
#include "common/view_hooks.h"
#include "controls/walking_camera.h"

int playSpeed = NORMAL_SPEED;

namespace {
// Idle calls that found the show playing, for the speeds that run a tick in only some of them.
std::uint32_t playingIdleCalls = 0;

void printCompletion(const CommandCompletion& completion) {
    printLine(completionLine(completion));
}

// Every move of the show in time comes through here, replayShow or playIdleCall, each with the
// hand pose given way first: the show moves on from its script's stance, never from the hand's.
void putShowAt(std::uint32_t tick, bool printPassed) {
    handPoseGivesWay(handPose, robots);
    // Forward the show runs on from where it is (which is where the ticks from the start would
    // have put it), so that a drag along the timeline costs only the ticks it crosses.
    if (tick < choreography.ticks) {
        seekShow(robots, choreography, gaitStates, tick);
        return;
    }
    const ShowHistory history = advanceShow(robots, choreography, gaitStates, tick);
    for (int k = 0; printPassed && k < history.completionCount; ++k) {
        printCompletion(history.completions[k].completion);
    }
}
} // namespace

namespace {
ShowHistory& playedHistory() {
    static ShowHistory whole = wholeShow(choreography);
    return whole;
}
} // namespace

const ShowHistory& showHistory() {
    return playedHistory();
}

void playChoreography(const Choreography& show) {
    choreography = show;
    playedHistory() = wholeShow(choreography);
    replayShow();
}

void followPlace() {
    viewHooks.wakeShow();
    viewHooks.retitle();
    viewHooks.redisplayScene();
}

void seekTo(std::uint32_t tick) {
    putShowAt(tick, true);
    followPlace();
}

void stepBy(std::int64_t ticks) {
    // A step stops the robots first, so the tick it lands on stays on the screen.
    paused = true;
    putShowAt(steppedTick(choreography.ticks, ticks), true);
    followPlace();
}

void seekCompletion(bool next) {
    const SeekMove move = next ? SeekMove::NextCompletion : SeekMove::PreviousCompletion;
    putShowAt(seekTarget(move, choreography.ticks, showHistory(), !paused), true);
    followPlace();
}

void playShow() {
    paused = false;
    followPlace();
}

void pauseShow() {
    paused = true;
    followPlace();
}

void togglePause() {
    paused = !paused;
    followPlace();
}

void setSpeed(int speed) {
    if (speed >= 0 && speed < SPEED_COUNT) {
        playSpeed = speed;
    }
    followPlace();
}

void replayShow() {
    handPoseGivesWay(handPose, robots);
    restartShow(robots, choreography, gaitStates, paused);
    followPlace();
}

void openPlace(const ShowPlace& place, bool printPassed) {
    putShowAt(place.tick, printPassed);
    paused = place.paused;
    if (place.speed >= 0 && place.speed < SPEED_COUNT) {
        playSpeed = place.speed;
    }
    viewerCamera = place.camera;
    followPlace();
}

ShowPlace placeNow() {
    ShowPlace place;
    place.tick = choreography.ticks;
    place.paused = paused;
    place.speed = playSpeed;
    place.camera = viewerCamera;
    return place;
}

ShowHistory playIdleCall() {
    ShowHistory history{};
    if (showResting(choreography, paused)) {
        return history;
    }
    const int ticks = ticksForIdleCall(playSpeed, playingIdleCalls++);
    if (ticks > 0) {
        handPoseGivesWay(handPose, robots);
    }
    // A fast call's batch stops with the last completion: the ticks after it would only count.
    for (int t = 0;
         t < ticks && !showResting(choreography, paused) && choreography.ticks < MAX_TICK; ++t) {
        const TickReport report = choreographyTick(robots, choreography, gaitStates, paused);
        for (int k = 0; k < report.completionCount; ++k) {
            printCompletion(report.completions[k]);
            history.completions[history.completionCount++] = {choreography.ticks,
                                                              report.completions[k]};
        }
    }
    return history;
}
