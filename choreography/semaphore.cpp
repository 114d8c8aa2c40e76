#include "choreography/semaphore.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>

namespace {
constexpr double DIRECTION_STEP_DEG = 360.0 / SEMAPHORE_DIRECTION_COUNT;
constexpr float ARM_DOWN_PITCH_DEG = 180.0f; // the arm's +y hangs down; roll swings it sideways
constexpr float STRAIGHT_ELBOW_DEG = 0.0f;

int letterIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') {
        return letter - 'a';
    }
    if (letter >= 'A' && letter <= 'Z') {
        return letter - 'A';
    }
    return -1;
}

// With the pitch at 180 the upper arm points along (-sin roll, -cos roll, 0) in the torso's frame,
// and the drawing scales that by ROBOT_SCALE. The viewer sees direction d, d * 45 degrees
// clockwise from down, as (-sin, -cos) on his right and up axes, and his right is the torso's +x.
// So the roll whose scaled arm points along d solves tan roll = (sin / sx) / (cos / sy), rounded
// to the half degree every pose angle is on.
float rollFor(int direction) {
    const double viewer = direction * DIRECTION_STEP_DEG * std::acos(-1.0) / 180.0;
    const double roll = std::atan2(std::sin(viewer) / static_cast<double>(ROBOT_SCALE[0]),
                                   std::cos(viewer) / static_cast<double>(ROBOT_SCALE[1]));
    return static_cast<float>(std::round(roll * 180.0 / std::acos(-1.0) * 2.0) / 2.0);
}
} // namespace

// Letters round the circle: A to G one arm from down-left round to down-right with the other
// arm down; then pairs, H to N with one arm down-left, O to S left, T, U, Y up-left, J, V up,
// W, X up-right, Z right.
const SemaphoreArms SEMAPHORE_TABLE[SEMAPHORE_LETTER_COUNT] = {
    {1, 0}, // A
    {2, 0}, // B
    {3, 0}, // C
    {4, 0}, // D
    {0, 5}, // E
    {0, 6}, // F
    {0, 7}, // G
    {2, 1}, // H
    {3, 1}, // I
    {4, 6}, // J
    {1, 4}, // K
    {1, 5}, // L
    {1, 6}, // M
    {1, 7}, // N
    {3, 2}, // O
    {2, 4}, // P
    {2, 5}, // Q
    {2, 6}, // R
    {2, 7}, // S
    {3, 4}, // T
    {3, 5}, // U
    {4, 7}, // V
    {6, 5}, // W
    {7, 5}, // X
    {3, 6}, // Y
    {7, 6}, // Z
};

bool poseLetter(char letter, float* angles) {
    const int index = letterIndex(letter);
    if (index < 0) {
        return false;
    }
    const SemaphoreArms& arms = SEMAPHORE_TABLE[index];
    angles[LeftUpperArmPitch] = ARM_DOWN_PITCH_DEG;
    angles[RightUpperArmPitch] = ARM_DOWN_PITCH_DEG;
    angles[LeftUpperArmRoll] = rollFor(arms.left);
    angles[RightUpperArmRoll] = rollFor(arms.right);
    angles[LeftLowerArmPitch] = STRAIGHT_ELBOW_DEG;
    angles[RightLowerArmPitch] = STRAIGHT_ELBOW_DEG;
    return true;
}

bool spellShow(std::string_view word, ShowScripts& show, std::string& whyNot) {
    if (word.empty() || word.size() > static_cast<std::size_t>(ROBOT_COUNT)) {
        whyNot = "a word to spell has 1 to 4 letters, not " + std::to_string(word.size());
        return false;
    }
    for (char letter : word) {
        if (letterIndex(letter) < 0) {
            whyNot =
                "a word to spell has only the letters A to Z, not '" + std::string(1, letter) + "'";
            return false;
        }
    }
    const ShowScripts builtIn = builtInShow();
    show = ShowScripts{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        float* script = show.script[i];
        assert(builtIn.script[i][0] == static_cast<float>(Walk));
        std::copy(builtIn.script[i], builtIn.script[i] + WALK_LENGTH, script);
        float* pose = script + WALK_LENGTH;
        pose[0] = static_cast<float>(Pose);
        std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), pose + 1);
        if (static_cast<std::size_t>(i) < word.size()) {
            poseLetter(word[static_cast<std::size_t>(i)], pose + 1);
        }
        show.commandCount[i] = 2;
    }
    return true;
}
