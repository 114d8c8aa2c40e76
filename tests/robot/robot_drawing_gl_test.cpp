// The four robots as the program sets them up and draws them, in a real GL context.
#include "app/shell.h"
#include "robot/node_matrix.h"
#include "robot/robot_drawing.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct DrawSeen {
    int part;
    glm::mat4 modelview;
};
std::vector<DrawSeen> drawLog;

template <int Part> void recordDraw() {
    drawLog.push_back({Part, currentModelview()});
}

constexpr DrawRoutine RECORDERS[BODY_PART_COUNT] = {
    recordDraw<0>, recordDraw<1>, recordDraw<2>, recordDraw<3>, recordDraw<4>,
    recordDraw<5>, recordDraw<6>, recordDraw<7>, recordDraw<8>, recordDraw<9>,
};

// The tree, part by part: the path of node matrices from the torso down.
const std::vector<BodyPart> PATHS_IN_DRAW_ORDER[BODY_PART_COUNT] = {
    {Torso},
    {Torso, Head},
    {Torso, LeftUpperArm},
    {Torso, LeftUpperArm, LeftLowerArm},
    {Torso, RightUpperArm},
    {Torso, RightUpperArm, RightLowerArm},
    {Torso, LeftUpperLeg},
    {Torso, LeftUpperLeg, LeftLowerLeg},
    {Torso, RightUpperLeg},
    {Torso, RightUpperLeg, RightLowerLeg},
};

class RobotDrawing : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, -0.25f, -5.0f);
        glRotatef(-20.0f, 0.0f, 1.0f, 0.0f);
        caller = currentModelview();
        callerDepth = modelviewDepth();
        // Copies of the globals keep their links: they point into the globals themselves.
        std::memcpy(saved, robots, sizeof saved);
        drawLog.clear();
    }
    void TearDown() override {
        std::memcpy(robots, saved, sizeof saved);
        expectMatrixNear(currentModelview(), caller);
        EXPECT_EQ(modelviewDepth(), callerDepth);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glLoadIdentity();
    }
    glm::mat4 caller{};
    int callerDepth = 0;
    Robot saved[ROBOT_COUNT];
};

TEST_F(RobotDrawing, EveryRobotDrawsItsPartsInBodyOrderUnderItsPlacement) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        Robot& robot = robots[i];
        robot.angles[TorsoYaw] = 30.0f * static_cast<float>(i + 1);
        robot.angles[RightLowerArmPitch] = 45.0f;
        computeNodeMatrices(i, NodeMatrixVariant::Tick);
        // Only the routines are swapped, so the links are the ones initRobotBodies made.
        for (int part = 0; part < BODY_PART_COUNT; ++part) {
            robot.nodes[part].draw = RECORDERS[part];
        }
        drawLog.clear();
        drawRobot(i);

        ASSERT_EQ(drawLog.size(), static_cast<size_t>(BODY_PART_COUNT));
        glm::mat4 placement = glm::translate(caller, glm::make_vec3(robot.position));
        placement = glm::scale(placement, glm::make_vec3(ROBOT_SCALE));
        for (size_t k = 0; k < drawLog.size(); ++k) {
            const std::vector<BodyPart>& path = PATHS_IN_DRAW_ORDER[k];
            EXPECT_EQ(drawLog[k].part, path.back()) << "draw " << k;
            glm::mat4 expected = placement;
            for (BodyPart part : path) {
                expected *= glm::make_mat4(robot.nodes[part].matrix);
            }
            expectMatrixNear(drawLog[k].modelview, expected);
        }
    }
}

TEST_F(RobotDrawing, DrawingTheRealShapesLeavesTheMatrixStackAsFound) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        drawRobot(i);
        expectMatrixNear(currentModelview(), caller);
        EXPECT_EQ(modelviewDepth(), callerDepth) << i;
    }
}

