#include "tests/support/gl_session.h"

#include "app/shell.h"

#include <GL/freeglut.h>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// Keeps the GL driver modules loaded until the process ends. Mesa unloads its driver at exit,
// before LeakSanitizer's report, which then cannot name the module of the driver's allocations
// and so cannot apply the library suppressions in lsan.supp.
void pinGlDriverModules() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const char* name = info->dlpi_name;
            if (name != nullptr && (std::strstr(name, "_dri.so") != nullptr ||
                                    std::strstr(name, "libgallium") != nullptr ||
                                    std::strstr(name, "libLLVM") != nullptr)) {
                static_cast<std::vector<std::string>*>(found)->push_back(name);
            }
            return 0;
        },
        &names);
    for (const std::string& name : names) {
        dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

} // namespace

void startProgramWindows() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    createWindows();
    initSceneView();
    pinGlDriverModules();
    pumpEvents(300);
}

void pumpEvents(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<unsigned char> readShownPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

std::array<unsigned char, 3> readShownPixel(int x, int y) {
    const std::vector<unsigned char> rgb = readShownPixels(x, y, 1, 1);
    return {rgb[0], rgb[1], rgb[2]};
}

int modelviewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

glm::mat4 currentModelview() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return glm::make_mat4(m);
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5) << "column " << c << " row " << r;
        }
    }
}
