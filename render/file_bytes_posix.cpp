#include "render/file_bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Closes the descriptor on every way out of readFileBytes.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

} // namespace

bool readFileBytes(const char* path, std::size_t maxBytes, FileBytes& bytes) {
    bytes = FileBytes{};
    // Non-blocking so that opening a FIFO with no writer returns at once; the type check below
    // then turns it away before any read.
    const OpenFile file{open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        return false;
    }
    struct stat status {};
    if (fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
        static_cast<std::uint64_t>(status.st_size) > maxBytes) {
        return false;
    }
    const std::size_t expected = static_cast<std::size_t>(status.st_size);
    // Left uninitialised: every byte kept is written by read. A file too big for the memory
    // left is one that cannot be read, not the end of the program.
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow)
                                             std::uint8_t[expected == 0 ? 1 : expected]);
    if (!data) {
        return false;
    }
    std::size_t got = 0;
    while (got < expected) {
        const ssize_t n = read(file.fd, data.get() + got, expected - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.data = std::move(data);
    bytes.size = got;
    return true;
}
