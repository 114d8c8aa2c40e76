#include "robot/robot_pick.h"

#include "robot/body_shape.h"
#include "robot/tree_walk.h"

#include <cassert>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <initializer_list>
#include <limits>

namespace {
constexpr float NO_HIT = std::numeric_limits<float>::infinity();

// A point at parameter t is origin + t * direction: t 0 on the near plane, 1 on the far plane.
struct Ray {
    glm::vec3 origin, direction;
};

// The nearer of the two roots of a t^2 + b t + c = 0 that lies between the near and the far
// plane and passes `inside`, else NO_HIT. Nothing is drawn in front of the near plane or beyond
// the far one, so nothing there is picked.
template <typename Inside> float nearestRoot(float a, float b, float c, Inside inside) {
    const float disc = b * b - 4.0f * a * c;
    if (a == 0.0f || disc < 0.0f) {
        return NO_HIT;
    }
    const float root = std::sqrt(disc);
    for (float t : {(-b - root) / (2.0f * a), (-b + root) / (2.0f * a)}) {
        if (t >= 0.0f && t <= 1.0f && inside(t)) {
            return t;
        }
    }
    return NO_HIT;
}

// The ray in the quadric's own frame, as GLU builds it: a sphere about the origin, or an open
// tube about the z axis from z 0 to its height.
float hitPiece(const ShapePiece& piece, const Ray& ray) {
    const glm::vec3& o = ray.origin;
    const glm::vec3& d = ray.direction;
    const float r = static_cast<float>(piece.radius);
    if (piece.quadric == QuadricKind::Sphere) {
        return nearestRoot(glm::dot(d, d), 2.0f * glm::dot(o, d), glm::dot(o, o) - r * r,
                           [](float) { return true; });
    }
    const float height = static_cast<float>(piece.height);
    const auto along = [&](float t) {
        const float z = o.z + t * d.z;
        return z >= 0.0f && z <= height;
    };
    return nearestRoot(d.x * d.x + d.y * d.y, 2.0f * (o.x * d.x + o.y * d.y),
                       o.x * o.x + o.y * o.y - r * r, along);
}

// The nearest hit on the robot's parts, placed by the same walk and node matrices the drawing
// uses, and each piece by the same steps.
float hitRobot(const Robot& robot, const Ray& ray) {
    float best = NO_HIT;
    walkBodyTree(&robot.nodes[Torso], robotPlacement(robot), 0, [&](const NodeVisit& visit) {
        const auto part = visit.node - robot.nodes;
        assert(part >= 0 && part < BODY_PART_COUNT);
        const PartShape& shape = PART_SHAPES[part];
        for (int k = 0; k < shape.pieceCount; ++k) {
            // An affine map keeps the ray's parameter, so t is comparable across pieces.
            const glm::mat4 toLocal = glm::inverse(visit.world * pieceMatrix(shape.pieces[k]));
            const Ray local = {glm::vec3(toLocal * glm::vec4(ray.origin, 1.0f)),
                               glm::vec3(toLocal * glm::vec4(ray.direction, 0.0f))};
            best = std::fmin(best, hitPiece(shape.pieces[k], local));
        }
    });
    return best;
}
} // namespace

int pickRobot(const Robot (&robotTable)[ROBOT_COUNT], const float (&viewMatrix)[16],
              const float (&projection)[16], int width, int height, float x, float y) {
    if (width <= 0 || height <= 0) {
        return -1;
    }
    const glm::mat4 toWorld = glm::inverse(glm::make_mat4(projection) * glm::make_mat4(viewMatrix));
    // The pixel's centre, on the near and the far plane.
    const float ndcX = 2.0f * (x + 0.5f) / static_cast<float>(width) - 1.0f;
    const float ndcY = 1.0f - 2.0f * (y + 0.5f) / static_cast<float>(height);
    const glm::vec4 nearPoint = toWorld * glm::vec4(ndcX, ndcY, -1.0f, 1.0f);
    const glm::vec4 farPoint = toWorld * glm::vec4(ndcX, ndcY, 1.0f, 1.0f);
    const glm::vec3 origin = glm::vec3(nearPoint) / nearPoint.w;
    const Ray ray = {origin, glm::vec3(farPoint) / farPoint.w - origin};

    int picked = -1;
    float nearest = NO_HIT;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        const float t = hitRobot(robotTable[i], ray);
        if (t < nearest) {
            nearest = t;
            picked = i;
        }
    }
    return picked;
}
