#include "render/file_bytes.h"

#include <windows.h>

#include <new>
#include <utility>

namespace {

// Closes the handle on every way out of readFileBytes.
struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

// Reads at most this much per call: ReadFile counts in 32 bits.
constexpr DWORD READ_CHUNK = 1u << 30;

} // namespace

bool readFileBytes(const char* path, std::size_t maxBytes, FileBytes& bytes) {
    bytes = FileBytes{};
    // Opening returns at once for every kind of file: a directory fails to open without backup
    // semantics, and a busy pipe fails instead of waiting. The type check below then turns away
    // pipes, consoles and devices before any read.
    const FileHandle file{CreateFileA(path, GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    LARGE_INTEGER size{};
    if (GetFileType(file.handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !GetFileSizeEx(file.handle, &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return false;
    }
    const std::size_t expected = static_cast<std::size_t>(size.QuadPart);
    // Left uninitialised: every byte kept is written by ReadFile. A file too big for the memory
    // left is one that cannot be read, not the end of the program.
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow)
                                             std::uint8_t[expected == 0 ? 1 : expected]);
    if (!data) {
        return false;
    }
    std::size_t got = 0;
    while (got < expected) {
        const std::size_t left = expected - got;
        const DWORD wanted = left < READ_CHUNK ? static_cast<DWORD>(left) : READ_CHUNK;
        DWORD n = 0;
        if (!ReadFile(file.handle, data.get() + got, wanted, &n, nullptr)) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    bytes.data = std::move(data);
    bytes.size = got;
    return true;
}
