// Bitmap reader: turns the bytes of a bitmap file into the rows the texture loader uploads.
// Pure byte work, no GL. textures.cpp reads the file, calls readBitmap and hands the rows to
// glTexImage2D; the tests, the benchmark and the fuzz target call it on bytes directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// No side above this is ever allocated for, whatever the caller allows.
constexpr int BITMAP_MAX_SIDE = 16384;

// No picture of more pixels than this is decoded: 64 Mi pixels, 192 MiB as 24-bit rows, four
// times a 4096 x 4096 texture and still far from what strains a desktop machine.
constexpr std::int64_t BITMAP_MAX_PIXELS = std::int64_t{1} << 26;

// Run-length data at its densest gives 255 pixels for every 2 bytes. A run-length picture must
// have at most this many pixels for each byte of its data; one that declares more would be left
// mostly unwritten, so it is refused before anything is allocated for it.
constexpr std::int64_t BITMAP_RLE_PIXELS_PER_BYTE = 128;

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
// 12-byte OS/2 header and the 64-byte OS/2 2.x one, bottom-up and top-down rows, 1-, 2-, 4- and
// 8-bit palettes, 16- and 32-bit pixels with or without bit fields, 24-bit pixels, and 4- and
// 8-bit run-length encoding. Returns false, leaving `image` empty, for anything else, for a
// malformed file, for one whose pixels are not all in `bytes`, when a side exceeds `maxSide` or
// BITMAP_MAX_SIDE, beyond BITMAP_MAX_PIXELS or BITMAP_RLE_PIXELS_PER_BYTE, and when the memory
// for the decoded rows cannot be had. On success `image.rows` may point into `bytes`, which must
// then outlive the image.
bool readBitmap(const std::uint8_t* bytes, std::size_t size, int maxSide, BitmapImage& image);
