// Robot drawing: the body quadrics, the node trees and drawing a robot.
#pragma once

// Creates the body quadrics and builds the four robots' node trees.
void initRobotBodies();
