// The three windows as the shell creates them: geometry, display mode, and the main window's grey.
#include "app/shell.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

namespace {

struct Geometry {
    int* window;
    int x, y, w, h;
};

class Shell : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
    }
};

TEST_F(Shell, SubwindowsSitInsideTheMainWindowAtTheirPlaces) {
    const Geometry windows[] = {
        {&helpPanel, 10, 420, 480, 70},
        {&sceneView, 10, 10, 480, 400},
    };
    for (const Geometry& g : windows) {
        glutSetWindow(*g.window);
        EXPECT_EQ(glutGet(GLUT_WINDOW_PARENT), mainWindow);
        EXPECT_EQ(glutGet(GLUT_WINDOW_X), g.x);
        EXPECT_EQ(glutGet(GLUT_WINDOW_Y), g.y);
        EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), g.w);
        EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), g.h);
    }
    glutSetWindow(mainWindow);
    EXPECT_EQ(glutGet(GLUT_WINDOW_PARENT), 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 500);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 500);
    EXPECT_EQ(glutGet(GLUT_WINDOW_NUM_CHILDREN), 2);
}

TEST_F(Shell, EveryWindowIsDoubleBufferedRgbWithDepth) {
    for (int window : {mainWindow, helpPanel, sceneView}) {
        glutSetWindow(window);
        EXPECT_TRUE(glutGet(GLUT_WINDOW_DOUBLEBUFFER));
        EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
        EXPECT_GT(glutGet(GLUT_WINDOW_RED_SIZE), 0);
        EXPECT_FALSE(glutGet(GLUT_WINDOW_RGBA) == 0);
    }
}

TEST_F(Shell, MainWindowIsGreyAroundTheSubwindows) {
    glutSetWindow(mainWindow);
    displayMain();
    // The margin left of the scene view, and the strip between the two subwindows.
    for (const auto& p : {readShownPixel(5, 250), readShownPixel(250, 85)}) {
        EXPECT_EQ(p[0], 153);
        EXPECT_EQ(p[1], 153);
        EXPECT_EQ(p[2], 153);
    }
}

TEST_F(Shell, RequestSceneRedisplayLeavesTheSceneViewCurrent) {
    glutSetWindow(helpPanel);
    requestSceneRedisplay();
    EXPECT_EQ(glutGetWindow(), sceneView);
}

} // namespace
