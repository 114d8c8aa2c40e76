#include "common/command_line.h"

#include "common/console.h"
#include "controls/key_table.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The files the help text names are the ones the texture loader uses; the manual page says the
// same at length. The keys come from the key table, which the keyboard handler reads too.
constexpr const char* HELP_LINES[] = {
    "Usage: cheerleaders [--at TICK] [--paused] [--camera H,X,Z,B,S,P]",
    "                    [GLUT options such as -display DISPLAY]",
    "       cheerleaders --help | --version",
    "Four robots walk onto a playing field and pose as letters; you watch from a camera",
    "you walk around with the keyboard and the mouse.",
    "",
    // The key table's own lines (controls/key_table.h) go here.
    nullptr,
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

// A parameter of a query as its link wrote it: %XX spelled out, the rest as it is.
std::string decoded(const std::string& text) {
    std::string plain;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const bool escape = text[k] == '%' && k + 2 < text.size() &&
                            std::isxdigit(static_cast<unsigned char>(text[k + 1])) &&
                            std::isxdigit(static_cast<unsigned char>(text[k + 2]));
        if (escape) {
            plain += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            plain += text[k];
        }
    }
    return plain;
}

// The query's parameters, each as name and value (empty without `=`), still as written.
struct QueryParameter {
    std::string written, name, value;
};
std::vector<QueryParameter> queryParameters(const std::string& query) {
    std::vector<QueryParameter> parameters;
    std::size_t at = query.empty() || query[0] != '?' ? 0 : 1;
    while (at < query.size()) {
        const std::size_t end = std::min(query.find('&', at), query.size());
        const std::string written = query.substr(at, end - at);
        const std::size_t equals = std::min(written.find('='), written.size());
        if (!written.empty()) {
            parameters.push_back(
                {written, decoded(written.substr(0, equals)),
                 equals < written.size() ? decoded(written.substr(equals + 1)) : ""});
        }
        at = end + 1;
    }
    return parameters;
}

bool isPlaceParameter(const std::string& name) {
    return name == "t" || name == "paused" || name == "cam";
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

std::vector<std::string> helpLines() {
    std::vector<std::string> lines;
    for (const char* line : HELP_LINES) {
        if (line == nullptr) {
            const std::vector<std::string> keys = keyHelpLines();
            lines.insert(lines.end(), keys.begin(), keys.end());
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

void printHelp() {
    for (const std::string& line : helpLines()) {
        printLine(line.c_str());
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

std::string pageQuery(const std::string& query, const ShowOptions& place) {
    std::string text;
    const auto add = [&text](const std::string& parameter) {
        text += (text.empty() ? "?" : "&") + parameter;
    };
    for (const QueryParameter& p : queryParameters(query)) {
        if (!isPlaceParameter(p.name)) {
            add(p.written);
        }
    }
    if (place.hasTick) {
        add("t=" + std::to_string(place.tick));
    }
    if (place.paused) {
        add("paused");
    }
    if (place.hasCamera) {
        add("cam=" + cameraValues(place.camera));
    }
    return text;
}

bool readPageQuery(const std::string& query, ShowOptions& options, std::string& refusal) {
    ShowOptions read;
    for (const QueryParameter& p : queryParameters(query)) {
        const char* why = nullptr;
        if (p.name == "t") {
            read.hasTick = readTick(p.value.c_str(), read.tick);
            why = read.hasTick ? nullptr : "t takes a tick, a whole number from 0";
        } else if (p.name == "cam") {
            read.hasCamera = readCamera(p.value.c_str(), read.camera);
            why = read.hasCamera ? nullptr : "cam takes six numbers H,X,Z,B,S,P";
        } else if (p.name == "paused") {
            read.paused = true;
            why = p.value.empty() ? nullptr : "paused takes no value";
        }
        if (why != nullptr) {
            refusal = "The link's " + p.written + " was refused (" + why +
                      "): the show opens at its start.";
            return false;
        }
    }
    options = read;
    return true;
}

std::string placeLine(std::uint32_t tick, bool isPaused,
                      const float (&camera)[CAMERA_VALUE_COUNT]) {
    const std::string ticks = std::to_string(tick);
    ShowOptions place;
    place.hasTick = place.hasCamera = true;
    place.tick = tick;
    place.paused = isPaused;
    std::copy(camera, camera + CAMERA_VALUE_COUNT, place.camera);
    return "place: --at " + ticks + (isPaused ? " --paused" : "") + " --camera " +
           cameraValues(camera) + "   page: " + pageQuery("", place);
}

void printRefusal(const std::string& text) {
    std::fputs((text + "\n").c_str(), stderr);
}
