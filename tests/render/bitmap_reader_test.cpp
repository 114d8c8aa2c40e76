// The bitmap reader against the conformance suite (good files decode to their reference
// pictures, bad ones are refused) and against crafted files with lying headers.
#include "render/bitmap_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path SUITE = fs::path(CHEER_TEST_DATA_DIR) / "bmpsuite";
// Files written by real tools (tools/make_writer_samples.sh), each beside the tool's own decode.
const fs::path WRITERS = fs::path(CHEER_TEST_DATA_DIR) / "writers";

// Good files of the suite that the reader refuses on purpose, with the reason. Every kind a
// paint program writes is decoded, so the table is empty; a file listed here must be refused.
const std::map<std::string, std::string> REFUSED_GOOD_FILES = {};

Bytes readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> bitmapFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".bmp") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Decodes from a heap block of exactly the file's size, so that AddressSanitizer catches any
// read past its end.
bool decodeExact(const Bytes& file, int maxSide, BitmapImage& image,
                 std::unique_ptr<std::uint8_t[]>& block) {
    block.reset(new std::uint8_t[file.size() == 0 ? 1 : file.size()]);
    std::copy(file.begin(), file.end(), block.get());
    return readBitmap(block.get(), file.size(), maxSide, image);
}

struct Ppm {
    int width = 0;
    int height = 0;
    Bytes rgb; // top row first
};

Ppm readPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Ppm ppm;
    in >> magic >> ppm.width >> ppm.height >> maxValue;
    in.get();
    ppm.rgb.resize(static_cast<std::size_t>(ppm.width * ppm.height * 3));
    in.read(reinterpret_cast<char*>(ppm.rgb.data()), static_cast<std::streamsize>(ppm.rgb.size()));
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(maxValue, 255);
    EXPECT_TRUE(in.good()) << path;
    return ppm;
}

// Sum of every byte of the decoded rows: touches them all, so a row pointer that runs off its
// buffer shows up under AddressSanitizer.
unsigned long touchRows(const BitmapImage& image) {
    unsigned long sum = 0;
    const std::size_t total = bitmapRowStride(image.width) * static_cast<std::size_t>(image.height);
    for (std::size_t i = 0; i < total; ++i) {
        sum += image.rows[i];
    }
    return sum;
}

// Compares a decoded picture with its expected one, channel by channel within `tolerance`,
// reporting the first few differences; returns how many channels differ.
int countMismatches(const BitmapImage& image, const Ppm& ref, int tolerance) {
    EXPECT_EQ(image.width, ref.width);
    EXPECT_EQ(image.height, ref.height);
    if (image.width != ref.width || image.height != ref.height) {
        return -1;
    }
    const std::size_t stride = bitmapRowStride(image.width);
    int mismatches = 0;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row =
            image.rows + static_cast<std::size_t>(image.height - 1 - y) * stride;
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* expected =
                &ref.rgb[static_cast<std::size_t>((y * ref.width + x) * 3)];
            for (int c = 0; c < 3; ++c) {
                const int got = row[x * 3 + 2 - c];
                if (std::abs(got - expected[c]) > tolerance && ++mismatches <= 3) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << c << ": " << got
                                  << " instead of " << int{expected[c]};
                }
            }
        }
    }
    return mismatches;
}

TEST(BitmapReaderSuite, GoodFilesDecodeToTheirReferencePictures) {
    const std::vector<fs::path> files = bitmapFiles(SUITE / "g");
    ASSERT_GE(files.size(), 27u);
    for (const fs::path& path : files) {
        const std::string name = path.stem().string();
        SCOPED_TRACE(name);
        const Bytes file = readWholeFile(path);
        BitmapImage image;
        std::unique_ptr<std::uint8_t[]> block;
        const bool decoded = decodeExact(file, BITMAP_MAX_SIDE, image, block);
        if (REFUSED_GOOD_FILES.count(name) != 0) {
            EXPECT_FALSE(decoded);
            continue;
        }
        ASSERT_TRUE(decoded);
        // 16-bit bit-field pixels widen 5 or 6 bits to 8, where rounding may differ by one.
        const bool sixteenBit = file[28] == 16;
        EXPECT_EQ(countMismatches(image, readPpm(SUITE / "ref" / (name + ".ppm")), sixteenBit), 0);
    }
}

