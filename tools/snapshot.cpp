// Snapshot: renders the scene view (or the whole main window) with the program's own start-up
// and drawing code, after a chosen number of animation ticks and a chosen key sequence, and
// writes PNG files or a stream of raw frames. Needs an X display; under Xvfb it needs no screen.
//
//   snapshot (--out PREFIX | --video) [--ticks LIST] [--keys TEXT] [--keys-file FILE] [--main]
//            [--textures DIR]
//
// LIST holds tick counts N and ranges A-B (every tick from A to B), comma-separated; B may be
// "end", the tick one second (60 ticks) past the show's last console line. The default is 0.
// Writes PREFIX-NNNNN.png for each tick count (ascending), or with --video every picture as raw
// 8-bit RGB, top row first, to standard output, for an encoder reading from a pipe; the
// program's console lines are dropped then, and standard error gets "frame N/TOTAL" after each
// frame. Keys are applied through the keyboard handler after the ticks of the first picture,
// before it is drawn.
#include "app/help_panel.h"
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "controls/keyboard.h"
#include "render/scene_frame.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <png.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int MAIN_SIZE = 500;
constexpr int SCENE_X = 10, SCENE_Y = 10, SCENE_W = 480, SCENE_H = 400;
constexpr int HELP_X = 10, HELP_Y = 420, HELP_W = 480, HELP_H = 70;
constexpr long TICKS_PER_SECOND = 60; // one tick per frame of a 60 Hz display

// Ticks first to last; toEnd: last is the end of the show instead.
struct TickRange {
    long first;
    long last;
    bool toEnd;
};

struct Options {
    std::string prefix;
    std::vector<TickRange> ticks;
    std::string keys;
    bool mainWindow = false;
    std::string textures;
    bool video = false;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
};

[[noreturn]] void usage(const char* message) {
    std::fprintf(stderr, "snapshot: %s\n", message);
    std::fprintf(stderr, "usage: snapshot (--out PREFIX | --video) [--ticks N,A-B,A-end,...] "
                         "[--keys TEXT] [--keys-file FILE] [--main] [--textures DIR]\n");
    std::exit(2);
}

// The tick one second past the show's last console line, found by running the choreography on
// copies of the start state, which leaves the robots that are drawn untouched.
long showEndTick() {
    Robot robotCopies[ROBOT_COUNT];
    std::copy_n(robots, ROBOT_COUNT, robotCopies);
    Choreography show = choreography;
    GaitState gaits[ROBOT_COUNT];
    std::copy_n(gaitStates, ROBOT_COUNT, gaits);
    auto unfinished = [&] {
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            if (show.finishedCount[i] < show.commandCount[i]) {
                return true;
            }
        }
        return false;
    };
    long tick = 0;
    while (unfinished()) {
        choreographyTick(robotCopies, show, gaits, false);
        ++tick;
    }
    return tick + TICKS_PER_SECOND;
}

long parseTick(const std::string& item) {
    char* rest = nullptr;
    errno = 0;
    const long value = std::strtol(item.c_str(), &rest, 10);
    if (item.empty() || *rest != '\0' || value < 0 || errno == ERANGE) {
        usage("ticks must be non-negative whole numbers");
    }
    return value;
}

std::vector<TickRange> parseTicks(const std::string& list) {
    std::vector<TickRange> ranges;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        const size_t dash = item.find('-');
        TickRange range{};
        range.first = parseTick(item.substr(0, dash));
        range.last = range.first;
        if (dash != std::string::npos) {
            range.toEnd = item.substr(dash + 1) == "end";
            range.last = range.toEnd ? range.first : parseTick(item.substr(dash + 1));
        }
        if (range.last < range.first) {
            usage("a tick range must not run backwards");
        }
        ranges.push_back(range);
        start = end + 1;
    }
    return ranges;
}

// Every tick of the ranges, ascending, each once. Needs the robots set up when a range runs to
// the end of the show.
std::vector<long> expandTicks(const std::vector<TickRange>& ranges) {
    std::vector<long> ticks;
    for (const TickRange& range : ranges) {
        const long last = range.toEnd ? std::max(range.first, showEndTick()) : range.last;
        for (long tick = range.first; tick <= last; ++tick) {
            ticks.push_back(tick);
        }
    }
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
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
        } else if (arg == "--video") {
            options.video = true;
        } else if (arg == "--main") {
            options.mainWindow = true;
        } else if (arg == "--textures") {
            options.textures = value();
        } else {
            usage("unknown argument");
        }
    }
    if (options.prefix.empty() == !options.video) {
        usage("one of --out and --video is required");
    }
    if (options.ticks.empty()) {
        options.ticks.push_back({0, 0, false});
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

// The stream for raw frames: the original standard output. The console lines that the animation
// step prints go to /dev/null from here on, so they cannot mix with the frames.
int openFrameStream() {
    std::fflush(stdout);
    const int frames = dup(STDOUT_FILENO);
    const int discard = open("/dev/null", O_WRONLY);
    if (frames < 0 || discard < 0 || dup2(discard, STDOUT_FILENO) < 0) {
        usage("cannot set up the frame stream");
    }
    close(discard);
    // An encoder that stops reading is reported as a failed write, not by a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    return frames;
}

bool writeAll(int stream, const std::vector<unsigned char>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(stream, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            return false;
        }
        done += written > 0 ? static_cast<size_t>(written) : 0;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    const Options options = parse(argc, argv);
    if (!options.textures.empty() && chdir(options.textures.c_str()) != 0) {
        usage("cannot enter the textures directory");
    }
    const int frameStream = options.video ? openFrameStream() : -1;
    createWindows();
    initSceneView();
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }

    const std::vector<long> ticks = expandTicks(options.ticks);
    long done = 0;
    bool keysApplied = false;
    size_t frames = 0;
    for (long tick : ticks) {
        for (; done < tick; ++done) {
            animationStep();
        }
        if (!keysApplied) {
            for (char key : options.keys) {
                onKey(static_cast<unsigned char>(key), 0, 0);
            }
            keysApplied = true;
        }
        if (options.video) {
            if (!writeAll(frameStream, render(options.mainWindow).rgb)) {
                std::fprintf(stderr, "snapshot: the frame stream was closed at tick %ld\n", tick);
                return 1;
            }
            std::fprintf(stderr, "frame %zu/%zu\n", ++frames, ticks.size());
            continue;
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
