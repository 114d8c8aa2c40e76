// Show time: the show put at any tick by running it again from its start, its length and the
// ticks at which its commands finish, the playing speed, and the words that say where it is.
// Pure. The step, seek and speed keys, the idle handler and the command line's --at use it.
// A run takes each robot alone, and the stretches in which its joints only move half a degree a
// tick at once (skipQuietTicks), so a seek anywhere in the longest show costs well under a frame.
#pragma once

#include "choreography/choreography.h"
#include "choreography/show_file.h"

#include <cstdint>
#include <string>

// Every command of every script, at most MAX_SHOW_COMMANDS a robot, finishes once.
constexpr int MAX_COMPLETIONS = ROBOT_COUNT * static_cast<int>(MAX_SHOW_COMMANDS);

// Far beyond the longest command a show file can hold (a walk across the field after a pose that
// leaves the legs anywhere, a pose from any reachable posture: under 10000 ticks): a command
// that has not finished within it never will, its target being off the step grid.
constexpr std::uint32_t LONGEST_COMMAND_TICKS = 100000;

// One finished command and the tick that finished it.
struct TimedCompletion {
    std::uint32_t tick;
    CommandCompletion completion;
};

// The commands finished from the start up to a tick, in the order they finished.
struct ShowHistory {
    int completionCount;
    TimedCompletion completions[MAX_COMPLETIONS];
};

// Puts the show at exactly `tick`: the start state of restartShow (paused untouched, scripts
// kept), then, equal bit for bit, `tick` choreography ticks; once every robot is done only the
// tick count moves on. Draws and prints nothing. Returns the commands finished by then, in the
// order the ticks report them. Scripts of at most MAX_SHOW_COMMANDS commands.
ShowHistory seekShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                     GaitState (&gaits)[ROBOT_COUNT], std::uint32_t tick);

// Runs the show on from where it is to `tick`, which is not before it, as seekShow runs it from
// the start: a seek forward costs only the ticks between. Returns the commands finished on the way.
ShowHistory advanceShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                        GaitState (&gaits)[ROBOT_COUNT], std::uint32_t tick);

// The whole show, run on a private copy of the start state: every completion with its tick,
// up to a command that never finishes (see LONGEST_COMMAND_TICKS). The built-in show, or the
// one whose scripts `show` holds.
ShowHistory wholeShow();
ShowHistory wholeShow(const Choreography& show);

// Ticks until robot i's current command finishes, running robot i alone on copies: 0 for a robot
// that is done, NEVER_FINISHES for a command that runs LONGEST_COMMAND_TICKS without finishing.
constexpr std::uint32_t NEVER_FINISHES = UINT32_MAX;
std::uint32_t ticksToFinish(const Robot& robot, const GaitState& gait, const Choreography& show,
                            int i);

// Whether nothing can move the robots until the user acts: they are paused, or every one has
// finished its script. The idle handler is then taken away, and the program waits for events.
bool showResting(const Choreography& show, bool isPaused);

// The tick of the show's last completion (0 for a show that finishes nothing).
std::uint32_t showLength(const ShowHistory& whole);

// The last tick a show can be put at, by a step, a seek, the command line or a link: the tick
// counter's own range, so a step forward there stays there instead of wrapping to 0.
constexpr std::uint32_t MAX_TICK = UINT32_MAX;

// Where a step or seek key takes the show from tick `now`.
enum class SeekMove {
    Back,               // one tick back, not below 0
    Forward,            // one tick on, not past MAX_TICK
    LongBack,           // LONG_STEP_TICKS back, not below 0
    LongForward,        // LONG_STEP_TICKS on, not past MAX_TICK
    First,              // tick 0, the start
    End,                // the show's length
    PreviousCompletion, // paused: the last completion before now, else the start; playing: the
                        // one before the last completion passed, so that presses walk back
    NextCompletion,     // the first completion after now, else where it is
};
// One tick a frame at 60 frames a second; a long step is a second.
constexpr std::uint32_t TICKS_PER_SECOND = 60;
constexpr std::uint32_t LONG_STEP_TICKS = TICKS_PER_SECOND;

std::uint32_t seekTarget(SeekMove move, std::uint32_t now, const ShowHistory& whole, bool playing);

// The tick that many ticks back (negative) or on from `now`, held within 0 to MAX_TICK.
std::uint32_t steppedTick(std::uint32_t now, std::int64_t ticks);

// Playing speeds, slowest first: 1/8, 1/4, 1/2, 1, 2, 4 and 8 ticks per idle call.
constexpr int SPEED_COUNT = 7;
constexpr int NORMAL_SPEED = 3; // one tick per idle call, the design's pace and the start

// The speed in ticks per idle call, as people write it: "1/8" to "8".
std::string speedName(int speed);

int fasterSpeed(int speed); // doubled, up to 8
int slowerSpeed(int speed); // halved, down to 1/8

// How many ticks the idle call numbered `idleCall` (counted from 0 while playing) runs: the
// speed's ticks above 1, one in every 2, 4 or 8 calls below it.
int ticksForIdleCall(int speed, std::uint32_t idleCall);

// What the window title says after the program's name: nothing while playing at the normal
// speed, " — 4× speed" while playing at another, " — tick 740 of 2366, paused" while paused
// (past the end: " — tick 3000, after the end at 2366, paused").
std::string showTitleSuffix(std::uint32_t tick, std::uint32_t length, bool isPaused, int speed);

// The line printed for a finished command.
const char* completionLine(const CommandCompletion& completion);

// Where the show is, for a timeline's spoken value: "tick 740 of 2366, 12.3 seconds at 60 frames
// a second" (past the end: "tick 3000, after the end at 2366, 50.0 seconds at …").
std::string timelineText(std::uint32_t tick, std::uint32_t length);

// For a view that lists them: the whole show's finished commands ([{"tick":274,"line":"…"}, …])
// and the speeds by name, slowest first (["1/8", …, "8"]).
std::string completionsJson(const ShowHistory& whole);
std::string speedsJson();
