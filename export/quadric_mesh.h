// Quadric meshes: the triangles that GLU's filled, smooth-shaded, outside-facing sphere and open
// cylinder draw, with the same vertices, normals and texture coordinates, as plain arrays. Pure.
// The scene export turns the body parts and the goal posts into meshes with it.
#pragma once

#include <cstdint>
#include <vector>

struct QuadricMesh {
    std::vector<float> positions; // x, y, z per vertex
    std::vector<float> normals;   // unit, x, y, z per vertex
    std::vector<float> texCoords; // s, t per vertex as GLU gives them (t up); empty when untextured
    std::vector<std::uint16_t> indices; // counter-clockwise triangles, three per triangle
};

// gluSphere(radius, slices, stacks) about the origin, its poles on the z axis: GLU's quad strips
// from +z down, each quad split into two triangles in the strip's own winding. The quads that
// touch a pole have two equal corners; their empty triangle is left out, as GL draws nothing for
// it.
QuadricMesh sphereMesh(double radius, int slices, int stacks, bool textured);

// gluCylinder(radius, radius, height, slices, stacks): open at both ends, along +z from 0.
QuadricMesh tubeMesh(double radius, double height, int slices, int stacks, bool textured);
