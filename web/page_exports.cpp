// The page's own API, and its rules for the program: what its script and buttons call (the pause
// state, a key, the hold on the show, the place kept across lost graphics), how many frames are
// drawn behind its loading line, and what a tap on the canvas is.
#include "app/shell.h"
#include "choreography/choreography.h"
#include "choreography/show_place.h"
#include "choreography/show_time.h"
#include "controls/walking_camera.h"
#include "web/glut_web.h"

#include <cstdint>
#include <emscripten.h>
#include <string>

namespace {

// The first frames are drawn behind the page's loading line: gl4es and the browser compile what
// drawing needs, and set up the buffers its vertex arrays go through, in the first frame; the
// main window, whose first frame asks for a second, draws again in the next. The first takes
// several frames' time, the next most of one, and no frame the visitor sees should wait for that.
// The scene view draws in each of them.
constexpr long HIDDEN_FRAMES = 2;

// How many idle calls there have been, and how many there may be (negative: no limit).
long idleCalls = 0;
long idleLimit = -1;

// The longest place text taken back: far more than placeText writes.
constexpr int MAX_PLACE_TEXT = 512;

// clang-format off
EM_JS(void, showFirstPicture, (), {
    if (Module.onFirstPicture) Module.onFirstPicture();
});
// The place goes to the page and comes back from it as text the page does not read.
EM_JS(void, handPlaceToPage, (const char* place), {
    Module.keepPlace(UTF8ToString(place));
});
EM_JS(int, takePlaceFromPage, (char* buffer, int size), {
    const place = Module.storedPlace && Module.storedPlace();
    if (typeof place !== "string" || place.length >= size) return 0;
    stringToUTF8(place, buffer, size);
    return 1;
});
// clang-format on

} // namespace

bool frameHidden(long frame) {
    return frame < HIDDEN_FRAMES;
}

// A hold counts idle calls with or without the program's handler (paused, it has none), so a
// picture can be taken after so many of them.
bool idleCallDue(bool handler) {
    return idleLimit < 0 ? handler : idleCalls < idleLimit;
}

bool idleMayRun() {
    if (idleLimit >= 0 && idleCalls >= idleLimit) {
        return false;
    }
    ++idleCalls;
    return true;
}

void frameDrawn(long frame) {
    if (frame + 1 == HIDDEN_FRAMES) {
        showFirstPicture();
    }
}

// A tap pauses or resumes the robots, as the space does, anywhere on the canvas, the help panel
// too: there is no key to miss there.
void canvasTapped(int x, int y) {
    deliverKey(1, ' ', x, y);
}

extern "C" {

EMSCRIPTEN_KEEPALIVE int webPaused() {
    return paused ? 1 : 0;
}

// For the page's buttons: a key as the top-level window gets it.
EMSCRIPTEN_KEEPALIVE void webKey(int character) {
    if (character > 0 && character < 256) {
        deliverKey(1, character, 0, 0);
    }
}

// Hold the show after this many idle calls (a negative number lets it run on), and how many there
// have been: for still pictures.
EMSCRIPTEN_KEEPALIVE void webHoldAfterIdleCalls(long calls) {
    idleLimit = calls;
    wakeLoop();
}

EMSCRIPTEN_KEEPALIVE long webIdleCalls() {
    return idleCalls;
}

// The place in the show, handed to the page to keep while the graphics are away.
EMSCRIPTEN_KEEPALIVE void webSavePlace() {
    const ShowPlace place{choreography.ticks, paused, viewerCamera};
    handPlaceToPage(placeText(place).c_str());
}

// Back to the place the page kept, once the program has started; a place that makes no sense
// changes nothing. Returns whether the program is there.
EMSCRIPTEN_KEEPALIVE int webRestorePlace() {
    char text[MAX_PLACE_TEXT];
    ShowPlace place;
    if (takePlaceFromPage(text, MAX_PLACE_TEXT) == 0 || !readPlace(text, place)) {
        return 0;
    }
    // The page keeps the lines it had: the show is put there without printing.
    seekShow(robots, choreography, gaitStates, place.ticks);
    paused = place.paused;
    viewerCamera = place.camera;
    requestSceneRedisplay();
    return 1;
}

} // extern "C"
