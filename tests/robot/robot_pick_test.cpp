// Picking a robot under a point of the scene view: every piece of every part just inside and
// just outside its outline, the nearer of two robots, the near and far planes, a view without
// pixels. Outlines are found here from the shape table and node matrices by plain geometry.
#include "choreography/show_time.h"
#include "controls/walking_camera.h"
#include "robot/tree_walk.h"
#include "robot/body_shape.h"
#include "robot/robot_pick.h"
#include "tests/support/start_show.h"

#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

namespace {

constexpr int W = 480;
constexpr int H = 400;
// The scene view's frustum at 480 by 400.
constexpr float NEAR = 2.0f;
constexpr float FAR = 40.0f;

// Each part's parent, written out rather than read from the links the walk follows.
constexpr int PARENT[BODY_PART_COUNT] = {
    -1, Torso, Torso, Torso, LeftUpperArm, RightUpperArm, Torso, Torso, LeftUpperLeg, RightUpperLeg,
};

glm::mat4 nodeWorld(const Robot& robot, int part) {
    if (part < 0) {
        return robotPlacement(robot);
    }
    return nodeWorld(robot, PARENT[part]) * glm::make_mat4(robot.nodes[part].matrix);
}

// The distance from the line through a and b to the z axis, seen along z.
float distanceToZAxis(glm::vec3 a, glm::vec3 b) {
    const glm::vec2 p(a), d(glm::vec2(b) - glm::vec2(a));
    if (glm::length(d) == 0.0f) {
        return glm::length(p);
    }
    return std::fabs(p.x * d.y - p.y * d.x) / glm::length(d);
}

float distanceToPoint(glm::vec3 a, glm::vec3 b, glm::vec3 c) {
    return glm::length(glm::cross(c - a, b - a)) / glm::length(b - a);
}

// Whether the line from the eye through a point (both in the piece's frame) surely misses it.
bool surelyMisses(const ShapePiece& piece, glm::vec3 eye, glm::vec3 point) {
    const float r = static_cast<float>(piece.radius);
    if (piece.quadric == QuadricKind::Sphere) {
        return distanceToPoint(eye, point, glm::vec3(0.0f)) > r;
    }
    const float h = static_cast<float>(piece.height);
    return distanceToZAxis(eye, point) > r ||
           distanceToPoint(eye, point, {0.0f, 0.0f, h / 2}) > std::sqrt(r * r + h * h / 4);
}

class RobotPick : public testing::Test {
  protected:
    void SetUp() override {
        // Every robot posed as its letter: limbs raised, bent and turned.
        seekShow(show.robots, show.choreography, show.gaits, 2400);
        const DrawRoutine none[BODY_PART_COUNT] = {};
        for (Robot& robot : show.robots) {
            linkBodyTree(robot, none);
        }
        cameraMatrix(ViewerCamera{}, view);
        setFar(FAR);
    }
    void setFar(float far) {
        const glm::mat4 frustum = glm::frustum(-2.0f, 2.0f, -2.4f, 2.4f, NEAR, far);
        std::memcpy(projection, glm::value_ptr(frustum), sizeof projection);
    }
    // The robot picked where a world point shows.
    int pickAt(const Robot (&table)[ROBOT_COUNT], glm::vec3 world) const {
        const glm::vec3 p = glm::project(world, glm::make_mat4(view), glm::make_mat4(projection),
                                         glm::vec4(0.0f, 0.0f, W, H));
        return pickRobot(table, view, projection, W, H, p.x - 0.5f, H - p.y - 0.5f);
    }
    // A copy of the show's robots, linked to their own nodes.
    void copyRobots(Robot (&table)[ROBOT_COUNT]) const {
        std::memcpy(table, show.robots, sizeof table);
        const DrawRoutine none[BODY_PART_COUNT] = {};
        for (Robot& robot : table) {
            linkBodyTree(robot, none);
        }
    }
    // Robot i alone in view; the others far above.
    void isolate(int i, Robot (&table)[ROBOT_COUNT]) const {
        copyRobots(table);
        for (int k = 0; k < ROBOT_COUNT; ++k) {
            table[k].position[1] += k == i ? 0.0f : 1000.0f;
        }
    }
    Show show = startShow();
    float view[16], projection[16];
};

TEST_F(RobotPick, EveryPieceIsPickedJustInsideItsOutlineAndNothingJustOutside) {
    const glm::vec3 eye(glm::inverse(glm::make_mat4(view))[3]);
    constexpr float MARGIN = 0.05f; // of the radius, along the outline's outward normal
    int outsideChecked = 0;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        Robot table[ROBOT_COUNT];
        isolate(i, table);
        const Robot& robot = table[i];
        for (int part = 0; part < BODY_PART_COUNT; ++part) {
            for (int k = 0; k < PART_SHAPES[part].pieceCount; ++k) {
                SCOPED_TRACE(testing::Message()
                             << "robot " << i << " part " << part << " piece " << k);
                const ShapePiece& piece = PART_SHAPES[part].pieces[k];
                const glm::mat4 toWorld = nodeWorld(robot, part) * pieceMatrix(piece);
                const glm::vec3 e(glm::inverse(toWorld) * glm::vec4(eye, 1.0f));
                const float r = static_cast<float>(piece.radius);
                const bool sphere = piece.quadric == QuadricKind::Sphere;
                // Seen from e, a sphere's outline is the circle of points p with p.(p - e) = 0;
                // a tube's is the two lines whose xy does the same on its circle.
                const glm::vec3 axis = sphere ? e : glm::vec3(e.x, e.y, 0.0f);
                ASSERT_GT(glm::length(axis), r) << "the eye is inside the piece";
                const float reach = glm::length(axis);
                const glm::vec3 centre = axis * (r * r / (reach * reach));
                const float spread = r * std::sqrt(1.0f - r * r / (reach * reach));
                const glm::vec3 u = glm::normalize(
                    glm::cross(axis, glm::vec3(0.0f, 0.0f, 1.0f)) +
                    (sphere ? glm::cross(axis, glm::vec3(1.0f, 0.0f, 0.0f)) : glm::vec3(0.0f)));
                const glm::vec3 v = glm::normalize(glm::cross(axis, u));
                for (int step = 0; step < 8; ++step) {
                    const float angle = 0.785398f * static_cast<float>(step);
                    glm::vec3 p;
                    if (sphere) {
                        p = centre + spread * (std::cos(angle) * u + std::sin(angle) * v);
                    } else {
                        const float h = static_cast<float>(piece.height);
                        p = centre + (step % 2 == 0 ? spread : -spread) * u;
                        p.z = h * (0.2f + 0.6f * static_cast<float>(step / 2) / 3.0f);
                    }
                    const glm::vec3 out = sphere ? p : glm::vec3(p.x, p.y, 0.0f);
                    const glm::vec3 inside = p - MARGIN * out;
                    const glm::vec3 outside = p + MARGIN * out;
                    EXPECT_EQ(pickAt(table, glm::vec3(toWorld * glm::vec4(inside, 1.0f))), i)
                        << "inside, step " << step;
                    // Just outside, expect nothing only where no piece of the robot is surely
                    // in the way.
                    const glm::vec3 world(toWorld * glm::vec4(outside, 1.0f));
                    bool clear = true;
                    for (int q = 0; q < BODY_PART_COUNT; ++q) {
                        for (int n = 0; n < PART_SHAPES[q].pieceCount; ++n) {
                            const ShapePiece& other = PART_SHAPES[q].pieces[n];
                            const glm::mat4 toLocal =
                                glm::inverse(nodeWorld(robot, q) * pieceMatrix(other));
                            clear = clear &&
                                    surelyMisses(other, glm::vec3(toLocal * glm::vec4(eye, 1.0f)),
                                                 glm::vec3(toLocal * glm::vec4(world, 1.0f)));
                        }
                    }
                    if (clear) {
                        ++outsideChecked;
                        EXPECT_EQ(pickAt(table, world), -1) << "outside, step " << step;
                    }
                }
            }
        }
    }
    // Of 4 robots x 11 pieces x 8 points, most outside points are clear of the rest of the body.
    EXPECT_GT(outsideChecked, 150);
}