TEST(BitmapReaderWriters, EverySampleDecodesToItsWritersOwnPicture) {
    std::map<std::string, int> exactPerWriter;
    for (const fs::path& path : bitmapFiles(WRITERS)) {
        const std::string name = path.stem().string();
        SCOPED_TRACE(name);
        BitmapImage image;
        std::unique_ptr<std::uint8_t[]> block;
        ASSERT_TRUE(decodeExact(readWholeFile(path), BITMAP_MAX_SIDE, image, block));
        Ppm expected = readPpm(path.parent_path() / (name + ".ppm"));
        if (countMismatches(image, expected, 0) == 0) {
            ++exactPerWriter[name.substr(0, name.find('-'))];
        }
    }
    // ImageMagick's BMP2, BMP3 and BMP flavours; Pillow's modes 1, L, P, RGB and RGBA; ffmpeg's
    // bgr24, bgra, pal8, gray, monob and rgb8.
    const std::map<std::string, int> expectedCounts = {
        {"ffmpeg", 6}, {"imagemagick", 12}, {"pillow", 5}};
    EXPECT_EQ(exactPerWriter, expectedCounts);
}

TEST(BitmapReaderSuite, BadFilesAreRefused) {
    for (const fs::path& path : bitmapFiles(SUITE / "b")) {
        SCOPED_TRACE(path.filename().string());
        BitmapImage image;
        std::unique_ptr<std::uint8_t[]> block;
        EXPECT_FALSE(decodeExact(readWholeFile(path), BITMAP_MAX_SIDE, image, block));
        EXPECT_EQ(image.rows, nullptr);
        EXPECT_EQ(image.width, 0);
    }
}

TEST(BitmapReaderSuite, QuestionableAndForeignFilesDecodeOrFailCleanly) {
    int decoded = 0;
    for (const char* folder : {"q", "x"}) {
        for (const fs::path& path : bitmapFiles(SUITE / folder)) {
            SCOPED_TRACE(path.filename().string());
            BitmapImage image;
            std::unique_ptr<std::uint8_t[]> block;
            if (decodeExact(readWholeFile(path), BITMAP_MAX_SIDE, image, block)) {
                ++decoded;
                EXPECT_GT(image.width, 0);
                EXPECT_GT(image.height, 0);
                touchRows(image);
            } else {
                EXPECT_EQ(image.rows, nullptr);
            }
        }
    }
    // Plenty of the questionable files are ordinary enough to read (2-bit palettes, odd masks).
    EXPECT_GT(decoded, 10);
}

TEST(BitmapReaderSuite, EveryCutOffGoodFileIsRefused) {
    for (const fs::path& path : bitmapFiles(SUITE / "g")) {
        SCOPED_TRACE(path.filename().string());
        const Bytes whole = readWholeFile(path);
        const std::size_t step = std::max<std::size_t>(1, whole.size() / 300);
        for (std::size_t length = 0; length < whole.size(); length += step) {
            Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            BitmapImage image;
            std::unique_ptr<std::uint8_t[]> block;
            EXPECT_FALSE(decodeExact(cut, BITMAP_MAX_SIDE, image, block)) << length;
            // The same cut with the file size made to agree, so the checks behind it must work.
            if (length >= 6) {
                const auto size = static_cast<std::uint32_t>(length);
                std::memcpy(cut.data() + 2, &size, 4);
                EXPECT_FALSE(decodeExact(cut, BITMAP_MAX_SIDE, image, block)) << length;
            }
        }
    }
}

// A bitmap file built field by field, for the crafted cases.
struct CraftedBitmap {
    std::uint32_t headerSize = 40; // fields past the first 40 bytes are left zero
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    Bytes palette;                    // stored as given, 4 bytes per entry
    std::vector<std::uint32_t> masks; // written after the header
    Bytes pixels;
};

