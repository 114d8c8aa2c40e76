// The help panel read back from its window: dark grey with four green lines at their baselines,
// and the text routine's bounds.
#include "app/help_panel.h"
#include "app/shell.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <algorithm>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

constexpr int PANEL_W = 480;
constexpr int PANEL_H = 70;

struct Pixels {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(PANEL_W * PANEL_H * 3);
    const unsigned char* at(int x, int y) const {
        return &rgb[static_cast<size_t>((y * PANEL_W + x) * 3)];
    }
    bool green(int x, int y) const {
        const unsigned char* p = at(x, y);
        return p[0] == 0 && p[1] == 255 && p[2] == 0;
    }
    bool grey(int x, int y) const {
        const unsigned char* p = at(x, y);
        return p[0] == p[1] && p[1] == p[2] && (p[0] == 76 || p[0] == 77);
    }
};

class HelpPanel : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(helpPanel);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    Pixels drawAndRead() {
        displayHelp();
        Pixels pixels;
        pixels.rgb = readShownPixels(0, 0, PANEL_W, PANEL_H);
        return pixels;
    }
};

// Rows (from the bottom) that a 12-point line with the given baseline may touch: descenders
// reach 3 pixels below it, capitals about 9 above.
struct Band {
    int bottom, top;
};
constexpr double BASELINES_PX[] = {56.0, 38.5, 21.0, 3.5};

Band bandFor(double baseline) {
    const int b = static_cast<int>(baseline);
    return {std::max(0, b - 4), b + 11};
}

TEST_F(HelpPanel, ShowsFourGreenLinesOnDarkGreyAndNothingElse) {
    const Pixels pixels = drawAndRead();
    int leftmost[4] = {PANEL_W, PANEL_W, PANEL_W, PANEL_W};
    int greenCount[4] = {0, 0, 0, 0};
    for (int y = 0; y < PANEL_H; ++y) {
        for (int x = 0; x < PANEL_W; ++x) {
            if (pixels.grey(x, y)) {
                continue;
            }
            ASSERT_TRUE(pixels.green(x, y)) << "pixel neither grey nor green at " << x << "," << y;
            int line = -1;
            for (int k = 0; k < 4; ++k) {
                const Band band = bandFor(BASELINES_PX[k]);
                if (y >= band.bottom && y <= band.top) {
                    line = k;
                }
            }
            ASSERT_NE(line, -1) << "green outside every text line at " << x << "," << y;
            ++greenCount[line];
            leftmost[line] = std::min(leftmost[line], x);
        }
    }
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(testing::Message() << "line " << k + 1);
        EXPECT_GT(greenCount[k], 100);
        // Every line starts 32 pixels in; the first three after two spaces.
        EXPECT_GE(leftmost[k], 32);
        EXPECT_LT(leftmost[k], 48);
    }
    EXPECT_LE(leftmost[3], 34);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GE(leftmost[k], leftmost[3] + 4) << "line " << k + 1 << " lost its leading spaces";
    }
}

TEST_F(HelpPanel, DrawsTheSamePictureEveryTime) {
    const Pixels first = drawAndRead();
    const Pixels second = drawAndRead();
    EXPECT_EQ(first.rgb, second.rgb);
}

TEST_F(HelpPanel, ReshapeKeepsTheViewportAndItsThreeHundredByHundredUnits) {
    GLint before[4];
    glGetIntegerv(GL_VIEWPORT, before);
    reshapeHelp(17, 5000);
    GLint after[4];
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_TRUE(std::equal(before, before + 4, after));
    EXPECT_EQ(after[2], PANEL_W);
    EXPECT_EQ(after[3], PANEL_H);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 300.0f);
    EXPECT_FLOAT_EQ(projection[5], 2.0f / 100.0f);
    EXPECT_FLOAT_EQ(projection[12], -1.0f);
    EXPECT_FLOAT_EQ(projection[13], -1.0f);
}

float rasterX() {
    float position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return position[0];
}

TEST_F(HelpPanel, LongTextIsCutAt255CharactersAndEmptyTextDrawsNothing) {
    glLoadIdentity();
    void* font = GLUT_BITMAP_HELVETICA_12;
    const float width = static_cast<float>(glutBitmapWidth(font, 'x'));

    drawText(font, 0.0f, 50.0f, "%s", "");
    const float start = rasterX();
    EXPECT_FLOAT_EQ(start, 0.0f);

    const std::string thousand(1000, 'x');
    drawText(font, 0.0f, 50.0f, "%s", thousand.c_str());
    EXPECT_FLOAT_EQ(rasterX() - start, 255.0f * width);

    drawText(font, 0.0f, 50.0f, "%d-%s", 7, "xx");
    EXPECT_FLOAT_EQ(rasterX() - start,
                    static_cast<float>(glutBitmapWidth(font, '7') + glutBitmapWidth(font, '-')) +
                        2.0f * width);
}

} // namespace
