// Reading a show file (show_file.h): line by line, each command checked against where its robot
// stands and what its last pose aimed at, the first fault refused with its place.
#include "choreography/semaphore.h"
#include "choreography/show_file.h"
#include "choreography/show_text.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
constexpr std::string_view LETTER_KEY = "letter";

// Tenths, because every value a show holds is a whole number of tenths: half degrees, whole
// units from start places on the half unit, and the ground's 0.4.
constexpr long long HALF_DEGREE_TENTHS = 5;
constexpr long long UNIT_TENTHS = 10;
constexpr long long ANGLE_LIMIT_TENTHS = 3600;
constexpr long long FIELD_HALF_WIDTH_TENTHS = 120;  // x from -12 to 12
constexpr long long FIELD_HALF_LENGTH_TENTHS = 180; // z from -18 to 18
constexpr std::size_t SUGGESTED_NAME_BYTES = 64;    // past the longest joint's name

constexpr std::uint32_t ARM_JOINTS = (1u << LeftUpperArmPitch) | (1u << LeftLowerArmPitch) |
                                     (1u << RightUpperArmPitch) | (1u << RightLowerArmPitch) |
                                     (1u << LeftUpperArmRoll) | (1u << RightUpperArmRoll);

long long toTenths(float value) {
    return std::llround(static_cast<double>(value) * 10.0);
}

// The one conversion from a decimal's tenths to the script's float: a correctly rounded
// division, so it gives the float the same decimal written as a literal gives.
float fromTenths(long long tenths) {
    return static_cast<float>(tenths) / 10.0f;
}

std::string quoted(std::string_view text) {
    return "'" + tokenText(text) + "'";
}

// The joint or the letter key nearest the unknown name, for the refusal's suggestion. Only the
// name's start is compared: a name far longer than any joint's is no slip of the fingers, and
// the distance costs its length times each key's.
std::string_view nearestJointKey(std::string_view wholeName) {
    const std::string_view name = wholeName.substr(0, SUGGESTED_NAME_BYTES);
    std::string_view best = LETTER_KEY;
    std::size_t bestDistance = editDistance(name, LETTER_KEY);
    for (int k = 0; k < JOINT_COUNT; ++k) {
        const std::size_t distance = editDistance(name, showJointName(k));
        if (distance < bestDistance) {
            best = showJointName(k);
            bestDistance = distance;
        }
    }
    return best;
}

// Reads one robot's commands as they come and keeps where the robot stands and what its last
// pose aimed at, which the next command is checked against.
struct RobotDraft {
    bool headed = false; // its `robot N` line seen
    ShowLine header;
    Token headerToken;
    long long position[3]; // tenths
    float angles[JOINT_COUNT];
    int floatsUsed = 0;
};

struct Reading {
    ShowReading& out;
    std::string_view fileName;
    std::string_view text;
    RobotDraft drafts[ROBOT_COUNT];
    int current = -1; // robot whose commands are being read

    bool refuse(const ShowLine& line, std::size_t offset, const std::string& what) {
        out.line = line.number;
        out.column = columnAt(line.text, offset);
        out.refusal = std::string(fileName) + ":" + std::to_string(out.line) + ":" +
                      std::to_string(out.column) + ": " + what;
        return false;
    }

    bool refuseAt(const ShowLine& line, const Token& token, const std::string& what) {
        return refuse(line, token.offset, what);
    }

    // Nothing may follow a complete line but a comment.
    bool endOfLine(Tokens& tokens, const ShowLine& line, std::string_view after) {
        Token extra;
        if (tokens.next(extra)) {
            return refuseAt(line, extra,
                            "unexpected " + quoted(extra.text) + " after " + std::string(after));
        }
        return true;
    }

    bool number(const ShowLine& line, const Token& token, Decimal& value) {
        value = parseDecimal(token.text);
        if (!value.valid) {
            return refuseAt(line, token,
                            token.text.empty() ? std::string("missing number")
                                               : quoted(token.text) + " is not a number");
        }
        return true;
    }

    bool version(Tokens& tokens, const ShowLine& line) {
        // The version line's own words, then its number, which is the last word.
        Tokens wanted(SHOW_VERSION_LINE);
        Token word;
        Token token;
        wanted.next(word);
        for (Token next; wanted.next(next); word = next) {
            if (!tokens.next(token) || token.text != word.text) {
                return refuse(line, 0, "missing version line " + quoted(SHOW_VERSION_LINE));
            }
        }
        if (!tokens.next(token)) {
            return refuse(line, line.text.size(), "missing version number");
        }
        if (token.text != word.text) {
            return refuseAt(line, token,
                            "unknown version " + quoted(token.text) + "; this reads version " +
                                std::string(word.text));
        }
        return endOfLine(tokens, line, "the version");
    }

