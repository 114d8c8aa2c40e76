#include "choreography/choreography.h"

#include "robot/node_matrix.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>

namespace {
constexpr std::uint32_t SCRIPT_COMMAND_COUNT = 2;

constexpr float GAIT_STEP_DEG = 0.5f;
constexpr float SWING_UPPER_LIMIT_DEG = 225.0f;
constexpr float SWING_LOWER_LIMIT_DEG = 135.0f;
constexpr float KNEE_FLOOR_DEG = 0.0f;
constexpr float POSE_STEP_DEG = 0.5f;
constexpr float STEP_UNITS = 1.0f;

// Where each robot walks to: its own x, the start height, the line z = 0.
constexpr float WALK_TARGETS[ROBOT_COUNT][3] = {
    {-3.0f, 0.4f, 0.0f},
    {-1.0f, 0.4f, 0.0f},
    {0.5f, 0.4f, 0.0f},
    {3.0f, 0.4f, 0.0f},
};
// The letter each robot poses, joints 0 to 12 in JointAngles order.
constexpr float POSE_TARGETS[ROBOT_COUNT][JOINT_COUNT] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 0.0f, 0.0f},
    {90.0f, 80.0f, 0.0f, 90.0f, 0.0f, 90.0f, 0.0f, 135.0f, 135.0f, 135.0f, 135.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 90.0f, 0.0f, 90.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 90.0f, -90.0f},
};

struct ScriptTable {
    float rows[ROBOT_COUNT][SCRIPT_LENGTH];
};

// Lays each robot's Walk and Pose out back to back in the flat script format.
constexpr ScriptTable buildScripts() {
    ScriptTable table{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        float* row = table.rows[i];
        row[0] = static_cast<float>(Walk);
        for (int axis = 0; axis < 3; ++axis) {
            row[1 + axis] = WALK_TARGETS[i][axis];
        }
        row[WALK_LENGTH] = static_cast<float>(Pose);
        for (int k = 0; k < JOINT_COUNT; ++k) {
            row[WALK_LENGTH + 1 + k] = POSE_TARGETS[i][k];
        }
    }
    return table;
}

constexpr ScriptTable BUILT_SCRIPTS = buildScripts();
} // namespace

const float (&ROBOT_SCRIPTS)[ROBOT_COUNT][SCRIPT_LENGTH] = BUILT_SCRIPTS.rows;

const GaitState START_GAIT[ROBOT_COUNT] = {
    {true, true},
    {false, false},
    {true, true},
    {false, false},
};

Choreography choreography = makeStartChoreography();
GaitState gaitStates[ROBOT_COUNT] = {START_GAIT[0], START_GAIT[1], START_GAIT[2], START_GAIT[3]};
bool paused = false;

