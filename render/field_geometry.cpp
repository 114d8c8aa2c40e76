#include "render/field_geometry.h"

#include <GL/gl.h>

GLUquadric* goalPostQuadrics[GOAL_POST_PARTS] = {nullptr, nullptr, nullptr, nullptr};

namespace {

constexpr float LINE_HEIGHT = -2.95f;
// The one cross line that lies in the floor's own plane instead of just above it.
constexpr float SUNKEN_LINE_Z = 16.0f;
constexpr float SUNKEN_LINE_HEIGHT = -3.0f;

constexpr double POST_RADIUS = 0.1;
constexpr GLint POST_SLICES = 10;
constexpr GLint POST_STACKS = 10;

void drawPostCylinder(int part, double height) {
    GLUquadric* quadric = goalPostQuadrics[part];
    if (quadric != nullptr) {
        gluCylinder(quadric, POST_RADIUS, POST_RADIUS, height, POST_SLICES, POST_STACKS);
    }
}

} // namespace

void createGoalPostQuadrics() {
    for (GLUquadric*& quadric : goalPostQuadrics) {
        // A second set-up of the context keeps the quadrics it has instead of losing them.
        if (quadric == nullptr) {
            quadric = gluNewQuadric();
        }
        // Out of memory leaves the slot null; drawGoalPost then leaves that cylinder out.
        if (quadric != nullptr) {
            gluQuadricDrawStyle(quadric, GLU_FILL);
        }
    }
}

void buildDisplayLists() {
    glNewList(FLOOR_LIST, GL_COMPILE);
    drawFloorPolygon();
    glEndList();
    glNewList(FIELD_LINES_LIST, GL_COMPILE);
    drawFieldLines();
    glEndList();
}

void drawFloorPolygon() {
    glBegin(GL_POLYGON);
    glNormal3f(0.0f, 1.0f, 0.0f);
    // Counter-clockwise seen from above, so the front face looks up; s = 4x, t = -4z.
    glTexCoord2f(-4.0f, 4.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glTexCoord2f(-4.0f, -4.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glTexCoord2f(4.0f, -4.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glTexCoord2f(4.0f, 4.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);
    glEnd();
}

void drawFieldLines() {
    glBegin(GL_LINES);
    for (int step = 0; step <= 18; ++step) {
        const float z = static_cast<float>(-18 + 2 * step);
        const float y = z == SUNKEN_LINE_Z ? SUNKEN_LINE_HEIGHT : LINE_HEIGHT;
        glVertex3f(-12.0f, y, z);
        glVertex3f(12.0f, y, z);
    }
    glVertex3f(-12.0f, LINE_HEIGHT, -18.0f);
    glVertex3f(-12.0f, LINE_HEIGHT, 18.0f);
    glVertex3f(12.0f, LINE_HEIGHT, -18.0f);
    glVertex3f(12.0f, LINE_HEIGHT, 18.0f);
    glEnd();
}

void drawGoalPost() {
    // Centre post: the cylinder's +z axis turned to +y.
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawPostCylinder(0, 2.0);
    glPopMatrix();

    // Crossbar: from the left end, turned to +x.
    glPushMatrix();
    glTranslatef(-1.5f, 2.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    drawPostCylinder(1, 3.0);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-1.5f, 2.0f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawPostCylinder(2, 4.0);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(1.5f, 2.0f, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    drawPostCylinder(3, 4.0);
    glPopMatrix();
}