TEST_F(RobotPick, TheNearerOfTwoRobotsInLineIsPicked) {
    Robot table[ROBOT_COUNT];
    copyRobots(table);
    const glm::vec3 eye(glm::inverse(glm::make_mat4(view))[3]);
    // Robot 3 straight behind robot 1 as the eye sees it, then robot 1 behind robot 3.
    const glm::vec3 front = glm::make_vec3(table[1].position);
    const glm::vec3 behind = eye + (front - eye) * 1.5f;
    std::memcpy(table[3].position, glm::value_ptr(behind), sizeof table[3].position);
    EXPECT_EQ(pickAt(table, front), 1);
    std::memcpy(table[1].position, glm::value_ptr(eye + (front - eye) * 2.0f),
                sizeof table[1].position);
    EXPECT_EQ(pickAt(table, front), 3);
    // Robot 3 a little deeper than robot 1 and to the side, so the line grazes its torso: its
    // back is nearer than robot 1's back, but its front is not nearer than robot 1's front.
    std::memcpy(table[1].position, glm::value_ptr(front), sizeof table[1].position);
    const glm::vec3 along = glm::normalize(front - eye);
    const glm::vec3 side = glm::normalize(glm::cross(along, glm::vec3(0.0f, 1.0f, 0.0f)));
    const glm::vec3 grazing = front + 0.1f * along + 0.27f * side;
    std::memcpy(table[3].position, glm::value_ptr(grazing), sizeof table[3].position);
    // Both standing straight, facing the field's -z.
    for (int i : {1, 3}) {
        std::memcpy(table[i].angles, START_ANGLES, sizeof START_ANGLES);
        computeNodeMatrices(table[i], NodeMatrixVariant::Tick);
    }
    EXPECT_EQ(pickAt(table, front), 1);
    table[1].position[1] += 1000.0f;
    EXPECT_EQ(pickAt(table, front), 3) << "robot 3 is not on the line";
}

