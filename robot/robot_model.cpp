#include "robot/robot_model.h"

#include <cassert>

namespace {
constexpr int NO_PART = -1;

// Child and sibling of each body part, indexed by BodyPart. The torso's children are the chain
// head, left arm, right arm, left leg, right leg; each upper limb holds its lower limb.
struct TreeLinks {
    int child;
    int sibling;
};
constexpr TreeLinks BODY_TREE[BODY_PART_COUNT] = {
    {Head, NO_PART},               // Torso
    {NO_PART, LeftUpperArm},       // Head
    {LeftLowerArm, RightUpperArm}, // LeftUpperArm
    {RightLowerArm, LeftUpperLeg}, // RightUpperArm
    {NO_PART, NO_PART},            // LeftLowerArm
    {NO_PART, NO_PART},            // RightLowerArm
    {LeftLowerLeg, RightUpperLeg}, // LeftUpperLeg
    {RightLowerLeg, NO_PART},      // RightUpperLeg
    {NO_PART, NO_PART},            // LeftLowerLeg
    {NO_PART, NO_PART},            // RightLowerLeg
};

BodyNode* partOrNull(Robot& robot, int part) {
    return part == NO_PART ? nullptr : &robot.nodes[part];
}
} // namespace

Robot robots[ROBOT_COUNT] = {
    makeStartRobot(0),
    makeStartRobot(1),
    makeStartRobot(2),
    makeStartRobot(3),
};

Robot makeStartRobot(int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    Robot robot{};
    for (int axis = 0; axis < 3; ++axis) {
        robot.position[axis] = ROBOT_START[i][axis];
    }
    for (int joint = 0; joint < JOINT_COUNT; ++joint) {
        robot.angles[joint] = START_ANGLES[joint];
    }
    return robot;
}

void linkBodyTree(Robot& robot, const DrawRoutine (&routines)[BODY_PART_COUNT]) {
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        BodyNode& node = robot.nodes[part];
        node.draw = routines[part];
        node.child = partOrNull(robot, BODY_TREE[part].child);
        node.sibling = partOrNull(robot, BODY_TREE[part].sibling);
    }
}
