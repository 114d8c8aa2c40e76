#include "choreography/show_time.h"

#include "robot/node_matrix.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace {

// Eighths of a tick per idle call, slowest first.
constexpr int SPEED_EIGHTHS[SPEED_COUNT] = {1, 2, 4, 8, 16, 32, 64};
constexpr int EIGHTHS_PER_TICK = 8;

bool showDone(const Choreography& show) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        if (show.finishedCount[i] < show.commandCount[i]) {
            return false;
        }
    }
    return true;
}

// What one robot did on its own from one tick to another.
struct RobotRun {
    std::uint32_t tick;   // where it stopped
    bool handled;         // it was not done in at least one tick run
    int completionCount;  // its completions, in tick order
    TimedCompletion completions[MAX_SHOW_COMMANDS];
};

// Robot i from tick `from` to tick `to`, or until it is done, or (giveUp) until its command has
// run LONGEST_COMMAND_TICKS, or (firstOnly) until its first completion: quiet stretches at once,
// the other ticks by robotTick. No node matrices.
RobotRun runRobot(Robot& robot, GaitState& gait, Choreography& show, int i, std::uint32_t from,
                  std::uint32_t to, bool giveUp, bool firstOnly) {
    assert(show.commandCount[i] <= MAX_SHOW_COMMANDS);
    RobotRun run{};
    run.tick = from;
    std::uint32_t commandStart = from;
    while (run.tick < to && show.finishedCount[i] < show.commandCount[i]) {
        std::uint32_t most = to - run.tick;
        if (giveUp) {
            const std::uint32_t ran = run.tick - commandStart;
            if (ran >= LONGEST_COMMAND_TICKS) {
                break;
            }
            most = std::min(most, LONGEST_COMMAND_TICKS - ran);
        }
        run.handled = true;
        const std::uint32_t quiet = skipQuietTicks(robot, gait, show, i, most);
        if (quiet > 0) {
            run.tick += quiet;
            continue;
        }
        const int finished = robotTick(robot, gait, show, i);
        run.tick += 1;
        if (finished != 0) {
            run.completions[run.completionCount++] = {
                run.tick, {i, static_cast<ScriptCommand>(finished)}};
            commandStart = run.tick;
            if (firstOnly) {
                break;
            }
        }
    }
    return run;
}

// The robots' completions in the order the ticks report them: by tick, then robot.
ShowHistory mergedHistory(const RobotRun (&runs)[ROBOT_COUNT]) {
    ShowHistory history{};
    int next[ROBOT_COUNT] = {};
    for (;;) {
        int earliest = -1;
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            if (next[i] < runs[i].completionCount &&
                (earliest < 0 || runs[i].completions[next[i]].tick <
                                     runs[earliest].completions[next[earliest]].tick)) {
                earliest = i;
            }
        }
        if (earliest < 0) {
            return history;
        }
        history.completions[history.completionCount++] = runs[earliest].completions[next[earliest]];
        next[earliest] += 1;
    }
}
} // namespace

std::string speedName(int speed) {
    const int eighths = SPEED_EIGHTHS[speed];
    if (eighths >= EIGHTHS_PER_TICK) {
        return std::to_string(eighths / EIGHTHS_PER_TICK);
    }
    return "1/" + std::to_string(EIGHTHS_PER_TICK / eighths);
}

ShowHistory seekShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                     GaitState (&gaits)[ROBOT_COUNT], std::uint32_t tick) {
    bool isPaused = false;
    restartShow(robotTable, show, gaits, isPaused);
    return advanceShow(robotTable, show, gaits, tick);
}

ShowHistory advanceShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                        GaitState (&gaits)[ROBOT_COUNT], std::uint32_t tick) {
    assert(tick >= show.ticks);
    // The robots never meet in a tick, so each runs alone; a robot that was handled in any of the
    // ticks had its matrices rebuilt last from the state it ends with.
    RobotRun runs[ROBOT_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        runs[i] = runRobot(robotTable[i], gaits[i], show, i, show.ticks, tick, false, false);
        if (runs[i].handled) {
            computeNodeMatrices(robotTable[i], NodeMatrixVariant::Tick);
        }
    }
    // Every robot is done: further ticks would change nothing but the count.
    show.ticks = tick;
    return mergedHistory(runs);
}

ShowHistory wholeShow() {
    return wholeShow(makeStartChoreography());
}

ShowHistory wholeShow(const Choreography& scripts) {
    Choreography show = scripts;
    RobotRun runs[ROBOT_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        Robot robot = makeStartRobot(i);
        GaitState gait = START_GAIT[i];
        show.cursor[i] = 0;
        show.finishedCount[i] = 0;
        runs[i] = runRobot(robot, gait, show, i, 0, MAX_TICK, true, false);
    }
    return mergedHistory(runs);
}

