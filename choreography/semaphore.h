// Flag semaphore: the letters A to Z as the directions of a robot's two arms, the arm joint angles
// that point them so for a viewer in front of the robot, and the show in which the robots spell a
// word. Pure; the show file's `letter=` and the command line's spelling use it.
#pragma once

#include "choreography/show_file.h"

#include <string>
#include <string_view>

// A direction in the body's frontal plane as the viewer in front of the robot sees it, in
// 45-degree steps clockwise from straight down: 0 down, 2 the viewer's left, 4 up, 6 the
// viewer's right, odd numbers the diagonals between.
constexpr int SEMAPHORE_DIRECTION_COUNT = 8;

// One letter. left is the arm the viewer sees on his left: the model's Left arm, on the torso's
// -x side (at torso yaw 0 a robot faces +z, toward the viewer's start). Where both flags are on
// one side, that side's arm takes the higher one and the other arm crosses the body.
struct SemaphoreArms {
    int left;
    int right;
};
constexpr int SEMAPHORE_LETTER_COUNT = 26;
extern const SemaphoreArms SEMAPHORE_TABLE[SEMAPHORE_LETTER_COUNT]; // 'A' first

// Sets the six arm joints (upper arm pitch and roll, lower arm straight) that point both arms
// along the table's directions for the letter (A to Z, either case), seen through the robots'
// drawing scale; the other joints are left alone. Gives false, changing nothing, for any other
// character. Angles are whole half degrees, so the diagonals are within a tenth of a degree.
// angles holds JOINT_COUNT floats in JointAngles order.
bool poseLetter(char letter, float* angles);

// The built-in walks, then robot i signalling letter i of the word (1 to 4 letters A to Z,
// either case), read left to right by the viewer; a robot past the word's end lowers both arms.
// Each robot has two commands. A word that is not so gives false and says why in whyNot.
bool spellShow(std::string_view word, ShowScripts& show, std::string& whyNot);
