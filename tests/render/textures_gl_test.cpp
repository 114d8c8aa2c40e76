// Texture loading in the scene view's real GL context: names, failure lines, the uploaded
// image and its parameters, and an image OpenGL refuses.
#define GL_GLEXT_PROTOTYPES
#include "app/shell.h"
#include "render/texture_size.h"
#include "render/textures.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const char* const FILE_NAMES[TEXTURE_COUNT] = {"corrigatedIronTexture.bmp", "leopard.bmp",
                                               "concrete.bmp", "grass.bmp"};

const std::string WALL_LINE = "failed to load bitmap for wall texture\n";
const std::string OKSA_LINE = "failed to load bitmap for oksa texture\n";
const std::string CEILING_LINE = "failed to load bitmap for ceiling texture\n";
const std::string GRASS_LINE = "failed to load bitmap for grass texture\n";

void putU32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

std::size_t rowStride(int width) {
    return static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
}

// The stored rows of a 24-bit bottom-up bitmap with a pattern that differs per row and column.
Bytes patternRows(int width, int height, int seed) {
    Bytes rows(rowStride(width) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            rows[rowStride(width) * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(seed * 31 + y * 17 + x * 5);
        }
    }
    return rows;
}

void writeBitmap(const fs::path& path, int width, int height, const Bytes& rows) {
    Bytes out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<std::uint32_t>(54 + rows.size()));
    putU32(out, 10, 54);
    putU32(out, 14, 40);
    putU32(out, 18, static_cast<std::uint32_t>(width));
    putU32(out, 22, static_cast<std::uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    out.insert(out.end(), rows.begin(), rows.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

// Each test runs in a fresh, empty working directory, as the program would in an empty folder.
class Textures : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        std::string pattern = (fs::temp_directory_path() / "textures_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        previous = fs::current_path();
        fs::current_path(dir);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        alarm(0);
        fs::current_path(previous);
        fs::remove_all(dir);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    std::string loadAllCapturingOutput() {
        testing::internal::CaptureStdout();
        loadTextures();
        return testing::internal::GetCapturedStdout();
    }
    void expectFourDistinctNames() {
        const std::set<GLuint> names(sceneTextures, sceneTextures + TEXTURE_COUNT);
        EXPECT_EQ(names.size(), 4u);
        EXPECT_EQ(names.count(0u), 0u);
    }
    fs::path dir;
    fs::path previous;
};

TEST_F(Textures, WithNoFilesFourLinesComeInSlotOrderAndTheContextIsStillSetUp) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    EXPECT_EQ(loadAllCapturingOutput(), WALL_LINE + OKSA_LINE + CEILING_LINE + GRASS_LINE);
    expectFourDistinctNames();
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    GLint hint = 0;
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);
}

struct Size {
    int width, height;
};

TEST_F(Textures, LoadedFilesBecomeLinearlyFilteredRepeatingImagesAsStored) {
    // Widths whose rows need padding, to catch a wrong unpack alignment.
    const Size sizes[TEXTURE_COUNT] = {{16, 8}, {5, 4}, {3, 16}, {64, 2}};
    Bytes rows[TEXTURE_COUNT];
    for (int slot = 0; slot < TEXTURE_COUNT; ++slot) {
        rows[slot] = patternRows(sizes[slot].width, sizes[slot].height, slot);
        writeBitmap(FILE_NAMES[slot], sizes[slot].width, sizes[slot].height, rows[slot]);
    }
    EXPECT_EQ(loadAllCapturingOutput(), "");
    expectFourDistinctNames();
    for (int slot = 0; slot < TEXTURE_COUNT; ++slot) {
        SCOPED_TRACE(FILE_NAMES[slot]);
        glBindTexture(GL_TEXTURE_2D, sceneTextures[slot]);
        GLint width = 0, height = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(width, sizes[slot].width);
        EXPECT_EQ(height, sizes[slot].height);
        EXPECT_EQ(minFilter, GL_LINEAR);
        EXPECT_EQ(magFilter, GL_LINEAR);
        EXPECT_EQ(wrapS, GL_REPEAT);
        EXPECT_EQ(wrapT, GL_REPEAT);
        // Read back in the file's own layout: the stored rows must come back unchanged.
        Bytes back(rows[slot].size(), 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, back.data());
        for (int y = 0; y < sizes[slot].height; ++y) {
            const auto start = static_cast<std::ptrdiff_t>(rowStride(sizes[slot].width)) * y;
            const auto end = start + sizes[slot].width * 3;
            EXPECT_TRUE(
                std::equal(back.begin() + start, back.begin() + end, rows[slot].begin() + start))
                << "row " << y;
        }
    }
}

