// Texture size: the size a decoded picture is uploaded at, for what the GL implementation takes.
// Pure arithmetic, no GL. loadBitmapTexture asks it before each upload and scales the picture
// with gluScaleImage only when the answer differs from the picture's own size.
#pragma once

struct TextureSize {
    int width = 0;
    int height = 0;
};

// True when the implementation takes only power-of-two sides: `version` (GL_VERSION,
// "major.minor ...") is below 2.0 and `extensions` (GL_EXTENSIONS, names separated by spaces)
// lacks GL_ARB_texture_non_power_of_two. A missing string counts as the least that GL offers.
bool needsPowerOfTwoSides(const char* version, const char* extensions);

// The size to upload a `width` x `height` picture at: with `powerOfTwo`, each side goes to the
// nearest power of two (upward on a tie); a side above `maxSide` (GL_MAX_TEXTURE_SIZE, at least
// 1) comes down to it, or with `powerOfTwo` to the largest power of two within it. A side that
// needs neither stays as it is, and then the picture goes up without a copy.
TextureSize uploadSize(int width, int height, bool powerOfTwo, int maxSide);
