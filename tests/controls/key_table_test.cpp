// The key table: what each character key does through applyKey and applyInspectionKey, the keys
// that do nothing, and the texts written from the table (--help, the manual page, the README's
// table, the page's JSON), each held to every row.
#include "choreography/robot_inspection.h"
#include "app/command_line.h"
#include "controls/key_table.h"
#include "controls/walking_camera.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string fileText(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool onDesktop(const KeyRow& row) {
    return row.kind != InputKind::PageOnly;
}

constexpr int UNSELECTED = 99; // no robot's number, nor NO_ROBOT

// What a key does to a fresh camera, pause flag and inspection, in words that tell every
// outcome apart.
std::string outcome(unsigned char key) {
    ViewerCamera camera;
    const ViewerCamera start;
    bool paused = false;
    Inspection inspection;
    inspection.selectedRobot = UNSELECTED; // so that selecting any robot, or none, shows
    const KeyAction action = applyKey(camera, paused, key);
    const bool print = applyInspectionKey(inspection, key);
    std::string said;
    said += camera.heading > start.heading   ? "left "
            : camera.heading < start.heading ? "right "
                                             : "";
    said += camera.pitch < start.pitch ? "up " : camera.pitch > start.pitch ? "down " : "";
    said += camera.z < start.z ? "forward " : camera.z > start.z ? "back " : "";
    said += paused ? "paused " : "";
    const char* actions[] = {"",        "replay ", "fullscreen ", "leave ",
                             "slower ", "faster ", "place "};
    said += actions[static_cast<int>(action)];
    said += inspection.selectedRobot != UNSELECTED
                ? "robot" + std::to_string(inspection.selectedRobot) + " "
                : "";
    said += inspection.bodyFramesShown ? "frames " : "";
    said += print ? "print " : "";
    return said;
}

