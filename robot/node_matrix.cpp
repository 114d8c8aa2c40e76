#include "robot/node_matrix.h"

#include <cassert>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/mat4x4.hpp>

namespace {
const glm::vec3 X_AXIS(1.0f, 0.0f, 0.0f);
const glm::vec3 Y_AXIS(0.0f, 1.0f, 0.0f);
const glm::vec3 Z_AXIS(0.0f, 0.0f, 1.0f);

constexpr float HEAD_OFFSET[3] = {0.0f, 2.6f, 0.0f};
constexpr float LEFT_SHOULDER[3] = {-1.85f, 1.6f, 0.0f};
constexpr float RIGHT_SHOULDER[3] = {1.85f, 1.6f, 0.0f};
constexpr float LEFT_HIP[3] = {-0.95f, -1.6f, -0.45f};
constexpr float RIGHT_HIP[3] = {0.95f, -1.6f, -0.45f};
// Elbow along the upper arm: the start-up recipe places it lower than every tick does.
constexpr float ELBOW_START_UP[3] = {0.0f, 2.6f, 0.0f};
constexpr float ELBOW_TICK[3] = {0.0f, 2.0f, 0.0f};
constexpr float KNEE[3] = {0.0f, 3.9f, 0.0f};

// glTranslatef and glRotatef post-multiply the current matrix; glm::translate and glm::rotate
// do the same to the matrix they are given, so chaining them reads like the GL calls.
glm::mat4 translated(const float (&offset)[3]) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(offset[0], offset[1], offset[2]));
}

glm::mat4 rotated(const glm::mat4& m, float degrees, const glm::vec3& axis) {
    return glm::rotate(m, glm::radians(degrees), axis);
}

void store(BodyNode& node, const glm::mat4& m) {
    // GLM keeps its columns contiguous, the same column-major layout glMultMatrixf takes.
    std::memcpy(node.matrix, glm::value_ptr(m), sizeof node.matrix);
}
} // namespace

void computeNodeMatrices(Robot& robot, NodeMatrixVariant variant) {
    const float* a = robot.angles;
    BodyNode* n = robot.nodes;
    const bool tick = variant == NodeMatrixVariant::Tick;

    store(n[Torso], rotated(glm::mat4(1.0f), a[TorsoYaw], Y_AXIS));
    store(n[Head],
          rotated(rotated(translated(HEAD_OFFSET), a[HeadPitch], X_AXIS), a[HeadYaw], Y_AXIS));

    glm::mat4 leftArm = rotated(translated(LEFT_SHOULDER), a[LeftUpperArmPitch], X_AXIS);
    glm::mat4 rightArm = rotated(translated(RIGHT_SHOULDER), a[RightUpperArmPitch], X_AXIS);
    if (tick) {
        // The roll acts inside the pitch, so it swings the arm sideways whatever its pitch.
        leftArm = rotated(leftArm, a[LeftUpperArmRoll], Z_AXIS);
        rightArm = rotated(rightArm, a[RightUpperArmRoll], Z_AXIS);
    }
    store(n[LeftUpperArm], leftArm);
    store(n[RightUpperArm], rightArm);

    store(n[LeftUpperLeg], rotated(translated(LEFT_HIP), a[LeftUpperLegPitch], X_AXIS));
    store(n[RightUpperLeg], rotated(translated(RIGHT_HIP), a[RightUpperLegPitch], X_AXIS));

    const float(&elbow)[3] = tick ? ELBOW_TICK : ELBOW_START_UP;
    store(n[LeftLowerArm], rotated(translated(elbow), a[LeftLowerArmPitch], X_AXIS));
    store(n[RightLowerArm], rotated(translated(elbow), a[RightLowerArmPitch], X_AXIS));

    store(n[LeftLowerLeg], rotated(translated(KNEE), a[LeftLowerLegPitch], X_AXIS));
    store(n[RightLowerLeg], rotated(translated(KNEE), a[RightLowerLegPitch], X_AXIS));
}

void computeNodeMatrices(int i, NodeMatrixVariant variant) {
    assert(i >= 0 && i < ROBOT_COUNT);
    computeNodeMatrices(robots[i], variant);
}
