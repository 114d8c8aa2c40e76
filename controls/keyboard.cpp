#include "controls/keyboard.h"

#include "app/shell.h"
#include "choreography/choreography.h"
#include "controls/walking_camera.h"

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
    case KeyAction::None:
        break;
    }
    // Every key redraws the scene view, bound or not.
    requestSceneRedisplay();
}
