#include "robot/robot_drawing.h"

void initRobotBodies() {}
