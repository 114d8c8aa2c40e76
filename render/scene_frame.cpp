#include "render/scene_frame.h"

#include "render/field_geometry.h"
#include "render/render_setup.h"
#include "render/textures.h"

#include <GL/glut.h>
#include <initializer_list>

void displayScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -0.25f, -5.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT_POSITION);

    // The field: the floor with the grass texture, then the lines (lit with the floor's normal)
    // and the goal posts untextured, with the lines' material.
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sceneTextures[3]);
    applyMaterial(1);
    glTranslatef(0.0f, -3.0f, 0.0f);
    glScalef(15.0f, 0.0f, 20.0f);
    glCallList(FLOOR_LIST);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    applyMaterial(5);
    glCallList(FIELD_LINES_LIST);
    for (const float z : {-18.0f, 18.0f}) {
        glPushMatrix();
        glTranslatef(0.0f, -3.0f, z);
        drawGoalPost();
        glPopMatrix();
    }

    glFlush();
    glutSwapBuffers();
}
