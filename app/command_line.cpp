#include "app/command_line.h"

#include "choreography/semaphore.h"
#include "choreography/show_file.h"
#include "choreography/show_place.h"
#include "choreography/show_text.h"
#include "common/console.h"
#include "controls/key_table.h"
#include "render/file_bytes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The files the help text names are the ones the texture loader uses; the manual page says the
// same at length. The keys come from the key table, which the keyboard handler reads too.
constexpr const char* HELP_LINES[] = {
    "Usage: cheerleaders [--show FILE | --spell WORD] [--print-show]",
    "                    [--at TICK] [--paused] [--speed NAME] [--camera H,X,Z,B,S,P]",
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
    "  --show FILE",
    "             play the show in FILE: a version line, then for each robot a",
    "             `robot N` line and its walk and pose commands (see the manual page)",
    "  --spell WORD",
    "             the robots walk in as usual, then signal the word's one to four",
    "             letters A to Z with their arms, one letter each",
    "  --print-show",
    "             write the show that would play in the show file's form and exit",
    "  --at TICK  start the show at that tick, 0 (the start) to 4294967295; the lines",
    "             of the commands finished by then come first",
    "  --paused   start with the robots paused (--paused=0 or =false: playing)",
    "  --speed NAME",
    "             start at that speed: 1/8, 1/4, 1/2, 1, 2, 4 or 8 ticks a frame",
    "  --camera H,X,Z,B,S,P",
    "             the camera's heading, x, z, bob, step phase and pitch: six finite",
    "             numbers, commas between, no spaces",
    "  --export-gltf FILE",
    "             write the field, the robots and the whole show to FILE as binary",
    "             glTF (.glb) and exit, without a window",
    "Each also takes its value after `=` (--at=740). A value that cannot be read, a show",
    "file that cannot be played (FILE:LINE:COLUMN: what is wrong), or another option of",
    "two dashes, is refused with one line, and exit status 2.",
};

constexpr char PROGRAM_NAME[] = "cheerleaders";

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

bool takeShowOptions(int& argc, char** argv, ShowPlace& place, ShowChoice& choice,
                     std::string& refusal) {
    ShowPlace read = place;
    ShowChoice chosen = choice;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, 2, "--") != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        const std::size_t equals = std::min(argument.find('='), argument.size());
        const std::string name = argument.substr(0, equals);
        if (name == "--print-show") {
            if (equals < argument.size()) {
                refusal = std::string(PROGRAM_NAME) + ": --print-show takes no value";
                return false;
            }
            chosen.print = true;
            continue;
        }
        if (name == "--show" || name == "--spell") {
            std::string value;
            if (equals < argument.size()) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                refusal = std::string(PROGRAM_NAME) + ": " + name + " needs a value";
                return false;
            }
            (name == "--show" ? chosen.fromFile : chosen.spelled) = true;
            (name == "--show" ? chosen.file : chosen.word) = value;
            continue;
        }
        const PlaceValueName* option = nullptr;
        for (const PlaceValueName& n : PLACE_VALUE_NAMES) {
            option = name == n.option ? &n : option;
        }
        if (option == nullptr) {
            refusal =
                std::string(PROGRAM_NAME) + ": unknown option " + tokenText(name) + " (see --help)";
            return false;
        }
        // --at=740 or --at 740; --paused stands alone unless written --paused=VALUE.
        bool hasValue = equals < argument.size();
        std::string value = hasValue ? argument.substr(equals + 1) : "";
        if (!hasValue && !option->standsAlone) {
            if (i + 1 >= argc) {
                refusal = std::string(PROGRAM_NAME) + ": " + name + " needs a value";
                return false;
            }
            value = argv[++i];
            hasValue = true;
        }
        std::string why;
        if (!readPlaceValue(option->value, value, hasValue, read, why)) {
            refusal = std::string(PROGRAM_NAME) + ": " + name + " '" + tokenText(value) +
                      "' was refused (" + why + ")";
            return false;
        }
    }
    if (chosen.fromFile && chosen.spelled) {
        refusal = std::string(PROGRAM_NAME) + ": --show and --spell choose two shows; give one";
        return false;
    }
    place = read;
    choice = chosen;
    argc = kept;
    argv[argc] = nullptr;
    return true;
}

ExportRequest takeExportOption(int& argc, char** argv, std::string& path, std::string& refusal) {
    const std::string option = "--export-gltf";
    ExportRequest request = ExportRequest::None;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == option && i + 1 < argc) {
            path = argv[++i];
        } else if (argument.compare(0, option.size() + 1, option + "=") == 0) {
            path = argument.substr(option.size() + 1);
        } else if (argument == option) {
            path.clear();
        } else {
            argv[kept++] = argv[i];
            continue;
        }
        request = ExportRequest::Export;
        if (path.empty()) {
            refusal = std::string(PROGRAM_NAME) + ": " + option + " needs a file name";
            return ExportRequest::Refused;
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return request;
}

bool chooseShow(const ShowChoice& choice, ShowScripts& show, std::string& refusal) {
    if (choice.spelled) {
        std::string whyNot;
        if (!spellShow(choice.word, show, whyNot)) {
            refusal = std::string(PROGRAM_NAME) + ": --spell '" + choice.word +
                      "' was refused (" + whyNot + ")";
            return false;
        }
        return true;
    }
    if (!choice.fromFile) {
        show = builtInShow();
        return true;
    }
    // One byte past the limit still reads, so that the reader refuses a longer file by its size.
    FileBytes bytes;
    if (!readFileBytes(choice.file.c_str(), MAX_SHOW_FILE_BYTES + 1, bytes)) {
        refusal = std::string(PROGRAM_NAME) + ": cannot read the show file '" + choice.file +
                  "' (no readable regular file of at most " +
                  std::to_string(MAX_SHOW_FILE_BYTES) + " bytes)";
        return false;
    }
    const ShowReading reading = readShow(
        choice.file, std::string_view(reinterpret_cast<const char*>(bytes.data.get()), bytes.size));
    if (!reading.accepted) {
        refusal = reading.refusal;
        return false;
    }
    show = reading.show;
    return true;
}

void printRefusal(const std::string& text) {
    std::fputs((text + "\n").c_str(), stderr);
}
