// The page's input beyond the canvas's own: what a tap means, the page's buttons and the
// timeline's keys as the program's own keys, and a report after any input a window took.
#include "web/glut_web.h"
#include "web/page.h"

#include <emscripten.h>

// A tap pauses or resumes the robots, as the space does, anywhere on the canvas, the help panel
// too: there is no key to miss there.
void canvasTapped(int x, int y) {
    deliverKey(1, ' ', x, y);
}

void inputDelivered() {
    reportToPage();
}

extern "C" {

// For the page's buttons: a key as the top-level window gets it.
EMSCRIPTEN_KEEPALIVE void webKey(int character) {
    if (character > 0 && character < 256) {
        deliverKey(1, character, 0, 0);
    }
}

// For the timeline: a key by its DOM name, with or without Shift, as the top-level window gets a
// special key. Returns whether it is one (an arrow, Home, End, Page Up or Down).
EMSCRIPTEN_KEEPALIVE int webSpecialKey(const char* key, int shift) {
    return deliverSpecialKeyNamed(1, key, shift != 0, 0, 0) ? 1 : 0;
}

} // extern "C"
