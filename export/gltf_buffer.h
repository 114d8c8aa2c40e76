// glTF buffer: the one binary buffer of an exported file and the views and accessors that point
// into it. Pure. The scene and animation export add their arrays through it.
#pragma once

#include <cstdint>
#include <tiny_gltf.h>
#include <vector>

// Appends the bytes as a new buffer view, started on a four-byte boundary; target 0 for none.
int addBufferView(tinygltf::Model& model, const void* bytes, std::size_t size, int target);

// Float vectors of `width` components (1 SCALAR, 2 VEC2, 3 VEC3, 4 VEC4), with each component's
// least and greatest value recorded, as positions and animation times must have them.
int addFloatAccessor(tinygltf::Model& model, const std::vector<float>& values, int width,
                     int target);

// Triangle or line corner indices.
int addIndexAccessor(tinygltf::Model& model, const std::vector<std::uint16_t>& indices);
