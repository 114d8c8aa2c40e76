// Main of every GL test program: GLUT is initialised once, against the test's X display,
// before the tests run.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    // Leave the test in charge when a window closes, instead of exiting the process.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    return RUN_ALL_TESTS();
}
