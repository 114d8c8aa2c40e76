#include "app/full_screen.h"

#include <emscripten.h>

namespace {
// The page has one window, its canvas: full screen is the canvas's, which the page's style scales
// to fit the screen, square. The page's script does it (the program may run in a worker, where
// there is no document): true toggles, false leaves.
// clang-format off
EM_JS(void, canvasFullScreen, (int toggle), {
    if (Module.fullScreen) Module.fullScreen(toggle !== 0);
});
// clang-format on
} // namespace

void toggleWindowFullScreen() {
    canvasFullScreen(1);
}

void leaveWindowFullScreen() {
    canvasFullScreen(0);
}