namespace {
// Exact on purpose. Joints move 0.5 degree and positions 1 unit at a time, and every built-in
// target lies on that grid from its start value, so arrival is met exactly. A tolerance would
// change the tick in which commands finish; a target off the grid never finishes, and that is
// the intended behaviour, not something to paper over here.
bool reached(float value, float target) {
    return value == target;
}

// Returns true when the robot is already at the target: the command is finished and nothing
// moves in this tick.
bool walkTick(Robot& robot, GaitState& gait, const float* command) {
    const float* target = command + 1;
    float* position = robot.position;
    if (reached(position[0], target[0]) && reached(position[1], target[1]) &&
        reached(position[2], target[2])) {
        return true;
    }

    float* a = robot.angles;
    // Arms swing against the legs on the same side.
    if (gait.swing) {
        a[LeftUpperArmPitch] -= GAIT_STEP_DEG;
        a[RightUpperArmPitch] += GAIT_STEP_DEG;
        a[LeftUpperLegPitch] += GAIT_STEP_DEG;
        a[RightUpperLegPitch] -= GAIT_STEP_DEG;
    } else {
        a[LeftUpperArmPitch] += GAIT_STEP_DEG;
        a[RightUpperArmPitch] -= GAIT_STEP_DEG;
        a[LeftUpperLegPitch] -= GAIT_STEP_DEG;
        a[RightUpperLegPitch] += GAIT_STEP_DEG;
    }

    // Strict tests after the increment: the swing turns at 225.5 and 134.5, and the next tick's
    // 225.0 or 135.0 does not turn it again. The two tests cannot both hold.
    if (a[LeftUpperLegPitch] > SWING_UPPER_LIMIT_DEG) {
        gait.swing = false;
        gait.knee = false;
        stepToward(robot, command);
    }
    if (a[LeftUpperLegPitch] < SWING_LOWER_LIMIT_DEG) {
        gait.swing = true;
        gait.knee = true;
        stepToward(robot, command);
    }

    // The bending knee has no upper limit; the straightening one stops at 0.
    if (gait.knee) {
        if (a[RightLowerLegPitch] > KNEE_FLOOR_DEG) {
            a[RightLowerLegPitch] -= GAIT_STEP_DEG;
        }
        a[LeftLowerLegPitch] += GAIT_STEP_DEG;
    } else {
        if (a[LeftLowerLegPitch] > KNEE_FLOOR_DEG) {
            a[LeftLowerLegPitch] -= GAIT_STEP_DEG;
        }
        a[RightLowerLegPitch] += GAIT_STEP_DEG;
    }
    return false;
}

// Returns true when every joint is already on its target: the command is finished and nothing
// moves in this tick.
bool poseTick(Robot& robot, const float* command) {
    const float* target = command + 1;
    float* a = robot.angles;
    bool allReached = true;
    for (int k = 0; k < JOINT_COUNT; ++k) {
        allReached = allReached && reached(a[k], target[k]);
    }
    if (allReached) {
        return true;
    }
    for (int k = 0; k < JOINT_COUNT; ++k) {
        if (a[k] < target[k]) {
            a[k] += POSE_STEP_DEG;
        } else if (a[k] > target[k]) {
            a[k] -= POSE_STEP_DEG;
        }
    }
    return false;
}

// Runs one tick of the robot's current command. Returns the command if it finished, else 0.
// An unrecognised code is never passed: the cursor stays and the robot holds on it for good.
int commandTick(Robot& robot, GaitState& gait, Choreography& show, int i) {
    const std::int32_t cursor = show.cursor[i];
    const float* command = show.script[i] + cursor;
    if (reached(command[0], static_cast<float>(Walk))) {
        if (walkTick(robot, gait, command)) {
            show.cursor[i] += WALK_LENGTH;
            return Walk;
        }
    } else if (reached(command[0], static_cast<float>(Pose))) {
        if (poseTick(robot, command)) {
            show.cursor[i] += POSE_LENGTH;
            return Pose;
        }
    }
    return 0;
}

// Whole half degrees, well inside the range where a float holds every half degree: a sum of
// half-degree steps on such values is exact in any grouping, so a stretch of n ticks taken at
// once gives the very floats the n ticks give one by one (a zero comes out +0 either way).
constexpr float GRID_LIMIT_DEG = 1048576.0f;
bool onHalfGrid(float value) {
    const float halves = value * 2.0f;
    return std::fabs(value) <= GRID_LIMIT_DEG && std::floor(halves) == halves;
}

// Ticks from now in which the walking leg, after its step, stays within the swing limits: no
// reversal and no step, so the walk can neither finish nor turn.
std::uint32_t quietWalkTicks(const Robot& robot, const GaitState& gait, const float* command) {
    const float* target = command + 1;
    const float* position = robot.position;
    const float* a = robot.angles;
    if (reached(position[0], target[0]) && reached(position[1], target[1]) &&
        reached(position[2], target[2])) {
        return 0;
    }
    for (int k : {LeftUpperArmPitch, RightUpperArmPitch, LeftUpperLegPitch, RightUpperLegPitch,
                  LeftLowerLegPitch, RightLowerLegPitch}) {
        if (!onHalfGrid(a[k])) {
            return 0;
        }
    }
    const float leg = a[LeftUpperLegPitch];
    const float first = gait.swing ? leg + GAIT_STEP_DEG : leg - GAIT_STEP_DEG;
    if (first > SWING_UPPER_LIMIT_DEG || first < SWING_LOWER_LIMIT_DEG) {
        return 0;
    }
    const float room = gait.swing ? SWING_UPPER_LIMIT_DEG - leg : leg - SWING_LOWER_LIMIT_DEG;
    return static_cast<std::uint32_t>(room / GAIT_STEP_DEG);
}

// The stretch's moves at once: arms and hips as in walkTick, the straightening knee down to 0
// and no further, the bending one on.
void walkQuietly(Robot& robot, const GaitState& gait, std::uint32_t ticks) {
    float* a = robot.angles;
    const float swing = (gait.swing ? GAIT_STEP_DEG : -GAIT_STEP_DEG) * static_cast<float>(ticks);
    a[LeftUpperArmPitch] -= swing;
    a[RightUpperArmPitch] += swing;
    a[LeftUpperLegPitch] += swing;
    a[RightUpperLegPitch] -= swing;
    float& straightening = gait.knee ? a[RightLowerLegPitch] : a[LeftLowerLegPitch];
    float& bending = gait.knee ? a[LeftLowerLegPitch] : a[RightLowerLegPitch];
    if (straightening > KNEE_FLOOR_DEG) {
        const float halves = std::min(straightening / GAIT_STEP_DEG, static_cast<float>(ticks));
        straightening -= GAIT_STEP_DEG * halves;
    }
    bending += GAIT_STEP_DEG * static_cast<float>(ticks);
}

// Ticks from now until every joint is on its target; the tick after them finishes the pose.
std::uint32_t quietPoseTicks(const Robot& robot, const float* command) {
    const float* target = command + 1;
    float farthest = 0.0f;
    for (int k = 0; k < JOINT_COUNT; ++k) {
        if (!onHalfGrid(robot.angles[k]) || !onHalfGrid(target[k])) {
            return 0;
        }
        farthest = std::max(farthest, std::fabs(target[k] - robot.angles[k]));
    }
    return static_cast<std::uint32_t>(farthest / POSE_STEP_DEG);
}

void poseQuietly(Robot& robot, const float* command, std::uint32_t ticks) {
    const float* target = command + 1;
    for (int k = 0; k < JOINT_COUNT; ++k) {
        float& angle = robot.angles[k];
        const float halves =
            std::min(std::fabs(target[k] - angle) / POSE_STEP_DEG, static_cast<float>(ticks));
        if (angle < target[k]) {
            angle += POSE_STEP_DEG * halves;
        } else if (angle > target[k]) {
            angle -= POSE_STEP_DEG * halves;
        }
    }
}
} // namespace

