// The scene frame read back from the real scene view: sky, grass, robots where their positions
// project, the far goal post, and what turning and pausing do to the picture.
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "controls/keyboard.h"
#include "controls/walking_camera.h"
#include "render/scene_frame.h"
#include "robot/robot_model.h"
#include "tests/support/gl_session.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#include <gtest/gtest.h>

namespace {

constexpr int W = 480;
constexpr int H = 400;

struct Frame {
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const {
        return &rgb[static_cast<size_t>((y * W + x) * 3)];
    }
    int difference(const Frame& other, int x, int y) const {
        int most = 0;
        for (int c = 0; c < 3; ++c) {
            most = std::max(most, std::abs(at(x, y)[c] - other.at(x, y)[c]));
        }
        return most;
    }
};

bool isSky(const unsigned char* p) {
    // (0.1, 0.5, 0.9) in 8 bits, either rounding.
    return std::abs(p[0] - 26) <= 1 && std::abs(p[1] - 128) <= 1 && std::abs(p[2] - 230) <= 1;
}

class SceneFrame : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        savedCamera = viewerCamera;
        savedPaused = paused;
        std::memcpy(savedRobots, robots, sizeof robots);
        viewerCamera = ViewerCamera{};
        paused = false;
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        viewerCamera = savedCamera;
        paused = savedPaused;
        std::memcpy(robots, savedRobots, sizeof robots);
    }

    Frame draw() {
        glutSetWindow(sceneView);
        displayScene();
        return Frame{readShownPixels(0, 0, W, H)};
    }

    // Where a world point lands in the scene view, through the frame's own camera (the
    // modelview the frame leaves behind) and projection.
    void project(const float (&point)[3], int& x, int& y) {
        double modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        double wx = 0, wy = 0, wz = 0;
        ASSERT_TRUE(gluProject(point[0], point[1], point[2], modelview, projection, viewport, &wx,
                               &wy, &wz));
        x = static_cast<int>(wx);
        y = static_cast<int>(wy);
    }

    // Moves every robot far out of sight; a copy in savedRobots brings them back.
    static void hideRobots() {
        for (Robot& robot : robots) {
            robot.position[1] += 1000.0f;
        }
    }

    ViewerCamera savedCamera;
    bool savedPaused = false;
    Robot savedRobots[ROBOT_COUNT];
};

TEST_F(SceneFrame, SkyAboveTexturedGrassBelow) {
    const Frame frame = draw();
    for (int y = 300; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            ASSERT_TRUE(isSky(frame.at(x, y))) << "not sky at " << x << "," << y;
        }
    }
    // The bottom band is grass: green dominates, and the texture makes it vary.
    int greenish = 0, lowest = 255, highest = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < W; ++x) {
            const unsigned char* p = frame.at(x, y);
            greenish += p[1] > p[0] && p[1] > p[2];
            lowest = std::min<int>(lowest, p[1]);
            highest = std::max<int>(highest, p[1]);
        }
    }
    EXPECT_GT(greenish, 40 * W * 9 / 10);
    EXPECT_GT(highest - lowest, 30) << "the grass looks untextured";
}

TEST_F(SceneFrame, EachRobotShowsWhereItsPositionProjects) {
    const Frame withRobots = draw();
    int x[ROBOT_COUNT], y[ROBOT_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        project(robots[i].position, x[i], y[i]);
        ASSERT_TRUE(x[i] >= 0 && x[i] < W && y[i] >= 0 && y[i] < H) << "robot " << i;
    }
    // Nearer robots further left and lower on the screen: the line-up recedes to the right.
    EXPECT_LT(x[0], x[1]);
    EXPECT_LT(x[1], x[2]);
    EXPECT_LT(x[2], x[3]);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        Robot& robot = robots[i];
        const float y0 = robot.position[1];
        robot.position[1] += 1000.0f;
        const Frame without = draw();
        robot.position[1] = y0;
        EXPECT_GT(withRobots.difference(without, x[i], y[i]), 20)
            << "robot " << i << " is not drawn at " << x[i] << "," << y[i];
    }
}

TEST_F(SceneFrame, FarGoalPostStandsBeyondTheRobots) {
    const Frame frame = draw();
    const float uprightTop[3] = {1.5f, 2.5f, -18.0f};
    const float besideIt[3] = {2.5f, 2.5f, -18.0f};
    int x = 0, y = 0, sx = 0, sy = 0;
    project(uprightTop, x, y);
    project(besideIt, sx, sy);
    EXPECT_FALSE(isSky(frame.at(x, y))) << "no upright at " << x << "," << y;
    EXPECT_TRUE(isSky(frame.at(sx, sy)));
}