void putU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void putU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

Bytes build(const CraftedBitmap& crafted) {
    const std::size_t headerEnd = 14 + crafted.headerSize;
    const std::size_t offset = headerEnd + crafted.masks.size() * 4 + crafted.palette.size();
    Bytes bytes(offset, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putU32(bytes, 2, static_cast<std::uint32_t>(offset + crafted.pixels.size()));
    putU32(bytes, 10, static_cast<std::uint32_t>(offset));
    putU32(bytes, 14, crafted.headerSize);
    putU32(bytes, 18, static_cast<std::uint32_t>(crafted.width));
    putU32(bytes, 22, static_cast<std::uint32_t>(crafted.height));
    putU16(bytes, 26, 1);
    putU16(bytes, 28, crafted.bitCount);
    putU32(bytes, 30, crafted.compression);
    putU32(bytes, 34, static_cast<std::uint32_t>(crafted.pixels.size()));
    putU32(bytes, 38, 2835);
    putU32(bytes, 42, 2835);
    putU32(bytes, 46, static_cast<std::uint32_t>(crafted.palette.size() / 4));
    for (std::size_t i = 0; i < crafted.masks.size(); ++i) {
        putU32(bytes, headerEnd + 4 * i, crafted.masks[i]);
    }
    std::copy(crafted.palette.begin(), crafted.palette.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd + crafted.masks.size() * 4));
    bytes.insert(bytes.end(), crafted.pixels.begin(), crafted.pixels.end());
    return bytes;
}

// Two rows of two pixels, bottom row first: blue, green / red, white; each row padded to 8.
CraftedBitmap twoByTwo() {
    CraftedBitmap crafted;
    crafted.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    return crafted;
}

// Four palette entries: black, red, green, blue (stored blue, green, red, unused).
Bytes fourColours() {
    return {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
}

class CraftedFile : public testing::Test {
  protected:
    bool decode(const Bytes& file, int maxSide = BITMAP_MAX_SIDE) {
        return decodeExact(file, maxSide, image, block);
    }
    Bytes row(int y) const {
        const std::uint8_t* start =
            image.rows + bitmapRowStride(image.width) * static_cast<std::size_t>(y);
        return Bytes(start, start + image.width * 3);
    }
    BitmapImage image;
    std::unique_ptr<std::uint8_t[]> block;
};

TEST_F(CraftedFile, BottomUpTwentyFourBitRowsAreHandedOverInPlace) {
    const Bytes file = build(twoByTwo());
    ASSERT_TRUE(decode(file));
    EXPECT_EQ(image.rows, block.get() + 54);
    EXPECT_TRUE(image.converted.empty());
    EXPECT_EQ(row(0), (Bytes{255, 0, 0, 0, 255, 0}));
    EXPECT_EQ(row(1), (Bytes{0, 0, 255, 255, 255, 255}));
}

TEST_F(CraftedFile, TopDownRowsAreTurnedBottomUp) {
    CraftedBitmap crafted = twoByTwo();
    crafted.height = -2;
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(row(1), (Bytes{255, 0, 0, 0, 255, 0}));
}

struct LyingHeader {
    const char* what;
    std::size_t at;
    std::uint32_t value;
};

TEST_F(CraftedFile, LyingSizesOffsetsAndDimensionsAreRefused) {
    const LyingHeader lies[] = {
        {"file size over twice the file", 2, 141},
        {"pixel offset past the end", 10, 71},
        {"pixel offset inside the header", 10, 40},
        {"pixel offset at 4 GiB - 1", 10, 0xffffffffu},
        {"header size of 4 GiB - 1", 14, 0xffffffffu},
        {"unknown header size", 14, 64},
        {"width 0", 18, 0},
        {"negative width", 18, 0xfffffffeu},
        {"width overflowing a row", 18, 0x7fffffffu},
        {"height overflowing the picture", 22, 0x7fffffffu},
        {"height of INT32_MIN", 22, 0x80000000u},
        {"height 0", 22, 0},
        {"width one over the side cap", 18, BITMAP_MAX_SIDE + 1},
        {"two planes", 26, 0x00180002u},
        {"image size over twice the rows", 34, 33},
        {"image size of 4 GiB - 1", 34, 0xffffffffu},
        {"compression unknown", 30, 7},
        {"bit fields on 24-bit pixels", 30, 3},
        {"absurd resolution", 38, 30000000},
    };
    for (const LyingHeader& lie : lies) {
        SCOPED_TRACE(lie.what);
        Bytes file = build(twoByTwo());
        putU32(file, lie.at, lie.value);
        EXPECT_FALSE(decode(file));
        EXPECT_EQ(image.rows, nullptr);
    }
}

// Writers' size fields may overstate the file a little; complete rows are still taken.
TEST_F(CraftedFile, SizeFieldsUpToTwiceWhatIsThereAreBelieved) {
    for (const LyingHeader& over : {LyingHeader{"file size", 2, 140}, {"image size", 34, 32}}) {
        Bytes file = build(twoByTwo());
        putU32(file, over.at, over.value);
        EXPECT_TRUE(decode(file)) << over.what;
    }
}

// The 64-byte OS/2 2.x header reads like the info header, but its compression 3 is Huffman
// coding, not bit fields.
TEST_F(CraftedFile, OsTwoVersionTwoHeaderIsTakenWithoutBitFields) {
    CraftedBitmap crafted;
    crafted.headerSize = 64;
    crafted.width = 1;
    crafted.height = 1;
    crafted.bitCount = 32;
    crafted.pixels = {1, 2, 3, 0};
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{1, 2, 3}));
    crafted.compression = 3;
    crafted.masks = {0xff0000, 0xff00, 0xff};
    EXPECT_FALSE(decode(build(crafted)));
}

