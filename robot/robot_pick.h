// Robot picking: which robot is drawn under a point of the scene view, found by casting the
// point's ray through the view's projection and camera into each robot's body parts: the same
// shape table, tree walk and node matrices the drawing uses. Pure. The page's click on the field
// uses it.
#pragma once

#include "robot/robot_model.h"

// The robot whose body the ray through pixel (x, y) of a width by height view (y down, from the
// top-left corner) meets first between the near and the far plane, or -1 when it meets none
// there or the view has no pixels. viewMatrix places the camera as the
// frame does; projection is the view's own.
int pickRobot(const Robot (&robotTable)[ROBOT_COUNT], const float (&viewMatrix)[16],
              const float (&projection)[16], int width, int height, float x, float y);
