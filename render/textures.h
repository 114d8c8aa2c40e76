// Bitmap textures: the four texture objects read at start-up from the working directory, or
// from the installed data directory for a file the working directory does not have.
// The shell calls loadTextures once with the scene view current; the scene frame binds
// sceneTextures[i] for robot i, and slot 3 for the floor too.
#pragma once

#include <GL/gl.h>

constexpr int TEXTURE_COUNT = 4;

// Zero until loadTextures fills them; every slot gets a fresh name, whether its file loads or not.
extern GLuint sceneTextures[TEXTURE_COUNT];

// Loads the four bitmap files into sceneTextures, prints one line for each that fails, then sets
// the texture environment mode and the perspective-correction hint.
void loadTextures();

// Generates a name into `id`, then reads the bitmap file at `path` (a relative one from the
// working directory) into that texture object, scaled with gluScaleImage where the implementation
// needs power-of-two sides or a side exceeds GL_MAX_TEXTURE_SIZE. False when the file cannot be
// read as a bitmap, memory for it runs out, or OpenGL refuses the image.
bool loadBitmapTexture(const char* path, GLuint& id);