TEST_F(RobotPick, NothingIsPickedBeyondTheFarPlaneOrBeforeTheNearPlane) {
    Robot table[ROBOT_COUNT];
    isolate(2, table);
    // Robot 2 at z -10, 15 from the eye: only a far plane beyond it shows it.
    table[2].position[2] = -10.0f;
    const glm::vec3 centre = glm::make_vec3(table[2].position);
    setFar(16.0f);
    EXPECT_EQ(pickAt(table, centre), 2);
    setFar(14.0f);
    EXPECT_EQ(pickAt(table, centre), -1) << "beyond the far plane";
    setFar(FAR);
    // One unit in front of the eye, inside the near distance of 2.
    table[2].position[2] = 4.0f;
    EXPECT_EQ(pickAt(table, glm::make_vec3(table[2].position)), -1) << "before the near plane";
    table[2].position[2] = 2.5f;
    EXPECT_EQ(pickAt(table, glm::make_vec3(table[2].position)), 2) << "just past the near plane";
    // Behind the eye: the point's line through the eye meets the view where it would show.
    table[2].position[2] = 12.0f;
    EXPECT_EQ(pickAt(table, glm::make_vec3(table[2].position)), -1) << "behind the eye";
}

TEST_F(RobotPick, AViewWithoutPixelsPicksNothing) {
    const glm::vec3 centre = glm::make_vec3(show.robots[0].position);
    ASSERT_EQ(pickAt(show.robots, centre), 0);
    const glm::vec3 p = glm::project(centre, glm::make_mat4(view), glm::make_mat4(projection),
                                     glm::vec4(0.0f, 0.0f, W, H));
    // A negative width mirrors the pixel back onto robot 0 unless it is refused.
    const float mirroredX = -p.x - 0.5f;
    const float y = H - p.y - 0.5f;
    EXPECT_EQ(pickRobot(show.robots, view, projection, -W, H, mirroredX, y), -1);
    EXPECT_EQ(pickRobot(show.robots, view, projection, 0, H, p.x, y), -1);
    EXPECT_EQ(pickRobot(show.robots, view, projection, W, 0, p.x, y), -1);
    EXPECT_EQ(pickRobot(show.robots, view, projection, W, -H, p.x, p.y - H - 0.5f), -1);
}

