// Texture path: which file a texture is read from. The working directory comes first, so a user
// overrides a texture by dropping a file there; the installed data directory, found from the
// executable's own place, serves the rest. Pure path arithmetic; textures.cpp asks the system.
#pragma once

#include <string>

// The data directory of an installed program: `relativeDataDir` (for instance
// "../share/games/cheerleaders") taken from the folder that holds the executable, so that a
// relocated install still finds its data. Empty when the executable's path is unknown.
std::string installedDataDir(const std::string& executablePath, const std::string& relativeDataDir);

// The path to read the texture file `name` from. Anything under that name in the working
// directory wins, even a file that will not load, so its failure is reported rather than
// quietly replaced; otherwise the file in `dataDir`. With no data directory the name stays
// relative to the working directory.
std::string texturePath(const std::string& name, bool inWorkingDir, const std::string& dataDir);
