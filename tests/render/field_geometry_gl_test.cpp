// The floor and field-line display lists and the goal post, replayed in the scene view's real
// context. Vertices are read back through feedback mode, which reports what each replay hands
// to rasterisation (after culling), in window coordinates; an orthographic box of +-20 around the
// origin turns them back into world units.
#include "render/field_geometry.h"

#include "app/shell.h"
#include "render/render_setup.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr float BOX = 20.0f;

struct Vertex {
    float x, y, z; // world units, before the test's view rotation
    float s, t;
};

struct Primitive {
    GLenum token;
    std::vector<Vertex> vertices;
};

using Matrix = std::array<float, 16>;

Matrix modelview() {
    Matrix m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

class FieldGeometry : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-BOX, BOX, -BOX, BOX, -BOX, BOX);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        // Sentinels: anything a replay leaves different from these, it set itself.
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0.25f, 0.75f);
        glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    }
    void TearDown() override {
        glLoadIdentity();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        reshapeScene(480, 400);
    }

    // Replays `draw` in feedback mode. `lookingDown` views the field from above (+y toward
    // the viewer), so the floor faces the eye; the vertices are turned back to world axes.
    std::vector<Primitive> feedback(void (*draw)(), bool lookingDown) {
        std::vector<GLfloat> buffer(200000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glPushMatrix();
        if (lookingDown) {
            glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        }
        draw();
        glPopMatrix();
        const GLint count = glRenderMode(GL_RENDER);
        EXPECT_GT(count, 0) << "feedback buffer overflowed or stayed empty";
        std::vector<Primitive> primitives;
        // Each vertex: window x, y, depth, RGBA colour, texture s, t, r, q.
        constexpr int VERTEX_FLOATS = 11;
        const auto vx = static_cast<float>(viewport[0]), vy = static_cast<float>(viewport[1]);
        const auto vw = static_cast<float>(viewport[2]), vh = static_cast<float>(viewport[3]);
        auto vertexAt = [&](GLint at) {
            const float* v = &buffer[static_cast<std::size_t>(at)];
            const float ex = ((v[0] - vx) / vw * 2 - 1) * BOX;
            const float ey = ((v[1] - vy) / vh * 2 - 1) * BOX;
            const float ez = -(v[2] * 2 - 1) * BOX;
            // The view rotation maps world (x, y, z) to eye (x, -z, y).
            return lookingDown ? Vertex{ex, ez, -ey, v[7], v[8]} : Vertex{ex, ey, ez, v[7], v[8]};
        };
        for (GLint at = 0; at < count;) {
            const auto token = static_cast<GLenum>(buffer[static_cast<std::size_t>(at++)]);
            int n = 0;
            if (token == GL_POLYGON_TOKEN) {
                n = static_cast<int>(buffer[static_cast<std::size_t>(at++)]);
            } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                n = 2;
            } else {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
            Primitive p{token, {}};
            for (int i = 0; i < n; ++i, at += VERTEX_FLOATS) {
                p.vertices.push_back(vertexAt(at));
            }
            primitives.push_back(p);
        }
        return primitives;
    }

    std::array<GLint, 4> viewport{};
};

void callFloorList() {
    glCallList(FLOOR_LIST);
}

void callFieldLinesList() {
    glCallList(FIELD_LINES_LIST);
}

void expectNear(const Vertex& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-3);
    EXPECT_NEAR(v.y, y, 1e-3);
    EXPECT_NEAR(v.z, z, 1e-3);
}

TEST_F(FieldGeometry, ListsOneAndTwoExistAfterStartUp) {
    EXPECT_TRUE(glIsList(1));
    EXPECT_TRUE(glIsList(2));
    EXPECT_FALSE(glIsList(3));
}

