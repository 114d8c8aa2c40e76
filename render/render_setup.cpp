#include "render/render_setup.h"

#include "render/field_geometry.h"
#include "robot/robot_drawing.h"

#include <GL/gl.h>
#include <cassert>

namespace {
constexpr double NEAR_HALF_WIDTH = 2.0;
constexpr double NEAR_PLANE = 2.0;
constexpr double FAR_PLANE = 40.0;

constexpr float LIGHT_AMBIENT[4] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr float LIGHT_DIFFUSE[4] = {0.6f, 0.6f, 0.6f, 1.0f};
constexpr float LIGHT_SPECULAR[4] = {0.8f, 0.8f, 0.8f, 1.0f};
} // namespace

void reshapeScene(int w, int h) {
    // A minimised or collapsed window has no shape to project onto; keep what was there
    // rather than divide by zero. The next real size sets everything again.
    if (w <= 0 || h <= 0) {
        return;
    }
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Only the vertical extent follows the window's shape, and for a wide window it widens
    // rather than narrows: wide windows are drawn squashed vertically by (w/h)^2. Intended.
    const double halfHeight = w <= h ? 2.0 * h / w : 2.0 * w / h;
    glFrustum(-NEAR_HALF_WIDTH, NEAR_HALF_WIDTH, -halfHeight, halfHeight, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

void initScene() {
    glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);

    // The modelview matrix of a new context is the identity, so this direction is in world
    // terms; every frame sets it again after the camera transform.
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT_POSITION);
    glLightfv(GL_LIGHT0, GL_AMBIENT, LIGHT_AMBIENT);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LIGHT_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT_SPECULAR);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    // The body shapes are scaled unevenly; their normals need renormalising to light right.
    glEnable(GL_NORMALIZE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);

    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    glEnable(GL_TEXTURE_2D);

    initRobotBodies();
    createGoalPostQuadrics();

    glLoadIdentity();
}

void applyMaterial(int index) {
    assert(index >= 0 && index < MATERIAL_COUNT);
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialTable.specular[index]);
    glMaterialfv(GL_FRONT, GL_AMBIENT, materialTable.ambient[index]);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, materialTable.diffuse[index]);
    glMaterialf(GL_FRONT, GL_SHININESS, materialTable.shininess[index]);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, materialTable.emission[index]);
}
