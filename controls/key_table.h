// Key table: every key and pointer gesture the program answers, what it does and its line of help,
// in one place. Pure. applyKey and applyInspectionKey look the character keys up here; --help,
// the manual page (tools/write_key_rows), the page's key table (tools/write_key_rows, at build time) and the README's
// (a test holds it to this) are all written from it.
#pragma once

#include <string>
#include <vector>

// What a character key asks for. The arrows, Home, End and the page keys are GLUT's special keys,
// which onSpecialKey dispatches; their rows here carry only their help.
enum class KeyCommand {
    None,
    WalkForward,
    WalkBack,
    TurnLeft,
    TurnRight,
    TiltUp,
    TiltDown,
    TogglePause,
    Replay,
    ToggleFullScreen,
    LeaveFullScreen,
    SlowDown,
    SpeedUp,
    PrintPlace,
    ToggleBodyFrames,
    SelectRobot, // 1 to 4: the robot is the digit less one
    SelectNone,
    PrintState,
};

// Keys on the keyboard, what the mouse does in both shells, and what only the page has (touch,
// its click, its timeline, console and link).
enum class InputKind { Key, Pointer, PageOnly };

struct KeyBinding {
    unsigned char key = 0; // lower case: an upper-case letter does the same
    KeyCommand command = KeyCommand::None;
};

constexpr int MAX_BINDINGS = 5;
constexpr unsigned char ESCAPE_KEY = 27;

struct KeyRow {
    InputKind kind;
    // How a reader names the keys, each key in braces: "{w} / {s}", "{Page Up} / {Page Down}".
    const char* label;
    // One line, lower case, no full stop: what --help and the page show.
    const char* help;
    // Sentences the manual page and the README add after the help, or nullptr.
    const char* more;
    KeyBinding bindings[MAX_BINDINGS]; // the character keys the row stands for
};

constexpr int KEY_ROW_COUNT = 23;
extern const KeyRow KEY_TABLE[KEY_ROW_COUNT];

// What a character key does, by the table; None for a key that is in no row.
KeyCommand keyCommand(unsigned char key);

// The row's keys as plain text: "Page Up / Page Down".
std::string plainLabel(const KeyRow& row);

// --help's paragraphs on the keys and the mouse: a heading line each, then a line for each row,
// its label in one column and its help in the next.
std::vector<std::string> keyHelpLines();

// The rows of one kind as the manual page's tagged paragraphs (.TP), keys in bold and the help and
// its sentences set as roff text.
std::string manualKeyRows(InputKind kind);

// The README's key table in Markdown: the heading row, its rule and one row for each key and
// pointer row.
std::string markdownKeyTable();

// Every row as the page's table rows, one a line: <tr><td><kbd>w</kbd> / <kbd>s</kbd></td>
// <td>walk forward or back</td></tr>, the text escaped.
std::string htmlKeyRows();