TEST(KeyTable, EveryCharacterKeyDoesItsRowsCommandInEitherCase) {
    const struct {
        unsigned char key;
        const char* outcome;
    } cases[] = {
        {'w', "forward "},    {'s', "back "},         {'a', "left "},   {'d', "right "},
        {'p', "up "},         {'l', "down "},         {' ', "paused "}, {'r', "replay "},
        {'f', "fullscreen "}, {ESCAPE_KEY, "leave "}, {'[', "slower "}, {']', "faster "},
        {'c', "place "},      {'x', "frames "},       {'1', "robot0 "}, {'2', "robot1 "},
        {'4', "robot3 "},     {'0', "robot-1 "},      {'i', "print "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(outcome(c.key), c.outcome) << "key " << int{c.key};
        if (c.key >= 'a' && c.key <= 'z') {
            const auto upper = static_cast<unsigned char>(c.key - 'a' + 'A');
            EXPECT_EQ(outcome(upper), c.outcome) << "key " << int{upper};
        }
    }
    // The robot a digit selects is the digit less one; '3' is the one not in the cases above.
    EXPECT_EQ(outcome('3'), "robot2 ");
}

TEST(KeyTable, KeysInNoRowDoNothing) {
    // '{', '}' and '@' are the shifted '[', ']' and '`': only letters have an upper case. 0 is the
    // key an empty binding holds.
    const unsigned char unbound[] = {'q', 'Q', 'z', 'Z', 'b', 'B', 'y', 'Y', '5',
                                     '9', '{', '}', '@', '`', '/', 0,   127, 255};
    for (const unsigned char key : unbound) {
        EXPECT_EQ(keyCommand(key), KeyCommand::None) << "key " << int{key};
        EXPECT_EQ(outcome(key), "") << "key " << int{key};
    }
}

TEST(KeyTable, EachKeyIsBoundOnceAndNamedInItsRowsLabel) {
    int bound[256] = {};
    for (const KeyRow& row : KEY_TABLE) {
        const std::string label = plainLabel(row);
        for (const KeyBinding& binding : row.bindings) {
            if (binding.command == KeyCommand::None) {
                continue;
            }
            ++bound[binding.key];
            const std::string name = binding.key == ' '          ? "space"
                                     : binding.key == ESCAPE_KEY ? "Escape"
                                                                 : std::string(1, binding.key);
            const bool named = label.find(name) != std::string::npos ||
                               (binding.key > '1' && binding.key < '4'); // "1 to 4"
            EXPECT_TRUE(named) << "'" << name << "' is not in \"" << label << "\"";
        }
    }
    for (int key = 0; key < 256; ++key) {
        EXPECT_LE(bound[key], 1) << "key " << key;
    }
}

TEST(KeyTable, HelpListsEveryDesktopRowInTwoColumnsWithinEightyColumns) {
    const std::vector<std::string> lines = helpLines();
    std::size_t helpColumn = 0;
    for (const KeyRow& row : KEY_TABLE) {
        const std::string label = plainLabel(row);
        int found = 0;
        for (const std::string& line : lines) {
            const std::size_t at = line.find(row.help);
            if (line.compare(0, 2 + label.size(), "  " + label) == 0 && at != std::string::npos) {
                EXPECT_TRUE(helpColumn == 0 || helpColumn == at) << line;
                helpColumn = at;
                ++found;
            }
        }
        EXPECT_EQ(found, onDesktop(row) ? 1 : 0) << label;
    }
    EXPECT_GT(helpColumn, 2 + std::strlen("Page Up / Page Down"));
    for (const std::string& line : keyHelpLines()) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    // The keys sit between the description and the files, the options after them.
    std::string all;
    for (const std::string& line : lines) {
        all += line + "\n";
    }
    const std::size_t keys = all.find("Keys (");
    const std::size_t mouse = all.find("\nMouse:\n");
    EXPECT_LT(all.find("you walk around"), keys);
    EXPECT_LT(keys, mouse);
    EXPECT_LT(mouse, all.find("Textures:"));
    EXPECT_LT(all.find("Textures:"), all.find("--camera H,X,Z,B,S,P\n"));
}

TEST(KeyTable, ManualRowsSetKeysInBoldAndEscapeTheText) {
    const std::string keys = manualKeyRows(InputKind::Key);
    EXPECT_EQ(keys.find(".TP\n\\fBw\\fR / \\fBs\\fR\nWalk forward / back (the view bobs with "
                        "your steps).\n.TP\n"),
              0u)
        << keys;
    EXPECT_NE(keys.find("\\fB1\\fR to \\fB4\\fR / \\fB0\\fR\n"), std::string::npos);
    EXPECT_NE(keys.find("place: \\-\\-at 740 \\-\\-paused"), std::string::npos);
    EXPECT_EQ(keys.find("--"), std::string::npos);
    const std::string pointer = manualKeyRows(InputKind::Pointer);
    EXPECT_EQ(pointer.find(".TP\nleft drag\nLook around"), 0u) << pointer;
    EXPECT_NE(pointer.find(".TP\nwheel\nWalk forward / back, 10 steps a notch.\n"),
              std::string::npos);
    EXPECT_EQ(pointer.find("finger"), std::string::npos);
}

TEST(KeyTable, InstalledManualPageCarriesEveryDesktopRow) {
    const std::string page = fileText(CHEER_MANUAL_PAGE);
    ASSERT_NE(page.find(".SH KEYS"), std::string::npos) << CHEER_MANUAL_PAGE;
    const std::string keys = manualKeyRows(InputKind::Key);
    const std::string pointer = manualKeyRows(InputKind::Pointer);
    EXPECT_LT(page.find(".SH KEYS"), page.find(keys));
    EXPECT_LT(page.find(keys), page.find(".SH MOUSE"));
    EXPECT_LT(page.find(".SH MOUSE"), page.find(pointer));
    EXPECT_LT(page.find(pointer), page.find(".SH OUTPUT"));
    EXPECT_EQ(page.find("ROWS"), std::string::npos);
}

TEST(KeyTable, ReadmeKeyTableIsTheTable) {
    const std::string readme = fileText(CHEER_README);
    const std::size_t start = readme.find("| Key | Action |");
    ASSERT_NE(start, std::string::npos) << CHEER_README << " has no key table";
    const std::size_t end = readme.find("\n\n", start);
    EXPECT_EQ(readme.substr(start, end + 1 - start), markdownKeyTable())
        << "README.md's key table is not the program's: paste the text above into it";
    const std::string table = markdownKeyTable();
    EXPECT_EQ(table.find("| Key | Action |\n|---|---|\n| `w` / `s` | Walk forward"), 0u) << table;
    EXPECT_NE(table.find("\n| left drag | Look around"), std::string::npos);
    EXPECT_EQ(table.find("finger"), std::string::npos);
}

TEST(KeyTable, PageRowsHaveEveryRowWithItsKeysApartAndTheTextEscaped) {
    const std::string rows = htmlKeyRows();
    EXPECT_EQ(rows.find("<tr><td><kbd>w</kbd> / <kbd>s</kbd></td><td>walk forward"), 0u) << rows;
    std::size_t count = 0;
    for (std::size_t at = rows.find("<tr>"); at != std::string::npos; at = rows.find("<tr>", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, static_cast<std::size_t>(KEY_ROW_COUNT));
    EXPECT_NE(rows.find("<kbd>Page Up</kbd> / <kbd>Page Down</kbd>"), std::string::npos);
    EXPECT_NE(rows.find("<tr><td>two fingers</td><td>up or apart"), std::string::npos);
    // The brackets are keys like any other, and no text opens markup of its own.
    EXPECT_NE(rows.find("<kbd>[</kbd>"), std::string::npos);
    std::string text = rows;
    for (const char* tag : {"<tr>", "</tr>", "<td>", "</td>", "<kbd>", "</kbd>"}) {
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag)) {
            text.erase(at, std::string(tag).size());
        }
    }
    EXPECT_EQ(text.find('<'), std::string::npos) << text;
    EXPECT_EQ(rows.back(), '\n');
}

} // namespace
