// The choreography tick, tick by tick, on records built from the start tables; and the show's
// place as the text the page keeps.
#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"
#include "choreography/show_place.h"
#include "choreography/show_time.h"
#include "controls/walking_camera.h"
#include "robot/node_matrix.h"
#include "robot/robot_pick.h"
#include "tests/support/start_show.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

TickReport tick(Show& show, bool isPaused = false) {
    return choreographyTick(show.robots, show.choreography, show.gaits, isPaused);
}

// The same motion from the same scripts.
bool sameState(const Show& a, const Show& b) {
    const Choreography& ca = a.choreography;
    const Choreography& cb = b.choreography;
    return sameMotion(a, b) &&
           std::memcmp(ca.commandCount, cb.commandCount, sizeof ca.commandCount) == 0 &&
           std::memcmp(ca.script, cb.script, sizeof ca.script) == 0;
}

struct Completion {
    int tick;
    int robot;
    ScriptCommand command;
    bool operator==(const Completion& o) const {
        return tick == o.tick && robot == o.robot && command == o.command;
    }
};

std::ostream& operator<<(std::ostream& out, const Completion& c) {
    return out << "{tick " << c.tick << ", robot " << c.robot << ", command " << c.command << "}";
}

// Runs ticks firstTick to lastTick and collects what finished.
std::vector<Completion> runTicks(Show& show, int firstTick, int lastTick) {
    std::vector<Completion> seen;
    for (int t = firstTick; t <= lastTick; ++t) {
        const TickReport report = tick(show);
        EXPECT_TRUE(report.advanced);
        for (int k = 0; k < report.completionCount; ++k) {
            seen.push_back({t, report.completions[k].robot, report.completions[k].command});
        }
    }
    return seen;
}

void expectMatricesAre(const Robot& robot, NodeMatrixVariant variant) {
    Robot expected = robot;
    computeNodeMatrices(expected, variant);
    EXPECT_EQ(std::memcmp(robot.nodes, expected.nodes, sizeof robot.nodes), 0);
}

// The gait joints, as a3, a5, a7, a8, a9, a10.
struct GaitAngles {
    float leftArm, rightArm, leftLeg, leftKnee, rightLeg, rightKnee;
};

void expectGaitAngles(const Robot& robot, const GaitAngles& g) {
    const float* a = robot.angles;
    EXPECT_EQ(a[LeftUpperArmPitch], g.leftArm);
    EXPECT_EQ(a[RightUpperArmPitch], g.rightArm);
    EXPECT_EQ(a[LeftUpperLegPitch], g.leftLeg);
    EXPECT_EQ(a[LeftLowerLegPitch], g.leftKnee);
    EXPECT_EQ(a[RightUpperLegPitch], g.rightLeg);
    EXPECT_EQ(a[RightLowerLegPitch], g.rightKnee);
    for (int k : {TorsoYaw, HeadPitch, HeadYaw, LeftLowerArmPitch, RightLowerArmPitch,
                  LeftUpperArmRoll, RightUpperArmRoll}) {
        EXPECT_EQ(a[k], 0.0f) << "joint " << k;
    }
}

bool startsInPhaseOne(int robot) {
    return robot % 2 == 0;
}

class ChoreographyRun : public testing::Test {
  protected:
    Show show = startShow();
};

TEST_F(ChoreographyRun, StartStateHoldsCursorsCountsAndMirroredGaits) {
    const Choreography& c = show.choreography;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.commandCount[i], 2u);
        EXPECT_EQ(c.cursor[i], 0);
        EXPECT_EQ(c.finishedCount[i], 0u);
        EXPECT_EQ(show.gaits[i].swing, startsInPhaseOne(i));
        EXPECT_EQ(show.gaits[i].knee, startsInPhaseOne(i));
        // The walk's y must equal the start y bit for bit, or no robot would ever arrive.
        EXPECT_EQ(c.script[i][2], show.robots[i].position[1]);
    }
}

const std::vector<Completion> SHOW_COMPLETIONS = {
    {274, 0, Walk},  {726, 0, Pose},  {1002, 1, Walk}, {1454, 1, Pose},
    {1730, 2, Walk}, {2002, 2, Pose}, {2094, 3, Walk}, {2366, 3, Pose},
};

