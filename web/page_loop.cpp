// The page's rules for the program's loop: how many frames are drawn behind its loading line, the
// show held after so many idle calls for a still picture, and a report after each frame.
#include "web/glut_web.h"
#include "web/page.h"

#include <emscripten.h>

namespace {

// The first frames are drawn behind the page's loading line: gl4es and the browser compile what
// drawing needs, and set up the buffers its vertex arrays go through, in the first frame; the
// main window, whose first frame asks for a second, draws again in the next. The first takes
// several frames' time, the next most of one, and no frame the visitor sees should wait for that.
// The scene view draws in each of them.
constexpr long HIDDEN_FRAMES = 2;

// How many idle calls the loop has taken, and how many it may take (negative: no limit).
long idleCallsTaken = 0;
long idleLimit = -1;

// clang-format off
EM_JS(void, showFirstPicture, (), {
    if (Module.onFirstPicture) Module.onFirstPicture();
});
// clang-format on

} // namespace

bool frameHidden(long frame) {
    return frame < HIDDEN_FRAMES;
}

// A hold counts idle calls with or without the program's handler (paused, it has none), so a
// picture can be taken after so many of them.
bool idleCallDue(bool handler) {
    return idleLimit < 0 ? handler : idleCallsTaken < idleLimit;
}

bool takeIdleCall() {
    if (idleLimit >= 0 && idleCallsTaken >= idleLimit) {
        return false;
    }
    ++idleCallsTaken;
    return true;
}

void frameDrawn(long frame) {
    if (frame + 1 == HIDDEN_FRAMES) {
        showFirstPicture();
    }
    reportToPage();
}

extern "C" {

// Hold the show after this many idle calls (a negative number lets it run on), and how many there
// have been: for still pictures.
EMSCRIPTEN_KEEPALIVE void webHoldAfterIdleCalls(long calls) {
    idleLimit = calls;
    wakeLoop();
}

EMSCRIPTEN_KEEPALIVE long webIdleCalls() {
    return idleCallsTaken;
}

} // extern "C"
