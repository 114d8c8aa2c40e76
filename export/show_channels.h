// Show channels: the built-in show played tick by tick from its start to its last finished
// command, as the values that turn each robot's joints and move it, and the reduction of each
// value's run of ticks to the few keys between which it changes at a steady rate. Pure.
// The scene export writes them as the animation; its tests read the keys back.
#pragma once

#include "robot/robot_model.h"

#include <cstdint>
#include <vector>

// A joint that turns about two axes (the head, the upper arms) becomes two nodes, the outer one
// at the joint turning about the first axis and the inner one about the second, so that every
// node turns about one axis. Parents come before their children.
enum class TurnAxis { X, Y, Z };
struct JointNode {
    const char* name; // after "robotN_"
    BodyPart part;
    bool outer; // the first of a two-axis joint's nodes; the part's body node is the inner one
    int angle;  // JointAngles index
    TurnAxis axis;
};
constexpr int JOINT_NODE_COUNT = 13;
extern const JointNode JOINT_NODES[JOINT_NODE_COUNT];

// Which joint node holds the part's joint offset (the outer one where there are two), and which
// is the part's body node, whose world matrix is the program's node's.
int offsetNode(BodyPart part);
int bodyNode(BodyPart part);
// The joint node each one hangs under, by the program's own body tree; -1 for the torso, which
// hangs under the robot's placement.
int parentJointNode(int jointNode);

// One robot's values at every tick from 0: position (3 per tick), each joint node's angle in
// degrees (1 per tick) and each offset node's offset from its parent (3 per tick; empty for
// the others).
struct RobotChannels {
    std::vector<float> position;
    std::vector<float> angle[JOINT_NODE_COUNT];
    std::vector<float> offset[JOINT_NODE_COUNT];
};
struct ShowChannels {
    std::uint32_t tickCount; // ticks 0 to the show's length
    RobotChannels robots[ROBOT_COUNT];
};

// The show being played, from its start: each tick's values as the node matrices have them. At tick 0
// the matrices are the start-up recipe's, which applies no roll and puts the elbows lower.
ShowChannels sampleShow();

// The ticks to key a channel of `width` values a tick at: the first, the last, and each tick at
// which some value's step to the next tick differs from its step from the previous one; so
// linear interpolation between keys gives every tick's value. Where maxStep > 0, keys are added
// so that no value moves more than maxStep between two keys (a turn interpolated as a rotation
// goes the short way round, so a key span must stay under half a turn).
std::vector<std::uint32_t> channelKeyTicks(const std::vector<float>& values, int width,
                                           float maxStep);
