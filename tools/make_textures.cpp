// Writes the four default texture bitmaps into the folder given on the command line.
// Usage: make_textures [--keep-existing] FOLDER
#include "render/texture_generator.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Writes the four bitmaps into the folder; with keepExisting a picture already there (say one
// dropped in by hand) is left alone. Returns 0, or 1 when a file could not be written.
int writeTextures(const char* folder, bool keepExisting) {
    int status = 0;
    for (int which = 0; which < GENERATED_TEXTURES; ++which) {
        const std::string path = std::string(folder) + "/" + generatedTextureName(which);
        struct stat existing {};
        if (keepExisting && stat(path.c_str(), &existing) == 0) {
            continue;
        }
        if (!writeFile(path, generatedTextureBitmap(which))) {
            std::fprintf(stderr, "make_textures: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    bool keepExisting = false;
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep-existing") == 0) {
            keepExisting = true;
        } else {
            folder = argv[i];
        }
    }
    if (folder == nullptr) {
        std::fprintf(stderr, "usage: make_textures [--keep-existing] FOLDER\n");
        return 2;
    }
    return writeTextures(folder, keepExisting);
}