TEST_F(ChoreographyRun, EightCommandsFinishInTheirTicksInRobotOrder) {
    EXPECT_EQ(runTicks(show, 1, 2400), SHOW_COMPLETIONS);
}

TEST(NodeTree, ListsTheLinkedBodyTorsoFirstLimbsFromShouldersAndHipsDown) {
    Robot robot = makeStartRobot(1);
    const DrawRoutine none[BODY_PART_COUNT] = {};
    EXPECT_EQ(nodeTree(robot).size(), 1u) << "an unlinked robot is its torso alone";
    linkBodyTree(robot, none);
    std::vector<std::pair<std::string, int>> listed;
    for (const NodeTreeRow& row : nodeTree(robot)) {
        listed.emplace_back(bodyPartName(row.part), row.depth);
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"torso", 0},           {"head", 1},
        {"left upper arm", 1},  {"left lower arm", 2},
        {"right upper arm", 1}, {"right lower arm", 2},
        {"left upper leg", 1},  {"left lower leg", 2},
        {"right upper leg", 1}, {"right lower leg", 2},
    };
    EXPECT_EQ(listed, expected);
}

TEST_F(ChoreographyRun, APointOnARobotPicksItAndTheFieldAndSkyPickNone) {
    seekShow(show.robots, show.choreography, show.gaits, 1000);
    const DrawRoutine none[BODY_PART_COUNT] = {};
    for (Robot& robot : show.robots) {
        linkBodyTree(robot, none);
    }
    // The scene view's 480 by 400 frustum from the start camera.
    float view[16], projection[16];
    cameraMatrix(ViewerCamera{}, view);
    const glm::mat4 frustum = glm::frustum(-2.0f, 2.0f, -2.4f, 2.4f, 2.0f, 40.0f);
    std::memcpy(projection, glm::value_ptr(frustum), sizeof projection);
    const glm::vec4 viewport(0.0f, 0.0f, 480.0f, 400.0f);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        const glm::vec3 torso = glm::project(glm::make_vec3(show.robots[i].position),
                                             glm::make_mat4(view), frustum, viewport);
        EXPECT_EQ(pickRobot(show.robots, view, projection, 480, 400, torso.x, 400.0f - torso.y), i);
    }
    EXPECT_EQ(pickRobot(show.robots, view, projection, 480, 400, 240.0f, 20.0f), -1) << "sky";
    EXPECT_EQ(pickRobot(show.robots, view, projection, 480, 400, 240.0f, 390.0f), -1) << "field";
}

TEST_F(ChoreographyRun, InspectionTellsTicksToGoCommandAndExactAngles) {
    for (std::uint32_t now : {0u, 1u, 273u, 274u, 1000u, 1453u, 2094u, 2366u, 2400u}) {
        seekShow(show.robots, show.choreography, show.gaits, now);
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            SCOPED_TRACE(testing::Message() << "tick " << now << " robot " << i);
            std::uint32_t expected = 0;
            for (auto c = SHOW_COMPLETIONS.rbegin(); c != SHOW_COMPLETIONS.rend(); ++c) {
                if (c->robot == i && static_cast<std::uint32_t>(c->tick) > now) {
                    expected = static_cast<std::uint32_t>(c->tick) - now;
                }
            }
            EXPECT_EQ(ticksToGo(show.robots, show.choreography, show.gaits, i), expected);
            const std::vector<std::string> lines =
                robotStateLines(show.robots, show.choreography, show.gaits, i);
            ASSERT_EQ(lines.size(), 5u);
            // Every angle reads back bit for bit, in JointAngles order.
            const std::string& joints = lines[4];
            std::size_t at = 0;
            for (int k = 0; k < JOINT_COUNT; ++k) {
                at = joints.find(std::string(jointName(k)) + "=", at);
                ASSERT_NE(at, std::string::npos) << jointName(k);
                at += std::strlen(jointName(k)) + 1;
                EXPECT_EQ(std::strtof(joints.c_str() + at, nullptr), show.robots[i].angles[k]);
            }
        }
    }
    seekShow(show.robots, show.choreography, show.gaits, 600);
    EXPECT_EQ(commandText(show.choreography, 0), "spelling its letter");
    EXPECT_EQ(commandText(show.choreography, 1), "walking to x -1, z 0");
    float target = 0.0f;
    EXPECT_TRUE(poseTarget(show.choreography, 0, LeftUpperLegPitch, target) && target == 180.0f);
    EXPECT_FALSE(poseTarget(show.choreography, 1, LeftUpperLegPitch, target));
    seekShow(show.robots, show.choreography, show.gaits, 2367);
    EXPECT_EQ(commandText(show.choreography, 3), "done");
    // An off-grid target is never met: the look-ahead gives up rather than run forever.
    const float offGrid[SCRIPT_LENGTH] = {Walk, 0.25f, 0.4f, 0.0f};
    show.choreography = makeStartChoreography();
    show.choreography.script[0] = offGrid;
    EXPECT_EQ(ticksToGo(show.robots, show.choreography, show.gaits, 0), NEVER_COMPLETES);
}

