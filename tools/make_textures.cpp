// Writes the four default texture bitmaps into the folder given on the command line.
// Usage: make_textures [--keep-existing] FOLDER
#include "tools/texture_generator.h"

#include <cstdio>
#include <cstring>

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
