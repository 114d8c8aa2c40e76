#include "choreography/show_edit.h"

#include "choreography/show_text.h"

#include <cstddef>

namespace {

// Where the line ends in the text: past its line end, if it has one.
std::size_t pastLine(std::string_view text, const ShowLine& line) {
    const std::size_t end =
        static_cast<std::size_t>(line.text.data() - text.data()) + line.text.size();
    if (text.compare(end, 2, "\r\n") == 0) {
        return end + 2;
    }
    return end < text.size() && text[end] == '\n' ? end + 1 : end;
}

// The robot a `robot N` line names, from 1; 0 for any other line.
int robotNamed(std::string_view line) {
    Tokens tokens(line);
    Token word{};
    Token number{};
    if (!tokens.next(word) || word.text != "robot" || !tokens.next(number) ||
        number.text.size() != 1 || number.text[0] < '0' || number.text[0] > '9') {
        return 0;
    }
    return number.text[0] - '0';
}

bool holdsMoreThanComment(std::string_view line) {
    Tokens tokens(line);
    Token word{};
    return tokens.next(word);
}

} // namespace

std::string withCommandAdded(std::string_view text, int robot, std::string_view command) {
    ShowLines lines(text);
    ShowLine line{};
    bool inSection = false;
    bool found = false;
    std::size_t at = text.size();
    while (lines.next(line)) {
        const int named = robotNamed(line.text);
        if (named != 0) {
            inSection = named == robot;
        }
        if (inSection && (named != 0 || holdsMoreThanComment(line.text))) {
            found = true;
            at = pastLine(text, line);
        }
    }
    std::string added(text.substr(0, at));
    if (!added.empty() && added.back() != '\n') {
        added += '\n';
    }
    if (!found) {
        added += "robot " + std::to_string(robot) + "\n";
    }
    added += command;
    added += '\n';
    added += text.substr(at);
    return added;
}
