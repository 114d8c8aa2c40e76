// Choreography: the robots' command scripts, cursors and finished counts, their gait flags, the
// pause flag, and the tick that advances every robot one step through its script.
// Pure logic. animationStep runs the tick on the globals; onKey toggles paused.
#pragma once

#include "common/units.h"
#include "robot/robot_model.h"

#include <cstdint>

// Command codes, stored in a script as floats like their operands.
enum ScriptCommand : int {
    Walk = 1, // then target x, y, z of the position
    Pose = 2, // then thirteen target joint angles in JointAngles order
};
constexpr int WALK_LENGTH = 4;  // floats, code included
constexpr int POSE_LENGTH = 14; // floats, code included
constexpr int SCRIPT_LENGTH = WALK_LENGTH + POSE_LENGTH;

struct Choreography {
    std::int32_t cursor[ROBOT_COUNT];         // float index of the current command's code
    std::uint32_t commandCount[ROBOT_COUNT];  // commands in each robot's script, at least 1
    std::uint32_t finishedCount[ROBOT_COUNT]; // commands each robot has completed
    const float* script[ROBOT_COUNT];         // commandCount[i] commands each, never written
    std::uint32_t ticks;                      // ticks run since the show started or restarted
};

// The walking gait of one robot. swing: the left leg and right arm rise (true) or fall.
// knee: the left knee bends and the right straightens (true), or the reverse. Set together.
struct GaitState {
    bool swing;
    bool knee;
};

// Built-in scripts: walk to a place on the line z = 0, then pose to spell a letter.
extern const float (&ROBOT_SCRIPTS)[ROBOT_COUNT][SCRIPT_LENGTH];
// Robots 0 and 2 start in one gait phase, 1 and 3 in the mirror phase.
extern const GaitState START_GAIT[ROBOT_COUNT];

extern Choreography choreography;
extern GaitState gaitStates[ROBOT_COUNT];
extern bool paused; // true freezes every robot; toggled by the space key

// Cursors and finished counts at 0, two commands per script, the built-in scripts.
Choreography makeStartChoreography();

// The show from its first tick again: every robot at its start position and posture with
// StartUp node matrices (its node links and draw routines kept), the start gait phases, the
// script cursors, finished counts and ticks at 0, and not paused. The scripts stay.
void restartShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                 GaitState (&gaits)[ROBOT_COUNT], bool& isPaused);

// One command finished in a tick.
struct CommandCompletion {
    int robot;
    ScriptCommand command;
};

// What one tick did: whether it ran at all, and the commands it finished, in robot order.
// A robot finishes at most one command per tick.
struct TickReport {
    bool advanced;
    int completionCount;
    CommandCompletion completions[ROBOT_COUNT];
};

// Moves the robot's position one unit toward the target of the Walk command at walkCommand, on
// each axis that is not there yet.
void stepToward(Robot& robot, const float* walkCommand);

// One tick of robot i alone, as choreographyTick runs it but without its node matrices: nothing
// for a robot that is done, else one tick of its current command. Returns the command it
// finished (its cursor and finished count moved on), else 0.
int robotTick(Robot& robot, GaitState& gait, Choreography& show, int i);

// Runs up to `most` ticks of robot i in which, as robotTick would run them, its current command
// neither finishes nor steps nor turns its gait: joints moving half a degree a tick, in one
// stretch of arithmetic equal bit for bit to those ticks. Returns how many it ran: 0 where the
// next tick is not such a tick, or the values are off the half-degree grid that makes the
// stretch exact (the caller then runs robotTick).
std::uint32_t skipQuietTicks(Robot& robot, GaitState& gait, const Choreography& show, int i,
                             std::uint32_t most);

// One idle tick. When paused, changes nothing and reports advanced = false. Otherwise, for each
// robot in order that has not finished its script: one tick of its current command, then its
// node matrices rebuilt with the Tick recipe. Allocates nothing.
TickReport choreographyTick(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                            GaitState (&gaits)[ROBOT_COUNT], bool isPaused);
