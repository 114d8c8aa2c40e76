// Fuzz target for the bitmap reader: any bytes must be decoded or refused without reading or
// writing out of bounds, and a decoded picture's rows must all be readable.
#include "render/bitmap_reader.h"

#include <cstddef>
#include <cstdint>

namespace {

// Keeps each run small: a lying header may still ask for a picture of this side squared.
constexpr int FUZZ_MAX_SIDE = 2048;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BitmapImage image;
    if (readBitmap(data, size, FUZZ_MAX_SIDE, image)) {
        const std::size_t total =
            bitmapRowStride(image.width) * static_cast<std::size_t>(image.height);
        volatile std::uint8_t sink = 0;
        // The first and last byte of every row bound what an upload would read.
        for (std::size_t i = 0; i < total; i += bitmapRowStride(image.width)) {
            sink = static_cast<std::uint8_t>(sink + image.rows[i]);
        }
        sink = static_cast<std::uint8_t>(sink + image.rows[total - 1]);
    }
    return 0;
}
