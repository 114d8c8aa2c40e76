#include "controls/keyboard.h"

#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"
#include "common/command_line.h"
#include "common/console.h"
#include "controls/walking_camera.h"

#include <GL/glut.h>
#include <string>

namespace {
void printPlace() {
    const ShowOptions place = showPlaceNow();
    printLine(placeLine(place.tick, place.paused, place.camera).c_str());
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

void moveInShow(SeekMove move) {
    // A step stops the robots first, so the tick it lands on stays on the screen.
    const bool step = move == SeekMove::Back || move == SeekMove::Forward ||
                      move == SeekMove::LongBack || move == SeekMove::LongForward;
    paused = paused || step;
    seekAndShow(seekTarget(move, choreography.ticks, showHistory()));
}

void onKey(unsigned char key, int /*x*/, int /*y*/) {
    if (applyInspectionKey(inspection, key)) {
        printRobotStates();
    }
    switch (applyKey(viewerCamera, paused, key)) {
    case KeyAction::Replay:
        restartShow(robots, choreography, gaitStates, paused);
        break;
    case KeyAction::ToggleFullScreen:
        toggleFullScreen();
        break;
    case KeyAction::LeaveFullScreen:
        leaveFullScreen();
        break;
    case KeyAction::SlowDown:
        playSpeed = slowerSpeed(playSpeed);
        break;
    case KeyAction::SpeedUp:
        playSpeed = fasterSpeed(playSpeed);
        break;
    case KeyAction::PrintPlace:
        printPlace();
        break;
    case KeyAction::None:
        break;
    }
    // The space and the replay can set resting robots moving.
    wakeShow();
    showPlaceInTitle();
    // Every key redraws the scene view, bound or not.
    requestSceneRedisplay();
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
    const bool shift = (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0;
    switch (key) {
    case GLUT_KEY_LEFT:
        moveInShow(shift ? SeekMove::LongBack : SeekMove::Back);
        break;
    case GLUT_KEY_RIGHT:
        moveInShow(shift ? SeekMove::LongForward : SeekMove::Forward);
        break;
    case GLUT_KEY_HOME:
        moveInShow(SeekMove::First);
        break;
    case GLUT_KEY_END:
        moveInShow(SeekMove::End);
        break;
    case GLUT_KEY_PAGE_UP:
        moveInShow(SeekMove::PreviousCompletion);
        break;
    case GLUT_KEY_PAGE_DOWN:
        moveInShow(SeekMove::NextCompletion);
        break;
    default:
        // Every key redraws the scene view, bound or not.
        requestSceneRedisplay();
        break;
    }
}
