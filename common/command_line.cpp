#include "common/command_line.h"

#include "common/console.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The keys and files the help text names are the ones the keyboard handler and the texture
// loader use; the manual page says the same at length.
constexpr const char* HELP_LINES[] = {
    "Usage: cheerleaders [--at TICK] [--paused] [--camera H,X,Z,B,S,P]",
    "                    [GLUT options such as -display DISPLAY]",
    "       cheerleaders --help | --version",
    "Four robots walk onto a playing field and pose as letters; you watch from a camera",
    "you walk around with the keyboard and the mouse.",
    "",
    "Keys: w/s walk forward/back, a/d turn left/right, p/l tilt the view up/down,",
    "      space pauses or resumes the robots, r replays the show, f toggles full",
    "      screen and Escape leaves it. Close the window to quit.",
    "      Left/Right step one tick back/forward (with Shift 60), pausing the robots;",
    "      Home/End go to the start/the end, Page Up/Page Down to the previous/next",
    "      finished command; [ and ] halve and double the speed (1/8 to 8 ticks a",
    "      frame); c prints the place as options and as the page's query.",
    "Mouse: drag with the left button in the view to look around; the wheel walks.",
    "",
    "Textures: corrigatedIronTexture.bmp, leopard.bmp, concrete.bmp and grass.bmp are read",
    "from the working directory; one that is not there comes from the installed data",
    "directory. The console gets one line each time a robot finishes walking or spelling.",
    "",
    "  --help     show this text and exit",
    "  --version  show the version and exit",
    "  --at TICK  start the show at that tick (0 is the start); the lines of the",
    "             commands finished by then come first",
    "  --paused   start with the robots paused",
    "  --camera H,X,Z,B,S,P",
    "             the camera's heading, x, z, bob, step phase and pitch",
    "A value that cannot be read is refused with one line, and exit status 2.",
};

constexpr char PROGRAM_NAME[] = "cheerleaders";
// Nine significant digits carry every float exactly through text and back.
constexpr char FLOAT_FORMAT[] = "%.9g";

// A tick: decimal digits only (no sign, no space), within the tick counter's range.
bool readTick(const char* text, std::uint32_t& tick) {
    if (*text == '\0' || std::strspn(text, "0123456789") != std::strlen(text)) {
        return false;
    }
    errno = 0;
    const unsigned long long value = std::strtoull(text, nullptr, 10);
    if (errno == ERANGE || value > UINT32_MAX) {
        return false;
    }
    tick = static_cast<std::uint32_t>(value);
    return true;
}

// Six finite floats separated by commas, each read whole.
bool readCamera(const char* text, float (&camera)[CAMERA_VALUE_COUNT]) {
    const char* at = text;
    for (int k = 0; k < CAMERA_VALUE_COUNT; ++k) {
        if (k > 0 && *at++ != ',') {
            return false;
        }
        // strtof skips leading blanks; a value must start at once.
        if (*at == '\0' || std::strchr(" \t\n\v\f\r,", *at) != nullptr) {
            return false;
        }
        char* end = nullptr;
        errno = 0;
        camera[k] = std::strtof(at, &end);
        if (end == at || errno == ERANGE || !std::isfinite(camera[k])) {
            return false;
        }
        at = end;
    }
    return *at == '\0';
}

std::string cameraValues(const float (&camera)[CAMERA_VALUE_COUNT]) {
    std::string text;
    for (int k = 0; k < CAMERA_VALUE_COUNT; ++k) {
        char value[32];
        std::snprintf(value, sizeof value, FLOAT_FORMAT, static_cast<double>(camera[k]));
        text += (k > 0 ? "," : "") + std::string(value);
    }
    return text;
}

bool hasArgument(int argc, const char* const* argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

CommandLineAction commandLineAction(int argc, const char* const* argv) {
    if (hasArgument(argc, argv, "--help")) {
        return CommandLineAction::PrintHelp;
    }
    if (hasArgument(argc, argv, "--version")) {
        return CommandLineAction::PrintVersion;
    }
    return CommandLineAction::RunShow;
}

void printHelp() {
    for (const char* line : HELP_LINES) {
        printLine(line);
    }
}

void printVersion() {
    printLine((std::string("cheerleaders ") + CHEER_VERSION).c_str());
}

bool takeShowOptions(int& argc, char** argv, ShowOptions& options, std::string& refusal) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        const bool takesValue =
            std::strcmp(name, "--at") == 0 || std::strcmp(name, "--camera") == 0;
        if (takesValue && i + 1 >= argc) {
            refusal = std::string(PROGRAM_NAME) + ": " + name + " needs a value";
            return false;
        }
        if (std::strcmp(name, "--at") == 0) {
            options.hasTick = readTick(argv[++i], options.tick);
            if (!options.hasTick) {
                refusal = std::string(PROGRAM_NAME) + ": --at takes a tick, a whole number " +
                          "from 0, not '" + argv[i] + "'";
                return false;
            }
        } else if (std::strcmp(name, "--camera") == 0) {
            options.hasCamera = readCamera(argv[++i], options.camera);
            if (!options.hasCamera) {
                refusal = std::string(PROGRAM_NAME) + ": --camera takes six numbers " +
                          "H,X,Z,B,S,P, not '" + argv[i] + "'";
                return false;
            }
        } else if (std::strcmp(name, "--paused") == 0) {
            options.paused = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return true;
}

std::string placeLine(std::uint32_t tick, bool isPaused,
                      const float (&camera)[CAMERA_VALUE_COUNT]) {
    const std::string ticks = std::to_string(tick);
    const std::string values = cameraValues(camera);
    return "place: --at " + ticks + (isPaused ? " --paused" : "") + " --camera " + values +
           "   page: ?t=" + ticks + (isPaused ? "&paused" : "") + "&cam=" + values;
}

void printRefusal(const std::string& text) {
    std::fputs((text + "\n").c_str(), stderr);
}
