#include "controls/walking_camera.h"

#include "common/units.h"
#include "controls/key_table.h"

#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

ViewerCamera viewerCamera;

namespace {
// Held as a float on purpose: the step is 0.0500000007 when widened for the arithmetic.
constexpr float WALK_STEP = 0.05f;
constexpr float PHASE_STEP_DEG = 30.0f;
constexpr double BOB_AMPLITUDE = 0.1;

// Products are formed in double from float operands (exact there), and sums rounded to float
// only when stored: that is what makes one step from z = 5 land on 4.9499998.
double radians(float degrees) {
    return static_cast<double>(degrees) * static_cast<double>(DEG_TO_RAD);
}

void updateBob(ViewerCamera& camera) {
    camera.bob = static_cast<float>(BOB_AMPLITUDE * std::sin(radians(camera.stepPhase)));
}

// Moves the eye by one walk step along the heading; sign +1 is forward, -1 back.
void step(ViewerCamera& camera, double sign) {
    const double theta = radians(camera.heading);
    camera.x = static_cast<float>(camera.x - sign * std::sin(theta) * WALK_STEP);
    camera.z = static_cast<float>(camera.z - sign * std::cos(theta) * WALK_STEP);
}
} // namespace

void turn(ViewerCamera& camera, float degrees) {
    camera.heading += degrees;
}

void tilt(ViewerCamera& camera, float degrees) {
    camera.pitch += degrees;
}

void walkForward(ViewerCamera& camera) {
    step(camera, 1.0);
    // The reset is tested at 359, so a forward cycle holds 360 for one step before 0.
    if (camera.stepPhase >= 359.0f) {
        camera.stepPhase = 0.0f;
    } else {
        camera.stepPhase += PHASE_STEP_DEG;
    }
    updateBob(camera);
}

void walkBack(ViewerCamera& camera) {
    step(camera, -1.0);
    // From 1 or below the phase wraps to 359, so backward phases sit one below a multiple of 30.
    if (camera.stepPhase > 1.0f) {
        camera.stepPhase -= PHASE_STEP_DEG;
    } else {
        camera.stepPhase = 359.0f;
    }
    updateBob(camera);
}

KeyAction applyKey(ViewerCamera& camera, bool& paused, unsigned char key) {
    switch (keyCommand(key)) {
    case KeyCommand::TurnRight:
        turn(camera, -TURN_STEP_DEG);
        break;
    case KeyCommand::TurnLeft:
        turn(camera, TURN_STEP_DEG);
        break;
    case KeyCommand::WalkForward:
        walkForward(camera);
        break;
    case KeyCommand::WalkBack:
        walkBack(camera);
        break;
    case KeyCommand::TiltDown:
        tilt(camera, TILT_STEP_DEG);
        break;
    case KeyCommand::TiltUp:
        tilt(camera, -TILT_STEP_DEG);
        break;
    case KeyCommand::TogglePause:
        paused = !paused;
        break;
    case KeyCommand::Replay:
        return KeyAction::Replay;
    case KeyCommand::ToggleFullScreen:
        return KeyAction::ToggleFullScreen;
    case KeyCommand::LeaveFullScreen:
        return KeyAction::LeaveFullScreen;
    case KeyCommand::SlowDown:
        return KeyAction::SlowDown;
    case KeyCommand::SpeedUp:
        return KeyAction::SpeedUp;
    case KeyCommand::PrintPlace:
        return KeyAction::PrintPlace;
    // The inspection's keys are applyInspectionKey's.
    case KeyCommand::ToggleBodyFrames:
    case KeyCommand::SelectRobot:
    case KeyCommand::SelectNone:
    case KeyCommand::PrintState:
    case KeyCommand::None:
        break;
    }
    return KeyAction::None;
}

void cameraMatrix(const ViewerCamera& camera, float (&matrix)[16]) {
    glm::mat4 m =
        glm::rotate(glm::mat4(1.0f), glm::radians(camera.pitch), glm::vec3(1.0f, 0.0f, 0.0f));
    m = glm::rotate(m, glm::radians(360.0f - camera.heading), glm::vec3(0.0f, 1.0f, 0.0f));
    m = glm::translate(m, glm::vec3(-camera.x, -camera.bob - EYE_HEIGHT, -camera.z));
    std::memcpy(matrix, glm::value_ptr(m), sizeof matrix);
}