    bool robotHeader(Tokens& tokens, const ShowLine& line, const Token& word) {
        Token token;
        if (!tokens.next(token)) {
            return refuse(line, line.text.size(), "missing robot number after 'robot'");
        }
        if (token.text.size() != 1 || token.text[0] < '1' || token.text[0] >= '1' + ROBOT_COUNT) {
            return refuseAt(line, token,
                            "unknown robot " + quoted(token.text) + "; robots are 1 to 4");
        }
        current = token.text[0] - '1';
        RobotDraft& draft = drafts[current];
        if (draft.headed) {
            return refuseAt(line, word,
                            "robot " + std::to_string(current + 1) +
                                " given twice, first on line " +
                                std::to_string(draft.header.number));
        }
        draft.headed = true;
        draft.header = line;
        draft.headerToken = token;
        return endOfLine(tokens, line, "the robot number");
    }

    // Appends the command's floats to the current robot's script, whose room was checked.
    float* append(int length) {
        RobotDraft& draft = drafts[current];
        assert(draft.floatsUsed + length <= MAX_SHOW_SCRIPT_FLOATS);
        float* command = out.show.script[current] + draft.floatsUsed;
        draft.floatsUsed += length;
        out.show.commandCount[current] += 1;
        return command;
    }

    bool walk(Tokens& tokens, const ShowLine& line) {
        RobotDraft& draft = drafts[current];
        static constexpr char AXES[3] = {'x', 'y', 'z'};
        long long target[3];
        for (int axis = 0; axis < 3; ++axis) {
            Token token;
            if (!tokens.next(token)) {
                return refuse(line, line.text.size(),
                              std::string("walk needs x, y and z; ") + AXES[axis] + " is missing");
            }
            Decimal value;
            if (!number(line, token, value)) {
                return false;
            }
            const std::string shown = std::string(1, AXES[axis]) + " " + tokenText(token.text);
            const long long from = draft.position[axis];
            if (axis == 1) {
                if (!value.exactTenths || value.tenths != from) {
                    return refuseAt(line, token,
                                    "height " + tokenText(token.text) + " is not the ground's " +
                                        tenthsText(from));
                }
            } else if (!value.exactTenths || (value.tenths - from) % UNIT_TENTHS != 0) {
                return refuseAt(line, token,
                                shown + " is not a whole number of steps from " + tenthsText(from) +
                                    ", where robot " + std::to_string(current + 1) + " stands");
            } else {
                const long long limit =
                    axis == 0 ? FIELD_HALF_WIDTH_TENTHS : FIELD_HALF_LENGTH_TENTHS;
                if (value.tenths < -limit || value.tenths > limit) {
                    return refuseAt(line, token,
                                    shown + " is outside the field's lines (" + tenthsText(-limit) +
                                        " to " + tenthsText(limit) + ")");
                }
            }
            target[axis] = value.tenths;
        }
        if (!endOfLine(tokens, line, "the walk's target")) {
            return false;
        }
        float* command = append(WALK_LENGTH);
        command[0] = static_cast<float>(Walk);
        for (int axis = 0; axis < 3; ++axis) {
            draft.position[axis] = target[axis];
            command[1 + axis] = fromTenths(target[axis]);
        }
        return true;
    }

    bool letter(const ShowLine& line, const Token& value, std::uint32_t& given, float* targets) {
        if (value.text.size() != 1 || !poseLetter(value.text[0], targets)) {
            return refuse(line, value.offset,
                          "unknown letter " + quoted(value.text) + "; letters are A to Z");
        }
        given |= ARM_JOINTS;
        return true;
    }

    bool angle(const ShowLine& line, const Token& value, float& target) {
        Decimal parsed;
        if (!number(line, value, parsed)) {
            return false;
        }
        if (!parsed.exactTenths || parsed.tenths % HALF_DEGREE_TENTHS != 0) {
            return refuseAt(line, value,
                            "angle " + tokenText(value.text) +
                                " is not a whole number of half degrees");
        }
        if (parsed.tenths < -ANGLE_LIMIT_TENTHS || parsed.tenths > ANGLE_LIMIT_TENTHS) {
            return refuseAt(line, value,
                            "angle " + tokenText(value.text) + " is outside -360 to 360");
        }
        target = fromTenths(parsed.tenths);
        return true;
    }

