#include "export/quadric_mesh.h"

#include <cassert>
#include <cmath>

namespace {
constexpr double PI = 3.14159265358979323846;

// GLU keeps its angles and its sine and cosine tables in single precision.
struct Ring {
    std::vector<float> sine, cosine; // slices + 1 entries, the last equal to the first
};

Ring sliceRing(int slices) {
    Ring ring;
    for (int i = 0; i < slices; ++i) {
        const auto angle = static_cast<float>(2.0 * PI * i / slices);
        ring.sine.push_back(static_cast<float>(std::sin(angle)));
        ring.cosine.push_back(static_cast<float>(std::cos(angle)));
    }
    ring.sine.push_back(ring.sine[0]);
    ring.cosine.push_back(ring.cosine[0]);
    return ring;
}

void addVertex(QuadricMesh& mesh, float x, float y, float z, float nx, float ny, float nz) {
    mesh.positions.insert(mesh.positions.end(), {x, y, z});
    mesh.normals.insert(mesh.normals.end(), {nx, ny, nz});
}

bool samePosition(const QuadricMesh& mesh, std::uint16_t a, std::uint16_t b) {
    for (int k = 0; k < 3; ++k) {
        if (mesh.positions[3u * a + static_cast<unsigned>(k)] !=
            mesh.positions[3u * b + static_cast<unsigned>(k)]) {
            return false;
        }
    }
    return true;
}

void addTriangle(QuadricMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    if (samePosition(mesh, a, b) || samePosition(mesh, b, c) || samePosition(mesh, a, c)) {
        return;
    }
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
}

// A quad strip of `pairs` vertex pairs starting at vertex `first`: the quad (2k, 2k+1, 2k+3,
// 2k+2) is drawn with that winding, so it becomes the triangles (2k, 2k+1, 2k+3), (2k, 2k+3, 2k+2).
void stripTriangles(QuadricMesh& mesh, std::size_t first, int pairs) {
    assert(mesh.positions.size() / 3 <= 65536);
    for (int k = 0; k + 1 < pairs; ++k) {
        const auto v = static_cast<std::uint16_t>(first + 2u * static_cast<unsigned>(k));
        const auto v1 = static_cast<std::uint16_t>(v + 1);
        const auto v2 = static_cast<std::uint16_t>(v + 2);
        const auto v3 = static_cast<std::uint16_t>(v + 3);
        addTriangle(mesh, v, v1, v3);
        addTriangle(mesh, v, v3, v2);
    }
}
} // namespace

QuadricMesh sphereMesh(double radius, int slices, int stacks, bool textured) {
    const Ring ring = sliceRing(slices);
    std::vector<float> stackSine, stackCosine, ringRadius, ringHeight;
    for (int j = 0; j <= stacks; ++j) {
        const auto angle = static_cast<float>(PI * j / stacks);
        stackSine.push_back(static_cast<float>(std::sin(angle)));
        stackCosine.push_back(static_cast<float>(std::cos(angle)));
        ringRadius.push_back(static_cast<float>(radius * std::sin(angle)));
        ringHeight.push_back(static_cast<float>(radius * std::cos(angle)));
    }
    // So that the sphere comes to a point at each pole.
    ringRadius[0] = 0.0f;
    ringRadius[static_cast<std::size_t>(stacks)] = 0.0f;

    QuadricMesh mesh;
    for (std::size_t j = 0; j < static_cast<std::size_t>(stacks); ++j) {
        const std::size_t first = mesh.positions.size() / 3;
        for (std::size_t i = 0; i <= static_cast<std::size_t>(slices); ++i) {
            // Each pair: the vertex on the lower ring (j + 1) first, then the one on ring j.
            for (const std::size_t r : {j + 1, j}) {
                addVertex(mesh, ringRadius[r] * ring.sine[i], ringRadius[r] * ring.cosine[i],
                          ringHeight[r], ring.sine[i] * stackSine[r], ring.cosine[i] * stackSine[r],
                          stackCosine[r]);
                if (textured) {
                    mesh.texCoords.push_back(1.0f -
                                             static_cast<float>(i) / static_cast<float>(slices));
                    mesh.texCoords.push_back(1.0f -
                                             static_cast<float>(r) / static_cast<float>(stacks));
                }
            }
        }
        stripTriangles(mesh, first, slices + 1);
    }
    return mesh;
}

QuadricMesh tubeMesh(double radius, double height, int slices, int stacks, bool textured) {
    const Ring ring = sliceRing(slices);
    const auto r = static_cast<float>(radius);
    QuadricMesh mesh;
    for (int j = 0; j < stacks; ++j) {
        const std::size_t first = mesh.positions.size() / 3;
        for (std::size_t i = 0; i <= static_cast<std::size_t>(slices); ++i) {
            // Each pair: the vertex at height j first, then the one at j + 1.
            for (const int level : {j, j + 1}) {
                const auto z = static_cast<float>(level * height / stacks);
                // Equal radii: the normals lie flat, straight out from the axis.
                addVertex(mesh, r * ring.sine[i], r * ring.cosine[i], z, ring.sine[i],
                          ring.cosine[i], 0.0f);
                if (textured) {
                    mesh.texCoords.push_back(1.0f -
                                             static_cast<float>(i) / static_cast<float>(slices));
                    mesh.texCoords.push_back(static_cast<float>(level) /
                                             static_cast<float>(stacks));
                }
            }
        }
        stripTriangles(mesh, first, slices + 1);
    }
    return mesh;
}
