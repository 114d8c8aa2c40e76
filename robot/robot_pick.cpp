#include "robot/robot_pick.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/mat4x4.hpp>
#include <initializer_list>
#include <limits>

namespace {
// The parts' shapes in their node's frame, as robot_drawing draws them: ellipsoids (a scaled
// unit sphere) and open tubes along +y from the joint.
struct Ellipsoid {
    glm::vec3 centre, semiAxes;
};
struct Tube {
    float radius, height;
};
struct PartShape {
    int ellipsoidCount;
    Ellipsoid ellipsoids[2];
    Tube tube; // height 0: none
};
const PartShape UPPER_ARM = {1, {{{0.0f, 1.4f, 0.0f}, {0.5f, 2.0f, 0.5f}}}, {}};
const PartShape LOWER_ARM = {0, {}, {0.4f, 2.0f}};
const PartShape UPPER_LEG = {1, {{{0.0f, 2.1f, 0.0f}, {0.8f, 3.0f, 0.8f}}}, {}};
const PartShape LOWER_LEG = {0, {}, {0.7f, 3.0f}};
// Indexed by BodyPart. The torso's shoulders sit at 1.26: their translation is inside the scale.
const PartShape PART_SHAPES[BODY_PART_COUNT] = {
    {2, {{{0.0f, 0.0f, 0.0f}, {1.5f, 2.0f, 1.05f}}, {{0.0f, 1.26f, 0.0f}, {1.8f, 0.9f, 1.2f}}}, {}},
    {1, {{{0.0f, 0.6f, 0.0f}, {0.9f, 1.2f, 0.9f}}}, {}},
    UPPER_ARM,
    UPPER_ARM,
    LOWER_ARM,
    LOWER_ARM,
    UPPER_LEG,
    UPPER_LEG,
    LOWER_LEG,
    LOWER_LEG,
};

constexpr float NO_HIT = std::numeric_limits<float>::infinity();

struct Ray {
    glm::vec3 origin, direction; // a point at parameter t is origin + t * direction
};

// The nearer of the two roots of a t^2 + b t + c = 0 that is not behind the eye and passes
// `inside`, else NO_HIT.
template <typename Inside> float nearestRoot(float a, float b, float c, Inside inside) {
    const float disc = b * b - 4.0f * a * c;
    if (a == 0.0f || disc < 0.0f) {
        return NO_HIT;
    }
    const float root = std::sqrt(disc);
    for (float t : {(-b - root) / (2.0f * a), (-b + root) / (2.0f * a)}) {
        if (t >= 0.0f && inside(t)) {
            return t;
        }
    }
    return NO_HIT;
}

float hitShape(const PartShape& shape, const Ray& ray) {
    float best = NO_HIT;
    for (int k = 0; k < shape.ellipsoidCount; ++k) {
        const Ellipsoid& e = shape.ellipsoids[k];
        const glm::vec3 o = (ray.origin - e.centre) / e.semiAxes;
        const glm::vec3 d = ray.direction / e.semiAxes;
        best = std::fmin(best, nearestRoot(glm::dot(d, d), 2.0f * glm::dot(o, d),
                                           glm::dot(o, o) - 1.0f, [](float) { return true; }));
    }
    if (shape.tube.height > 0.0f) {
        const glm::vec3& o = ray.origin;
        const glm::vec3& d = ray.direction;
        const float r = shape.tube.radius;
        const auto along = [&](float t) {
            const float y = o.y + t * d.y;
            return y >= 0.0f && y <= shape.tube.height;
        };
        best = std::fmin(best, nearestRoot(d.x * d.x + d.z * d.z, 2.0f * (o.x * d.x + o.z * d.z),
                                           o.x * o.x + o.z * o.z - r * r, along));
    }
    return best;
}

// Walks the tree by its links as the drawing does, each node under its parent's matrix.
float hitTree(const Robot& robot, const BodyNode* node, const glm::mat4& parent, const Ray& ray) {
    float best = NO_HIT;
    for (; node != nullptr; node = node->sibling) {
        const glm::mat4 m = parent * glm::make_mat4(node->matrix);
        const glm::mat4 toLocal = glm::inverse(m);
        const Ray local = {glm::vec3(toLocal * glm::vec4(ray.origin, 1.0f)),
                           glm::vec3(toLocal * glm::vec4(ray.direction, 0.0f))};
        best = std::fmin(best, hitShape(PART_SHAPES[node - robot.nodes], local));
        best = std::fmin(best, hitTree(robot, node->child, m, ray));
    }
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
        const Robot& robot = robotTable[i];
        glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::make_vec3(robot.position));
        placed = glm::scale(placed, glm::make_vec3(ROBOT_SCALE));
        const float t = hitTree(robot, &robot.nodes[Torso], placed, ray);
        if (t < nearest) {
            nearest = t;
            picked = i;
        }
    }
    return picked;
}
