#include "app/full_screen.h"

#include <emscripten.h>

namespace {
// The page has one window, its canvas: full screen is the canvas's, which the page's style scales
// to fit the screen, square.
// clang-format off
EM_JS(void, toggleCanvasFullScreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
    } else {
        const canvas = document.getElementById("canvas");
        if (canvas.requestFullscreen) canvas.requestFullscreen().catch(function () {});
    }
});
EM_JS(void, leaveCanvasFullScreen, (), {
    if (document.fullscreenElement) document.exitFullscreen();
});
// clang-format on
} // namespace

void toggleWindowFullScreen() {
    toggleCanvasFullScreen();
}

void leaveWindowFullScreen() {
    leaveCanvasFullScreen();
}
