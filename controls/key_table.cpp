#include "controls/key_table.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <iterator>

using C = KeyCommand;
using K = InputKind;

// The bound is left to the rows, so a row more or less than the header's count fails to compile.
const KeyRow KEY_TABLE[] = {
    {K::Key,
     "{w} / {s}",
     "walk forward / back (the view bobs with your steps)",
     nullptr,
     {{'w', C::WalkForward}, {'s', C::WalkBack}}},
    {K::Key, "{a} / {d}", "turn left / right", nullptr, {{'a', C::TurnLeft}, {'d', C::TurnRight}}},
    {K::Key,
     "{p} / {l}",
     "tilt your head up / down",
     nullptr,
     {{'p', C::TiltUp}, {'l', C::TiltDown}}},
    {K::Key, "{space}", "pause or resume the robots", nullptr, {{' ', C::TogglePause}}},
    {K::Key,
     "{r}",
     "replay the show from its start",
     "The robots go back to their places and the eight lines come again; the camera stays where "
     "you are.",
     {{'r', C::Replay}}},
    {K::Key,
     "{f} / {Escape}",
     "full screen on or off / leave full screen",
     "Out of full screen Escape does nothing.",
     {{'f', C::ToggleFullScreen}, {ESCAPE_KEY, C::LeaveFullScreen}}},
    {K::Key,
     "{Left} / {Right}",
     "step the show one tick back / forward (Shift: 60 ticks)",
     "A step pauses the robots first.",
     {}},
    {K::Key, "{Home} / {End}", "go to the show's first tick / its end", nullptr, {}},
    {K::Key,
     "{Page Up} / {Page Down}",
     "go to the previous / next finished command",
     "That is the tick at which a robot finishes a command of its script.",
     {}},
    {K::Key,
     "{[} / {]}",
     "halve / double the speed, from 1/8 to 8 ticks a frame",
     "The speeds are 1/8, 1/4, 1/2, 1, 2, 4 and 8 ticks a frame; 1 at the start.",
     {{'[', C::SlowDown}, {']', C::SpeedUp}}},
    {K::Key,
     "{c}",
     "print the place as options and as the page's query",
     "For instance: place: --at 740 --paused --camera 0,0,5,0,0,0   page: "
     "?t=740&paused&cam=0,0,5,0,0,0 (every number reads back exactly).",
     {{'c', C::PrintPlace}}},
    {K::Key,
     "{x}",
     "show or hide the body frames (off at the start)",
     "Each body node's x, y and z axes are drawn in red, green and blue, through the robots.",
     {{'x', C::ToggleBodyFrames}}},
    {K::Key,
     "{1} to {4} / {0}",
     "select the first to the fourth robot / none",
     "With a robot selected only its frames are drawn.",
     {{'1', C::SelectRobot},
      {'2', C::SelectRobot},
      {'3', C::SelectRobot},
      {'4', C::SelectRobot},
      {'0', C::SelectNone}}},
    {K::Key,
     "{i}",
     "print the selected robot's state (all four if none)",
     "Its command, the ticks until it completes, its gait phase, its position and its thirteen "
     "joint angles, every number exact.",
     {{'i', C::PrintState}}},
    {K::Pointer,
     "left drag",
     "look around in the view: the scene follows the pointer",
     "One turn or tilt step, as one press of the keys, for every 6 pixels.",
     {}},
    {K::Pointer, "wheel", "walk forward / back, 10 steps a notch", nullptr, {}},
    {K::PageOnly, "one finger", "look around, as a drag does", nullptr, {}},
    {K::PageOnly,
     "two fingers",
     "up or apart walk forward, down or together walk back",
     nullptr,
     {}},
    {K::PageOnly, "tap", "pause or resume the robots", nullptr, {}},
    {K::PageOnly, "click", "select the robot under the pointer; on the field, none", nullptr, {}},
    {K::PageOnly,
     "timeline",
     "drag to any tick; its keys are the same, and the step buttons step",
     nullptr,
     {}},
    {K::PageOnly, "console line", "click to go to the moment that command finished", nullptr, {}},
    {K::PageOnly,
     "Copy link",
     "a link to this moment and view; ?t=TICK&paused&cam=H,X,Z,B,S,P opens one",
     nullptr,
     {}},
};

