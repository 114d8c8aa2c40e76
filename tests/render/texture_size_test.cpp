// Which size a picture goes up at: what the implementation reports it takes, and the sides that
// come out of that for pictures of every shape.
#include "render/texture_size.h"

#include <gtest/gtest.h>

namespace {

TEST(TextureSize, PowerOfTwoSidesAreNeededBelowVersionTwoWithoutTheExtension) {
    const char* const npot = "GL_EXT_bgra GL_ARB_texture_non_power_of_two";
    EXPECT_TRUE(needsPowerOfTwoSides("1.1.0", "GL_EXT_bgra GL_WIN_swap_hint"));
    EXPECT_FALSE(needsPowerOfTwoSides("1.4 Mesa 22.3.6", npot));
    EXPECT_TRUE(needsPowerOfTwoSides(
        "1.5", "GL_ARB_texture_non_power_of_two_x GL_X_ARB_texture_non_power_of_two"));
    EXPECT_FALSE(needsPowerOfTwoSides("2.1 Mesa", ""));
    EXPECT_TRUE(needsPowerOfTwoSides(nullptr, nullptr));
}

TEST(TextureSize, SidesGoToTheNearestPowerOfTwoAndWithinTheMaximum) {
    // width, height, power of two only, maximum side; the expected width and height
    const int cases[][6] = {
        {300, 200, 0, 16384, 300, 200},  {300, 200, 1, 1024, 256, 256},
        {383, 384, 1, 1024, 256, 512},   {1, 3, 1, 1024, 1, 4},
        {2048, 100, 0, 1024, 1024, 100}, {5000, 7, 1, 3000, 2048, 8},
    };
    for (const auto& c : cases) {
        const TextureSize size = uploadSize(c[0], c[1], c[2] != 0, c[3]);
        EXPECT_EQ(size.width, c[4]) << c[0] << " x " << c[1];
        EXPECT_EQ(size.height, c[5]) << c[0] << " x " << c[1];
    }
}

} // namespace