TEST_F(FieldGeometry, FloorListReplaysAnUpFacingTexturedSquareAtHeightOne) {
    // Culling is on, so only a front face seen from above comes through.
    ASSERT_TRUE(glIsEnabled(GL_CULL_FACE));
    const std::vector<Primitive> primitives = feedback(callFloorList, true);
    ASSERT_FALSE(primitives.empty());
    // The square may come back split into triangles; every vertex must be one of the corners,
    // with that corner's texture coordinates (s = 4x, t = -4z), and together they cover it.
    double area = 0.0;
    std::vector<std::pair<float, float>> corners;
    for (const Primitive& p : primitives) {
        ASSERT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        for (std::size_t i = 0; i < p.vertices.size(); ++i) {
            const Vertex& v = p.vertices[i];
            EXPECT_NEAR(std::fabs(v.x), 1.0f, 1e-3);
            EXPECT_NEAR(v.y, 1.0f, 1e-3);
            EXPECT_NEAR(std::fabs(v.z), 1.0f, 1e-3);
            EXPECT_NEAR(v.s, 4.0f * v.x, 1e-3);
            EXPECT_NEAR(v.t, -4.0f * v.z, 1e-3);
            corners.emplace_back(std::round(v.x), std::round(v.z));
            const Vertex& next = p.vertices[(i + 1) % p.vertices.size()];
            area += 0.5 * (v.x * next.z - next.x * v.z);
        }
    }
    std::sort(corners.begin(), corners.end());
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    EXPECT_EQ(corners.size(), 4u);
    EXPECT_NEAR(std::fabs(area), 4.0, 1e-3);

    glCallList(FLOOR_LIST);
    float normal[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(normal[0], 0.0f);
    EXPECT_FLOAT_EQ(normal[1], 1.0f);
    EXPECT_FLOAT_EQ(normal[2], 0.0f);
}

TEST_F(FieldGeometry, FieldLinesListReplaysTwentyOneSegmentsInOrder) {
    const std::vector<Primitive> lines = feedback(callFieldLinesList, false);
    ASSERT_EQ(lines.size(), 21u);
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(testing::Message() << "cross line " << i);
        const float z = static_cast<float>(-18 + 2 * i);
        // The line at z = 16 lies in the floor's plane; all others 0.05 above it.
        const float y = i == 17 ? -3.0f : -2.95f;
        expectNear(lines[static_cast<std::size_t>(i)].vertices[0], -12.0f, y, z);
        expectNear(lines[static_cast<std::size_t>(i)].vertices[1], 12.0f, y, z);
    }
    expectNear(lines[19].vertices[0], -12.0f, -2.95f, -18.0f);
    expectNear(lines[19].vertices[1], -12.0f, -2.95f, 18.0f);
    expectNear(lines[20].vertices[0], 12.0f, -2.95f, -18.0f);
    expectNear(lines[20].vertices[1], 12.0f, -2.95f, 18.0f);
    // The list carries vertices only: the replay used, and left, the sentinels.
    for (const Primitive& line : lines) {
        for (const Vertex& v : line.vertices) {
            EXPECT_FLOAT_EQ(v.s, 0.25f);
            EXPECT_FLOAT_EQ(v.t, 0.75f);
        }
    }
    glCallList(FIELD_LINES_LIST);
    float normal[4] = {}, colour[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(normal[2], 1.0f);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
}

TEST_F(FieldGeometry, RebuildingReplacesWhateverListsHadThoseNumbers) {
    glNewList(FLOOR_LIST, GL_COMPILE);
    glNormal3f(1.0f, 0.0f, 0.0f);
    glEndList();
    buildDisplayLists();
    glCallList(FLOOR_LIST);
    float normal[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(normal[1], 1.0f);
}

struct Extent {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f, minZ = 1e9f, maxZ = -1e9f;
};

Extent extentOf(const std::vector<Primitive>& primitives) {
    Extent e;
    for (const Primitive& p : primitives) {
        for (const Vertex& v : p.vertices) {
            e.minX = std::min(e.minX, v.x);
            e.maxX = std::max(e.maxX, v.x);
            e.minY = std::min(e.minY, v.y);
            e.maxY = std::max(e.maxY, v.y);
            e.minZ = std::min(e.minZ, v.z);
            e.maxZ = std::max(e.maxZ, v.z);
        }
    }
    return e;
}

TEST_F(FieldGeometry, GoalPostStandsSixHighWithAThreeWideCrossbarAndNoTextureCoordinates) {
    glTranslatef(0.5f, -3.0f, 2.0f);
    const Matrix before = modelview();
    const int depthBefore = modelviewDepth();
    drawGoalPost();
    EXPECT_EQ(modelview(), before);
    EXPECT_EQ(modelviewDepth(), depthBefore);
    glLoadIdentity();

    glDisable(GL_CULL_FACE);
    const std::vector<Primitive> post = feedback(drawGoalPost, false);
    glEnable(GL_CULL_FACE);
    const Extent e = extentOf(post);
    // The tubes are 0.1 thick, drawn from ten slices.
    EXPECT_NEAR(e.minX, -1.6f, 0.01f);
    EXPECT_NEAR(e.maxX, 1.6f, 0.01f);
    EXPECT_NEAR(e.minY, 0.0f, 1e-3);
    EXPECT_NEAR(e.maxY, 6.0f, 1e-3);
    EXPECT_NEAR(e.minZ, -0.1f, 0.01f);
    EXPECT_NEAR(e.maxZ, 0.1f, 0.01f);
    for (const Primitive& p : post) {
        for (const Vertex& v : p.vertices) {
            ASSERT_FLOAT_EQ(v.s, 0.25f);
            ASSERT_FLOAT_EQ(v.t, 0.75f);
        }
    }
}

TEST_F(FieldGeometry, SettingUpAgainKeepsTheSameQuadrics) {
    GLUquadric* before[GOAL_POST_PARTS];
    std::copy(goalPostQuadrics, goalPostQuadrics + GOAL_POST_PARTS, before);
    createGoalPostQuadrics();
    for (int i = 0; i < GOAL_POST_PARTS; ++i) {
        EXPECT_NE(goalPostQuadrics[i], nullptr);
        EXPECT_EQ(goalPostQuadrics[i], before[i]);
    }
}

TEST_F(FieldGeometry, GoalPostLeavesOutACylinderWhoseQuadricIsMissing) {
    GLUquadric* crossbar = goalPostQuadrics[1];
    ASSERT_NE(crossbar, nullptr);
    goalPostQuadrics[1] = nullptr;
    glDisable(GL_CULL_FACE);
    const std::vector<Primitive> post = feedback(drawGoalPost, false);
    glEnable(GL_CULL_FACE);
    goalPostQuadrics[1] = crossbar;
    // Without the crossbar nothing lies between the stem and the uprights.
    for (const Primitive& p : post) {
        for (const Vertex& v : p.vertices) {
            EXPECT_FALSE(std::fabs(v.x) > 0.2f && std::fabs(v.x) < 1.3f) << v.x << ", " << v.y;
        }
    }
    EXPECT_NEAR(extentOf(post).maxY, 6.0f, 1e-3);
}

} // namespace