namespace {

// A label in its pieces: the keys (from inside the braces) and the words between them.
struct LabelPart {
    bool isKey;
    std::string text;
};

std::vector<LabelPart> labelParts(const char* label) {
    std::vector<LabelPart> parts;
    std::string text;
    bool inKey = false;
    for (const char* at = label; *at != '\0'; ++at) {
        // A brace only opens or closes a key; the keys themselves hold none.
        if (*at == '{' || *at == '}') {
            assert((*at == '{') != inKey);
            if (!text.empty()) {
                parts.push_back({inKey, text});
            }
            text.clear();
            inKey = *at == '{';
        } else {
            text += *at;
        }
    }
    assert(!inKey);
    if (!text.empty()) {
        parts.push_back({false, text});
    }
    return parts;
}

// The help as a sentence, then the row's further sentences.
std::string sentences(const KeyRow& row) {
    std::string text = row.help;
    if (text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    text += ".";
    if (row.more != nullptr) {
        text += " " + std::string(row.more);
    }
    return text;
}

// Text set as roff: backslashes and minus signs escaped, and a line that would read as a request
// kept as text.
std::string roff(const std::string& text) {
    std::string out = text[0] == '.' || text[0] == '\'' ? "\\&" : "";
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

// Text as HTML: the three characters that could open markup or an entity, spelled out.
std::string html(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool shownOnDesktop(const KeyRow& row) {
    return row.kind != InputKind::PageOnly;
}

} // namespace

KeyCommand keyCommand(unsigned char key) {
    // Only letters have an upper case; '{' is not a shifted '['.
    const unsigned char lower =
        key >= 'A' && key <= 'Z' ? static_cast<unsigned char>(key - 'A' + 'a') : key;
    for (const KeyRow& row : KEY_TABLE) {
        for (const KeyBinding& binding : row.bindings) {
            if (binding.command != KeyCommand::None && binding.key == lower) {
                return binding.command;
            }
        }
    }
    return KeyCommand::None;
}

std::string plainLabel(const KeyRow& row) {
    std::string text;
    for (const LabelPart& part : labelParts(row.label)) {
        text += part.text;
    }
    return text;
}

std::vector<std::string> keyHelpLines() {
    std::size_t width = 0;
    for (const KeyRow& row : KEY_TABLE) {
        if (shownOnDesktop(row)) {
            width = std::max(width, plainLabel(row).size());
        }
    }
    std::vector<std::string> lines;
    for (const InputKind kind : {InputKind::Key, InputKind::Pointer}) {
        lines.push_back(kind == InputKind::Key
                            ? "Keys (upper case works too; close the window to quit):"
                            : "Mouse:");
        for (const KeyRow& row : KEY_TABLE) {
            if (row.kind == kind) {
                const std::string label = plainLabel(row);
                lines.push_back("  " + label + std::string(width + 2 - label.size(), ' ') +
                                row.help);
            }
        }
    }
    return lines;
}

std::string manualKeyRows(InputKind kind) {
    std::string text;
    for (const KeyRow& row : KEY_TABLE) {
        if (row.kind != kind) {
            continue;
        }
        text += ".TP\n";
        for (const LabelPart& part : labelParts(row.label)) {
            text += part.isKey ? "\\fB" + roff(part.text) + "\\fR" : roff(part.text);
        }
        text += "\n" + roff(sentences(row)) + "\n";
    }
    return text;
}

std::string markdownKeyTable() {
    std::string text = "| Key | Action |\n|---|---|\n";
    for (const KeyRow& row : KEY_TABLE) {
        if (!shownOnDesktop(row)) {
            continue;
        }
        text += "| ";
        for (const LabelPart& part : labelParts(row.label)) {
            text += part.isKey ? "`" + part.text + "`" : part.text;
        }
        text += " | " + sentences(row) + " |\n";
    }
    return text;
}

std::string htmlKeyRows() {
    std::string text;
    for (const KeyRow& row : KEY_TABLE) {
        text += "<tr><td>";
        for (const LabelPart& part : labelParts(row.label)) {
            text += part.isKey ? "<kbd>" + html(part.text) + "</kbd>" : html(part.text);
        }
        text += "</td><td>" + html(row.help) + "</td></tr>\n";
    }
    return text;
}