TEST_F(SceneFrame, TurnedAroundTheRobotsAreBehindTheViewer) {
    for (int i = 0; i < 120; ++i) {
        onKey('a', 0, 0);
    }
    EXPECT_EQ(viewerCamera.heading, 180.0f);
    const Frame turned = draw();
    hideRobots();
    const Frame empty = draw();
    EXPECT_EQ(turned.rgb, empty.rgb);
    // The near goal post is now in front, where the far one was.
    const float uprightTop[3] = {-1.5f, 2.5f, 18.0f};
    int x = 0, y = 0;
    project(uprightTop, x, y);
    EXPECT_FALSE(isSky(turned.at(x, y)));
}

TEST_F(SceneFrame, PausingFreezesTheRobotsWhileKeysStillMoveTheView) {
    for (int i = 0; i < 50; ++i) {
        animationStep();
    }
    onKey(' ', 0, 0);
    ASSERT_TRUE(paused);
    const Frame before = draw();
    for (int i = 0; i < 200; ++i) {
        animationStep();
    }
    EXPECT_EQ(draw().rgb, before.rgb) << "robots moved while paused";
    onKey('d', 0, 0);
    const Frame turned = draw();
    EXPECT_NE(turned.rgb, before.rgb) << "the view did not turn while paused";
    onKey('a', 0, 0);
    EXPECT_EQ(draw().rgb, before.rgb);
    onKey(' ', 0, 0);
    for (int i = 0; i < 50; ++i) {
        animationStep();
    }
    EXPECT_NE(draw().rgb, before.rgb) << "robots did not resume";
}

TEST_F(SceneFrame, FrameLeavesTheCameraAsModelviewAndTexturingOff) {
    viewerCamera.heading = 30.0f;
    viewerCamera.pitch = 10.0f;
    viewerCamera.x = 1.0f;
    viewerCamera.z = 2.0f;
    viewerCamera.bob = 0.05f;
    const int depth = modelviewDepth();
    draw();
    EXPECT_EQ(modelviewDepth(), depth);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    float actual[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actual);
    glLoadIdentity();
    glRotatef(10.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(330.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-1.0f, -0.3f, -2.0f);
    float expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(actual[k], expected[k], 1e-5f) << "element " << k;
    }
    // The light is re-aimed after the camera: in eye space it is the camera-turned direction.
    float light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    const float lx = expected[0] * 10 + expected[4] * 3 + expected[8] * 10;
    EXPECT_NEAR(light[0], lx, 1e-4f);
    EXPECT_EQ(light[3], 0.0f);
}

// The frame's three camera calls and the core's cameraMatrix, which picking reads, are one
// matrix for every camera: turned either way and past a full turn, tilted, moved and bobbing.
TEST_F(SceneFrame, TheFramesCameraCallsMakeTheCoresCameraMatrix) {
    const ViewerCamera cameras[] = {
        {0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f},
        {30.0f, 1.0f, 2.0f, 0.05f, 0.0f, 10.0f},
        {-45.0f, -3.5f, -12.0f, -0.05f, 0.0f, -20.0f},
        {181.5f, 7.25f, 14.0f, 0.03f, 90.0f, 45.0f},
        {359.0f, -14.0f, 19.5f, 0.0f, 0.0f, -89.0f},
        {720.5f, 0.5f, -0.5f, 0.02f, 0.0f, 5.5f},
    };
    glMatrixMode(GL_MODELVIEW);
    for (const ViewerCamera& camera : cameras) {
        SCOPED_TRACE(testing::Message() << "heading " << camera.heading << " pitch "
                                        << camera.pitch << " at " << camera.x << "," << camera.z);
        applyCamera(camera);
        float drawn[16], core[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, drawn);
        cameraMatrix(camera, core);
        for (int k = 0; k < 16; ++k) {
            // Rotations to within a few float steps; translations scaled by the distance.
            EXPECT_NEAR(drawn[k], core[k], 2e-6f * std::max(1.0f, std::fabs(core[k])))
                << "element " << k;
        }
    }
    glLoadIdentity();
}

} // namespace
