// The show file: the built-in show through the text and back, the canonical form, and each
// refusal with the line and column it names.
#include "choreography/show_file.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string VERSION = "cheerleaders show 1\n";

// The smallest show every robot can play, after the lines given for robot 1.
std::string showWithRobot1(const std::string& robot1Lines) {
    return VERSION + "robot 1\n" + robot1Lines + "robot 2\npose\nrobot 3\npose\nrobot 4\npose\n";
}

bool sameShow(const ShowScripts& a, const ShowScripts& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const char* const BUILT_IN_TEXT = "cheerleaders show 1\n"
                                  "\nrobot 1\nwalk -3 0.4 0\n"
                                  "pose left_upper_arm_pitch=0 right_upper_arm_pitch=0\n"
                                  "\nrobot 2\nwalk -1 0.4 0\n"
                                  "pose left_upper_arm_pitch=0 right_upper_arm_pitch=0\n"
                                  "\nrobot 3\nwalk 0.5 0.4 0\n"
                                  "pose torso_yaw=90 head_pitch=80 left_upper_arm_pitch=90 "
                                  "right_upper_arm_pitch=90 left_upper_leg_pitch=135 "
                                  "left_lower_leg_pitch=135 right_upper_leg_pitch=135 "
                                  "right_lower_leg_pitch=135\n"
                                  "\nrobot 4\nwalk 3 0.4 0\n"
                                  "pose left_upper_arm_pitch=90 right_upper_arm_pitch=90 "
                                  "left_upper_arm_roll=90 right_upper_arm_roll=-90\n";

TEST(ShowFile, BuiltInShowPrintsCanonicallyAndReadsBackToTheSameFloats) {
    const ShowScripts builtIn = builtInShow();
    const std::string printed = writeShow(builtIn);
    EXPECT_EQ(printed, BUILT_IN_TEXT);
    const ShowReading reading = readShow("built-in", printed);
    ASSERT_TRUE(reading.accepted) << reading.refusal;
    EXPECT_TRUE(sameShow(reading.show, builtIn));
    EXPECT_EQ(writeShow(reading.show), printed);
}

TEST(ShowFile, OmittedJointsKeepThePreviousPoseAndCountsMayDiffer) {
    const std::string text = "# a show\r\n\r\ncheerleaders show 1 # version\r\n"
                             "robot 2\r\n\tpose head_pitch=80 torso_yaw=-0.5\r\n"
                             "  walk -1 0.4 -5   # one step\r\npose head_yaw=10.0\r\n"
                             "robot 1\r\nwalk -2 0.4 -2\r\nrobot 4\r\npose\r\nrobot 3\r\n"
                             "walk 1.5 0.4 -10\r\nwalk -11.5 0.4 17\r\npose letter=k";
    const ShowReading crlf = readShow("show.txt", text);
    ASSERT_TRUE(crlf.accepted) << crlf.refusal;
    const ShowScripts& show = crlf.show;
    EXPECT_EQ(show.commandCount[0], 1u);
    EXPECT_EQ(show.commandCount[1], 3u);
    EXPECT_EQ(show.commandCount[2], 3u);
    EXPECT_EQ(show.commandCount[3], 1u);
    const float* robot2 = show.script[1];
    EXPECT_EQ(robot2[0], static_cast<float>(Pose));
    EXPECT_EQ(robot2[1 + TorsoYaw], -0.5f);
    EXPECT_EQ(robot2[1 + HeadPitch], 80.0f);
    EXPECT_EQ(robot2[1 + LeftUpperLegPitch], START_ANGLES[LeftUpperLegPitch]);
    const float walk[WALK_LENGTH] = {static_cast<float>(Walk), -1.0f, 0.4f, -5.0f};
    EXPECT_EQ(std::memcmp(robot2 + POSE_LENGTH, walk, sizeof walk), 0);
    const float* secondPose = robot2 + POSE_LENGTH + WALK_LENGTH;
    EXPECT_EQ(secondPose[1 + HeadPitch], 80.0f) << "kept from the pose before";
    EXPECT_EQ(secondPose[1 + TorsoYaw], -0.5f);
    EXPECT_EQ(secondPose[1 + HeadYaw], 10.0f);
    EXPECT_EQ(show.script[1][POSE_LENGTH * 2 + WALK_LENGTH], 0.0f) << "zero after the script";
    EXPECT_EQ(show.script[2][4 + 1], -11.5f);
    EXPECT_EQ(show.script[2][4 + 3], 17.0f);

    std::string lf;
    for (char c : text) {
        if (c != '\r') {
            lf += c;
        }
    }
    const ShowReading lfReading = readShow("show.txt", lf);
    ASSERT_TRUE(lfReading.accepted) << lfReading.refusal;
    EXPECT_TRUE(sameShow(lfReading.show, show));
    const std::string printed = writeShow(show);
    EXPECT_EQ(writeShow(readShow("again", printed).show), printed);
}

// A show with n commands for robot 1, walking back and forth and turning its head.
std::string longShow(int n) {
    std::string lines;
    for (int c = 0; c < n; ++c) {
        lines += c % 2 == 0 ? (c % 4 == 0 ? "walk -2 0.4 -1\n" : "walk -3 0.4 -2\n")
                            : "pose head_yaw=" + std::to_string(c) + "\n";
    }
    return showWithRobot1(lines);
}

TEST(ShowFile, SixtyFourCommandsAreAcceptedAndTheSixtyFifthRefused) {
    const ShowReading most = readShow("long", longShow(64));
    ASSERT_TRUE(most.accepted) << most.refusal;
    EXPECT_EQ(most.show.commandCount[0], 64u);
    EXPECT_EQ(writeShow(readShow("again", writeShow(most.show)).show), writeShow(most.show));
    const ShowReading over = readShow("long", longShow(65));
    EXPECT_FALSE(over.accepted);
    EXPECT_EQ(over.refusal, "long:67:1: robot 1 has over 64 commands");
}

TEST(ShowFile, SixtyFourKilobytesAreTheMost) {
    std::string text = showWithRobot1("pose\n") + "#";
    text += std::string(MAX_SHOW_FILE_BYTES - text.size(), 'x');
    ASSERT_EQ(text.size(), 65536u);
    EXPECT_TRUE(readShow("big", text).accepted);
    const ShowReading over = readShow("big", text + "x");
    EXPECT_FALSE(over.accepted);
    EXPECT_EQ(over.refusal.rfind("big:1:1: the show is 65537 bytes", 0), 0u) << over.refusal;
}

TEST(ShowFile, WritesAValueOffTheTenthsSoThatItReadsBackToTheSameFloat) {
    ShowScripts show = builtInShow();
    show.script[0][WALK_LENGTH + 1 + HeadPitch] = 1.0f / 3.0f;
    const std::string printed = writeShow(show);
    EXPECT_NE(printed.find("pose head_pitch=0.33333334 left_upper_arm_pitch=0"), std::string::npos)
        << printed;
}

struct Refusal {
    const char* robot1Lines; // after the version and `robot 1` lines, so line 3 is the first
    const char* expected;
};

class ShowRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ShowRefusal, NamesLineAndColumn) {
    const ShowReading reading = readShow("s.show", showWithRobot1(GetParam().robot1Lines));
    EXPECT_FALSE(reading.accepted);
    EXPECT_EQ(reading.refusal, GetParam().expected);
    EXPECT_EQ(reading.show.commandCount[1], 0u) << "a refused show is left empty";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ShowRefusal,
    testing::Values(
        Refusal{"jump 1\n", "s.show:3:1: unknown command 'jump'; expected robot, walk or pose"},
        Refusal{"pose head_pich=80\n",
                "s.show:3:6: unknown joint 'head_pich'; did you mean 'head_pitch'?"},
        Refusal{"pose  leter=K\n", "s.show:3:7: unknown joint 'leter'; did you mean 'letter'?"},
        Refusal{"pose head_pitch=1 head_pitch=2\n", "s.show:3:19: joint 'head_pitch' given twice"},
        Refusal{"pose letter=A left_upper_arm_roll=2\n",
                "s.show:3:15: joint 'left_upper_arm_roll' is set by the letter as well"},
        Refusal{"pose right_lower_arm_pitch=2 letter=A\n",
                "s.show:3:30: the letter sets arm joints given already"},
        Refusal{"pose letter=AB\n", "s.show:3:13: unknown letter 'AB'; letters are A to Z"},
        Refusal{"pose head_pitch\n", "s.show:3:6: expected joint=angle, found 'head_pitch'"},
        Refusal{"walk -3 0.4 -2 7\n", "s.show:3:16: unexpected '7' after the walk's target"},
        Refusal{"walk -3 0.4\n", "s.show:3:12: walk needs x, y and z; z is missing"}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, ShowRefusal,
    testing::Values(
        Refusal{"pose head_pitch=80abc\n", "s.show:3:17: '80abc' is not a number"},
        Refusal{"pose head_pitch=1e\n", "s.show:3:17: '1e' is not a number"},
        Refusal{"walk 0x10 0.4 0\n", "s.show:3:6: '0x10' is not a number"},
        Refusal{"pose torso_yaw=nan\n", "s.show:3:16: 'nan' is not a number"},
        Refusal{"pose torso_yaw=inf\n", "s.show:3:16: 'inf' is not a number"},
        Refusal{"pose torso_yaw=\n", "s.show:3:16: missing number"},
        Refusal{"pose torso_yaw=.5\n", "s.show:3:16: '.5' is not a number"},
        Refusal{"pose torso_yaw=5.\n", "s.show:3:16: '5.' is not a number"},
        Refusal{"pose torso_yaw=80.25\n",
                "s.show:3:16: angle 80.25 is not a whole number of half degrees"},
        Refusal{"pose torso_yaw=0.50001\n",
                "s.show:3:16: angle 0.50001 is not a whole number of half degrees"},
        Refusal{"pose torso_yaw=360.5\n", "s.show:3:16: angle 360.5 is outside -360 to 360"},
        Refusal{"pose torso_yaw=-360.5\n", "s.show:3:16: angle -360.5 is outside -360 to 360"}));

// Robot 1 starts at x -3, z -2 on the ground at 0.4.
INSTANTIATE_TEST_SUITE_P(
    Walks, ShowRefusal,
    testing::Values(
        Refusal{"walk -2.5 0.4 0\n",
                "s.show:3:6: x -2.5 is not a whole number of steps from -3, where robot 1 stands"},
        Refusal{"walk 0 0.4 1 # a step\nwalk 0 0.4 1.5\n",
                "s.show:4:12: z 1.5 is not a whole number of steps from 1, where robot 1 stands"},
        Refusal{"walk 13 0.4 0\n", "s.show:3:6: x 13 is outside the field's lines (-12 to 12)"},
        Refusal{"walk -13 0.4 0\n", "s.show:3:6: x -13 is outside the field's lines (-12 to 12)"},
        Refusal{"walk 0 0.4 19\n", "s.show:3:12: z 19 is outside the field's lines (-18 to 18)"},
        Refusal{"walk 0 0.4 -19\n", "s.show:3:12: z -19 is outside the field's lines (-18 to 18)"},
        Refusal{"walk 0 0.5 0\n", "s.show:3:8: height 0.5 is not the ground's 0.4"},
        Refusal{"walk 0 0.41 0\n", "s.show:3:8: height 0.41 is not the ground's 0.4"},
        Refusal{"walk 0 -0.4 0\n", "s.show:3:8: height -0.4 is not the ground's 0.4"}));

TEST(ShowFile, AcceptsTheEdgesOfTheFieldTheGroundAndTheAngles) {
    const ShowReading reading =
        readShow("edges", showWithRobot1("walk 12 0.40 18\nwalk -12 0.4 -18\n"
                                         "pose torso_yaw=360 head_pitch=-360 head_yaw=0.5\n"));
    ASSERT_TRUE(reading.accepted) << reading.refusal;
    const float* script = reading.show.script[0];
    EXPECT_EQ(script[1], 12.0f);
    EXPECT_EQ(script[2], 0.4f);
    EXPECT_EQ(script[3], 18.0f);
    EXPECT_EQ(script[WALK_LENGTH + 1], -12.0f);
    EXPECT_EQ(script[WALK_LENGTH + 3], -18.0f);
    EXPECT_EQ(script[2 * WALK_LENGTH + 1 + TorsoYaw], 360.0f);
    EXPECT_EQ(script[2 * WALK_LENGTH + 1 + HeadPitch], -360.0f);
    EXPECT_EQ(script[2 * WALK_LENGTH + 1 + HeadYaw], 0.5f);
}

TEST(ShowFile, RefusesABadOutlineWithItsPlace) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {"", "f:1:1: missing version line 'cheerleaders show 1'"},
        {"# only\nrobot 1\n", "f:2:1: missing version line 'cheerleaders show 1'"},
        {"cheerleaders show\n", "f:1:18: missing version number"},
        {"cheerleaders  show 2\nrobot 1\n", "f:1:20: unknown version '2'; this reads version 1"},
        {VERSION + "pose\n", "f:2:1: 'pose' before any 'robot' line"},
        {VERSION + "robot 5\n", "f:2:7: unknown robot '5'; robots are 1 to 4"},
        {VERSION + "robot 0\n", "f:2:7: unknown robot '0'; robots are 1 to 4"},
        {VERSION + "robot 1\npose\nrobot 1\n", "f:4:1: robot 1 given twice, first on line 2"},
        {VERSION + "robot 1\npose\nrobot 2\npose\nrobot 3\npose\nrobot 4\n",
         "f:8:7: no commands for robot 4"},
        {VERSION + "robot 1\npose\nrobot 2\npose\nrobot 4\npose\n",
         "f:8:1: no commands for robot 3"},
        {VERSION + "robot 1\npose # \xC3\xA9t\xC3\xA9 \xFF\n", "f:3:12: bytes that are not UTF-8"},
        {VERSION + "robot 1 \xED\xA0\x80\n", "f:2:9: bytes that are not UTF-8"},
        {VERSION + "robot 1 # \xC0\xAF\n", "f:2:11: bytes that are not UTF-8"},
        {VERSION + "robot 1 # \xE0\x80\x80\n", "f:2:11: bytes that are not UTF-8"},
        {VERSION + "robot 1 # \xF0\x9F\x98\x80 \xF4\x90\x80\x80\n",
         "f:2:13: bytes that are not UTF-8"},
        {VERSION + "robot 1 # \xC3", "f:2:11: bytes that are not UTF-8"},
        {VERSION + "robot 1\npose torso_yw=1 # nearest by letters changed\n",
         "f:3:6: unknown joint 'torso_yw'; did you mean 'torso_yaw'?"},
        {VERSION + "robot 1\nwalk 99999999999999999999 0.4 0\n",
         "f:3:6: x 99999999999999999999 is outside the field's lines (-12 to 12)"},
        {VERSION + "robot 1\npose a\x1b" + std::string(50, 'b') + "\n",
         "f:3:6: expected joint=angle, found 'a?bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb...'"},
    };
    for (const auto& c : cases) {
        const ShowReading reading = readShow("f", c.text);
        EXPECT_FALSE(reading.accepted) << c.text;
        EXPECT_EQ(reading.refusal, c.expected) << c.text;
    }
    const ShowReading emoji = readShow("f", showWithRobot1("pose # \xF0\x9F\x98\x80\n"));
    EXPECT_TRUE(emoji.accepted) << emoji.refusal;
    const ShowReading marked = readShow("f", "\xEF\xBB\xBF" + showWithRobot1("pose # \xC3\xA9\n"));
    EXPECT_TRUE(marked.accepted) << marked.refusal;
}

} // namespace
