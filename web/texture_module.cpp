// The page's texture maker: the project's generator in a small module of its own, which the page
// runs in workers while the program itself is fetched and compiled. Each picture is drawn into
// this module's memory as the bytes of its bitmap file, from where the worker takes them.
#include "render/texture_generator.h"

#include <cstdint>
#include <emscripten.h>
#include <vector>

namespace {
std::vector<std::uint8_t> made; // the last picture drawn
} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int webTextureCount() {
    return GENERATED_TEXTURES;
}

EMSCRIPTEN_KEEPALIVE const char* webTextureName(int which) {
    return generatedTextureName(which);
}

// Draws the picture; its file's bytes are then at the address returned, webTextureSize() of them.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* webMakeTexture(int which) {
    made = generatedTextureBitmap(which);
    return made.data();
}

EMSCRIPTEN_KEEPALIVE int webTextureSize() {
    return static_cast<int>(made.size());
}
}
