#include "common/executable_path.h"

#include <vector>

#include <unistd.h>

std::string executablePath() {
    // The buffer grows until the whole path fits; a path longer than this limit is not worth
    // supporting.
    constexpr std::size_t LIMIT = 1 << 16;
    for (std::size_t size = 256; size <= LIMIT; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), size);
        if (length < 0) {
            return {};
        }
        // readlink writes no terminator and cuts silently: a full buffer may hold part of it.
        if (static_cast<std::size_t>(length) < size) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
    }
    return {};
}
