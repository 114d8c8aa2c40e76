// File export: the show being played written to the file --export-gltf names, as binary glTF.
// Where the program writes files of its own (the desktop) this is the scene export; the page has
// no command line, and its program carries no exporter. Returns the exit status: 0 written, 1
// not, with one line on standard error that says why.
#pragma once

#include <string>

int exportShowFile(const std::string& path);