TEST_F(ChoreographyRun, SeekingToATickIsRunningThatManyTicks) {
    const ShowHistory whole = wholeShow();
    ASSERT_EQ(whole.completionCount, 8);
    EXPECT_EQ(showLength(whole), 2366u);
    std::vector<Completion> reported;
    std::vector<std::uint32_t> targets = {0, 1, 91, 600, 2367, 2400};
    for (int k = 0; k < whole.completionCount; ++k) {
        const TimedCompletion& c = whole.completions[k];
        reported.push_back({static_cast<int>(c.tick), c.completion.robot, c.completion.command});
        targets.insert(targets.end(), {c.tick - 1, c.tick, c.tick + 1});
    }
    // The same eight lines, in the same ticks, as playing the show.
    EXPECT_EQ(reported, runTicks(show, 1, 2400));
    show = startShow();
    std::sort(targets.begin(), targets.end());
    std::vector<Completion> played;
    for (std::uint32_t t = 0; t <= 2400; ++t) {
        // At rest from the last line on, not a tick before it; paused, always.
        ASSERT_EQ(showResting(show.choreography, false), t >= 2366) << "tick " << t;
        ASSERT_TRUE(showResting(show.choreography, true));
        if (std::binary_search(targets.begin(), targets.end(), t)) {
            Show sought = startShow();
            const ShowHistory history =
                seekShow(sought.robots, sought.choreography, sought.gaits, t);
            ASSERT_TRUE(sameState(sought, show)) << "tick " << t;
            EXPECT_EQ(sought.choreography.ticks, t);
            EXPECT_EQ(history.completionCount, static_cast<int>(played.size())) << "tick " << t;
            // A step back then forward lands on the same state.
            seekShow(sought.robots, sought.choreography, sought.gaits,
                     seekTarget(SeekMove::Back, t, whole, false));
            seekShow(sought.robots, sought.choreography, sought.gaits,
                     seekTarget(SeekMove::Forward, sought.choreography.ticks, whole, false));
            EXPECT_TRUE(t == 0 || sameState(sought, show)) << "back and forth at " << t;
            // Run on from a tick back, as a drag forward does, it lands there too.
            seekShow(sought.robots, sought.choreography, sought.gaits,
                     seekTarget(SeekMove::Back, t, whole, false));
            advanceShow(sought.robots, sought.choreography, sought.gaits, t);
            EXPECT_TRUE(sameState(sought, show)) << "run on to " << t;
        }
        const std::vector<Completion> seen =
            runTicks(show, static_cast<int>(t) + 1, static_cast<int>(t) + 1);
        played.insert(played.end(), seen.begin(), seen.end());
    }
}

