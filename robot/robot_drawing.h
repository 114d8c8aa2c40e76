// Robot drawing: the eleven body quadrics, the shape routines of the ten body parts, the set-up
// of the four node trees and drawing a robot. initScene calls initRobotBodies once; the scene
// frame calls drawRobot for each robot after binding its texture and material.
#pragma once

#include "robot/body_node.h"

// Creates the body quadrics, gives every robot's nodes their StartUp matrices, draw routines and
// links. Needs the scene view's context current.
void initRobotBodies();

// Draws robot i (0 to 3) at its position and scale under the current modelview matrix, which it
// leaves as found. Binds no texture and sets no material.
void drawRobot(int i);

// Robot i's node tree placed as drawRobot places it, with atEachNode drawn in every node's
// frame instead of the parts (the body frames).
void drawAtRobotNodes(int i, DrawRoutine atEachNode);

// The draw routines of the nodes: each draws its part in the node's frame, extending along +y
// from the joint, and leaves the modelview matrix as found.
void drawTorso();
void drawHead();
void drawLeftUpperArm();
void drawRightUpperArm();
void drawLeftLowerArm();
void drawRightLowerArm();
void drawLeftUpperLeg();
void drawRightUpperLeg();
void drawLeftLowerLeg();
void drawRightLowerLeg();
