#include "common/command_line.h"

#include "common/console.h"

#include <cstring>
#include <string>

namespace {

// The keys and files the help text names are the ones the keyboard handler and the texture
// loader use; the manual page says the same at length.
constexpr const char* HELP_LINES[] = {
    "Usage: cheerleaders [--help | --version | GLUT options such as -display DISPLAY]",
    "Four robots walk onto a playing field and pose as letters; you watch from a camera",
    "you walk around with the keyboard and the mouse.",
    "",
    "Keys: w/s walk forward/back, a/d turn left/right, p/l tilt the view up/down,",
    "      space pauses or resumes the robots, r replays the show, f toggles full",
    "      screen and Escape leaves it. Close the window to quit.",
    "Mouse: drag with the left button in the view to look around; the wheel walks.",
    "",
    "Textures: corrigatedIronTexture.bmp, leopard.bmp, concrete.bmp and grass.bmp are read",
    "from the working directory; one that is not there comes from the installed data",
    "directory. The console gets one line each time a robot finishes walking or spelling.",
    "",
    "  --help     show this text and exit",
    "  --version  show the version and exit",
};

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
