// Node matrices from joint angles: sign conventions, the two recipes and where a standing
// robot's body ends up in the world.
#include "robot/node_matrix.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

namespace {

glm::mat4 nodeMatrix(const Robot& robot, BodyPart part) {
    return glm::make_mat4(robot.nodes[part].matrix);
}

glm::vec3 transformPoint(const glm::mat4& m, glm::vec3 p) {
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

// Where the node's +y axis (every limb's long axis) points in its parent's frame.
glm::vec3 longAxis(const Robot& robot, BodyPart part) {
    return glm::vec3(nodeMatrix(robot, part)[1]);
}

void expectVecNear(glm::vec3 actual, glm::vec3 expected) {
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(actual[k], expected[k], 1e-5) << "component " << k;
    }
}

Robot robotWithAngles(float angle) {
    Robot robot = makeStartRobot(0);
    for (float& a : robot.angles) {
        a = angle;
    }
    return robot;
}

Robot withMatrices(Robot robot, NodeMatrixVariant variant) {
    computeNodeMatrices(robot, variant);
    return robot;
}

constexpr NodeMatrixVariant BOTH_VARIANTS[] = {NodeMatrixVariant::StartUp, NodeMatrixVariant::Tick};

TEST(NodeMatrix, AllAnglesZeroGiveIdentityTorsoAndLimbsPointingUp) {
    for (NodeMatrixVariant variant : BOTH_VARIANTS) {
        const Robot robot = withMatrices(robotWithAngles(0.0f), variant);
        EXPECT_EQ(nodeMatrix(robot, Torso), glm::mat4(1.0f));
        EXPECT_EQ(nodeMatrix(robot, Head),
                  glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 2.6f, 0.0f)));
        for (BodyPart part : {LeftUpperArm, RightUpperArm, LeftUpperLeg, RightUpperLeg,
                              LeftLowerArm, RightLowerArm, LeftLowerLeg, RightLowerLeg}) {
            expectVecNear(longAxis(robot, part), {0.0f, 1.0f, 0.0f});
        }
    }
}

TEST(NodeMatrix, PitchYawAndRollTurnTheWayTheBodyIsBuilt) {
    struct Case {
        int joint;
        float angle;
        BodyPart part;
        int column; // 1: the node's +y as seen from its parent, 2: its +z
        glm::vec3 expected;
    };
    const Case cases[] = {
        // A limb's long axis: up at 0, +z at 90, down at 180, -z at 270.
        {LeftUpperArmPitch, 90.0f, LeftUpperArm, 1, {0.0f, 0.0f, 1.0f}},
        {RightUpperLegPitch, 270.0f, RightUpperLeg, 1, {0.0f, 0.0f, -1.0f}},
        {LeftLowerLegPitch, 180.0f, LeftLowerLeg, 1, {0.0f, -1.0f, 0.0f}},
        {HeadPitch, 90.0f, Head, 1, {0.0f, 0.0f, 1.0f}},
        // The torso's yaw turns the body's +z toward +x.
        {TorsoYaw, 90.0f, Torso, 2, {1.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "joint " << c.joint << " at " << c.angle);
        Robot robot = robotWithAngles(0.0f);
        robot.angles[c.joint] = c.angle;
        computeNodeMatrices(robot, NodeMatrixVariant::Tick);
        expectVecNear(glm::vec3(nodeMatrix(robot, c.part)[c.column]), c.expected);
    }
}

TEST(NodeMatrix, RollSwingsTheArmSidewaysInsideItsPitchOnlyInTheTickRecipe) {
    struct Case {
        float pitch, roll;
        glm::vec3 tickAxis;
    };
    const Case cases[] = {
        {180.0f, 90.0f, {-1.0f, 0.0f, 0.0f}},
        {180.0f, -90.0f, {1.0f, 0.0f, 0.0f}},
        {90.0f, 90.0f, {-1.0f, 0.0f, 0.0f}},
        {90.0f, -90.0f, {1.0f, 0.0f, 0.0f}},
    };
    const BodyPart arms[] = {LeftUpperArm, RightUpperArm};
    const int pitches[] = {LeftUpperArmPitch, RightUpperArmPitch};
    const int rolls[] = {LeftUpperArmRoll, RightUpperArmRoll};
    for (int side = 0; side < 2; ++side) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "side " << side << " pitch " << c.pitch << " roll " << c.roll);
            Robot unrolled = robotWithAngles(0.0f);
            unrolled.angles[pitches[side]] = c.pitch;
            Robot rolled = unrolled;
            rolled.angles[rolls[side]] = c.roll;

            const Robot startUp = withMatrices(rolled, NodeMatrixVariant::StartUp);
            EXPECT_EQ(nodeMatrix(startUp, arms[side]),
                      nodeMatrix(withMatrices(unrolled, NodeMatrixVariant::StartUp), arms[side]));
            expectVecNear(longAxis(withMatrices(rolled, NodeMatrixVariant::Tick), arms[side]),
                          c.tickAxis);
        }
    }
}

