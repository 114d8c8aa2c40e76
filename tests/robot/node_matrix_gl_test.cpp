// Node matrices computed with GLM against the same composition made by OpenGL's own
// glTranslatef/glRotatef on the modelview matrix.
#include "app/shell.h"
#include "robot/node_matrix.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

namespace {

constexpr int NO_JOINT = -1;
constexpr int AXIS_X = 0, AXIS_Y = 1, AXIS_Z = 2;

struct Rotation {
    int joint;
    int axis;
};

// How GL would build one node: glLoadIdentity, glTranslatef(offset), then the rotations in order.
struct GlRecipe {
    BodyPart part;
    float offset[3];
    Rotation rotations[3];
};

// The Tick recipe; StartUp drops the rolls and moves the elbows, below.
constexpr GlRecipe TICK_RECIPE[BODY_PART_COUNT] = {
    {Torso, {0.0f, 0.0f, 0.0f}, {{TorsoYaw, AXIS_Y}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {Head, {0.0f, 2.6f, 0.0f}, {{HeadPitch, AXIS_X}, {HeadYaw, AXIS_Y}, {NO_JOINT, 0}}},
    {LeftUpperArm,
     {-1.85f, 1.6f, 0.0f},
     {{LeftUpperArmPitch, AXIS_X}, {LeftUpperArmRoll, AXIS_Z}, {NO_JOINT, 0}}},
    {RightUpperArm,
     {1.85f, 1.6f, 0.0f},
     {{RightUpperArmPitch, AXIS_X}, {RightUpperArmRoll, AXIS_Z}, {NO_JOINT, 0}}},
    {LeftUpperLeg,
     {-0.95f, -1.6f, -0.45f},
     {{LeftUpperLegPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {RightUpperLeg,
     {0.95f, -1.6f, -0.45f},
     {{RightUpperLegPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {LeftLowerArm, {0.0f, 2.0f, 0.0f}, {{LeftLowerArmPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {RightLowerArm,
     {0.0f, 2.0f, 0.0f},
     {{RightLowerArmPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {LeftLowerLeg, {0.0f, 3.9f, 0.0f}, {{LeftLowerLegPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
    {RightLowerLeg,
     {0.0f, 3.9f, 0.0f},
     {{RightLowerLegPitch, AXIS_X}, {NO_JOINT, 0}, {NO_JOINT, 0}}},
};

GlRecipe recipeFor(int k, NodeMatrixVariant variant) {
    GlRecipe recipe = TICK_RECIPE[k];
    if (variant == NodeMatrixVariant::StartUp) {
        if (recipe.part == LeftUpperArm || recipe.part == RightUpperArm) {
            recipe.rotations[1].joint = NO_JOINT;
        }
        if (recipe.part == LeftLowerArm || recipe.part == RightLowerArm) {
            recipe.offset[1] = 2.6f;
        }
    }
    return recipe;
}

void glComposition(const GlRecipe& recipe, const float* angles, float (&out)[16]) {
    glLoadIdentity();
    glTranslatef(recipe.offset[0], recipe.offset[1], recipe.offset[2]);
    for (const Rotation& r : recipe.rotations) {
        if (r.joint != NO_JOINT) {
            glRotatef(angles[r.joint], r.axis == AXIS_X ? 1.0f : 0.0f,
                      r.axis == AXIS_Y ? 1.0f : 0.0f, r.axis == AXIS_Z ? 1.0f : 0.0f);
        }
    }
    glGetFloatv(GL_MODELVIEW_MATRIX, out);
}

struct AngleSet {
    const char* name;
    float angles[JOINT_COUNT];
};

const AngleSet ANGLE_SETS[] = {
    {"zero", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"quarter", {90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90}},
    {"half", {180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180}},
    {"one and a half", {540, 540, 540, 540, 540, 540, 540, 540, 540, 540, 540, 540, 540}},
    {"minus half", {-180, -180, -180, -180, -180, -180, -180, -180, -180, -180, -180, -180, -180}},
    // A different angle on every joint, so a joint read into the wrong node shows.
    {"all different",
     {12.5f, -33.0f, 71.5f, 225.5f, 8.0f, 134.5f, -47.5f, 199.0f, 90.5f, 160.0f, 3.5f, 25.0f,
      -61.5f}},
    {"a pose", {90, 80, 0, 90, 0, 90, 0, 135, 135, 135, 135, 90, -90}},
};

class NodeMatrixAgainstGl : public testing::TestWithParam<NodeMatrixVariant> {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override {
        glLoadIdentity();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

TEST_P(NodeMatrixAgainstGl, EveryNodeEqualsTheGlComposition) {
    for (const AngleSet& set : ANGLE_SETS) {
        Robot robot = makeStartRobot(2);
        for (int k = 0; k < JOINT_COUNT; ++k) {
            robot.angles[k] = set.angles[k];
        }
        computeNodeMatrices(robot, GetParam());
        for (int k = 0; k < BODY_PART_COUNT; ++k) {
            const GlRecipe recipe = recipeFor(k, GetParam());
            float expected[16];
            glComposition(recipe, robot.angles, expected);
            for (int e = 0; e < 16; ++e) {
                EXPECT_NEAR(robot.nodes[recipe.part].matrix[e], expected[e], 1e-5)
                    << set.name << ", part " << recipe.part << ", element " << e;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothRecipes, NodeMatrixAgainstGl,
                         testing::Values(NodeMatrixVariant::StartUp, NodeMatrixVariant::Tick));

} // namespace
