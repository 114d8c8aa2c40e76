// Scene export: the field, the four robots and the whole built-in show as one binary glTF file,
// built with the glTF library and written without a window. Pure. `--export-gltf FILE.glb`
// writes it; its tests read it back with the same library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Names of a robot's placement node ("robot2") and of its joint nodes ("robot2_left_upper_arm").
std::string robotNodeName(int robot);
std::string jointNodeName(int robot, int jointNode);

// The file's bytes, the same on every run.
std::vector<std::uint8_t> showGlb();

// Writes showGlb() to `path`; false, with a line that says why in `error`, when it cannot.
bool writeShowGlb(const std::string& path, std::string& error);
