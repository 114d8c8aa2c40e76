#include "render/scene_frame.h"

#include "choreography/robot_inspection.h"
#include "common/units.h"
#include "controls/walking_camera.h"
#include "render/body_frames.h"
#include "render/field_geometry.h"
#include "render/field_layout.h"
#include "render/render_setup.h"
#include "render/textures.h"
#include "robot/robot_drawing.h"

#include <GL/glut.h>

void applyCamera(const ViewerCamera& camera) {
    glLoadIdentity();
    glRotatef(camera.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(360.0f - camera.heading, 0.0f, 1.0f, 0.0f);
    glTranslatef(-camera.x, -camera.bob - EYE_HEIGHT, -camera.z);
}

void displayScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Set after the clear on purpose: it serves the next frame's clear.
    glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);

    applyCamera(viewerCamera);
    // After the camera, so the light keeps its direction in the world as the viewer moves.
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT_POSITION);

    applyMaterial(ROBOT_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        glBindTexture(GL_TEXTURE_2D, sceneTextures[i]);
        drawRobot(i);
    }

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sceneTextures[FLOOR_TEXTURE_SLOT]);
    applyMaterial(FLOOR_MATERIAL);
    glPushMatrix();
    glTranslatef(0.0f, FLOOR_Y, 0.0f);
    // The zero y scale flattens the polygon, which lies at y = 1 in its list, onto the floor.
    glScalef(FLOOR_SCALE[0], FLOOR_SCALE[1], FLOOR_SCALE[2]);
    glCallList(FLOOR_LIST);
    glPopMatrix();

    glDisable(GL_TEXTURE_2D);
    applyMaterial(LINE_MATERIAL);
    glPushMatrix();
    // The list sets no normal: the lines are lit with the floor's (0, 1, 0), left current above.
    glCallList(FIELD_LINES_LIST);
    glPopMatrix();

    // Untextured, in the lines' material, both left current above.
    glPushMatrix();
    glTranslatef(0.0f, FLOOR_Y, -GOAL_LINE_Z);
    drawGoalPost();
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0.0f, FLOOR_Y, GOAL_LINE_Z);
    drawGoalPost();
    glPopMatrix();

    // Last, so they lie over the scenery as well as through the robots.
    if (inspection.bodyFramesShown) {
        drawBodyFrames(inspection.selectedRobot);
    }

    glFlush();
    glutSwapBuffers();
}
