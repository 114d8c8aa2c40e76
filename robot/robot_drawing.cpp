#include "robot/robot_drawing.h"

#include "robot/body_node.h"
#include "robot/body_shape.h"
#include "robot/node_matrix.h"
#include "robot/robot_model.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cassert>

namespace {
// One quadric per shape drawn, shared by all four robots, in the order they are created.
enum BodyQuadric : int {
    HeadQuadric,
    TorsoQuadric,
    ShoulderQuadric,
    LeftUpperArmQuadric,
    LeftLowerArmQuadric,
    RightUpperArmQuadric,
    RightLowerArmQuadric,
    LeftUpperLegQuadric,
    LeftLowerLegQuadric,
    RightUpperLegQuadric,
    RightLowerLegQuadric,
};
constexpr int BODY_QUADRIC_COUNT = 11;

GLUquadric* bodyQuadrics[BODY_QUADRIC_COUNT] = {};

// Indexed by BodyPart.
constexpr DrawRoutine SHAPE_ROUTINES[BODY_PART_COUNT] = {
    drawTorso,         drawHead,         drawLeftUpperArm,  drawRightUpperArm, drawLeftLowerArm,
    drawRightLowerArm, drawLeftUpperLeg, drawRightUpperLeg, drawLeftLowerLeg,  drawRightLowerLeg,
};

// Which quadric draws each piece of each part, indexed by BodyPart and piece.
constexpr BodyQuadric PIECE_QUADRICS[BODY_PART_COUNT][2] = {
    {TorsoQuadric, ShoulderQuadric},
    {HeadQuadric, HeadQuadric},
    {LeftUpperArmQuadric, LeftUpperArmQuadric},
    {RightUpperArmQuadric, RightUpperArmQuadric},
    {LeftLowerArmQuadric, LeftLowerArmQuadric},
    {RightLowerArmQuadric, RightLowerArmQuadric},
    {LeftUpperLegQuadric, LeftUpperLegQuadric},
    {RightUpperLegQuadric, RightUpperLegQuadric},
    {LeftLowerLegQuadric, LeftLowerLegQuadric},
    {RightLowerLegQuadric, RightLowerLegQuadric},
};

void applyStep(const ShapeStep& step) {
    switch (step.kind) {
    case ShapeStepKind::Translate:
        glTranslatef(step.x, step.y, step.z);
        break;
    case ShapeStepKind::Scale:
        glScalef(step.x, step.y, step.z);
        break;
    case ShapeStepKind::Rotate:
        glRotatef(step.degrees, step.x, step.y, step.z);
        break;
    }
}

// A quadric that could not be created (out of memory) stays null; its shape is left out.
void drawQuadric(GLUquadric* quadric, const ShapePiece& piece) {
    if (quadric == nullptr) {
        return;
    }
    switch (piece.quadric) {
    case QuadricKind::Sphere:
        gluSphere(quadric, piece.radius, piece.slices, piece.stacks);
        break;
    case QuadricKind::Tube:
        gluCylinder(quadric, piece.radius, piece.radius, piece.height, piece.slices, piece.stacks);
        break;
    }
}

// Each piece under its own push and pop, its steps in the table's order.
template <BodyPart Part> void drawPart() {
    const PartShape& shape = PART_SHAPES[Part];
    for (int k = 0; k < shape.pieceCount; ++k) {
        const ShapePiece& piece = shape.pieces[k];
        glPushMatrix();
        for (int s = 0; s < piece.stepCount; ++s) {
            applyStep(piece.steps[s]);
        }
        drawQuadric(bodyQuadrics[PIECE_QUADRICS[Part][k]], piece);
        glPopMatrix();
    }
}
} // namespace

void drawTorso() {
    drawPart<Torso>();
}

void drawHead() {
    drawPart<Head>();
}

void drawLeftUpperArm() {
    drawPart<LeftUpperArm>();
}

void drawRightUpperArm() {
    drawPart<RightUpperArm>();
}

void drawLeftLowerArm() {
    drawPart<LeftLowerArm>();
}

void drawRightLowerArm() {
    drawPart<RightLowerArm>();
}

void drawLeftUpperLeg() {
    drawPart<LeftUpperLeg>();
}

void drawRightUpperLeg() {
    drawPart<RightUpperLeg>();
}

void drawLeftLowerLeg() {
    drawPart<LeftLowerLeg>();
}

void drawRightLowerLeg() {
    drawPart<RightLowerLeg>();
}

void initRobotBodies() {
    // Each quadric is set up before the next is created; none is ever deleted. A second set-up
    // of the context keeps the quadrics it has instead of losing them.
    for (GLUquadric*& quadric : bodyQuadrics) {
        if (quadric == nullptr) {
            quadric = gluNewQuadric();
        }
        if (quadric != nullptr) {
            gluQuadricDrawStyle(quadric, GLU_FILL);
            gluQuadricTexture(quadric, GL_TRUE);
        }
    }
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        computeNodeMatrices(i, NodeMatrixVariant::StartUp);
        linkBodyTree(robots[i], SHAPE_ROUTINES);
    }
}

namespace {
void placeRobot(const Robot& robot) {
    glTranslatef(robot.position[0], robot.position[1], robot.position[2]);
    // Applied outside the torso's yaw and equal in x and z, so the yaw turns the scaled body
    // without distorting it.
    glScalef(ROBOT_SCALE[0], ROBOT_SCALE[1], ROBOT_SCALE[2]);
}
} // namespace

void drawRobot(int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    glPushMatrix();
    placeRobot(robots[i]);
    drawNodeTree(&robots[i].nodes[Torso]);
    glPopMatrix();
}

void drawAtRobotNodes(int i, DrawRoutine atEachNode) {
    assert(i >= 0 && i < ROBOT_COUNT);
    glPushMatrix();
    placeRobot(robots[i]);
    drawAtEachNode(&robots[i].nodes[Torso], atEachNode);
    glPopMatrix();
}
