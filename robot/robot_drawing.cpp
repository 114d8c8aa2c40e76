#include "robot/robot_drawing.h"

#include "robot/body_node.h"
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

// A quadric that could not be created (out of memory) stays null; its shape is left out.
void sphere(GLUquadric* quadric, GLint slicesAndStacks) {
    if (quadric != nullptr) {
        gluSphere(quadric, 1.0, slicesAndStacks, slicesAndStacks);
    }
}

void tube(GLUquadric* quadric, GLdouble radius, GLdouble height) {
    if (quadric != nullptr) {
        gluCylinder(quadric, radius, radius, height, 10, 10);
    }
}

void drawUpperArm(GLUquadric* quadric) {
    glPushMatrix();
    glTranslatef(0.0f, 1.4f, 0.0f);
    glScalef(0.5f, 2.0f, 0.5f);
    sphere(quadric, 5);
    glPopMatrix();
}

// gluCylinder builds along +z; the turn makes the tube run along the node's +y like every part.
void drawLowerArm(GLUquadric* quadric) {
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    tube(quadric, 0.4, 2.0);
    glPopMatrix();
}

void drawUpperLeg(GLUquadric* quadric) {
    glPushMatrix();
    glTranslatef(0.0f, 2.1f, 0.0f);
    glScalef(0.8f, 3.0f, 0.8f);
    sphere(quadric, 5);
    glPopMatrix();
}

void drawLowerLeg(GLUquadric* quadric) {
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    tube(quadric, 0.7, 3.0);
    glPopMatrix();
}
} // namespace

void drawTorso() {
    glPushMatrix();
    glScalef(1.5f, 2.0f, 1.05f);
    sphere(bodyQuadrics[TorsoQuadric], 10);
    glPopMatrix();

    // The translation sits inside the scale, so the shoulders' centre lands at 1.4 * 0.9 = 1.26.
    glPushMatrix();
    glScalef(1.8f, 0.9f, 1.2f);
    glTranslatef(0.0f, 1.4f, 0.0f);
    sphere(bodyQuadrics[ShoulderQuadric], 10);
    glPopMatrix();
}

void drawHead() {
    glPushMatrix();
    glTranslatef(0.0f, 0.6f, 0.0f);
    glScalef(0.9f, 1.2f, 0.9f);
    sphere(bodyQuadrics[HeadQuadric], 10);
    glPopMatrix();
}

void drawLeftUpperArm() {
    drawUpperArm(bodyQuadrics[LeftUpperArmQuadric]);
}

void drawRightUpperArm() {
    drawUpperArm(bodyQuadrics[RightUpperArmQuadric]);
}

void drawLeftLowerArm() {
    drawLowerArm(bodyQuadrics[LeftLowerArmQuadric]);
}

void drawRightLowerArm() {
    drawLowerArm(bodyQuadrics[RightLowerArmQuadric]);
}

void drawLeftUpperLeg() {
    drawUpperLeg(bodyQuadrics[LeftUpperLegQuadric]);
}

void drawRightUpperLeg() {
    drawUpperLeg(bodyQuadrics[RightUpperLegQuadric]);
}

void drawLeftLowerLeg() {
    drawLowerLeg(bodyQuadrics[LeftLowerLegQuadric]);
}

void drawRightLowerLeg() {
    drawLowerLeg(bodyQuadrics[RightLowerLegQuadric]);
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