std::uint32_t ticksToFinish(const Robot& robot, const GaitState& gait, const Choreography& show,
                            int i) {
    if (show.finishedCount[i] >= show.commandCount[i]) {
        return 0;
    }
    Robot ahead = robot;
    GaitState aheadGait = gait;
    Choreography aheadShow = show;
    const RobotRun run = runRobot(ahead, aheadGait, aheadShow, i, 0, MAX_TICK, true, true);
    return run.completionCount > 0 ? run.tick : NEVER_FINISHES;
}

bool showResting(const Choreography& show, bool isPaused) {
    return isPaused || showDone(show);
}

std::uint32_t showLength(const ShowHistory& whole) {
    return whole.completionCount == 0 ? 0 : whole.completions[whole.completionCount - 1].tick;
}

std::uint32_t steppedTick(std::uint32_t now, std::int64_t ticks) {
    const std::int64_t target = static_cast<std::int64_t>(now) + ticks;
    if (target < 0) {
        return 0;
    }
    return target > static_cast<std::int64_t>(MAX_TICK) ? MAX_TICK
                                                        : static_cast<std::uint32_t>(target);
}

std::uint32_t seekTarget(SeekMove move, std::uint32_t now, const ShowHistory& whole, bool playing) {
    switch (move) {
    case SeekMove::Back:
        return steppedTick(now, -1);
    case SeekMove::Forward:
        return steppedTick(now, 1);
    case SeekMove::LongBack:
        return steppedTick(now, -static_cast<std::int64_t>(LONG_STEP_TICKS));
    case SeekMove::LongForward:
        return steppedTick(now, LONG_STEP_TICKS);
    case SeekMove::First:
        return 0;
    case SeekMove::End:
        return showLength(whole);
    case SeekMove::PreviousCompletion: {
        // Playing, the show has moved on from where the last press landed: the last completion
        // before now would be that one again at every press, so it goes one further back.
        std::uint32_t last = 0, beforeLast = 0;
        for (int k = 0; k < whole.completionCount; ++k) {
            const std::uint32_t t = whole.completions[k].tick;
            if (playing ? t > now : t >= now) {
                break;
            }
            if (t != last) {
                beforeLast = last;
                last = t;
            }
        }
        return playing ? beforeLast : last;
    }
    case SeekMove::NextCompletion:
        for (int k = 0; k < whole.completionCount; ++k) {
            if (whole.completions[k].tick > now) {
                return whole.completions[k].tick;
            }
        }
        return now;
    }
    return now;
}

int fasterSpeed(int speed) {
    return speed + 1 < SPEED_COUNT ? speed + 1 : speed;
}

int slowerSpeed(int speed) {
    return speed > 0 ? speed - 1 : speed;
}

int ticksForIdleCall(int speed, std::uint32_t idleCall) {
    const int eighths = SPEED_EIGHTHS[speed];
    if (eighths >= EIGHTHS_PER_TICK) {
        return eighths / EIGHTHS_PER_TICK;
    }
    const auto callsPerTick = static_cast<std::uint32_t>(EIGHTHS_PER_TICK / eighths);
    // The tick comes in the last call of each group, so a slow show starts by waiting.
    return idleCall % callsPerTick == callsPerTick - 1 ? 1 : 0;
}

std::string showTitleSuffix(std::uint32_t tick, std::uint32_t length, bool isPaused, int speed) {
    if (!isPaused) {
        return speed == NORMAL_SPEED ? "" : " \u2014 " + speedName(speed) + "\u00d7 speed";
    }
    char text[96];
    if (tick <= length) {
        std::snprintf(text, sizeof text, " \u2014 tick %u of %u, paused", tick, length);
    } else {
        std::snprintf(text, sizeof text, " \u2014 tick %u, after the end at %u, paused", tick,
                      length);
    }
    return text;
}

const char* completionLine(const CommandCompletion& completion) {
    return completion.command == Walk ? "finished walking" : "finished spelling letter";
}

std::string timelineText(std::uint32_t tick, std::uint32_t length) {
    char text[128];
    const double seconds = tick / static_cast<double>(TICKS_PER_SECOND);
    if (tick <= length) {
        std::snprintf(text, sizeof text, "tick %u of %u, %.1f seconds at %u frames a second", tick,
                      length, seconds, TICKS_PER_SECOND);
    } else {
        std::snprintf(text, sizeof text,
                      "tick %u, after the end at %u, %.1f seconds at %u frames a second", tick,
                      length, seconds, TICKS_PER_SECOND);
    }
    return text;
}

std::string completionsJson(const ShowHistory& whole) {
    std::string text = "[";
    for (int k = 0; k < whole.completionCount; ++k) {
        const TimedCompletion& c = whole.completions[k];
        text += (k > 0 ? "," : "") + std::string("{\"tick\":") + std::to_string(c.tick) +
                ",\"line\":\"" + completionLine(c.completion) + "\"}";
    }
    return text + "]";
}

std::string speedsJson() {
    std::string text = "[";
    for (int speed = 0; speed < SPEED_COUNT; ++speed) {
        text += (speed > 0 ? ",\"" : "\"") + speedName(speed) + "\"";
    }
    return text + "]";
}
