#include "render/bitmap_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t CORE_HEADER_SIZE = 12;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
// OS/2 2.x: the info header's 40 bytes, then fields of no use here (units, halftoning).
constexpr std::uint32_t OS2_V2_HEADER_SIZE = 64;

constexpr std::uint32_t COMPRESSION_NONE = 0;
constexpr std::uint32_t COMPRESSION_RLE8 = 1;
constexpr std::uint32_t COMPRESSION_RLE4 = 2;
constexpr std::uint32_t COMPRESSION_BIT_FIELDS = 3;
constexpr std::uint32_t COMPRESSION_ALPHA_BIT_FIELDS = 6;

// The file-size and image-size fields only say how much the writer meant to store; the rows
// themselves are checked against what is there. Writers overstate them by a few bytes (a last
// row without its padding, a size rounded up), so a field is believed up to this multiple of
// what the file holds, and beyond it the header is garbage.
constexpr std::uint64_t MAX_SIZE_FIELD_OVERSTATEMENT = 2;

// No paint program writes a resolution anywhere near this (about 25400 dots per inch); a value
// beyond it means the header is garbage, even though the reader itself has no use for it.
constexpr std::int64_t MAX_PIXELS_PER_METRE = 1000000;

constexpr std::uint32_t DEFAULT_MASKS_16[3] = {0x7c00u, 0x03e0u, 0x001fu};
constexpr std::uint32_t DEFAULT_MASKS_32[3] = {0xff0000u, 0x00ff00u, 0x0000ffu};

std::uint32_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int64_t readS32(const std::uint8_t* p) {
    const std::uint32_t u = readU32(p);
    return u >= 0x80000000u ? static_cast<std::int64_t>(u) - 0x100000000LL
                            : static_cast<std::int64_t>(u);
}

enum class PixelKind { Indexed, Rle8, Rle4, Packed, Bgr24 };

// Everything the header says, after it has been checked against the file's real size.
struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    PixelKind kind = PixelKind::Bgr24;
    std::uint32_t masks[3] = {0, 0, 0};
    const std::uint8_t* palette = nullptr;
    std::size_t paletteEntrySize = 4;
    std::size_t paletteCount = 0;
    const std::uint8_t* pixels = nullptr;
    std::size_t pixelBytes = 0; // bytes of pixel data that lie inside the file
};

// One colour channel of a packed pixel: where its bits are and how to widen them to 8.
struct Channel {
    std::uint32_t mask = 0;
    unsigned shift = 0;
    std::uint64_t maximum = 1;
};

bool makeChannel(std::uint32_t mask, Channel& channel) {
    if (mask == 0) {
        return false;
    }
    unsigned shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const std::uint64_t bits = mask >> shift;
    // A channel is one run of set bits; anything else is not a colour depth.
    if ((bits & (bits + 1)) != 0) {
        return false;
    }
    channel.mask = mask;
    channel.shift = shift;
    channel.maximum = bits;
    return true;
}

std::uint8_t widen(const Channel& channel, std::uint32_t pixel) {
    const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
    return static_cast<std::uint8_t>((value * 255u + channel.maximum / 2) / channel.maximum);
}

