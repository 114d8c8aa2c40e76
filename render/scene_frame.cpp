#include "render/scene_frame.h"

#include "common/units.h"
#include "render/render_setup.h"
#include "robot/robot_drawing.h"

#include <GL/glut.h>

// A stand-in frame until the full scene is drawn here: a fixed camera and the four robots.
void displayScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -0.25f, -5.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT_POSITION);
    applyMaterial(0);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        drawRobot(i);
    }
    glFlush();
    glutSwapBuffers();
}
