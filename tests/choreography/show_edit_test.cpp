// Show edit: a command lands at the end of its robot's own section, after the section's last
// command and before the comments and blank lines that lead to the next robot; a robot with no
// section gets one at the end; the text around stays as written, and a show stays a show.
#include "choreography/show_edit.h"
#include "choreography/show_file.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr const char* SHOW = "cheerleaders show 1\n"
                             "robot 1\n"
                             "walk -3 0.4 0\n"
                             "robot 2 # the second\n"
                             "walk -1 0.4 0\n"
                             "  pose head_pitch=10   # nod\n"
                             "\n"
                             "# robot 3 comes next\n"
                             "robot 3\n"
                             "# nothing yet\n"
                             "robot 4\n"
                             "walk 3 0.4 0";

TEST(ShowEdit, CommandGoesAfterTheSectionsLastCommandNotItsTrailingComments) {
    const std::string edited = withCommandAdded(SHOW, 2, "pose head_yaw=5");
    EXPECT_EQ(edited.substr(0, edited.find("\n\n# robot 3")),
              "cheerleaders show 1\nrobot 1\nwalk -3 0.4 0\nrobot 2 # the second\n"
              "walk -1 0.4 0\n  pose head_pitch=10   # nod\npose head_yaw=5");
    EXPECT_EQ(edited.size(), std::string(SHOW).size() + 16);
}

TEST(ShowEdit, FirstAndLastSectionsAndAHeaderAlone) {
    EXPECT_EQ(withCommandAdded(SHOW, 1, "X").substr(0, 51),
              "cheerleaders show 1\nrobot 1\nwalk -3 0.4 0\nX\nrobot 2");
    // Robot 3's section holds its header and a comment: the command follows the header.
    const std::string third = withCommandAdded(SHOW, 3, "X");
    EXPECT_NE(third.find("robot 3\nX\n# nothing yet\nrobot 4"), std::string::npos) << third;
    // The last line has no line end: it gets one, and so does the command.
    const std::string fourth = withCommandAdded(SHOW, 4, "X");
    EXPECT_EQ(fourth.substr(fourth.size() - 15), "walk 3 0.4 0\nX\n");
}

TEST(ShowEdit, MissingRobotGetsItsSectionAtTheEnd) {
    EXPECT_EQ(withCommandAdded("cheerleaders show 1\nrobot 1\nwalk 0 0.4 0\n", 3, "X"),
              "cheerleaders show 1\nrobot 1\nwalk 0 0.4 0\nrobot 3\nX\n");
    EXPECT_EQ(withCommandAdded("# robot 2\nrobot 1", 2, "X"), "# robot 2\nrobot 1\nrobot 2\nX\n");
    EXPECT_EQ(withCommandAdded("", 1, "X"), "robot 1\nX\n");
}

TEST(ShowEdit, WindowsLineEndsKeepTheirPairs) {
    EXPECT_EQ(withCommandAdded("robot 1\r\nwalk 0 0.4 0\r\nrobot 2\r\n", 1, "X"),
              "robot 1\r\nwalk 0 0.4 0\r\nX\nrobot 2\r\n");
}

TEST(ShowEdit, PoseAddedToTheCanonicalShowIsItsRobotsLastCommand) {
    const std::string text = writeShow(builtInShow());
    for (int robot = 1; robot <= 4; ++robot) {
        const ShowReading reading =
            readShow("show", withCommandAdded(text, robot, "pose head_yaw=7.5"));
        ASSERT_TRUE(reading.accepted) << reading.refusal;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(reading.show.commandCount[i], i + 1 == robot ? 3u : 2u) << robot;
        }
    }
}

} // namespace
