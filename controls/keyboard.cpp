#include "controls/keyboard.h"

#include "app/shell.h"
#include "choreography/choreography.h"
#include "controls/walking_camera.h"

void onKey(unsigned char key, int /*x*/, int /*y*/) {
    applyKey(viewerCamera, paused, key);
    // Every key redraws the scene view, bound or not.
    requestSceneRedisplay();
}
