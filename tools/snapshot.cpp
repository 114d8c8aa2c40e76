// Snapshot: renders the scene view (or the whole main window) with the program's own start-up
// and drawing code, after a chosen number of animation ticks and a chosen key sequence, and
// writes PNG files. Needs an X display; under Xvfb it needs no screen.
//
//   snapshot --out PREFIX [--ticks N,N,...] [--keys TEXT] [--keys-file FILE] [--main]
//            [--textures DIR]
//
// Writes PREFIX-NNNNN.png for each tick count (ascending; default 0). Keys are applied through
// the keyboard handler after the ticks of the first picture, before it is drawn.
#include "app/help_panel.h"
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "controls/keyboard.h"
#include "render/scene_frame.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <png.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int MAIN_SIZE = 500;
constexpr int SCENE_X = 10, SCENE_Y = 10, SCENE_W = 480, SCENE_H = 400;
constexpr int HELP_X = 10, HELP_Y = 420, HELP_W = 480, HELP_H = 70;

struct Options {
    std::string prefix;
    std::vector<long> ticks;
    std::string keys;
    bool mainWindow = false;
    std::string textures;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
};

[[noreturn]] void usage(const char* message) {
    std::fprintf(stderr, "snapshot: %s\n", message);
    std::fprintf(stderr, "usage: snapshot --out PREFIX [--ticks N,...] [--keys TEXT] "
                         "[--keys-file FILE] [--main] [--textures DIR]\n");
    std::exit(2);
}

std::vector<long> parseTicks(const std::string& list) {
    std::vector<long> ticks;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        char* rest = nullptr;
        const long value = std::strtol(item.c_str(), &rest, 10);
        if (item.empty() || *rest != '\0' || value < 0) {
            usage("ticks must be non-negative whole numbers");
        }
        ticks.push_back(value);
        start = end + 1;
    }
    std::sort(ticks.begin(), ticks.end());
    return ticks;
}

std::string absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) {
        usage("cannot read the working directory");
    }
    return std::string(cwd) + "/" + path;
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage("missing value");
            }
            return argv[++i];
        };
        if (arg == "--out") {
            options.prefix = absolute(value());
        } else if (arg == "--ticks") {
            options.ticks = parseTicks(value());
        } else if (arg == "--keys") {
            options.keys += value();
        } else if (arg == "--keys-file") {
            std::ifstream file(value(), std::ios::binary);
            if (!file) {
                usage("cannot read the keys file");
            }
            options.keys.append(std::istreambuf_iterator<char>(file), {});
        } else if (arg == "--main") {
            options.mainWindow = true;
        } else if (arg == "--textures") {
            options.textures = value();
        } else {
            usage("unknown argument");
        }
    }
    if (options.prefix.empty()) {
        usage("--out is required");
    }
    if (options.ticks.empty()) {
        options.ticks.push_back(0);
    }
    return options;
}

// Draws the given window with its display handler and reads back the frame it presented.
// Mesa's software swap leaves the back buffer intact, so it still holds that frame.
Picture drawWindow(int window, void (*display)(), int width, int height) {
    glutSetWindow(window);
    display();
    glFinish();
    Picture picture{width, height, {}};
    picture.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    std::vector<unsigned char> bottomUp(picture.rgb.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::copy_n(&bottomUp[static_cast<size_t>(height - 1 - y) * row], row,
                    &picture.rgb[static_cast<size_t>(y) * row]);
    }
    return picture;
}

void paste(Picture& target, const Picture& source, int x, int y) {
    const size_t row = static_cast<size_t>(source.width) * 3;
    for (int r = 0; r < source.height; ++r) {
        const size_t to = (static_cast<size_t>(y + r) * static_cast<size_t>(target.width) +
                           static_cast<size_t>(x)) * 3;
        std::copy_n(&source.rgb[static_cast<size_t>(r) * row], row, &target.rgb[to]);
    }
}

Picture render(bool mainWindow) {
    Picture scene = drawWindow(sceneView, displayScene, SCENE_W, SCENE_H);
    if (!mainWindow) {
        return scene;
    }
    Picture whole = drawWindow(::mainWindow, displayMain, MAIN_SIZE, MAIN_SIZE);
    paste(whole, scene, SCENE_X, SCENE_Y);
    paste(whole, drawWindow(helpPanel, displayHelp, HELP_W, HELP_H), HELP_X, HELP_Y);
    return whole;
}

bool writePng(const std::string& path, const Picture& picture) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                     static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < picture.height; ++y) {
            png_write_row(png, &picture.rgb[static_cast<size_t>(y) *
                                            static_cast<size_t>(picture.width) * 3]);
        }
        png_write_end(png, info);
    } else {
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    const Options options = parse(argc, argv);
    if (!options.textures.empty() && chdir(options.textures.c_str()) != 0) {
        usage("cannot enter the textures directory");
    }
    createWindows();
    initSceneView();
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }

    long done = 0;
    bool keysApplied = false;
    for (long tick : options.ticks) {
        for (; done < tick; ++done) {
            animationStep();
        }
        if (!keysApplied) {
            for (char key : options.keys) {
                onKey(static_cast<unsigned char>(key), 0, 0);
            }
            keysApplied = true;
        }
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "-%05ld.png", tick);
        const std::string path = options.prefix + suffix;
        if (!writePng(path, render(options.mainWindow))) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