TEST(ShowTime, SeekKeysSpeedsAndTitle) {
    const ShowHistory whole = wholeShow();
    struct Move {
        SeekMove move;
        bool playing;
        std::uint32_t from, to;
    };
    const Move moves[] = {
        {SeekMove::Back, false, 0, 0},
        {SeekMove::Back, false, 1, 0},
        {SeekMove::LongBack, false, 59, 0},
        {SeekMove::LongBack, false, 60, 0},
        {SeekMove::LongBack, false, 61, 1},
        {SeekMove::LongForward, false, 2366, 2426},
        {SeekMove::Forward, false, MAX_TICK - 1, MAX_TICK},
        {SeekMove::Forward, true, MAX_TICK, MAX_TICK},
        {SeekMove::LongForward, false, MAX_TICK - 60, MAX_TICK},
        {SeekMove::LongForward, false, MAX_TICK - 59, MAX_TICK},
        {SeekMove::LongForward, false, MAX_TICK - 61, MAX_TICK - 1},
        {SeekMove::First, true, 900, 0},
        {SeekMove::End, false, 5, 2366},
        {SeekMove::End, false, 3000, 2366},
        // Paused: the last completion before now, so presses walk back.
        {SeekMove::PreviousCompletion, false, 1002, 726},
        {SeekMove::PreviousCompletion, false, 1003, 1002},
        {SeekMove::PreviousCompletion, false, 200, 0},
        // Playing: the one before the last passed, as the show has moved on from it.
        {SeekMove::PreviousCompletion, true, 1002, 726},
        {SeekMove::PreviousCompletion, true, 1005, 726},
        {SeekMove::PreviousCompletion, true, 1001, 274},
        {SeekMove::PreviousCompletion, true, 727, 274},
        {SeekMove::PreviousCompletion, true, 275, 0},
        {SeekMove::PreviousCompletion, true, 200, 0},
        {SeekMove::NextCompletion, false, 1002, 1454},
        {SeekMove::NextCompletion, true, 1001, 1002},
        {SeekMove::NextCompletion, false, 2366, 2366},
        {SeekMove::NextCompletion, true, 3000, 3000},
    };
    for (const Move& m : moves) {
        EXPECT_EQ(seekTarget(m.move, m.from, whole, m.playing), m.to)
            << static_cast<int>(m.move) << (m.playing ? " playing" : " paused") << " from "
            << m.from;
    }
    EXPECT_EQ(steppedTick(5, -7), 0u);
    EXPECT_EQ(steppedTick(5, -5), 0u);
    EXPECT_EQ(steppedTick(5, -4), 1u);
    EXPECT_EQ(steppedTick(MAX_TICK - 3, 4), MAX_TICK);
    EXPECT_EQ(steppedTick(MAX_TICK - 3, 9), MAX_TICK);
    EXPECT_EQ(steppedTick(MAX_TICK - 3, 2), MAX_TICK - 1);
    // Over eight idle calls each speed runs its eighths of a tick times eight.
    int speed = 0;
    for (int expected : {1, 2, 4, 8, 16, 32, 64, 64}) {
        int ticks = 0;
        for (std::uint32_t call = 0; call < 8; ++call) {
            ticks += ticksForIdleCall(speed, call);
        }
        EXPECT_EQ(ticks, expected) << "speed " << speed;
        speed = fasterSpeed(speed);
    }
    EXPECT_EQ(slowerSpeed(slowerSpeed(0)), 0);
    EXPECT_EQ(showTitleSuffix(740, 2366, false, NORMAL_SPEED), "");
    EXPECT_EQ(showTitleSuffix(740, 2366, false, 0), " \u2014 1/8\u00d7 speed");
    EXPECT_EQ(showTitleSuffix(740, 2366, true, 5), " \u2014 tick 740 of 2366, paused");
    EXPECT_EQ(timelineText(740, 2366), "tick 740 of 2366, 12.3 seconds at 60 frames a second");
    EXPECT_EQ(timelineText(3000, 2366).substr(0, 30), "tick 3000, after the end at 23");
}

TEST_F(ChoreographyRun, FirstTickSwingsMirroredPhasesAndSwitchesToTickMatrices) {
    const Show before = show;
    runTicks(show, 1, 1);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        if (startsInPhaseOne(i)) {
            expectGaitAngles(show.robots[i], {179.5f, 180.5f, 180.5f, 0.5f, 179.5f, 0.0f});
        } else {
            expectGaitAngles(show.robots[i], {180.5f, 179.5f, 179.5f, 0.0f, 180.5f, 0.5f});
        }
        EXPECT_EQ(std::memcmp(show.robots[i].position, before.robots[i].position,
                              sizeof show.robots[i].position),
                  0);
        expectMatricesAre(show.robots[i], NodeMatrixVariant::Tick);
    }
}

