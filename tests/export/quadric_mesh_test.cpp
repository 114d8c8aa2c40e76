#include "export/quadric_mesh.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
struct Vec {
    float x, y, z;
};
Vec at(const std::vector<float>& v, std::size_t i) {
    return {v[3 * i], v[3 * i + 1], v[3 * i + 2]};
}
Vec minus(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Every triangle is wound counter-clockwise seen from outside, where its corners' normals point.
void expectOutwardWinding(const QuadricMesh& mesh) {
    ASSERT_EQ(mesh.indices.size() % 3, 0u);
    for (std::size_t k = 0; k < mesh.indices.size(); k += 3) {
        const Vec a = at(mesh.positions, mesh.indices[k]);
        const Vec b = at(mesh.positions, mesh.indices[k + 1]);
        const Vec c = at(mesh.positions, mesh.indices[k + 2]);
        const Vec face = cross(minus(b, a), minus(c, a));
        EXPECT_GT(dot(face, at(mesh.normals, mesh.indices[k])), 0.0f) << "triangle " << k / 3;
    }
}
} // namespace

TEST(QuadricMesh, SphereVerticesLieOnItWithOutwardNormalsAndGlusTexture) {
    const QuadricMesh sphere = sphereMesh(2.0, 10, 5, true);
    // Five strips of eleven vertex pairs; each pole's ten quads lose their empty triangle.
    ASSERT_EQ(sphere.positions.size(), 3u * 5 * 22);
    EXPECT_EQ(sphere.indices.size(), 3u * (5 * 20 - 20));
    for (std::size_t i = 0; i < sphere.positions.size() / 3; ++i) {
        const Vec p = at(sphere.positions, i);
        const Vec n = at(sphere.normals, i);
        EXPECT_NEAR(std::sqrt(dot(n, n)), 1.0f, 1e-6f);
        EXPECT_NEAR(p.x, 2.0f * n.x, 1e-6f);
        EXPECT_NEAR(p.y, 2.0f * n.y, 1e-6f);
        EXPECT_NEAR(p.z, 2.0f * n.z, 1e-6f);
    }
    // The first pair: the lower ring's vertex, then the pole, at s = 1 (slice 0); t falls from
    // 1 at +z to 0 at -z.
    EXPECT_EQ(sphere.positions[2 + 3], 2.0f);
    EXPECT_LT(sphere.positions[2], 2.0f);
    EXPECT_EQ(sphere.texCoords[0], 1.0f);
    EXPECT_FLOAT_EQ(sphere.texCoords[1], 0.8f);
    EXPECT_EQ(sphere.texCoords[3], 1.0f);
    // The last pair: the -z pole at t = 0, then the ring above it, both at s = 0 (slice 10).
    EXPECT_EQ(sphere.texCoords[sphere.texCoords.size() - 3], 0.0f);
    EXPECT_FLOAT_EQ(sphere.texCoords.back(), 0.2f);
    EXPECT_EQ(sphere.texCoords[sphere.texCoords.size() - 2], 0.0f);
    // Slice 0 lies along +y, slice i at i tenths of a turn toward +x.
    EXPECT_NEAR(sphere.positions[0], 0.0f, 1e-6f);
    EXPECT_GT(sphere.positions[1], 0.0f);
    EXPECT_GT(sphere.positions[3 * 2], 0.0f);
    expectOutwardWinding(sphere);
}

TEST(QuadricMesh, TubeRunsAlongZWithFlatNormalsAndTheStacksTexture) {
    const QuadricMesh tube = tubeMesh(0.5, 3.0, 8, 3, true);
    ASSERT_EQ(tube.positions.size(), 3u * 3 * 18);
    EXPECT_EQ(tube.indices.size(), 3u * 3 * 16);
    for (std::size_t i = 0; i < tube.positions.size() / 3; ++i) {
        const Vec p = at(tube.positions, i);
        const Vec n = at(tube.normals, i);
        EXPECT_EQ(n.z, 0.0f);
        EXPECT_NEAR(p.x, 0.5f * n.x, 1e-6f);
        EXPECT_NEAR(p.y, 0.5f * n.y, 1e-6f);
        EXPECT_GE(p.z, 0.0f);
        EXPECT_LE(p.z, 3.0f);
    }
    // Each pair: height j, then j + 1; t is the height's share, s falls with the slice.
    EXPECT_EQ(tube.positions[2], 0.0f);
    EXPECT_EQ(tube.positions[5], 1.0f);
    EXPECT_EQ(tube.positions.back(), 3.0f);
    EXPECT_EQ(tube.texCoords[1], 0.0f);
    EXPECT_FLOAT_EQ(tube.texCoords[3], 1.0f / 3.0f);
    EXPECT_EQ(tube.texCoords[4], 1.0f - 1.0f / 8.0f);
    expectOutwardWinding(tube);
    EXPECT_TRUE(tubeMesh(0.1, 2.0, 10, 10, false).texCoords.empty());
}
