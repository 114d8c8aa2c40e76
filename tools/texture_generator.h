// Texture generator: the four bitmap files the program reads at start-up, drawn procedurally and
// identically on every run. make_textures writes them for the desktop program and the tests;
// the web page writes them into its own file system as it starts.
#pragma once

// Writes the four bitmaps into the folder; with keepExisting a picture already there (say one
// dropped in by hand) is left alone. Returns 0, or 1 when a file could not be written.
int writeTextures(const char* folder, bool keepExisting);
