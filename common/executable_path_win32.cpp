#include "common/executable_path.h"

#include <vector>

#include <windows.h>

std::string executablePath() {
    // The buffer grows until the whole path fits; a path longer than this limit is not worth
    // supporting.
    constexpr std::size_t LIMIT = 1 << 16;
    for (std::size_t size = 256; size <= LIMIT; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(size));
        if (length == 0) {
            return {};
        }
        // A path that filled the buffer may have been cut short.
        if (length < size) {
            return std::string(buffer.data(), length);
        }
    }
    return {};
}