    bool pose(Tokens& tokens, const ShowLine& line) {
        RobotDraft& draft = drafts[current];
        float targets[JOINT_COUNT];
        std::copy(std::begin(draft.angles), std::end(draft.angles), targets);
        std::uint32_t given = 0;
        bool letterGiven = false;
        Token token;
        while (tokens.next(token)) {
            const std::size_t equals = token.text.find('=');
            const std::string_view key = token.text.substr(0, equals);
            if (equals == std::string_view::npos) {
                return refuseAt(line, token, "expected joint=angle, found " + quoted(token.text));
            }
            const Token value = {token.text.substr(equals + 1), token.offset + equals + 1};
            if (key == LETTER_KEY) {
                if (letterGiven || (given & ARM_JOINTS) != 0) {
                    return refuseAt(line, token, "the letter sets arm joints given already");
                }
                letterGiven = true;
                if (!letter(line, value, given, targets)) {
                    return false;
                }
                continue;
            }
            int joint = 0;
            while (joint < JOINT_COUNT && key != showJointName(joint)) {
                joint += 1;
            }
            if (joint == JOINT_COUNT) {
                return refuseAt(line, token,
                                "unknown joint " + quoted(key) + "; did you mean " +
                                    quoted(nearestJointKey(key)) + "?");
            }
            if ((given & (1u << joint)) != 0) {
                return refuseAt(
                    line, token,
                    "joint " + quoted(key) +
                        (letterGiven ? " is set by the letter as well" : " given twice"));
            }
            given |= 1u << joint;
            if (!angle(line, value, targets[joint])) {
                return false;
            }
        }
        float* command = append(POSE_LENGTH);
        command[0] = static_cast<float>(Pose);
        std::copy(std::begin(targets), std::end(targets), command + 1);
        std::copy(std::begin(targets), std::end(targets), draft.angles);
        return true;
    }

    bool command(Tokens& tokens, const ShowLine& line, const Token& word) {
        if (word.text == "robot") {
            return robotHeader(tokens, line, word);
        }
        const bool isWalk = word.text == "walk";
        if (!isWalk && word.text != "pose") {
            return refuseAt(line, word,
                            "unknown command " + quoted(word.text) +
                                "; expected robot, walk or pose");
        }
        if (current < 0) {
            return refuseAt(line, word, quoted(word.text) + " before any 'robot' line");
        }
        if (out.show.commandCount[current] == MAX_SHOW_COMMANDS) {
            return refuseAt(line, word,
                            "robot " + std::to_string(current + 1) + " has over " +
                                std::to_string(MAX_SHOW_COMMANDS) + " commands");
        }
        return isWalk ? walk(tokens, line) : pose(tokens, line);
    }

    bool lines() {
        bool versioned = false;
        ShowLines all(text);
        ShowLine line;
        while (all.next(line)) {
            Tokens tokens(line.text);
            Token word;
            if (!tokens.next(word)) {
                continue;
            }
            if (!versioned) {
                tokens = Tokens(line.text);
                if (!version(tokens, line)) {
                    return false;
                }
                versioned = true;
            } else if (!command(tokens, line, word)) {
                return false;
            }
        }
        const ShowLine end = all.end();
        if (!versioned) {
            return refuse(end, 0, "missing version line " + quoted(SHOW_VERSION_LINE));
        }
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            if (out.show.commandCount[i] == 0) {
                const RobotDraft& draft = drafts[i];
                return draft.headed
                           ? refuseAt(draft.header, draft.headerToken,
                                      "no commands for robot " + std::to_string(i + 1))
                           : refuse(end, 0, "no commands for robot " + std::to_string(i + 1));
            }
        }
        return true;
    }
};
} // namespace

ShowReading readShow(std::string_view fileName, std::string_view wholeText) {
    ShowReading reading;
    Reading reader{reading, fileName, wholeText, {}};
    if (wholeText.size() > MAX_SHOW_FILE_BYTES) {
        reader.refuse(ShowLine{1, {}}, 0,
                      "the show is " + std::to_string(wholeText.size()) + " bytes, over the " +
                          std::to_string(MAX_SHOW_FILE_BYTES) + " (64 KB) a show may have");
        return reading;
    }
    const std::string_view text = skipByteOrderMark(wholeText);
    reader.text = text;
    const std::size_t bad = firstNonUtf8(text);
    if (bad != std::string_view::npos) {
        const ShowLine line = lineAround(text, bad);
        reader.refuse(line, bad - static_cast<std::size_t>(line.text.data() - text.data()),
                      "bytes that are not UTF-8");
        return reading;
    }
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            reader.drafts[i].position[axis] = toTenths(ROBOT_START[i][axis]);
            assert(fromTenths(reader.drafts[i].position[axis]) == ROBOT_START[i][axis]);
        }
        std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), reader.drafts[i].angles);
    }
    reading.accepted = reader.lines();
    if (!reading.accepted) {
        reading.show = ShowScripts{};
    }
    return reading;
}
