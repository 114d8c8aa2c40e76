#include "controls/keyboard.h"

#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"
#include "choreography/show_clock.h"
#include "common/console.h"
#include "common/view_hooks.h"
#include "controls/walking_camera.h"

#include <GL/glut.h>
#include <cstdint>
#include <string>

namespace {
void printPlace() {
    printLine(placeLine(placeNow()).c_str());
}

// The selected robot, or all four with none selected.
void printRobotStates() {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        if (inspection.selectedRobot != NO_ROBOT && inspection.selectedRobot != i) {
            continue;
        }
        for (const std::string& line : robotStateLines(robots, choreography, gaitStates, i)) {
            printLine(line.c_str());
        }
    }
}
} // namespace

void onKey(unsigned char key, int /*x*/, int /*y*/) {
    if (applyInspectionKey(inspection, key)) {
        printRobotStates();
    }
    switch (applyKey(viewerCamera, paused, key)) {
    case KeyAction::Replay:
        replayShow();
        break;
    case KeyAction::ToggleFullScreen:
        viewHooks.toggleFullScreen();
        break;
    case KeyAction::LeaveFullScreen:
        viewHooks.leaveFullScreen();
        break;
    case KeyAction::SlowDown:
        setSpeed(slowerSpeed(playSpeed));
        break;
    case KeyAction::SpeedUp:
        setSpeed(fasterSpeed(playSpeed));
        break;
    case KeyAction::PrintPlace:
        printPlace();
        break;
    case KeyAction::None:
        break;
    }
    // The space can set resting robots moving; every key redraws the scene view, bound or not.
    followPlace();
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
    const bool shift = (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0;
    const std::int64_t step = shift ? LONG_STEP_TICKS : 1;
    switch (key) {
    case GLUT_KEY_LEFT:
        stepBy(-step);
        break;
    case GLUT_KEY_RIGHT:
        stepBy(step);
        break;
    case GLUT_KEY_HOME:
        seekTo(0);
        break;
    case GLUT_KEY_END:
        seekTo(showLength(showHistory()));
        break;
    case GLUT_KEY_PAGE_UP:
        seekCompletion(false);
        break;
    case GLUT_KEY_PAGE_DOWN:
        seekCompletion(true);
        break;
    default:
        // Every key redraws the scene view, bound or not.
        viewHooks.redisplayScene();
        break;
    }
}