TEST_F(ChoreographyRun, FirstGaitReversalComesOnTick91) {
    runTicks(show, 1, 90);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_EQ(show.robots[i].angles[LeftUpperLegPitch], startsInPhaseOne(i) ? 225.0f : 135.0f);
        EXPECT_EQ(show.robots[i].position[2], ROBOT_START[i][2]);
    }
    runTicks(show, 91, 91);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        const Robot& r = show.robots[i];
        EXPECT_EQ(r.angles[LeftUpperLegPitch], startsInPhaseOne(i) ? 225.5f : 134.5f);
        EXPECT_EQ(show.gaits[i].swing, !startsInPhaseOne(i));
        EXPECT_EQ(show.gaits[i].knee, !startsInPhaseOne(i));
        // The knee phase flips before the knees move: the new bending knee grows in tick 91.
        EXPECT_EQ(r.angles[startsInPhaseOne(i) ? RightLowerLegPitch : LeftLowerLegPitch], 0.5f);
        EXPECT_EQ(r.angles[startsInPhaseOne(i) ? LeftLowerLegPitch : RightLowerLegPitch], 44.5f);
        EXPECT_EQ(r.position[0], ROBOT_START[i][0]);
        EXPECT_EQ(r.position[1], ROBOT_START[i][1]);
        EXPECT_EQ(r.position[2], ROBOT_START[i][2] + 1.0f);
    }
}

TEST_F(ChoreographyRun, PositionsStepOnlyAtReversalsEvery182Ticks) {
    const int reversals[] = {91, 273, 455, 637, 819, 1001, 1183, 1365, 1547, 1729, 1911, 2093};
    const int stepsTaken[ROBOT_COUNT] = {2, 6, 10, 12};
    std::vector<int> stepTicks[ROBOT_COUNT];
    for (int t = 1; t <= 2400; ++t) {
        const Show before = show;
        tick(show);
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            if (show.robots[i].position[2] != before.robots[i].position[2]) {
                stepTicks[i].push_back(t);
            }
        }
    }
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_EQ(stepTicks[i], std::vector<int>(reversals, reversals + stepsTaken[i])) << i;
    }
}

TEST_F(ChoreographyRun, WalkStopsWhereTheGaitLeftTheJoints) {
    const int walkDone[ROBOT_COUNT] = {274, 1002, 1730, 2094};
    int t = 0;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        runTicks(show, t + 1, walkDone[i] - 1);
        const Show before = show;
        runTicks(show, walkDone[i], walkDone[i]);
        t = walkDone[i];
        const Robot& r = show.robots[i];
        // The completing tick moves nothing.
        EXPECT_EQ(std::memcmp(r.angles, before.robots[i].angles, sizeof r.angles), 0);
        EXPECT_EQ(std::memcmp(&show.gaits[i], &before.gaits[i], sizeof(GaitState)), 0);
        if (startsInPhaseOne(i)) {
            expectGaitAngles(r, {225.5f, 134.5f, 134.5f, 0.5f, 225.5f, 90.5f});
        } else {
            expectGaitAngles(r, {134.5f, 225.5f, 225.5f, 90.5f, 134.5f, 0.5f});
        }
        EXPECT_EQ(r.position[2], 0.0f);
        EXPECT_EQ(show.choreography.cursor[i], WALK_LENGTH);
        EXPECT_EQ(show.choreography.finishedCount[i], 1u);
    }
}

TEST_F(ChoreographyRun, EndsInTheScriptedPosesOnTheLineAndThenNothingChanges) {
    runTicks(show, 1, 2366);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        const Robot& r = show.robots[i];
        EXPECT_EQ(std::memcmp(r.angles, ROBOT_SCRIPTS[i] + WALK_LENGTH + 1, sizeof r.angles), 0);
        EXPECT_EQ(r.position[0], ROBOT_START[i][0]);
        EXPECT_EQ(r.position[1], ROBOT_START[i][1]);
        EXPECT_EQ(r.position[2], 0.0f);
        EXPECT_EQ(show.choreography.cursor[i], SCRIPT_LENGTH);
        EXPECT_EQ(show.choreography.finishedCount[i], 2u);
        expectMatricesAre(r, NodeMatrixVariant::Tick);
    }
    Show done = show;
    EXPECT_TRUE(runTicks(show, 2367, 3000).empty());
    // Only the count goes on.
    done.choreography.ticks = 3000;
    EXPECT_TRUE(sameState(show, done));
}