Choreography makeStartChoreography() {
    Choreography show{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        show.commandCount[i] = SCRIPT_COMMAND_COUNT;
        show.script[i] = ROBOT_SCRIPTS[i];
    }
    return show;
}

int robotTick(Robot& robot, GaitState& gait, Choreography& show, int i) {
    // A done robot is skipped before its script is read: its cursor is one past the end.
    if (show.finishedCount[i] >= show.commandCount[i]) {
        return 0;
    }
    const int finished = commandTick(robot, gait, show, i);
    if (finished != 0) {
        show.finishedCount[i] += 1;
    }
    return finished;
}

std::uint32_t skipQuietTicks(Robot& robot, GaitState& gait, const Choreography& show, int i,
                             std::uint32_t most) {
    if (show.finishedCount[i] >= show.commandCount[i]) {
        return 0;
    }
    const float* command = show.script[i] + show.cursor[i];
    std::uint32_t ticks = most;
    if (reached(command[0], static_cast<float>(Walk))) {
        ticks = std::min(most, quietWalkTicks(robot, gait, command));
        walkQuietly(robot, gait, ticks);
    } else if (reached(command[0], static_cast<float>(Pose))) {
        ticks = std::min(most, quietPoseTicks(robot, command));
        poseQuietly(robot, command, ticks);
    }
    // An unknown command holds its robot: every tick is quiet.
    return ticks;
}

void restartShow(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                 GaitState (&gaits)[ROBOT_COUNT], bool& isPaused) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        const Robot start = makeStartRobot(i);
        std::copy(std::begin(start.position), std::end(start.position), robotTable[i].position);
        std::copy(std::begin(start.angles), std::end(start.angles), robotTable[i].angles);
        computeNodeMatrices(robotTable[i], NodeMatrixVariant::StartUp);
        gaits[i] = START_GAIT[i];
        show.cursor[i] = 0;
        show.finishedCount[i] = 0;
    }
    show.ticks = 0;
    isPaused = false;
}

void stepToward(Robot& robot, const float* walkCommand) {
    const float* target = walkCommand + 1;
    for (int axis = 0; axis < 3; ++axis) {
        float& coordinate = robot.position[axis];
        if (coordinate < target[axis]) {
            coordinate += STEP_UNITS;
        } else if (coordinate > target[axis]) {
            coordinate -= STEP_UNITS;
        }
    }
}

TickReport choreographyTick(Robot (&robotTable)[ROBOT_COUNT], Choreography& show,
                            GaitState (&gaits)[ROBOT_COUNT], bool isPaused) {
    TickReport report{};
    if (isPaused) {
        return report;
    }
    report.advanced = true;
    show.ticks += 1;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        if (show.finishedCount[i] >= show.commandCount[i]) {
            continue;
        }
        const int finished = robotTick(robotTable[i], gaits[i], show, i);
        if (finished != 0) {
            report.completions[report.completionCount] = {i, static_cast<ScriptCommand>(finished)};
            report.completionCount += 1;
        }
        // Rebuilt in every tick the robot is handled, the tick it finishes included.
        computeNodeMatrices(robotTable[i], NodeMatrixVariant::Tick);
    }
    return report;
}