TEST_F(Textures, OnlyTheMissingGrassIsReported) {
    for (int slot = 0; slot < 3; ++slot) {
        writeBitmap(FILE_NAMES[slot], 4, 4, patternRows(4, 4, slot));
    }
    EXPECT_EQ(loadAllCapturingOutput(), GRASS_LINE);
    expectFourDistinctNames();
}

TEST_F(Textures, DirectoriesFifosAndBrokenFilesFailAtOnce) {
    // A blocking open or read would hang; the alarm ends the run instead.
    alarm(20);
    fs::create_directory(FILE_NAMES[0]);
    ASSERT_EQ(mkfifo(FILE_NAMES[1], 0600), 0);
    std::ofstream(FILE_NAMES[2]) << "BM, but nothing more";
    writeBitmap(FILE_NAMES[3], 4, 4, patternRows(4, 4, 3));
    EXPECT_EQ(loadAllCapturingOutput(), WALL_LINE + OKSA_LINE + CEILING_LINE);
    expectFourDistinctNames();
}

TEST_F(Textures, EarlierGlErrorsDoNotFailALoad) {
    writeBitmap("good.bmp", 8, 8, patternRows(8, 8, 7));
    glEnable(0xffff);
    GLuint id = 0;
    EXPECT_TRUE(loadBitmapTexture("good.bmp", id));
    EXPECT_NE(id, 0u);
}

// Run a second time with Mesa offering GL 1.4 without non-power-of-two textures, as older
// implementations do; CHEER_EXPECT_POWER_OF_TWO then makes sure that the override took.
TEST_F(Textures, PicturesGoUpAtASizeTheImplementationTakes) {
    const bool powerOfTwo =
        needsPowerOfTwoSides(reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                             reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    if (std::getenv("CHEER_EXPECT_POWER_OF_TWO") != nullptr) {
        ASSERT_TRUE(powerOfTwo) << glGetString(GL_VERSION);
    }
    // 300 x 200 in four quadrants, bottom left first: red, green / blue, white.
    constexpr int WIDTH = 300, HEIGHT = 200;
    const std::uint8_t quadrants[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
    Bytes rows(rowStride(WIDTH) * HEIGHT, 0);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const std::uint8_t* colour = quadrants[(y >= HEIGHT / 2) * 2 + (x >= WIDTH / 2)];
            std::copy(colour, colour + 3,
                      rows.begin() + static_cast<std::ptrdiff_t>(rowStride(WIDTH) * y + 3 * x));
        }
    }
    writeBitmap(FILE_NAMES[3], WIDTH, HEIGHT, rows);
    GLuint id = 0;
    ASSERT_TRUE(loadBitmapTexture(FILE_NAMES[3], id));
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, powerOfTwo ? 256 : WIDTH);
    EXPECT_EQ(height, powerOfTwo ? 256 : HEIGHT);
    // Each quadrant keeps its colour and its place, away from the blended seams.
    Bytes back(rowStride(width) * static_cast<std::size_t>(height), 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, back.data());
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const int x = width / 4 + (quadrant % 2) * width / 2;
        const int y = height / 4 + (quadrant / 2) * height / 2;
        const auto at = static_cast<std::ptrdiff_t>(rowStride(width) * y + 3 * x);
        EXPECT_EQ(Bytes(back.begin() + at, back.begin() + at + 3),
                  Bytes(quadrants[quadrant], quadrants[quadrant] + 3))
            << "quadrant " << quadrant;
    }
}

TEST_F(Textures, AnImageOpenGlRefusesIsAFailedLoad) {
    writeBitmap(FILE_NAMES[3], 16, 16, patternRows(16, 16, 3));
    // With a small pixel-unpack buffer bound, the upload's pointer becomes an offset far outside
    // it, and OpenGL refuses the image.
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
    glBufferData(GL_PIXEL_UNPACK_BUFFER, 16, nullptr, GL_STATIC_DRAW);
    GLuint id = 0;
    EXPECT_FALSE(loadBitmapTexture(FILE_NAMES[3], id));
    EXPECT_NE(id, 0u);
    const std::string output = loadAllCapturingOutput();
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    EXPECT_EQ(output, WALL_LINE + OKSA_LINE + CEILING_LINE + GRASS_LINE);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

} // namespace
