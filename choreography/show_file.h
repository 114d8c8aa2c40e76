// Show file: the four robots' scripts as text (a version line, then per robot a `robot N` line
// and its commands, one a line), read with every command checked against where its robot stands
// and written back in one canonical form. Pure; the command line reads and prints shows with it.
#pragma once

#include "choreography/choreography.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr std::uint32_t MAX_SHOW_COMMANDS = 64; // per robot
constexpr int MAX_SHOW_SCRIPT_FLOATS = static_cast<int>(MAX_SHOW_COMMANDS) * POSE_LENGTH;
constexpr std::size_t MAX_SHOW_FILE_BYTES = 64 * 1024;
constexpr std::string_view SHOW_VERSION_LINE = "cheerleaders show 1"; // a show's first line

// Robot i's commands in the flat script format of choreography.h, back to back from
// script[i][0]; the floats after them are zero. A choreography can point at script[i] directly.
struct ShowScripts {
    std::uint32_t commandCount[ROBOT_COUNT]; // 1 to MAX_SHOW_COMMANDS each
    float script[ROBOT_COUNT][MAX_SHOW_SCRIPT_FLOATS];
};

// What reading a show gave: the show, or where and why it was refused.
struct ShowReading {
    bool accepted = false;
    ShowScripts show{};  // all zero when refused
    int line = 0;        // of the refusal, from 1
    int column = 0;      // characters from 1, at the offending token
    std::string refusal; // "FILE:LINE:COLUMN: what is wrong", one line without its newline
};

// The built-in show: ROBOT_SCRIPTS, two commands a robot.
ShowScripts builtInShow();

// Reads a show file's text; fileName only names it in the refusal. Refuses, at the first fault,
// text over MAX_SHOW_FILE_BYTES or not UTF-8, a missing or unknown version line, an unknown
// command, joint or letter, a joint given twice, a number token that is not a plain decimal, a
// walk target off its robot's one-unit grid, off the ground or outside the field's lines, a pose
// angle that is not a whole number of half degrees in -360 to 360, and a robot with no commands
// or more than MAX_SHOW_COMMANDS. A pose's joint left out keeps the target of the robot's
// previous pose, or its start angle before its first pose. Time linear in the text's length.
ShowReading readShow(std::string_view fileName, std::string_view text);

// The show in the canonical form readShow reads back to the same floats: numbers shortest,
// each pose naming the joints whose targets differ from the previous pose's (or the start
// angles), in JointAngles order. The show must be well formed, as readShow gives it. A show whose
// poses change many joints each can print longer than MAX_SHOW_FILE_BYTES.
std::string writeShow(const ShowScripts& show);

// A joint's name in a show file: the inspector's name with underscores, "left_upper_arm_roll".
const char* showJointName(int joint);
