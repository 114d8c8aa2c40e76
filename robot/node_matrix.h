// Node matrices: how a robot's joint angles become the matrices of its ten body nodes.
// Pure arithmetic with GLM, equal to the glTranslatef/glRotatef composition of each node.
// initRobotBodies uses the StartUp recipe once; the choreography tick uses Tick every tick.
#pragma once

#include "robot/robot_model.h"

// The two recipes differ in exactly two points: StartUp applies no upper-arm roll, and it places
// each lower arm 2.6 along its upper arm where Tick places it 2 along.
enum class NodeMatrixVariant {
    StartUp,
    Tick,
};

// Overwrites the matrix of each of the robot's ten nodes from its angles; nothing else changes.
void computeNodeMatrices(Robot& robot, NodeMatrixVariant variant);

// The same for robots[i].
void computeNodeMatrices(int i, NodeMatrixVariant variant);