// A standing robot's outline seen square from the front (across is x) and from its right side
// (across is z), in model units before the robot's scale: points just inside and outside.
struct Landmark {
    const char* edge;
    bool fromSide;
    float across, y;   // on the edge
    float dAcross, dy; // outward
};
const Landmark STANDING_OUTLINE[] = {
    {"top of the head", false, 0.0f, 4.4f, 0.0f, 1.0f},
    {"side of the head", false, 0.9f, 3.2f, 1.0f, 0.0f},
    {"top of the shoulders, 1.26 up", false, 1.5f, 1.26f + 0.9f * 0.5527708f, 0.0f, 1.0f},
    {"outside of the upper arm", false, 2.35f, 0.2f, 1.0f, 0.0f},
    {"outside of the lower arm", false, 2.25f, -2.5f, 1.0f, 0.0f},
    {"end of the lower arm", false, 1.85f, -3.0f, 0.0f, -1.0f},
    {"outside of the upper leg", false, 1.75f, -3.7f, 1.0f, 0.0f},
    {"outside of the lower leg", false, 1.65f, -7.5f, 1.0f, 0.0f},
    {"end of the lower leg", false, 0.95f, -8.5f, 0.0f, -1.0f},
    {"front of the head", true, 0.9f, 3.2f, 1.0f, 0.0f},
    {"front of the shoulders", true, 1.2f, 1.26f, 1.0f, 0.0f},
    {"front of the torso", true, 1.05f, 0.0f, 1.0f, 0.0f},
    {"back of the torso", true, -1.05f, 0.0f, -1.0f, 0.0f},
    {"back of the upper leg", true, -1.25f, -3.7f, -1.0f, 0.0f},
    {"back of the lower leg", true, -1.15f, -7.0f, -1.0f, 0.0f},
};

TEST(RobotOutline, AStandingRobotIsPickedInsideEachEdgeOfItsBodyAndNotOutside) {
    // Start angles, StartUp matrices, robot 0 at the origin; the others far away.
    Show show = startShow();
    const DrawRoutine none[BODY_PART_COUNT] = {};
    for (Robot& robot : show.robots) {
        linkBodyTree(robot, none);
        robot.position[1] = 1000.0f;
    }
    std::memset(show.robots[0].position, 0, sizeof show.robots[0].position);
    // Orthographic, 0.01 field units a pixel, from 50 out along +z or +x.
    float projection[16];
    const glm::mat4 square = glm::ortho(-2.0f, 2.0f, -4.0f, 4.0f, 1.0f, 100.0f);
    std::memcpy(projection, glm::value_ptr(square), sizeof projection);
    const glm::vec4 viewport(0.0f, 0.0f, 400.0f, 800.0f);
    const auto pickAt = [&](bool fromSide, glm::vec3 world) {
        const glm::vec3 eye =
            fromSide ? glm::vec3(50.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 0.0f, 50.0f);
        const glm::mat4 look = glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
        float view[16];
        std::memcpy(view, glm::value_ptr(look), sizeof view);
        const glm::vec3 p = glm::project(world, look, square, viewport);
        return pickRobot(show.robots, view, projection, 400, 800, p.x - 0.5f, 800.0f - p.y - 0.5f);
    };
    constexpr float MARGIN = 0.03f;
    for (const Landmark& mark : STANDING_OUTLINE) {
        for (float side : {-1.0f, 1.0f}) {
            SCOPED_TRACE(testing::Message() << mark.edge << (side < 0 ? ", inside" : ", outside"));
            const float across = mark.across + side * MARGIN * mark.dAcross;
            const float y = (mark.y + side * MARGIN * mark.dy) * ROBOT_SCALE[1];
            const glm::vec3 world = mark.fromSide ? glm::vec3(0.0f, y, across * ROBOT_SCALE[2])
                                                  : glm::vec3(across * ROBOT_SCALE[0], y, 0.0f);
            const int picked = pickAt(mark.fromSide, world);
            EXPECT_EQ(picked, side < 0 ? 0 : -1);
            if (!mark.fromSide) {
                EXPECT_EQ(pickAt(false, {-world.x, world.y, 0.0f}), picked) << "the left side";
            }
        }
    }
}

TEST(PieceMatrix, StepsComposeInTheirOrderAsTheGlCallsDo) {
    // The shoulders translate inside their scale: 1.4 lands at 1.26.
    const glm::vec4 shoulders = pieceMatrix(PART_SHAPES[Torso].pieces[1]) * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(shoulders.y, 1.26f, 1e-6f);
    // The upper arm scales about its translated centre: its top is 1.4 + 2.
    const glm::vec4 armTop =
        pieceMatrix(PART_SHAPES[LeftUpperArm].pieces[0]) * glm::vec4(0, 1, 0, 1);
    EXPECT_NEAR(armTop.y, 3.4f, 1e-6f);
    // The lower leg's tube turns from +z onto the node's +y, not -y.
    const glm::vec4 footEnd =
        pieceMatrix(PART_SHAPES[LeftLowerLeg].pieces[0]) * glm::vec4(0, 0, 3, 1);
    EXPECT_NEAR(footEnd.y, 3.0f, 1e-6f);
    EXPECT_NEAR(footEnd.z, 0.0f, 1e-6f);
}

} // namespace
