// The glTF library's and the PNG writer's own code, compiled once here. The scene is written
// from memory and read back from memory: no file system calls and no image decoding of theirs.
#define TINYGLTF_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
// The library's writer names std::ofstream even when it is kept off the file system.
#include <fstream>
#include <stb/stb_image_write.h>
#include <tiny_gltf.h>
