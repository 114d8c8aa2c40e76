#include "fuzz/reader_checks.h"

#include "app/command_line.h"
#include "choreography/show_file.h"
#include "choreography/show_place.h"

#include <cstring>
#include <vector>

namespace {

// A place no text names by chance, so that a refusal that touched it shows.
const ShowPlace ELSEWHERE{12345, true, 1, {11.5f, -2.25f, 7.0f, 0.125f, 33.0f, -4.5f}};
constexpr char PROGRAM_NAME[] = "cheerleaders";
constexpr char SHOW_NAME[] = "fuzz";

bool samePlace(const ShowPlace& a, const ShowPlace& b) {
    return a.tick == b.tick && a.paused == b.paused && a.speed == b.speed &&
           std::memcmp(&a.camera, &b.camera, sizeof a.camera) == 0;
}

// Nonempty, and no control character: printed as it is, it stays one line on any terminal.
bool oneLine(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20u || byte == 0x7Fu) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> split(std::string_view text, char at) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    std::size_t start = 0;
    for (std::size_t end = text.find(at); end != std::string_view::npos;
         end = text.find(at, start)) {
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

// The program's name, the arguments, and the null after them, as main() gets them.
struct Arguments {
    std::string program = PROGRAM_NAME;
    std::vector<std::string> words;
    std::vector<char*> argv;
    explicit Arguments(std::vector<std::string> given) : words(std::move(given)) {
        argv.push_back(program.data());
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
    }
    int argc() const {
        return static_cast<int>(argv.size()) - 1;
    }
};

// The place written back out, as the page's text and as the `c` line's options, each read from
// the start (what a text leaves out is the start's) and giving the same place.
std::string checkWrittenBack(const ShowPlace& place) {
    const std::string query = placeQuery("", place);
    ShowPlace back = ELSEWHERE;
    std::string refusal;
    if (!readPlaceQuery(query, back, refusal)) {
        return "placeQuery's text was refused: " + refusal;
    }
    if (!samePlace(back, place)) {
        return "placeQuery's text reads back as another place: " + query;
    }
    const std::string line = placeLine(place);
    const std::string head = "place: ";
    const std::size_t page = line.find("   page: ");
    if (line.compare(0, head.size(), head) != 0 || page == std::string::npos) {
        return "placeLine lacks its two halves: " + line;
    }
    Arguments options(split(line.substr(head.size(), page - head.size()), ' '));
    int argc = options.argc();
    back = ShowPlace{};
    ShowChoice choice;
    if (!takeShowOptions(argc, options.argv.data(), back, choice, refusal)) {
        return "placeLine's options were refused: " + refusal;
    }
    if (!samePlace(back, place) || argc != 1) {
        return "placeLine's options read back as another place: " + line;
    }
    return "";
}

} // namespace

std::string checkPlaceQuery(std::string_view text) {
    const std::string query(text);
    ShowPlace place = ELSEWHERE;
    std::string refusal;
    if (!readPlaceQuery(query, place, refusal)) {
        if (!samePlace(place, ELSEWHERE)) {
            return "a refused query moved the place";
        }
        return oneLine(refusal) ? "" : "a refused query's refusal is not one line: " + refusal;
    }
    // Written back among the query's own parameters, which stay as they were.
    const std::string written = placeQuery(query, place);
    ShowPlace back = ELSEWHERE;
    if (!readPlaceQuery(written, back, refusal)) {
        return "placeQuery's text with the query's own parameters was refused: " + refusal;
    }
    if (!samePlace(back, place)) {
        return "placeQuery's text with the query's own parameters reads back as another place";
    }
    if (placeQuery(written, back) != written) {
        return "placeQuery writes its own text again differently";
    }
    return checkWrittenBack(place);
}

std::string checkCommandLine(std::string_view text) {
    Arguments arguments(split(text, '\0'));
    const std::vector<char*> given = arguments.argv;
    int argc = arguments.argc();
    ShowPlace place = ELSEWHERE;
    ShowChoice choice;
    std::string refusal;
    if (!takeShowOptions(argc, arguments.argv.data(), place, choice, refusal)) {
        if (!samePlace(place, ELSEWHERE) || argc != arguments.argc()) {
            return "a refused command line moved the place or the argument count";
        }
        if (choice.fromFile || choice.spelled || choice.print) {
            return "a refused command line chose a show";
        }
        return oneLine(refusal) ? ""
                                : "a refused command line's refusal is not one line: " + refusal;
    }
    // What stays for GLUT: the program's name, some of the given arguments in their order, none
    // of two dashes, and the null after them.
    if (arguments.argv[0] != given[0] ||
        arguments.argv[static_cast<std::size_t>(argc)] != nullptr) {
        return "the arguments left for GLUT lost the program's name or their end";
    }
    std::size_t next = 1;
    for (int i = 1; i < argc; ++i) {
        const char* kept = arguments.argv[static_cast<std::size_t>(i)];
        if (std::strncmp(kept, "--", 2) == 0) {
            return std::string("an option was left for GLUT: ") + kept;
        }
        while (next + 1 < given.size() && given[next] != kept) {
            next += 1;
        }
        if (next + 1 == given.size()) {
            return "the arguments left for GLUT are not the given ones in order";
        }
        next += 1;
    }
    return checkWrittenBack(place);
}

std::string checkShowFile(std::string_view text) {
    const ShowReading reading = readShow(SHOW_NAME, text);
    const ShowScripts none{};
    if (!reading.accepted) {
        if (std::memcmp(&reading.show, &none, sizeof none) != 0) {
            return "a refused show is not all zero";
        }
        const std::string place = std::string(SHOW_NAME) + ":" + std::to_string(reading.line) +
                                  ":" + std::to_string(reading.column) + ": ";
        if (reading.line < 1 || reading.column < 1 || reading.refusal.rfind(place, 0) != 0 ||
            reading.refusal.size() == place.size()) {
            return "a refusal does not name its line and column: " + reading.refusal;
        }
        return oneLine(reading.refusal) ? ""
                                        : "a show's refusal is not one line: " + reading.refusal;
    }
    const std::string printed = writeShow(reading.show);
    // A show of many poses that each change many joints prints longer than a show may be read
    // (show_file.h says so): that text is not read back.
    if (printed.size() > MAX_SHOW_FILE_BYTES) {
        return "";
    }
    const ShowReading again = readShow(SHOW_NAME, printed);
    if (!again.accepted) {
        return "the printed show was refused: " + again.refusal;
    }
    if (std::memcmp(&again.show, &reading.show, sizeof reading.show) != 0) {
        return "the printed show reads back as another show";
    }
    return writeShow(again.show) == printed ? "" : "the show printed twice differs";
}
