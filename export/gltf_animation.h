// glTF animation: the show's channels as the animation `show`, its time tick / 60, each value
// keyed only where its rate changes. Pure. The scene export adds it to the model it builds.
#pragma once

#include "export/show_channels.h"

#include <tiny_gltf.h>
#include <vector>

// The rotation of `degrees` about the axis as a glTF quaternion (x, y, z, w).
std::vector<double> turnQuaternion(TurnAxis axis, float degrees);

// Channels for every value of the show that changes: each robot's position on robotNodes[i],
// each joint node's turn and offset on jointNodes[i][n].
void addShowAnimation(tinygltf::Model& model, const ShowChannels& show,
                      const int (&robotNodes)[ROBOT_COUNT],
                      const int (&jointNodes)[ROBOT_COUNT][JOINT_NODE_COUNT]);