bool parseLayout(const std::uint8_t* bytes, std::size_t size, int maxSide, Layout& layout) {
    if (size < FILE_HEADER_SIZE + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    if (readU32(bytes + 2) > MAX_SIZE_FIELD_OVERSTATEMENT * size) {
        return false;
    }
    const std::size_t pixelOffset = readU32(bytes + 10);
    const std::uint32_t headerSize = readU32(bytes + 14);
    const std::uint8_t* header = bytes + FILE_HEADER_SIZE;

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = COMPRESSION_NONE;
    std::uint64_t imageSize = 0;
    std::uint64_t coloursUsed = 0;
    std::size_t headerEnd = FILE_HEADER_SIZE + headerSize;
    bool headerMasks = false;
    bool os2v2 = false;

    if (headerSize == CORE_HEADER_SIZE) {
        if (size < headerEnd) {
            return false;
        }
        width = readU16(header + 4);
        height = readU16(header + 6);
        planes = readU16(header + 8);
        layout.bitCount = readU16(header + 10);
        layout.paletteEntrySize = 3;
    } else if (headerSize == INFO_HEADER_SIZE || headerSize == 52 || headerSize == 56 ||
               headerSize == OS2_V2_HEADER_SIZE || headerSize == 108 || headerSize == 124) {
        if (size < headerEnd) {
            return false;
        }
        width = readS32(header + 4);
        height = readS32(header + 8);
        planes = readU16(header + 12);
        layout.bitCount = readU16(header + 14);
        compression = readU32(header + 16);
        imageSize = readU32(header + 20);
        const std::int64_t xDensity = readS32(header + 24);
        const std::int64_t yDensity = readS32(header + 28);
        if (std::max(std::abs(xDensity), std::abs(yDensity)) > MAX_PIXELS_PER_METRE) {
            return false;
        }
        coloursUsed = readU32(header + 32);
        os2v2 = headerSize == OS2_V2_HEADER_SIZE;
        headerMasks = headerSize > INFO_HEADER_SIZE && !os2v2;
    } else {
        return false;
    }

    if (planes != 1 || width <= 0 || height == 0) {
        return false;
    }
    layout.topDown = height < 0;
    height = std::abs(height);
    const std::int64_t sideLimit = std::min(maxSide, BITMAP_MAX_SIDE);
    if (width > sideLimit || height > sideLimit) {
        return false;
    }
    if (width * height > BITMAP_MAX_PIXELS) {
        return false;
    }
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    const unsigned bits = layout.bitCount;
    // In the OS/2 2.x header the numbers 3 and 4 stand for Huffman and 24-bit run-length coding.
    const bool bitFields = !os2v2 && (compression == COMPRESSION_BIT_FIELDS ||
                                      compression == COMPRESSION_ALPHA_BIT_FIELDS);
    if (compression == COMPRESSION_NONE && (bits == 1 || bits == 2 || bits == 4 || bits == 8)) {
        layout.kind = PixelKind::Indexed;
    } else if (compression == COMPRESSION_RLE8 && bits == 8) {
        layout.kind = PixelKind::Rle8;
    } else if (compression == COMPRESSION_RLE4 && bits == 4) {
        layout.kind = PixelKind::Rle4;
    } else if (compression == COMPRESSION_NONE && bits == 24) {
        layout.kind = PixelKind::Bgr24;
    } else if ((compression == COMPRESSION_NONE || bitFields) && (bits == 16 || bits == 32)) {
        layout.kind = PixelKind::Packed;
    } else {
        return false;
    }
    // Run-length data is always stored bottom-up.
    if ((layout.kind == PixelKind::Rle8 || layout.kind == PixelKind::Rle4) && layout.topDown) {
        return false;
    }

    if (layout.kind == PixelKind::Packed) {
        const std::uint32_t* defaults = bits == 16 ? DEFAULT_MASKS_16 : DEFAULT_MASKS_32;
        std::copy(defaults, defaults + 3, layout.masks);
        if (bitFields) {
            // The short header keeps its masks just after itself, the longer ones inside.
            const std::uint8_t* masks = bytes + headerEnd;
            if (headerMasks) {
                masks = header + INFO_HEADER_SIZE;
            } else {
                headerEnd += compression == COMPRESSION_ALPHA_BIT_FIELDS ? 16 : 12;
                if (size < headerEnd) {
                    return false;
                }
            }
            for (int c = 0; c < 3; ++c) {
                layout.masks[c] = readU32(masks + 4 * c);
            }
        }
    }

    if (pixelOffset < headerEnd || pixelOffset > size) {
        return false;
    }
    layout.pixels = bytes + pixelOffset;
    layout.pixelBytes = size - pixelOffset;
    if (imageSize > MAX_SIZE_FIELD_OVERSTATEMENT * layout.pixelBytes) {
        return false;
    }
    if (layout.kind == PixelKind::Rle8 || layout.kind == PixelKind::Rle4) {
        if (imageSize != 0 && imageSize < layout.pixelBytes) {
            layout.pixelBytes = static_cast<std::size_t>(imageSize);
        }
        if (width * height >
            BITMAP_RLE_PIXELS_PER_BYTE * static_cast<std::int64_t>(layout.pixelBytes)) {
            return false;
        }
    }

    if (layout.kind == PixelKind::Indexed || layout.kind == PixelKind::Rle8 ||
        layout.kind == PixelKind::Rle4) {
        const std::uint64_t fullPalette = std::uint64_t{1} << bits;
        if (coloursUsed > fullPalette) {
            return false;
        }
        const std::uint64_t declared = coloursUsed != 0 ? coloursUsed : fullPalette;
        // Some writers store fewer entries than the header promises; use what is there.
        const std::uint64_t present = (pixelOffset - headerEnd) / layout.paletteEntrySize;
        layout.paletteCount = static_cast<std::size_t>(std::min(declared, present));
        if (layout.paletteCount == 0) {
            return false;
        }
        layout.palette = bytes + headerEnd;
    }
    return true;
}

std::size_t storedRowStride(int width, unsigned bitCount) {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4);
}

