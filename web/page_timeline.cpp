// The page's timeline, speeds and links: the whole show's finished commands and the speeds, which
// the page lists once; the seek, step and speed its controls make; and the links to a place.
// Each call that changes the show is followed by the report of it.
#include "choreography/show_clock.h"
#include "choreography/show_time.h"
#include "web/page.h"

#include <cstdint>
#include <emscripten.h>
#include <string>
#include <utility>

namespace {

// The texts handed to the page stay here until the next call asks for another.
std::string handedText;

const char* handOver(std::string text) {
    handedText = std::move(text);
    return handedText.c_str();
}

} // namespace

extern "C" {

// The whole show's finished commands, as the page lists them, with their ticks.
EMSCRIPTEN_KEEPALIVE const char* webCompletions() {
    return handOver(pageCompletions());
}

// The speeds by name, slowest first; the report gives the one the show plays at by its place.
EMSCRIPTEN_KEEPALIVE const char* webSpeeds() {
    return handOver(pageSpeeds());
}

// The timeline dragged or a console line clicked: the show put at that tick, playing on from
// there if it was playing.
EMSCRIPTEN_KEEPALIVE void webSeek(std::uint32_t tick) {
    seekTo(tick);
    reportToPage();
}

// The step buttons: one tick back or forward, pausing the robots first, as the arrow keys step.
EMSCRIPTEN_KEEPALIVE void webStep(int forward) {
    stepBy(forward != 0 ? 1 : -1);
    reportToPage();
}

EMSCRIPTEN_KEEPALIVE void webSetSpeed(int speed) {
    setSpeed(speed);
    reportToPage();
}

// The page's query for the place the show is at: the given query's other parameters, then the
// tick, the pause and the camera. For Copy link, which links to the moment playing or not.
EMSCRIPTEN_KEEPALIVE const char* webPlaceLink(const char* query) {
    return handOver(pagePlaceLink(query));
}

// Opens the show at the place the page's query names. A value that cannot be read leaves the show
// at its start; the line that says which is returned (empty when all was read).
EMSCRIPTEN_KEEPALIVE const char* webOpenLink(const char* query) {
    const char* refusal = handOver(pageOpenLink(query));
    reportToPage();
    return refusal;
}

} // extern "C"
