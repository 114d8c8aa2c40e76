// Texture generator: the four bitmap files the program reads at start-up, drawn procedurally and
// identically on every run. make_textures writes them for the desktop program and the tests;
// the web page draws them in memory as it starts and hands them to the program.
#pragma once

#include <cstdint>
#include <vector>

// The pictures, by number from 0: each one's file name, and the bytes of its bitmap file.
constexpr int GENERATED_TEXTURES = 4;
const char* generatedTextureName(int which);
std::vector<std::uint8_t> generatedTextureBitmap(int which);

// Writes the four bitmaps into the folder; with keepExisting a picture already there (say one
// dropped in by hand) is left alone. Returns 0, or 1 when a file could not be written.
int writeTextures(const char* folder, bool keepExisting);
