// Texture generator: the four bitmap files the program reads at start-up, drawn procedurally and
// identically on every run, as bytes. Pure. make_textures (tools/) writes them to files for the
// desktop program and the tests; the web page draws them in memory as it starts and hands them
// to the program.
#pragma once

#include <cstdint>
#include <vector>

// The pictures, by number from 0: each one's file name, and the bytes of its bitmap file.
constexpr int GENERATED_TEXTURES = 4;
const char* generatedTextureName(int which);
std::vector<std::uint8_t> generatedTextureBitmap(int which);
