// The texture generator: four bitmap files the program's own reader takes, under the names the
// texture loader asks for, the same bytes on every run and every build.
#include "render/bitmap_reader.h"
#include "render/texture_generator.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// FNV-1a over the file's bytes: a change of any byte changes it.
std::uint64_t fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

TEST(TextureGenerator, DrawsTheFourTexturesTheReaderTakesAsTheyWereAlwaysDrawn) {
    const struct {
        const char* name;
        std::uint64_t fingerprint;
    } expected[GENERATED_TEXTURES] = {
        {"corrigatedIronTexture.bmp", 0xa650c717fd0fa489ull},
        {"leopard.bmp", 0x4e872f66386a3f47ull},
        {"concrete.bmp", 0x426cfd1a8b75d03dull},
        {"grass.bmp", 0xfff78f340bb1f9c1ull},
    };
    for (int which = 0; which < GENERATED_TEXTURES; ++which) {
        EXPECT_EQ(std::string(generatedTextureName(which)), expected[which].name);
        const std::vector<std::uint8_t> bytes = generatedTextureBitmap(which);
        BitmapImage image;
        ASSERT_TRUE(readBitmap(bytes.data(), bytes.size(), 16384, image)) << which;
        EXPECT_EQ(image.width, 256);
        EXPECT_EQ(image.height, 256);
        EXPECT_EQ(bytes.size(), 54u + 256u * 256u * 3u);
        EXPECT_EQ(fingerprint(bytes), expected[which].fingerprint) << expected[which].name;
    }
}

} // namespace
