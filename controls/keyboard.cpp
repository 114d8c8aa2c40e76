#include "controls/keyboard.h"

#include "app/shell.h"
#include "app/special_keys.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "common/command_line.h"
#include "common/console.h"
#include "controls/walking_camera.h"

#include <GL/glut.h>

namespace {
void printPlace() {
    const ViewerCamera& c = viewerCamera;
    const float camera[CAMERA_VALUE_COUNT] = {c.heading, c.x, c.z, c.bob, c.stepPhase, c.pitch};
    printLine(placeLine(choreography.ticks, paused, camera).c_str());
}

void seek(SeekMove move) {
    seekShowTo(seekTarget(move, choreography.ticks, showHistory()));
}

// A step stops the robots first, so the tick it lands on stays on the screen.
void step(SeekMove move) {
    paused = true;
    seek(move);
}
} // namespace

void onKey(unsigned char key, int /*x*/, int /*y*/) {
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
    const bool shift = shiftHeld();
    switch (key) {
    case GLUT_KEY_LEFT:
        step(shift ? SeekMove::LongBack : SeekMove::Back);
        break;
    case GLUT_KEY_RIGHT:
        step(shift ? SeekMove::LongForward : SeekMove::Forward);
        break;
    case GLUT_KEY_HOME:
        seek(SeekMove::First);
        break;
    case GLUT_KEY_END:
        seek(SeekMove::End);
        break;
    case GLUT_KEY_PAGE_UP:
        seek(SeekMove::PreviousCompletion);
        break;
    case GLUT_KEY_PAGE_DOWN:
        seek(SeekMove::NextCompletion);
        break;
    default:
        break;
    }
    // A seek back from the end of a show that plays sets its robots moving again.
    wakeShow();
    showPlaceInTitle();
    requestSceneRedisplay();
}