TEST_F(CraftedFile, SidesAreCappedByTheCallersLimit) {
    CraftedBitmap crafted;
    crafted.width = 64;
    crafted.height = 1;
    crafted.pixels.assign(64 * 3, 7);
    const Bytes file = build(crafted);
    EXPECT_TRUE(decode(file, 64));
    EXPECT_FALSE(decode(file, 63));
    crafted.width = 1;
    crafted.height = -64;
    crafted.pixels.assign(64 * 4, 7);
    EXPECT_FALSE(decode(build(crafted), 63));
}

TEST_F(CraftedFile, RowsOneByteShortAreRefused) {
    CraftedBitmap crafted = twoByTwo();
    // Without the last row's padding every pixel is still there; the rows are then copied, so
    // that the upload cannot read past the file.
    crafted.pixels.resize(14);
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_FALSE(image.converted.empty());
    EXPECT_EQ(row(1), (Bytes{0, 0, 255, 255, 255, 255}));
    crafted.pixels.pop_back();
    EXPECT_FALSE(decode(build(crafted)));
    // Likewise when the converted kinds run short.
    crafted.bitCount = 32;
    crafted.pixels.assign(15, 1);
    EXPECT_FALSE(decode(build(crafted)));
    crafted.height = -2;
    EXPECT_FALSE(decode(build(crafted)));
}

TEST_F(CraftedFile, PaletteIndexBeyondThePaletteIsRefused) {
    CraftedBitmap crafted;
    crafted.bitCount = 8;
    crafted.palette = fourColours();
    crafted.pixels = {1, 2, 0, 0, 3, 0, 0, 0};
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 0, 255, 0}));
    EXPECT_EQ(row(1), (Bytes{255, 0, 0, 0, 0, 0}));
    crafted.pixels[4] = 4;
    EXPECT_FALSE(decode(build(crafted)));
}

TEST_F(CraftedFile, PaletteCountBeyondTheBitDepthIsRefused) {
    CraftedBitmap crafted;
    crafted.bitCount = 1;
    crafted.palette = fourColours();
    crafted.pixels = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    EXPECT_FALSE(decode(build(crafted)));
    crafted.palette.resize(8);
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(row(1), (Bytes{0, 0, 0, 0, 0, 255}));
}

