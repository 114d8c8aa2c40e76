// The four robots as the program sets them up and draws them, in a real GL context.
#include "app/shell.h"
#include "robot/body_shape.h"
#include "robot/node_matrix.h"
#include "robot/robot_drawing.h"
#include "robot/tree_walk.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <tuple>
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
        // The core's placement, which picking and the export use, is the one the drawing applies.
        EXPECT_EQ(caller * robotPlacement(robot), placement) << "robot " << i;
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

// What `draw` sends down the pipeline, as feedback polygons in window coordinates, under an
// orthographic view of `pixels` square over -half to half in x and y and near to far in depth.
std::vector<GLfloat> feedbackOf(const std::function<void()>& draw, int pixels, float half,
                                double nearDepth, double farDepth) {
    std::vector<GLfloat> feedback(1 << 18);
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, pixels, pixels);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-half, half, -half, half, nearDepth, farDepth);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    EXPECT_GT(used, 0) << "feedback overflowed or nothing was drawn";
    feedback.resize(static_cast<size_t>(std::max(used, 0)));
    return feedback;
}

// The vertical extent of what drawRobot(i) really sends down the pipeline, in world units,
// through feedback mode under a 20 x 20 orthographic view.
struct VerticalExtent {
    float low, high;
};

VerticalExtent drawnExtent(int i) {
    constexpr int VIEW_PIXELS = 400;
    constexpr float VIEW_HALF = 10.0f;
    const std::vector<GLfloat> feedback =
        feedbackOf([i] { drawRobot(i); }, VIEW_PIXELS, VIEW_HALF, -100.0, 100.0);
    const auto used = static_cast<GLint>(feedback.size());
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

// Every vertex a part's routine sends down the pipeline, in the node's own frame: feedback under
// an orthographic view whose window coordinates map straight back to object coordinates.
std::vector<glm::vec3> drawnVertices(DrawRoutine draw) {
    constexpr int VIEW_PIXELS = 800;
    constexpr float HALF = 8.0f;
    const std::vector<GLfloat> feedback = feedbackOf(draw, VIEW_PIXELS, HALF, -HALF, HALF);
    const auto used = static_cast<GLint>(feedback.size());
    std::vector<glm::vec3> vertices;
    for (GLint k = 0; k < used;) {
        EXPECT_EQ(static_cast<GLint>(feedback[static_cast<size_t>(k)]), GL_POLYGON_TOKEN);
        const GLint count = static_cast<GLint>(feedback[static_cast<size_t>(k + 1)]);
        for (GLint v = 0; v < count; ++v) {
            const GLfloat* w = &feedback[static_cast<size_t>(k + 2 + 3 * v)];
            const float scale = 2.0f * HALF / VIEW_PIXELS;
            vertices.emplace_back(w[0] * scale - HALF, w[1] * scale - HALF,
                                  (1.0f - 2.0f * w[2]) * HALF);
        }
        k += 2 + 3 * count;
    }
    return vertices;
}

// Whether a point of the quadric's own frame lies on the piece as GLU builds it.
bool onPiece(const ShapePiece& piece, const glm::vec3& p) {
    constexpr float NEAR = 2e-3f;
    const float r = static_cast<float>(piece.radius);
    if (piece.quadric == QuadricKind::Sphere) {
        return std::fabs(glm::length(p) - r) < NEAR;
    }
    return std::fabs(glm::length(glm::vec2(p)) - r) < NEAR && p.z > -NEAR &&
           p.z < static_cast<float>(piece.height) + NEAR;
}

constexpr DrawRoutine PART_ROUTINES[BODY_PART_COUNT] = {
    drawTorso,         drawHead,         drawLeftUpperArm,  drawRightUpperArm, drawLeftLowerArm,
    drawRightLowerArm, drawLeftUpperLeg, drawRightUpperLeg, drawLeftLowerLeg,  drawRightLowerLeg,
};

TEST_F(RobotDrawing, EachPartDrawsExactlyThePiecesOfItsShapeTableRow) {
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        SCOPED_TRACE(testing::Message() << "part " << part);
        const PartShape& shape = PART_SHAPES[part];
        std::set<std::tuple<long, long, long>> distinct[2];
        float lowest[2] = {1e9f, 1e9f}, highest[2] = {-1e9f, -1e9f};
        for (const glm::vec3& v : drawnVertices(PART_ROUTINES[part])) {
            int found = -1;
            glm::vec3 local{};
            for (int k = 0; k < shape.pieceCount && found < 0; ++k) {
                local = glm::vec3(glm::inverse(pieceMatrix(shape.pieces[k])) * glm::vec4(v, 1.0f));
                found = onPiece(shape.pieces[k], local) ? k : -1;
            }
            ASSERT_GE(found, 0) << "a vertex off every piece at " << v.x << "," << v.y << ","
                                << v.z;
            const size_t k = static_cast<size_t>(found);
            distinct[k].insert({std::lround(local.x * 100.0f), std::lround(local.y * 100.0f),
                                std::lround(local.z * 100.0f)});
            lowest[k] = std::min(lowest[k], local.z);
            highest[k] = std::max(highest[k], local.z);
        }
        for (int k = 0; k < shape.pieceCount; ++k) {
            SCOPED_TRACE(testing::Message() << "piece " << k);
            const ShapePiece& piece = shape.pieces[k];
            const size_t slices = static_cast<size_t>(piece.slices);
            const size_t stacks = static_cast<size_t>(piece.stacks);
            const bool sphere = piece.quadric == QuadricKind::Sphere;
            // A sphere's rings between its two poles; a tube's rings from end to end.
            EXPECT_EQ(distinct[k].size(),
                      sphere ? (stacks - 1) * slices + 2 : (stacks + 1) * slices);
            EXPECT_NEAR(lowest[k], sphere ? -piece.radius : 0.0, 1e-3);
            EXPECT_NEAR(highest[k], sphere ? piece.radius : piece.height, 1e-3);
        }
    }
}

} // namespace
