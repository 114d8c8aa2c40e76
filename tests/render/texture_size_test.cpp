// Which size a picture goes up at: what the implementation reports it takes, and the sides that
// come out of that for pictures of every shape.
#include "render/texture_size.h"

#include <gtest/gtest.h>

namespace {

struct Implementation {
    const char* version;
    const char* extensions;
    bool powerOfTwo;
};

TEST(TextureSize, PowerOfTwoSidesAreNeededBelowVersionTwoWithoutTheExtension) {
    const Implementation cases[] = {
        {"1.1.0 Windows", "GL_EXT_bgra GL_WIN_swap_hint", true},
        {"1.4 Mesa 22.3.6", "GL_EXT_bgra GL_ARB_texture_non_power_of_two", false},
        {"1.5", "GL_ARB_texture_non_power_of_two GL_EXT_bgra", false},
        {"1.5", "GL_ARB_texture_non_power_of_two_extra GL_XGL_ARB_texture_non_power_of_two", true},
        {"2.1 Mesa", "", false},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", nullptr, false},
        {nullptr, nullptr, true},
    };
    for (const Implementation& c : cases) {
        SCOPED_TRACE(c.version == nullptr ? "no version" : c.version);
        EXPECT_EQ(needsPowerOfTwoSides(c.version, c.extensions), c.powerOfTwo);
    }
}

struct SizeCase {
    int width, height;
    bool powerOfTwo;
    int maxSide;
    int expectedWidth, expectedHeight;
};

TEST(TextureSize, SidesGoToTheNearestPowerOfTwoAndWithinTheMaximum) {
    const SizeCase cases[] = {
        {300, 200, false, 16384, 300, 200},
        {300, 200, true, 1024, 256, 256},
        {383, 384, true, 1024, 256, 512},
        {1, 3, true, 1024, 1, 4},
        {2048, 2048, true, 1024, 1024, 1024},
        {2048, 100, false, 1024, 1024, 100},
        {5000, 7, true, 3000, 2048, 8},
        {3000, 3000, false, 3000, 3000, 3000},
        {12289, 16384, true, 16384, 16384, 16384},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " within " << c.maxSide
                                        << (c.powerOfTwo ? " power of two" : ""));
        const TextureSize size = uploadSize(c.width, c.height, c.powerOfTwo, c.maxSide);
        EXPECT_EQ(size.width, c.expectedWidth);
        EXPECT_EQ(size.height, c.expectedHeight);
    }
}

} // namespace