struct MaskCase {
    const char* what;
    std::uint32_t red, green, blue;
    bool accepted;
};

TEST_F(CraftedFile, BitFieldMasksMustBeSeparateRunsOfBits) {
    const MaskCase cases[] = {
        {"5-6-5", 0xf800, 0x07e0, 0x001f, true},
        {"4-4-4 high", 0xf000, 0x0f00, 0x00f0, true},
        {"blue missing", 0xff00, 0x00ff, 0, false},
        {"red split in two", 0xf00f, 0x0ff0, 0, false},
        {"red and green overlap", 0xff00, 0x0ff0, 0x000f, false},
        {"mask wider than the pixel", 0x1f000, 0x0fc0, 0x003f, false},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.what);
        CraftedBitmap crafted;
        crafted.width = 1;
        crafted.height = 1;
        crafted.bitCount = 16;
        crafted.compression = 3;
        crafted.masks = {c.red, c.green, c.blue};
        crafted.pixels = {0xff, 0xff, 0, 0};
        EXPECT_EQ(decode(build(crafted)), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(row(0), (Bytes{255, 255, 255}));
        }
    }
}

TEST_F(CraftedFile, SixteenBitChannelsWidenToTheFullRange) {
    CraftedBitmap crafted;
    crafted.width = 2;
    crafted.height = 1;
    crafted.bitCount = 16;
    // Without bit fields a 16-bit pixel is 5-5-5: full red, then half green and blue.
    crafted.pixels = {0x00, 0x7c, 0x10, 0x42};
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 132, 132, 132}));
}

// Run-length data for 8-bit indices on a 4 x 3 picture with the four-colour palette.
CraftedBitmap runLength8(Bytes data) {
    CraftedBitmap crafted;
    crafted.width = 4;
    crafted.height = 3;
    crafted.bitCount = 8;
    crafted.compression = 1;
    crafted.palette = fourColours();
    crafted.pixels = std::move(data);
    return crafted;
}

TEST_F(CraftedFile, RunLengthRunsLiteralsAndJumpsFillTheirPixels) {
    // Row 0: a run of four reds. Row 1: literal 2, 3, 1, then a jump to the last pixel of row 2,
    // which gets one green; the pixels jumped over stay black.
    ASSERT_TRUE(decode(build(runLength8({4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 2, 0, 1, 1, 2, 0, 1}))));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255}));
    EXPECT_EQ(row(1), (Bytes{0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(row(2), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0}));
}

