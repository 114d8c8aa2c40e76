// Preloaded into the program by the soak test: counts buffer swaps, one per frame, and writes
// the running count to the file named by CHEER_FRAME_COUNT_FILE every 1000 frames, so the test
// can tell how many idle calls have passed without the program reporting anything itself. With
// CHEER_FRAME_EXIT_AT it ends the program at once after that many frames, so a test can see what
// the program had printed by then.
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {
unsigned long frames = 0;

void writeCount() {
    const char* path = std::getenv("CHEER_FRAME_COUNT_FILE");
    if (path == nullptr) {
        return;
    }
    if (FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%lu\n", frames);
        std::fclose(file);
    }
}
} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using SwapBuffers = void (*)(Display*, GLXDrawable);
    static const auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    real(display, drawable);
    if (++frames % 1000 == 0) {
        writeCount();
    }
    static const char* exitAt = std::getenv("CHEER_FRAME_EXIT_AT");
    if (exitAt != nullptr && frames == std::strtoul(exitAt, nullptr, 10)) {
        _exit(0);
    }
}
