#include "robot/body_shape.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {
constexpr ShapeStep translate(float x, float y, float z) {
    return {ShapeStepKind::Translate, 0.0f, x, y, z};
}
constexpr ShapeStep scale(float x, float y, float z) {
    return {ShapeStepKind::Scale, 0.0f, x, y, z};
}
constexpr ShapeStep rotate(float degrees, float x, float y, float z) {
    return {ShapeStepKind::Rotate, degrees, x, y, z};
}

// The ellipsoids are unit spheres under a scale; the radii are the GLU calls' double arguments.
constexpr ShapePiece ellipsoid(ShapeStep first, ShapeStep second, int slicesAndStacks) {
    return {2, {first, second}, QuadricKind::Sphere, 1.0, 0.0, slicesAndStacks, slicesAndStacks};
}
constexpr ShapePiece ellipsoid(ShapeStep only, int slicesAndStacks) {
    return {1, {only, {}}, QuadricKind::Sphere, 1.0, 0.0, slicesAndStacks, slicesAndStacks};
}
// gluCylinder builds along +z; the turn makes the tube run along the node's +y like every part.
constexpr ShapePiece tube(double radius, double height) {
    return {1, {rotate(-90.0f, 1.0f, 0.0f, 0.0f), {}}, QuadricKind::Tube, radius, height, 10, 10};
}

constexpr PartShape UPPER_ARM = {
    1, {ellipsoid(translate(0.0f, 1.4f, 0.0f), scale(0.5f, 2.0f, 0.5f), 5)}};
constexpr PartShape LOWER_ARM = {1, {tube(0.4, 2.0)}};
constexpr PartShape UPPER_LEG = {
    1, {ellipsoid(translate(0.0f, 2.1f, 0.0f), scale(0.8f, 3.0f, 0.8f), 5)}};
constexpr PartShape LOWER_LEG = {1, {tube(0.7, 3.0)}};
} // namespace

const PartShape PART_SHAPES[BODY_PART_COUNT] = {
    // Torso, then its shoulders: their translation sits inside their scale, so their centre
    // lands at 1.4 * 0.9 = 1.26.
    {2,
     {ellipsoid(scale(1.5f, 2.0f, 1.05f), 10),
      ellipsoid(scale(1.8f, 0.9f, 1.2f), translate(0.0f, 1.4f, 0.0f), 10)}},
    {1, {ellipsoid(translate(0.0f, 0.6f, 0.0f), scale(0.9f, 1.2f, 0.9f), 10)}},
    UPPER_ARM,
    UPPER_ARM,
    LOWER_ARM,
    LOWER_ARM,
    UPPER_LEG,
    UPPER_LEG,
    LOWER_LEG,
    LOWER_LEG,
};

glm::mat4 pieceMatrix(const ShapePiece& piece) {
    // glm::translate, glm::scale and glm::rotate post-multiply, as the GL calls do.
    glm::mat4 m(1.0f);
    for (int k = 0; k < piece.stepCount; ++k) {
        const ShapeStep& s = piece.steps[k];
        const glm::vec3 v(s.x, s.y, s.z);
        switch (s.kind) {
        case ShapeStepKind::Translate:
            m = glm::translate(m, v);
            break;
        case ShapeStepKind::Scale:
            m = glm::scale(m, v);
            break;
        case ShapeStepKind::Rotate:
            m = glm::rotate(m, glm::radians(s.degrees), v);
            break;
        }
    }
    return m;
}