// Copies palette entry `index` into `out` as blue, green, red; false for an index the palette
// does not have.
bool putIndexed(const Layout& layout, unsigned index, std::uint8_t* out) {
    if (index >= layout.paletteCount) {
        return false;
    }
    std::memcpy(out, layout.palette + index * layout.paletteEntrySize, 3);
    return true;
}

bool decodeIndexedRow(const Layout& layout, const std::uint8_t* src, std::uint8_t* out) {
    const unsigned bits = layout.bitCount;
    const unsigned perByte = 8 / bits;
    const unsigned valueMask = (1u << bits) - 1u;
    for (int x = 0; x < layout.width; ++x) {
        const unsigned ux = static_cast<unsigned>(x);
        // The leftmost pixel sits in the highest bits of its byte.
        const unsigned shift = (perByte - 1 - ux % perByte) * bits;
        const unsigned index = (src[ux / perByte] >> shift) & valueMask;
        if (!putIndexed(layout, index, out + 3 * ux)) {
            return false;
        }
    }
    return true;
}

bool decodePackedRows(const Layout& layout, std::size_t stride, std::uint8_t* out,
                      std::size_t outStride) {
    Channel channels[3];
    for (int c = 0; c < 3; ++c) {
        if (!makeChannel(layout.masks[c], channels[c])) {
            return false;
        }
    }
    const std::uint64_t pixelRange = layout.bitCount == 16 ? 0xffffu : 0xffffffffu;
    const std::uint32_t red = layout.masks[0], green = layout.masks[1], blue = layout.masks[2];
    if ((red | green | blue) > pixelRange || (red & green) != 0 || (red & blue) != 0 ||
        (green & blue) != 0) {
        return false;
    }
    const std::size_t bytesPerPixel = layout.bitCount / 8;
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t* src = layout.pixels + static_cast<std::size_t>(y) * stride;
        const int row = layout.topDown ? layout.height - 1 - y : y;
        std::uint8_t* dest = out + static_cast<std::size_t>(row) * outStride;
        for (int x = 0; x < layout.width; ++x) {
            const std::uint8_t* p = src + static_cast<std::size_t>(x) * bytesPerPixel;
            const std::uint32_t pixel = bytesPerPixel == 2 ? readU16(p) : readU32(p);
            dest[0] = widen(channels[2], pixel);
            dest[1] = widen(channels[1], pixel);
            dest[2] = widen(channels[0], pixel);
            dest += 3;
        }
    }
    return true;
}

