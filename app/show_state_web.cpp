// For the page's Pause/Resume button: whether the robots are paused now.
#include "choreography/choreography.h"

#include <emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE int webPaused() {
    return paused ? 1 : 0;
}
