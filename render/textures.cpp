#include "render/textures.h"

#include "common/console.h"
#include "common/executable_path.h"
#include "render/bitmap_reader.h"
#include "render/file_bytes.h"
#include "render/texture_path.h"
#include "render/texture_size.h"

#include <GL/glu.h>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

GLuint sceneTextures[TEXTURE_COUNT] = {0, 0, 0, 0};

namespace {

struct TextureFile {
    const char* name;
    const char* failureLine;
};

constexpr TextureFile TEXTURE_FILES[TEXTURE_COUNT] = {
    {"corrigatedIronTexture.bmp", "failed to load bitmap for wall texture"},
    {"leopard.bmp", "failed to load bitmap for oksa texture"},
    {"concrete.bmp", "failed to load bitmap for ceiling texture"},
    {"grass.bmp", "failed to load bitmap for grass texture"},
};

// The largest bitmap file worth reading: a 32-bit picture of the most pixels the reader takes,
// with room for the longest header and palette.
constexpr std::size_t MAX_FILE_BYTES = static_cast<std::size_t>(BITMAP_MAX_PIXELS) * 4 + 65536;

// glGetError reports one flag per call; a few calls clear whatever earlier code left behind.
void clearGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// Whether anything is under this name in the working directory: a file, a directory, even a link
// that leads nowhere. The user put it there, so a failure to load it is theirs to hear about.
bool inWorkingDir(const char* name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(name, error));
}

const char* glString(GLenum name) {
    return reinterpret_cast<const char*>(glGetString(name));
}

} // namespace

bool loadBitmapTexture(const char* path, GLuint& id) {
    glGenTextures(1, &id);

    FileBytes file;
    BitmapImage image;
    if (!readFileBytes(path, MAX_FILE_BYTES, file) ||
        !readBitmap(file.data.get(), file.size, BITMAP_MAX_SIDE, image)) {
        return false;
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    const TextureSize size =
        uploadSize(image.width, image.height,
                   needsPowerOfTwoSides(glString(GL_VERSION), glString(GL_EXTENSIONS)),
                   std::max(maxTextureSize, 1));
    // A picture the implementation takes as it is goes up straight from the decoded rows.
    const std::uint8_t* pixels = image.rows;
    std::unique_ptr<std::uint8_t[]> scaled;
    if (size.width != image.width || size.height != image.height) {
        scaled.reset(
            new (std::nothrow)
                std::uint8_t[bitmapRowStride(size.width) * static_cast<std::size_t>(size.height)]);
        // gluScaleImage lays out its output by the pack alignment, its input by the unpack one.
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        if (!scaled ||
            gluScaleImage(GL_BGR_EXT, image.width, image.height, GL_UNSIGNED_BYTE, image.rows,
                          size.width, size.height, GL_UNSIGNED_BYTE, scaled.get()) != 0) {
            return false;
        }
        pixels = scaled.get();
    }
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Only this upload's verdict counts, so older errors are cleared first.
    clearGlErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, 3, size.width, size.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 pixels);
    if (glGetError() != GL_NO_ERROR) {
        // An image OpenGL refused leaves the texture without one: report it like a bad file.
        glBindTexture(GL_TEXTURE_2D, 0);
        return false;
    }
    return true;
}

void loadTextures() {
    // A build-tree program has no data directory there, so it reads the working directory only.
    const std::string dataDir = installedDataDir(executablePath(), CHEER_DATA_FROM_BINDIR);
    for (int slot = 0; slot < TEXTURE_COUNT; ++slot) {
        const char* name = TEXTURE_FILES[slot].name;
        const std::string path = texturePath(name, inWorkingDir(name), dataDir);
        if (!loadBitmapTexture(path.c_str(), sceneTextures[slot])) {
            printLine(TEXTURE_FILES[slot].failureLine);
        }
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}