// Run-length data: pairs of (count, value) runs and escapes for end of line, end of picture,
// a jump ahead, and a literal stretch. The picture must end with its end marker; pixels that the
// data jumps over stay black. Some writers let their runs cover the row's padding as if it were
// picture, so pixels past the right edge are dropped, up to the width an uncompressed row would
// be padded to; a pixel beyond that, a pixel above the top row and a jump out of the picture are
// refused.
bool decodeRunLength(const Layout& layout, std::uint8_t* out, std::size_t outStride) {
    const bool fourBit = layout.kind == PixelKind::Rle4;
    const std::uint8_t* p = layout.pixels;
    const std::uint8_t* const end = layout.pixels + layout.pixelBytes;
    const std::size_t paddedWidth =
        storedRowStride(layout.width, layout.bitCount) * 8 / layout.bitCount;
    std::size_t x = 0;
    int y = 0;
    auto put = [&](unsigned index) {
        if (y >= layout.height || index >= layout.paletteCount || x >= paddedWidth) {
            return false;
        }
        if (x >= static_cast<std::size_t>(layout.width)) {
            ++x;
            return true;
        }
        std::uint8_t* dest =
            out + static_cast<std::size_t>(y) * outStride + static_cast<std::size_t>(x) * 3;
        ++x;
        return putIndexed(layout, index, dest);
    };
    while (end - p >= 2) {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                const unsigned index = !fourBit ? value : (i % 2 == 0 ? value >> 4 : value & 15u);
                if (!put(index)) {
                    return false;
                }
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (end - p < 2) {
                return false;
            }
            if ((p[0] != 0 && x + p[0] > static_cast<std::size_t>(layout.width)) ||
                y + p[1] > layout.height) {
                return false;
            }
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            const std::size_t dataBytes = fourBit ? (value + 1) / 2 : value;
            // Literal stretches are padded to a whole number of 16-bit words.
            const std::size_t padded = (dataBytes + 1) & ~std::size_t{1};
            if (static_cast<std::size_t>(end - p) < padded) {
                return false;
            }
            for (unsigned i = 0; i < value; ++i) {
                const unsigned index =
                    !fourBit ? p[i] : (i % 2 == 0 ? p[i / 2] >> 4 : p[i / 2] & 15u);
                if (!put(index)) {
                    return false;
                }
            }
            p += padded;
        }
    }
    return false;
}

} // namespace

std::size_t bitmapRowStride(int width) {
    return storedRowStride(width, 24);
}

bool readBitmap(const std::uint8_t* bytes, std::size_t size, int maxSide, BitmapImage& image) {
    image = BitmapImage{};
    Layout layout;
    if (bytes == nullptr || !parseLayout(bytes, size, maxSide, layout)) {
        return false;
    }
    const std::size_t outStride = bitmapRowStride(layout.width);
    const std::size_t height = static_cast<std::size_t>(layout.height);
    const bool runLength = layout.kind == PixelKind::Rle8 || layout.kind == PixelKind::Rle4;
    const std::size_t stride = storedRowStride(layout.width, layout.bitCount);
    // Some writers leave out the last row's padding; its pixel bytes must all be there. Both
    // factors are capped by the side limit, so the products cannot overflow.
    const std::size_t lastRowBytes = static_cast<std::size_t>(
        (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 7) / 8);
    const bool wholeRows = stride * height <= layout.pixelBytes;
    if (!runLength && stride * (height - 1) + lastRowBytes > layout.pixelBytes) {
        return false;
    }

    // The common case: the file already holds the rows as they are to be uploaded. Without the
    // last row's padding, the upload could read past the file's bytes, so that file is copied.
    if (layout.kind == PixelKind::Bgr24 && !layout.topDown && wholeRows) {
        image.width = layout.width;
        image.height = layout.height;
        image.rows = layout.pixels;
        return true;
    }

    std::vector<std::uint8_t> converted;
    try {
        converted.resize(outStride * height);
    } catch (const std::bad_alloc&) {
        // Out of memory is one more picture that cannot be loaded, not the end of the program.
        return false;
    }
    bool ok = true;
    if (runLength) {
        ok = decodeRunLength(layout, converted.data(), outStride);
    } else if (layout.kind == PixelKind::Packed) {
        ok = decodePackedRows(layout, stride, converted.data(), outStride);
    } else {
        for (std::size_t y = 0; y < height && ok; ++y) {
            const std::uint8_t* src = layout.pixels + y * stride;
            const std::size_t row = layout.topDown ? height - 1 - y : y;
            std::uint8_t* dest = converted.data() + row * outStride;
            if (layout.kind == PixelKind::Bgr24) {
                std::memcpy(dest, src, static_cast<std::size_t>(layout.width) * 3);
            } else {
                ok = decodeIndexedRow(layout, src, dest);
            }
        }
    }
    if (!ok) {
        return false;
    }
    image.width = layout.width;
    image.height = layout.height;
    image.converted = std::move(converted);
    image.rows = image.converted.data();
    return true;
}