TEST_F(ChoreographyRun, PausingAnywhereReplaysTheSameStates) {
    // Before tick `at`, this many paused calls come in.
    struct PauseAt {
        int at, calls;
    };
    const PauseAt pauses[] = {{1, 3}, {91, 1}, {274, 5}, {726, 2}, {1002, 1}, {2366, 4}, {2400, 7}};
    Show straight = startShow();
    int next = 0;
    for (int t = 1; t <= 2400; ++t) {
        for (; next < static_cast<int>(std::size(pauses)) && pauses[next].at == t; ++next) {
            for (int c = 0; c < pauses[next].calls; ++c) {
                const Show before = show;
                const TickReport report = tick(show, true);
                EXPECT_FALSE(report.advanced);
                EXPECT_EQ(report.completionCount, 0);
                ASSERT_TRUE(sameState(show, before)) << "paused call before tick " << t;
            }
        }
        const TickReport a = tick(straight);
        const TickReport b = tick(show);
        ASSERT_EQ(a.completionCount, b.completionCount) << "tick " << t;
        ASSERT_TRUE(sameState(show, straight)) << "tick " << t;
    }
    EXPECT_EQ(next, static_cast<int>(std::size(pauses)));
}

TEST_F(ChoreographyRun, ReplayAnywhereRunsTheShowAgainAsFromTheStart) {
    const DrawRoutine routines[BODY_PART_COUNT] = {};
    for (int replayAt : {1, 600, 2366, 2400}) {
        show = startShow();
        for (Robot& robot : show.robots) {
            linkBodyTree(robot, routines);
        }
        runTicks(show, 1, replayAt);
        ASSERT_EQ(show.choreography.ticks, static_cast<std::uint32_t>(replayAt));
        bool isPaused = true;
        restartShow(show.robots, show.choreography, show.gaits, isPaused);
        EXPECT_FALSE(isPaused);
        EXPECT_EQ(show.robots[2].nodes[Torso].child, &show.robots[2].nodes[Head]);
        // Unlinked again, so that the whole records compare, links and all.
        for (Robot& robot : show.robots) {
            for (BodyNode& node : robot.nodes) {
                node.child = node.sibling = nullptr;
            }
        }
        Show fresh = startShow();
        for (int t = 0; t <= 2400; ++t) {
            ASSERT_TRUE(sameState(show, fresh)) << "replay at " << replayAt << ", tick " << t;
            const TickReport a = tick(fresh);
            const TickReport b = tick(show);
            ASSERT_EQ(a.completionCount, b.completionCount) << "tick " << t;
            for (int k = 0; k < a.completionCount; ++k) {
                EXPECT_EQ(a.completions[k].robot, b.completions[k].robot);
            }
        }
    }
}

// Scripts of the tests below: one per robot, each SCRIPT_LENGTH floats.
using Scripts = float[ROBOT_COUNT][SCRIPT_LENGTH];

void useScripts(Show& show, const Scripts& scripts) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        show.choreography.script[i] = scripts[i];
    }
}

// Every robot's Walk and Pose target what it already has.
void fillOnTargetScripts(Scripts& scripts) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        float* s = scripts[i];
        s[0] = static_cast<float>(Walk);
        std::memcpy(s + 1, ROBOT_START[i], sizeof ROBOT_START[i]);
        s[WALK_LENGTH] = static_cast<float>(Pose);
        std::memcpy(s + WALK_LENGTH + 1, START_ANGLES, sizeof START_ANGLES);
    }
}

TEST_F(ChoreographyRun, CommandsAlreadyOnTargetFinishInTheirFirstTickInRobotOrder) {
    Scripts scripts{};
    fillOnTargetScripts(scripts);
    useScripts(show, scripts);
    const Show start = show;
    const std::vector<Completion> expected = {
        {1, 0, Walk}, {1, 1, Walk}, {1, 2, Walk}, {1, 3, Walk},
        {2, 0, Pose}, {2, 1, Pose}, {2, 2, Pose}, {2, 3, Pose},
    };
    EXPECT_EQ(runTicks(show, 1, 5), expected);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        // Rebuilt in the completing tick too, so the StartUp matrices are gone after tick 1.
        expectMatricesAre(show.robots[i], NodeMatrixVariant::Tick);
        EXPECT_EQ(std::memcmp(show.robots[i].angles, start.robots[i].angles,
                              sizeof show.robots[i].angles),
                  0);
        EXPECT_EQ(std::memcmp(show.robots[i].position, start.robots[i].position,
                              sizeof show.robots[i].position),
                  0);
        EXPECT_EQ(std::memcmp(&show.gaits[i], &start.gaits[i], sizeof(GaitState)), 0);
    }
}