TEST_F(RobotDrawing, RebuildingOneRobotsMatricesLeavesEverythingElse) {
    robots[1].angles[LeftUpperArmPitch] = 91.5f;
    robots[1].angles[HeadYaw] = -12.0f;
    Robot before[ROBOT_COUNT];
    std::memcpy(before, robots, sizeof before);

    computeNodeMatrices(1, NodeMatrixVariant::Tick);

    for (int i : {0, 2, 3}) {
        EXPECT_EQ(std::memcmp(&robots[i], &before[i], sizeof(Robot)), 0) << i;
    }
    const Robot& r = robots[1];
    EXPECT_EQ(std::memcmp(r.position, before[1].position, sizeof r.position), 0);
    EXPECT_EQ(std::memcmp(r.angles, before[1].angles, sizeof r.angles), 0);
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        EXPECT_EQ(r.nodes[part].draw, before[1].nodes[part].draw);
        EXPECT_EQ(r.nodes[part].child, before[1].nodes[part].child);
        EXPECT_EQ(r.nodes[part].sibling, before[1].nodes[part].sibling);
    }
    EXPECT_NE(std::memcmp(r.nodes[LeftUpperArm].matrix, before[1].nodes[LeftUpperArm].matrix,
                          sizeof r.nodes[LeftUpperArm].matrix),
              0);
    EXPECT_NE(std::memcmp(r.nodes[Head].matrix, before[1].nodes[Head].matrix,
                          sizeof r.nodes[Head].matrix),
              0);
}

// The vertical extent of what drawRobot(i) really sends down the pipeline, in world units,
// through feedback mode under a 20 x 20 orthographic view.
struct VerticalExtent {
    float low, high;
};

VerticalExtent drawnExtent(int i) {
    constexpr int VIEW_PIXELS = 400;
    constexpr float VIEW_HALF = 10.0f;
    std::vector<GLfloat> feedback(1 << 18);
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, VIEW_PIXELS, VIEW_PIXELS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-VIEW_HALF, VIEW_HALF, -VIEW_HALF, VIEW_HALF, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    drawRobot(i);
    const GLint used = glRenderMode(GL_RENDER);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();

    EXPECT_GT(used, 0) << "feedback overflowed or nothing was drawn";
    VerticalExtent extent{1e9f, -1e9f};
    for (GLint k = 0; k < used;) {
        const GLint token = static_cast<GLint>(feedback[static_cast<size_t>(k)]);
        EXPECT_EQ(token, GL_POLYGON_TOKEN) << "at " << k;
        if (token != GL_POLYGON_TOKEN) {
            break;
        }
        const GLint count = static_cast<GLint>(feedback[static_cast<size_t>(k + 1)]);
        for (GLint v = 0; v < count; ++v) {
            const float windowY = feedback[static_cast<size_t>(k + 2 + 3 * v + 1)];
            const float y = windowY / (VIEW_PIXELS / (2.0f * VIEW_HALF)) - VIEW_HALF;
            extent.low = std::min(extent.low, y);
            extent.high = std::max(extent.high, y);
        }
        k += 2 + 3 * count;
    }
    return extent;
}

TEST_F(RobotDrawing, StandingRobotTouchesTheFloorAndIs5_16Tall) {
    robots[0] = makeStartRobot(0);
    // The fresh record has no links; give it the real routines back and the tree.
    DrawRoutine routines[BODY_PART_COUNT];
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        routines[part] = saved[0].nodes[part].draw;
    }
    linkBodyTree(robots[0], routines);
    for (NodeMatrixVariant variant : {NodeMatrixVariant::StartUp, NodeMatrixVariant::Tick}) {
        computeNodeMatrices(0, variant);
        const VerticalExtent extent = drawnExtent(0);
        // Lower-leg tube rims below, the head's top above.
        EXPECT_NEAR(extent.low, -3.0f, 1e-4);
        EXPECT_NEAR(extent.high, 2.16f, 1e-4);
    }
}

} // namespace
