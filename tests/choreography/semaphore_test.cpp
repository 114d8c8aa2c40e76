// Flag semaphore: every letter's arms, placed by the node matrices and the drawing's scale,
// point where the semaphore table says as a viewer in front of the robot sees them; and the
// show that spells a word.
#include "choreography/semaphore.h"
#include "robot/tree_walk.h"
#include "robot/node_matrix.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>

namespace {

// The eight directions on the viewer's right (+x) and up (+y) axes, clockwise from down.
constexpr float VIEWER_DIRECTIONS[SEMAPHORE_DIRECTION_COUNT][2] = {
    {0.0f, -1.0f}, {-1.0f, -1.0f}, {-1.0f, 0.0f}, {-1.0f, 1.0f},
    {0.0f, 1.0f},  {1.0f, 1.0f},   {1.0f, 0.0f},  {1.0f, -1.0f},
};

// Half degrees of roll put the diagonals a tenth of a degree off; a wrong sign is 90 off or more.
const float TOLERANCE_DEG = 0.25f;

// Degrees between where a part's +y points in the world and the viewer's direction.
float degreesOff(const glm::mat4& world, int direction) {
    const glm::vec3 along = glm::normalize(glm::vec3(world * glm::vec4(0.0f, 1.0f, 0.0f, 0.0f)));
    const glm::vec3 wanted = glm::normalize(
        glm::vec3(VIEWER_DIRECTIONS[direction][0], VIEWER_DIRECTIONS[direction][1], 0.0f));
    return glm::degrees(std::acos(std::min(1.0f, glm::dot(along, wanted))));
}

TEST(Semaphore, EveryLettersArmsPointAsTheTableSaysSeenFromTheFront) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        Robot robot = makeStartRobot(2);
        ASSERT_TRUE(poseLetter(letter, robot.angles));
        computeNodeMatrices(robot, NodeMatrixVariant::Tick);
        const glm::mat4 placed = robotPlacement(robot);
        const glm::mat4 torso = placed * glm::make_mat4(robot.nodes[Torso].matrix);
        const SemaphoreArms& arms = SEMAPHORE_TABLE[letter - 'A'];
        const struct {
            BodyPart upper, lower;
            int direction;
        } sides[] = {{LeftUpperArm, LeftLowerArm, arms.left},
                     {RightUpperArm, RightLowerArm, arms.right}};
        for (const auto& side : sides) {
            const glm::mat4 upper = torso * glm::make_mat4(robot.nodes[side.upper].matrix);
            const glm::mat4 lower = upper * glm::make_mat4(robot.nodes[side.lower].matrix);
            EXPECT_LT(degreesOff(upper, side.direction), TOLERANCE_DEG) << letter;
            EXPECT_LT(degreesOff(lower, side.direction), TOLERANCE_DEG) << letter;
        }
        EXPECT_EQ(std::fmod(robot.angles[LeftUpperArmRoll] * 2.0f, 1.0f), 0.0f) << letter;
        EXPECT_EQ(robot.angles[HeadPitch], START_ANGLES[HeadPitch]) << "only the arms change";
    }
}

TEST(Semaphore, TheTableHoldsTheStandardLetters) {
    std::set<std::pair<int, int>> seen;
    for (const SemaphoreArms& arms : SEMAPHORE_TABLE) {
        seen.insert({std::min(arms.left, arms.right), std::max(arms.left, arms.right)});
    }
    EXPECT_EQ(seen.size(), 26u) << "no two letters alike";
    // Letters a reader knows by sight: both arms out (R), up and down (D), a low V (N),
    // a high V (U).
    const auto is = [](char letter, int left, int right) {
        const SemaphoreArms& arms = SEMAPHORE_TABLE[letter - 'A'];
        return arms.left == left && arms.right == right;
    };
    EXPECT_TRUE(is('R', 2, 6));
    EXPECT_TRUE(is('D', 4, 0));
    EXPECT_TRUE(is('N', 1, 7));
    EXPECT_TRUE(is('U', 3, 5));
    EXPECT_TRUE(is('A', 1, 0));
    EXPECT_TRUE(is('G', 0, 7));
}

TEST(Semaphore, RefusesCharactersThatAreNotLetters) {
    for (char c : std::string("@[`{0 ")) {
        float angles[JOINT_COUNT];
        std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), angles);
        EXPECT_FALSE(poseLetter(c, angles)) << c;
        EXPECT_EQ(std::memcmp(angles, START_ANGLES, sizeof angles), 0) << c;
    }
    float lower[JOINT_COUNT] = {};
    float upper[JOINT_COUNT] = {};
    ASSERT_TRUE(poseLetter('z', lower));
    ASSERT_TRUE(poseLetter('Z', upper));
    EXPECT_EQ(std::memcmp(lower, upper, sizeof lower), 0);
}

TEST(Semaphore, SpellsAWordAfterTheBuiltInWalks) {
    ShowScripts show{};
    std::string whyNot;
    ASSERT_TRUE(spellShow("hI", show, whyNot)) << whyNot;
    const ShowScripts builtIn = builtInShow();
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_EQ(show.commandCount[i], 2u);
        EXPECT_EQ(std::memcmp(show.script[i], builtIn.script[i], WALK_LENGTH * sizeof(float)), 0);
        EXPECT_EQ(show.script[i][WALK_LENGTH], static_cast<float>(Pose));
    }
    float h[JOINT_COUNT];
    std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), h);
    poseLetter('H', h);
    EXPECT_EQ(std::memcmp(show.script[0] + WALK_LENGTH + 1, h, sizeof h), 0);
    EXPECT_NE(show.script[1][WALK_LENGTH + 1 + LeftUpperArmRoll], START_ANGLES[LeftUpperArmRoll]);
    EXPECT_EQ(std::memcmp(show.script[3] + WALK_LENGTH + 1, START_ANGLES, sizeof h), 0)
        << "past the word's end, arms down";

    const ShowReading reading = readShow("spelled", writeShow(show));
    ASSERT_TRUE(reading.accepted) << reading.refusal;
    EXPECT_EQ(std::memcmp(&reading.show, &show, sizeof show), 0);
    const ShowReading byLetter =
        readShow("l", "cheerleaders show 1\nrobot 1\nwalk -3 0.4 0\npose letter=H\nrobot 2\n"
                      "walk -1 0.4 0\npose letter=I\nrobot 3\nwalk 0.5 0.4 0\npose\n"
                      "robot 4\nwalk 3 0.4 0\npose\n");
    ASSERT_TRUE(byLetter.accepted) << byLetter.refusal;
    EXPECT_EQ(std::memcmp(&byLetter.show, &show, sizeof show), 0);

    for (const char* word : {"", "CHEER", "A1", "\xC3\xA9"}) {
        EXPECT_FALSE(spellShow(word, show, whyNot)) << word;
        EXPECT_FALSE(whyNot.empty());
    }
    EXPECT_TRUE(spellShow("ABCD", show, whyNot));
    EXPECT_TRUE(spellShow("Z", show, whyNot));
}

} // namespace