TEST_F(CraftedFile, RunLengthDataThatLeavesThePictureIsRefused) {
    const std::pair<const char*, Bytes> cases[] = {
        {"run past the last row", {4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 0, 1, 1, 0, 1}},
        {"literal cut off by the end of data", {0, 4, 1, 1}},
        {"jump past the right edge", {0, 2, 5, 0, 0, 1}},
        {"jump past the top", {0, 2, 0, 4, 0, 1}},
        {"pixels above the top row", {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}},
        {"index beyond the palette", {1, 4, 0, 1}},
        {"no end marker", {4, 1, 0, 0}},
        {"odd byte at the end", {4, 1, 0}},
        // Rows of four 8-bit pixels have no padding for a run to cover.
        {"run past the row", {5, 1, 0, 1}},
        {"literal past the row", {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}},
        {"run of 200", {200, 1, 0, 1}},
        {"run past the row after a jump", {0, 2, 3, 0, 4, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_FALSE(decode(build(runLength8(c.second))));
    }
    CraftedBitmap topDown = runLength8({0, 1});
    ASSERT_TRUE(decode(build(topDown)));
    topDown.height = -3;
    EXPECT_FALSE(decode(build(topDown)));
}

// Some writers' runs cover the row's padding as if it were picture: those pixels are dropped,
// but a run may reach no further than an uncompressed row's padded width.
TEST_F(CraftedFile, RunLengthPixelsPastTheRightEdgeAreDroppedUpToThePadding) {
    CraftedBitmap threeWide = runLength8({4, 1, 0, 0, 0, 4, 2, 3, 1, 2, 0, 0, 0, 1});
    threeWide.width = 3;
    ASSERT_TRUE(decode(build(threeWide)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 0, 0, 255, 0, 0, 255}));
    EXPECT_EQ(row(1), (Bytes{0, 255, 0, 255, 0, 0, 0, 0, 255}));
    // Once past the edge, a jump to the right still leaves the picture.
    threeWide.pixels = {4, 1, 0, 2, 1, 0, 0, 1};
    EXPECT_FALSE(decode(build(threeWide)));
    threeWide.pixels = {4, 1, 0, 2, 0, 1, 0, 1};
    EXPECT_TRUE(decode(build(threeWide)));

    // Four-bit rows are padded to eight pixels: a 5-wide picture takes a run of 8, not of 9.
    CraftedBitmap fourBit = runLength8({8, 0x12, 0, 1});
    fourBit.width = 5;
    fourBit.height = 1;
    fourBit.bitCount = 4;
    fourBit.compression = 2;
    EXPECT_TRUE(decode(build(fourBit)));
    fourBit.pixels = {9, 0x12, 0, 1};
    EXPECT_FALSE(decode(build(fourBit)));
}

// The 1,080-byte file that declared 16384 x 16384 and ended at once, and the same at 4096 x
// 4096, are refused before anything is allocated; a picture at exactly 128 pixels for each byte
// of its data is still taken.
TEST_F(CraftedFile, RunLengthPicturesMustBeWorthTheirData) {
    CraftedBitmap crafted = runLength8({0, 1});
    crafted.palette.assign(1024, 0);
    const std::pair<std::int32_t, std::int32_t> tooLarge[] = {
        {16384, 16384}, {4096, 4096}, {17, 16}};
    for (const auto& size : tooLarge) {
        crafted.width = size.first;
        crafted.height = size.second;
        EXPECT_EQ(build(crafted).size(), 1080u);
        EXPECT_FALSE(decode(build(crafted))) << size.first;
    }
    crafted.width = 16;
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(15), Bytes(48, 0));
}

// A picture over the ceiling of pixels is refused from its header alone; one within every bound
// whose rows the memory left cannot hold is refused too, not a crash.
TEST_F(CraftedFile, PicturesBeyondTheCeilingOrTheMemoryLeftAreRefused) {
    CraftedBitmap crafted;
    crafted.bitCount = 1;
    crafted.palette = {0, 0, 0, 0, 0, 0, 255, 0};
    crafted.width = BITMAP_MAX_SIDE;
    crafted.height = static_cast<std::int32_t>(BITMAP_MAX_PIXELS / BITMAP_MAX_SIDE + 1);
    crafted.pixels.assign(BITMAP_MAX_SIDE / 8 * static_cast<std::size_t>(crafted.height), 0x55);
    EXPECT_FALSE(decode(build(crafted)));
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit would let";
#endif
    crafted.height -= 1;
    crafted.pixels.resize(crafted.pixels.size() - BITMAP_MAX_SIDE / 8);
    const Bytes file = build(crafted);
    std::size_t pagesInUse = 0;
    std::ifstream("/proc/self/statm") >> pagesInUse;
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &previous), 0);
    // Room for the file's copy, not for the 192 MiB of decoded rows.
    rlimit limited = previous;
    limited.rlim_cur = pagesInUse * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (64u << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    const bool decoded = decode(file);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &previous), 0);
    EXPECT_FALSE(decoded);
    ASSERT_TRUE(decode(file));
    EXPECT_EQ(row(0)[5], 255); // 0x55: black, red, black, red...
}

TEST_F(CraftedFile, FourBitRunsAlternateTheirTwoIndices) {
    CraftedBitmap crafted = runLength8({3, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1});
    crafted.bitCount = 4;
    crafted.compression = 2;
    crafted.height = 2;
    ASSERT_TRUE(decode(build(crafted)));
    EXPECT_EQ(row(0), (Bytes{0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(row(1), (Bytes{255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0}));
}

} // namespace
