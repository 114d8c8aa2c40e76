#include "render/field_geometry.h"

#include "render/field_layout.h"

#include <GL/gl.h>

GLUquadric* goalPostQuadrics[GOAL_POST_PARTS] = {nullptr, nullptr, nullptr, nullptr};

namespace {

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
    for (int i = 0; i < FIELD_LINE_COUNT; ++i) {
        const FieldLine line = fieldLine(i);
        glVertex3fv(line.from);
        glVertex3fv(line.to);
    }
    glEnd();
}

void drawGoalPost() {
    for (int part = 0; part < GOAL_POST_PARTS; ++part) {
        const PostCylinder& c = POST_CYLINDERS[part];
        glPushMatrix();
        glTranslatef(c.move[0], c.move[1], c.move[2]);
        glRotatef(c.degrees, c.axis[0], c.axis[1], c.axis[2]);
        drawPostCylinder(part, c.height);
        glPopMatrix();
    }
}
