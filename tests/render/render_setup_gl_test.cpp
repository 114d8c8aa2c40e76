// Projection, start-up rendering state and materials of the scene view, read back from a real
// GL context.
#include "app/shell.h"
#include "render/render_setup.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <array>
#include <gtest/gtest.h>

namespace {

using Matrix = std::array<float, 16>;

Matrix currentMatrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

// The matrix glFrustum(-2, 2, -top, top, 2, 40) produces, column-major.
Matrix frustumWithTop(double top) {
    const double n = 2.0, f = 40.0;
    Matrix m{};
    m[0] = static_cast<float>(2.0 * n / 4.0);
    m[5] = static_cast<float>(2.0 * n / (2.0 * top));
    m[10] = static_cast<float>(-(f + n) / (f - n));
    m[11] = -1.0f;
    m[14] = static_cast<float>(-2.0 * f * n / (f - n));
    return m;
}

void expectMatrixNear(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "element " << i;
    }
}

std::array<GLint, 4> currentViewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

class SceneSetup : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        // Leave the scene view with its own projection for the next test.
        reshapeScene(480, 400);
    }
};

struct FrustumCase {
    int w, h;
    double top;
};

TEST_F(SceneSetup, ProjectionWidensVerticallyForWideWindowsAndKeepsTallOnesUndistorted) {
    const FrustumCase cases[] = {
        {480, 400, 2.4}, // the scene view: wide, so the vertical extent grows to 2*w/h
        {500, 500, 2.0}, // square takes the w <= h branch
        {400, 480, 2.4}, // the transpose of the scene view gets the same frustum
        {300, 600, 4.0},
        {1000, 100, 20.0},
    };
    for (const FrustumCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        reshapeScene(c.w, c.h);
        expectMatrixNear(currentMatrix(GL_PROJECTION_MATRIX), frustumWithTop(c.top));
        EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, c.w, c.h}));
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(SceneSetup, ZeroSizedWindowKeepsTheProjectionItHad) {
    reshapeScene(480, 400);
    const Matrix before = currentMatrix(GL_PROJECTION_MATRIX);
    const auto viewportBefore = currentViewport();
    const int sizes[][2] = {{0, 400}, {480, 0}, {0, 0}, {-5, 400}};
    for (const auto& s : sizes) {
        reshapeScene(s[0], s[1]);
        expectMatrixNear(currentMatrix(GL_PROJECTION_MATRIX), before);
        EXPECT_EQ(currentViewport(), viewportBefore);
    }
    reshapeScene(400, 480);
    expectMatrixNear(currentMatrix(GL_PROJECTION_MATRIX), frustumWithTop(2.4));
}

TEST_F(SceneSetup, InitSceneEnablesItsCapabilitiesAndLeavesIdentity) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    initScene();

    const GLenum enabled[] = {GL_LIGHTING,     GL_LIGHT0,      GL_DEPTH_TEST,
                              GL_NORMALIZE,    GL_POINT_SMOOTH, GL_LINE_SMOOTH,
                              GL_POLYGON_SMOOTH, GL_CULL_FACE, GL_TEXTURE_2D};
    for (GLenum cap : enabled) {
        EXPECT_TRUE(glIsEnabled(cap)) << "capability 0x" << std::hex << cap;
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint cull = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &cull);
    EXPECT_EQ(cull, GL_BACK);

    Matrix identity{};
    identity[0] = identity[5] = identity[10] = identity[15] = 1.0f;
    expectMatrixNear(currentMatrix(GL_MODELVIEW_MATRIX), identity);

    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.1f);
    EXPECT_FLOAT_EQ(clear[1], 0.5f);
    EXPECT_FLOAT_EQ(clear[2], 0.9f);
    EXPECT_FLOAT_EQ(clear[3], 0.0f);
}

TEST_F(SceneSetup, LightZeroIsADirectionalLightFromTenThreeTen) {
    struct LightValue {
        GLenum name;
        std::array<float, 4> value;
    };
    // Read back with the identity modelview, which is what initScene sets them under.
    const LightValue values[] = {
        {GL_POSITION, {10.0f, 3.0f, 10.0f, 0.0f}},
        {GL_AMBIENT, {0.1f, 0.1f, 0.1f, 1.0f}},
        {GL_DIFFUSE, {0.6f, 0.6f, 0.6f, 1.0f}},
        {GL_SPECULAR, {0.8f, 0.8f, 0.8f, 1.0f}},
    };
    glLoadIdentity();
    initScene();
    for (const LightValue& v : values) {
        std::array<float, 4> actual{};
        glGetLightfv(GL_LIGHT0, v.name, actual.data());
        for (int k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(actual[k], v.value[k]) << "parameter 0x" << std::hex << v.name;
        }
    }
}

std::array<float, 4> material(GLenum face, GLenum name) {
    std::array<float, 4> v{};
    glGetMaterialfv(face, name, v.data());
    return v;
}

void expectColour(const std::array<float, 4>& actual, const float (&expected)[4]) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(actual[k], expected[k]) << "component " << k;
    }
}

TEST_F(SceneSetup, EveryMaterialEntryBecomesTheCurrentMaterial) {
    for (int i = 0; i < MATERIAL_COUNT; ++i) {
        SCOPED_TRACE(testing::Message() << "material " << i);
        applyMaterial(i);
        expectColour(material(GL_FRONT, GL_SPECULAR), materialTable.specular[i]);
        expectColour(material(GL_FRONT, GL_AMBIENT), materialTable.ambient[i]);
        expectColour(material(GL_FRONT, GL_DIFFUSE), materialTable.diffuse[i]);
        expectColour(material(GL_FRONT, GL_EMISSION), materialTable.emission[i]);
        // Emission alone goes to the back face as well.
        expectColour(material(GL_BACK, GL_EMISSION), materialTable.emission[i]);
        float shininess = 0.0f;
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
        EXPECT_FLOAT_EQ(shininess, materialTable.shininess[i]);
    }
}

TEST_F(SceneSetup, MaterialsKeepTheirOddAlphasAndDistinctColours) {
    applyMaterial(3);
    EXPECT_FLOAT_EQ(material(GL_FRONT, GL_AMBIENT)[3], 0.2f);
    applyMaterial(5);
    EXPECT_FLOAT_EQ(material(GL_FRONT, GL_EMISSION)[3], 0.0f);
    applyMaterial(4);
    expectColour(material(GL_FRONT, GL_EMISSION), {1.0f, 1.0f, 1.0f, 1.0f});
    // The robots' material: warm diffuse, lilac ambient, gold specular.
    applyMaterial(0);
    expectColour(material(GL_FRONT, GL_DIFFUSE), {0.8f, 0.6f, 0.4f, 1.0f});
    expectColour(material(GL_FRONT, GL_AMBIENT), {0.6f, 0.4f, 0.5f, 1.0f});
    expectColour(material(GL_FRONT, GL_SPECULAR), {0.6f, 0.5f, 0.2f, 1.0f});
    // The floor's: green.
    applyMaterial(1);
    expectColour(material(GL_FRONT, GL_DIFFUSE), {0.4f, 0.9f, 0.4f, 1.0f});
    float shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 40.0f);
}

} // namespace
