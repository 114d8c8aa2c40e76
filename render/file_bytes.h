// File bytes: reads a whole regular file into memory for the bitmap reader.
// The platform's own file calls (POSIX, or the Windows API), no GL. Used by the texture loader
// and the bitmap benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};

// Reads the file at `path` into `bytes`. Fails at once, without blocking, for anything that is
// not a regular file (a directory, a FIFO, a device, a dangling link), and fails for a file
// larger than `maxBytes`, one that cannot be read and one the memory left cannot hold. A file that
// shrinks while it is read gives the bytes that were there; one that grows gives the size it had
// when opened.
bool readFileBytes(const char* path, std::size_t maxBytes, FileBytes& bytes);