TEST_F(ChoreographyRun, UnknownCommandHoldsItsRobotButItsMatricesAreStillRebuilt) {
    Scripts scripts{};
    std::memcpy(scripts, ROBOT_SCRIPTS, sizeof scripts);
    scripts[1][0] = 3.0f;
    useScripts(show, scripts);
    const Robot held = show.robots[1];

    const std::vector<Completion> seen = runTicks(show, 1, 1500);
    for (const Completion& c : seen) {
        EXPECT_NE(c.robot, 1);
    }
    EXPECT_EQ(seen.size(), 2u); // robot 0 still walks and poses
    Robot& r = show.robots[1];
    EXPECT_EQ(show.choreography.cursor[1], 0);
    EXPECT_EQ(show.choreography.finishedCount[1], 0u);
    EXPECT_EQ(std::memcmp(r.angles, held.angles, sizeof r.angles), 0);
    EXPECT_EQ(std::memcmp(r.position, held.position, sizeof r.position), 0);

    std::memset(r.nodes, 0, sizeof r.nodes);
    tick(show);
    expectMatricesAre(r, NodeMatrixVariant::Tick);
}

TEST_F(ChoreographyRun, TargetsOffTheGridAreNeverReached) {
    Scripts scripts{};
    fillOnTargetScripts(scripts);
    scripts[0][3] = ROBOT_START[0][2] + 0.5f;      // walk half a unit
    scripts[1][WALK_LENGTH + 1 + HeadYaw] = 0.25f; // a quarter degree
    useScripts(show, scripts);

    const std::vector<Completion> seen = runTicks(show, 1, 2000);
    for (const Completion& c : seen) {
        EXPECT_FALSE(c.robot == 0 || (c.robot == 1 && c.command == Pose)) << c;
    }
    // The walker crosses the target at every reversal; the joint flips every tick.
    EXPECT_EQ(show.robots[0].position[2], ROBOT_START[0][2] + 1.0f); // 11 reversals so far
    EXPECT_EQ(show.robots[1].angles[HeadYaw], 0.5f);
    tick(show);
    EXPECT_EQ(show.robots[1].angles[HeadYaw], 0.0f);
    tick(show);
    EXPECT_EQ(show.robots[1].angles[HeadYaw], 0.5f);
}

TEST(ShowPlace, TextReadsBackBitForBitAndRejectsWhatIsNoPlace) {
    // The place a page keeps while its graphics are lost is the place's one text.
    const ShowPlace place{
        MAX_TICK, true, 1, {-181.5f, 0.1f, -3.3000002f, -0.0866025f, 329.0f, 1e-7f}};
    ShowPlace back;
    std::string refusal;
    ASSERT_TRUE(readPlaceQuery(placeQuery("", place), back, refusal)) << refusal;
    EXPECT_EQ(back.tick, place.tick);
    EXPECT_EQ(back.paused, place.paused);
    EXPECT_EQ(back.speed, place.speed);
    EXPECT_EQ(std::memcmp(&back.camera, &place.camera, sizeof place.camera), 0);
    // The values by name: another order reads the same.
    ASSERT_TRUE(readPlaceQuery("cam=3,1,4,0.05,30,2&paused=0&t=7", back, refusal)) << refusal;
    EXPECT_EQ(back.tick, 7u);
    EXPECT_FALSE(back.paused);
    EXPECT_EQ(back.speed, NORMAL_SPEED);
    EXPECT_EQ(back.camera.heading, 3.0f);
    EXPECT_EQ(back.camera.x, 1.0f);
    EXPECT_EQ(back.camera.pitch, 2.0f);
    for (const char* bad : {"t=-1&cam=0,0,0,0,0,0", "t=1&cam=nan,0,0,0,0,0", "t=4294967296"}) {
        ShowPlace kept = back;
        EXPECT_FALSE(readPlaceQuery(bad, kept, refusal)) << bad;
        EXPECT_EQ(kept.tick, back.tick) << bad;
        EXPECT_EQ(std::memcmp(&kept.camera, &back.camera, sizeof kept.camera), 0) << bad;
    }
}

} // namespace
