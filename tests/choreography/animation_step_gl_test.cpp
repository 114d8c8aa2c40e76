// The idle handler on the program's own state: the console lines of a whole show, and a paused
// call that does nothing.
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

class IdleHandler : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        // Start-up pumped events, so the show has already run some ticks: start it again.
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            const Robot fresh = makeStartRobot(i);
            std::memcpy(robots[i].position, fresh.position, sizeof fresh.position);
            std::memcpy(robots[i].angles, fresh.angles, sizeof fresh.angles);
            gaitStates[i] = START_GAIT[i];
        }
        choreography = makeStartChoreography();
        paused = false;
        // The handler may run under any current window.
        glutSetWindow(helpPanel);
    }
    void TearDown() override {
        paused = false;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

TEST_F(IdleHandler, AWholeShowPrintsEightLinesAlternatingWalkAndPose) {
    testing::internal::CaptureStdout();
    for (int t = 0; t < 2400; ++t) {
        animationStep();
    }
    const std::string out = testing::internal::GetCapturedStdout();
    std::string expected;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        expected += "finished walking\nfinished spelling letter\n";
    }
    EXPECT_EQ(out, expected);
    EXPECT_EQ(robots[3].position[2], 0.0f);
}

TEST_F(IdleHandler, PausedCallChangesNothing) {
    animationStep();
    paused = true;
    Robot before[ROBOT_COUNT];
    std::memcpy(before, robots, sizeof before);
    const Choreography show = choreography;
    testing::internal::CaptureStdout();
    for (int t = 0; t < 300; ++t) {
        animationStep();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(std::memcmp(before, robots, sizeof before), 0);
    EXPECT_EQ(std::memcmp(show.cursor, choreography.cursor, sizeof show.cursor), 0);
}

} // namespace