TEST(NodeMatrix, WithoutRollTheRecipesDifferOnlyInWhereTheElbowSits) {
    Robot robot = makeStartRobot(1);
    for (int k = 0; k < JOINT_COUNT; ++k) {
        robot.angles[k] = 7.5f * static_cast<float>(k) - 40.0f;
    }
    robot.angles[LeftUpperArmRoll] = 0.0f;
    robot.angles[RightUpperArmRoll] = 0.0f;
    const Robot startUp = withMatrices(robot, NodeMatrixVariant::StartUp);
    const Robot tick = withMatrices(robot, NodeMatrixVariant::Tick);
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        SCOPED_TRACE(part);
        const bool lowerArm = part == LeftLowerArm || part == RightLowerArm;
        for (int e = 0; e < 16; ++e) {
            if (lowerArm && e == 13) {
                EXPECT_EQ(startUp.nodes[part].matrix[e], 2.6f);
                EXPECT_EQ(tick.nodes[part].matrix[e], 2.0f);
            } else {
                EXPECT_EQ(startUp.nodes[part].matrix[e], tick.nodes[part].matrix[e]) << e;
            }
        }
    }
}

TEST(NodeMatrix, AnglesBeyondOneTurnOrNegativeGiveTheSameMatrix) {
    const Robot reference = withMatrices(robotWithAngles(180.0f), NodeMatrixVariant::Tick);
    for (float angle : {540.0f, -180.0f}) {
        const Robot robot = withMatrices(robotWithAngles(angle), NodeMatrixVariant::Tick);
        for (int part = 0; part < BODY_PART_COUNT; ++part) {
            for (int e = 0; e < 16; ++e) {
                EXPECT_NEAR(robot.nodes[part].matrix[e], reference.nodes[part].matrix[e], 1e-5)
                    << "angle " << angle << " part " << part << " element " << e;
            }
        }
    }
}

// World placement as drawRobot applies it, then the path from the torso down to the part.
glm::mat4 worldMatrix(const Robot& robot, std::initializer_list<BodyPart> path) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::make_vec3(robot.position));
    m = glm::scale(m, glm::make_vec3(ROBOT_SCALE));
    for (BodyPart part : path) {
        m *= nodeMatrix(robot, part);
    }
    return m;
}

class StandingRobot : public testing::TestWithParam<NodeMatrixVariant> {};

TEST_P(StandingRobot, StandsOnTheFloorWithItsHeadTopAt2_16) {
    const Robot robot = withMatrices(makeStartRobot(0), GetParam());
    // The lower-leg tubes end 3 along their +y with radius 0.7; the head's ellipsoid tops out
    // 1.8 above its node (0.6 up, semi-axis 1.2).
    for (BodyPart upper : {LeftUpperLeg, RightUpperLeg}) {
        const BodyPart lower = upper == LeftUpperLeg ? LeftLowerLeg : RightLowerLeg;
        const glm::mat4 m = worldMatrix(robot, {Torso, upper, lower});
        for (int step = 0; step < 8; ++step) {
            const float theta = 0.785398f * static_cast<float>(step);
            const glm::vec3 rim(0.7f * std::cos(theta), 3.0f, 0.7f * std::sin(theta));
            EXPECT_NEAR(transformPoint(m, rim).y, -3.0f, 1e-5) << "rim point " << step;
        }
    }
    const glm::vec3 headTop = transformPoint(worldMatrix(robot, {Torso, Head}), {0.0f, 1.8f, 0.0f});
    expectVecNear(headTop, {-3.0f, 2.16f, -2.0f});
}

INSTANTIATE_TEST_SUITE_P(BothRecipes, StandingRobot, testing::ValuesIn(BOTH_VARIANTS));

} // namespace
