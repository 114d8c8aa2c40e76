// Robot model: the four robots' positions, joint angles and body nodes, their start values and
// the shape of the body tree. Pure data and arithmetic. The choreography tick writes positions
// and angles; node_matrix turns angles into node matrices; robot_drawing links and draws the nodes.
#pragma once

#include "common/units.h"
#include "robot/body_node.h"

// Index of each joint angle. Left is the body's -x side in the torso's own frame.
enum JointAngles : int {
    TorsoYaw,           // whole body, about y
    HeadPitch,          // about x
    HeadYaw,            // about the head's own, pitched, y
    LeftUpperArmPitch,  // shoulder, about x
    LeftLowerArmPitch,  // elbow, about x
    RightUpperArmPitch, // shoulder, about x
    RightLowerArmPitch, // elbow, about x
    LeftUpperLegPitch,  // hip, about x
    LeftLowerLegPitch,  // knee, about x
    RightUpperLegPitch, // hip, about x
    RightLowerLegPitch, // knee, about x
    LeftUpperArmRoll,   // sideways, about the arm's own z inside its pitch
    RightUpperArmRoll,  // likewise
};
constexpr int JOINT_COUNT = 13;

// The ten nodes of a robot; Torso is the root.
enum BodyPart : int {
    Torso,
    Head,
    LeftUpperArm,
    RightUpperArm,
    LeftLowerArm,
    RightLowerArm,
    LeftUpperLeg,
    RightUpperLeg,
    LeftLowerLeg,
    RightLowerLeg,
};
constexpr int BODY_PART_COUNT = 10;

// Robot i's position (field units, y up), posture (degrees, no range) and body tree.
// The node links point into this same record, so a copy must be relinked before it is drawn.
struct Robot {
    float position[3];
    float angles[JOINT_COUNT];
    BodyNode nodes[BODY_PART_COUNT];
};

// The start tables. Robots stand at y 0.4 so the bottoms of their lower legs touch the floor.
constexpr float ROBOT_START[ROBOT_COUNT][3] = {
    {-3.0f, 0.4f, -2.0f},
    {-1.0f, 0.4f, -6.0f},
    {0.5f, 0.4f, -10.0f},
    {3.0f, 0.4f, -12.0f},
};
// Every robot starts with arms and legs hanging straight down.
constexpr float START_ANGLES[JOINT_COUNT] = {
    0.0f, 0.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 180.0f, 0.0f, 0.0f, 0.0f,
};

// drawRobot scales the model down to field size: a fifth across, two fifths in height.
constexpr float ROBOT_SCALE[3] = {0.2f, 0.4f, 0.2f};

// The four robots. Written by the choreography tick and computeNodeMatrices, linked once by
// initRobotBodies, read by drawRobot.
extern Robot robots[ROBOT_COUNT];

// Robot i at its start position and angles, with empty nodes (zero matrices, no routines, no
// links).
Robot makeStartRobot(int i);

// Gives each of the robot's nodes its draw routine, indexed by BodyPart, and its child and
// sibling links within the same robot. Matrices are left alone.
void linkBodyTree(Robot& robot, const DrawRoutine (&routines)[BODY_PART_COUNT]);
