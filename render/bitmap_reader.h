// Bitmap reader: turns the bytes of a bitmap file into the rows the texture loader uploads.
// Pure byte work, no GL. textures.cpp reads the file, calls readBitmap and hands the rows to
// glTexImage2D; the tests, the benchmark and the fuzz target call it on bytes directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// No side above this is ever allocated for, whatever the caller allows.
constexpr int BITMAP_MAX_SIDE = 16384;

// A decoded picture: rows bottom first, each `width` pixels of blue, green, red bytes, each row
// padded at its end to a multiple of 4 bytes (bitmapRowStride).
struct BitmapImage {
    int width = 0;
    int height = 0;
    // The bottom row. Points into the caller's file bytes when the file already holds the rows in
    // this layout (an uncompressed bottom-up 24-bit file), otherwise into `converted`. Moving
    // the record keeps `rows` valid; a copy would still point at the original's rows.
    const std::uint8_t* rows = nullptr;
    std::vector<std::uint8_t> converted;
};

// Bytes per row of a decoded picture `width` pixels wide.
std::size_t bitmapRowStride(int width);

// Reads a bitmap file held in `bytes`. Accepts the info header and its longer versions, the
// 12-byte OS/2 header, bottom-up and top-down rows, 1-, 2-, 4- and 8-bit palettes, 16- and 32-bit
// pixels with or without bit fields, 24-bit pixels, and 4- and 8-bit run-length encoding.
// Returns false, leaving `image` empty, for anything else, for a malformed or truncated file,
// and when a side exceeds `maxSide` or BITMAP_MAX_SIDE. On success `image.rows` may point into
// `bytes`, which must then outlive the image.
bool readBitmap(const std::uint8_t* bytes, std::size_t size, int maxSide, BitmapImage& image);
