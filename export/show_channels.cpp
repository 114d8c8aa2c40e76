#include "export/show_channels.h"

#include "choreography/played_show.h"
#include "choreography/show_time.h"
#include "robot/node_matrix.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

const JointNode JOINT_NODES[JOINT_NODE_COUNT] = {
    {"torso", Torso, false, TorsoYaw, TurnAxis::Y},
    {"head_pitch", Head, true, HeadPitch, TurnAxis::X},
    {"head", Head, false, HeadYaw, TurnAxis::Y},
    {"left_upper_arm_pitch", LeftUpperArm, true, LeftUpperArmPitch, TurnAxis::X},
    {"left_upper_arm", LeftUpperArm, false, LeftUpperArmRoll, TurnAxis::Z},
    {"right_upper_arm_pitch", RightUpperArm, true, RightUpperArmPitch, TurnAxis::X},
    {"right_upper_arm", RightUpperArm, false, RightUpperArmRoll, TurnAxis::Z},
    {"left_lower_arm", LeftLowerArm, false, LeftLowerArmPitch, TurnAxis::X},
    {"right_lower_arm", RightLowerArm, false, RightLowerArmPitch, TurnAxis::X},
    {"left_upper_leg", LeftUpperLeg, false, LeftUpperLegPitch, TurnAxis::X},
    {"right_upper_leg", RightUpperLeg, false, RightUpperLegPitch, TurnAxis::X},
    {"left_lower_leg", LeftLowerLeg, false, LeftLowerLegPitch, TurnAxis::X},
    {"right_lower_leg", RightLowerLeg, false, RightLowerLegPitch, TurnAxis::X},
};

namespace {
int findNode(BodyPart part, bool outer) {
    for (int n = 0; n < JOINT_NODE_COUNT; ++n) {
        if (JOINT_NODES[n].part == part && JOINT_NODES[n].outer == outer) {
            return n;
        }
    }
    return -1;
}

bool matricesEqual(const Robot& a, const Robot& b) {
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        if (std::memcmp(a.nodes[part].matrix, b.nodes[part].matrix, sizeof a.nodes[part].matrix)) {
            return false;
        }
    }
    return true;
}

// Which recipe made the robot's matrices: each robot keeps its start-up ones until its first tick.
bool rolledByTick(const Robot& robot) {
    Robot tick = robot;
    computeNodeMatrices(tick, NodeMatrixVariant::Tick);
    if (matricesEqual(tick, robot)) {
        return true;
    }
    Robot startUp = robot;
    computeNodeMatrices(startUp, NodeMatrixVariant::StartUp);
    assert(matricesEqual(startUp, robot));
    return false;
}

void sampleRobot(const Robot& robot, RobotChannels& channels) {
    const bool rolled = rolledByTick(robot);
    channels.position.insert(channels.position.end(), robot.position, robot.position + 3);
    for (int n = 0; n < JOINT_NODE_COUNT; ++n) {
        const JointNode& node = JOINT_NODES[n];
        const bool unrolled = !rolled && node.axis == TurnAxis::Z;
        channels.angle[n].push_back(unrolled ? 0.0f : robot.angles[node.angle]);
        if (offsetNode(node.part) == n) {
            // A turn leaves a matrix's last column alone: it is the translation to the joint.
            const float* m = robot.nodes[node.part].matrix;
            channels.offset[n].insert(channels.offset[n].end(), m + 12, m + 15);
        }
    }
}
} // namespace

int offsetNode(BodyPart part) {
    const int outer = findNode(part, true);
    return outer >= 0 ? outer : findNode(part, false);
}

int bodyNode(BodyPart part) {
    return findNode(part, false);
}

int parentJointNode(int jointNode) {
    assert(jointNode >= 0 && jointNode < JOINT_NODE_COUNT);
    const JointNode& node = JOINT_NODES[jointNode];
    if (!node.outer && offsetNode(node.part) != jointNode) {
        return findNode(node.part, true);
    }
    Robot robot = makeStartRobot(0);
    const DrawRoutine noRoutines[BODY_PART_COUNT] = {};
    linkBodyTree(robot, noRoutines);
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        for (const BodyNode* c = robot.nodes[part].child; c != nullptr; c = c->sibling) {
            if (c == &robot.nodes[node.part]) {
                return bodyNode(static_cast<BodyPart>(part));
            }
        }
    }
    return -1;
}

ShowChannels sampleShow() {
    ShowChannels show{};
    // The show being played: the built-in one, or the one the command line started.
    Choreography script = showChoreography(playedShow());
    show.tickCount = showLength(wholeShow(script)) + 1;
    Robot table[ROBOT_COUNT];
    GaitState gaits[ROBOT_COUNT];
    for (std::uint32_t tick = 0; tick < show.tickCount; ++tick) {
        if (tick == 0) {
            seekShow(table, script, gaits, 0);
        } else {
            advanceShow(table, script, gaits, tick);
        }
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            sampleRobot(table[i], show.robots[i]);
        }
    }
    return show;
}

std::vector<std::uint32_t> channelKeyTicks(const std::vector<float>& values, int width,
                                           float maxStep) {
    assert(width > 0 && !values.empty() && values.size() % static_cast<std::size_t>(width) == 0);
    const std::size_t w = static_cast<std::size_t>(width);
    const auto ticks = static_cast<std::uint32_t>(values.size() / w);
    auto at = [&](std::uint32_t tick, std::size_t c) { return values[tick * w + c]; };
    // Every value lies on the show's grid, so equal steps compare exactly.
    auto bends = [&](std::uint32_t t) {
        for (std::size_t c = 0; c < w; ++c) {
            if (at(t + 1, c) - at(t, c) != at(t, c) - at(t - 1, c)) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::uint32_t> keys = {0};
    auto addKey = [&](std::uint32_t tick) {
        const std::uint32_t from = keys.back();
        float largest = 0.0f;
        for (std::size_t c = 0; c < w; ++c) {
            largest = std::fmax(largest, std::fabs(at(tick, c) - at(from, c)));
        }
        if (maxStep > 0.0f && largest > maxStep) {
            // A steady run: keys every so many ticks that each span moves at most maxStep.
            const float rate = largest / static_cast<float>(tick - from);
            const auto perSpan = std::max(1u, static_cast<std::uint32_t>(maxStep / rate));
            for (std::uint32_t k = from + perSpan; k < tick; k += perSpan) {
                keys.push_back(k);
            }
        }
        keys.push_back(tick);
    };
    for (std::uint32_t t = 1; t + 1 < ticks; ++t) {
        if (bends(t)) {
            addKey(t);
        }
    }
    if (ticks > 1) {
        addKey(ticks - 1);
    }
    return keys;
}
