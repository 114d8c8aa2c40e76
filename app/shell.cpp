#include "app/shell.h"

#include "app/help_panel.h"
#include "app/swap_control.h"
#include "choreography/animation_step.h"
#include "controls/keyboard.h"
#include "render/field_geometry.h"
#include "render/render_setup.h"
#include "render/scene_frame.h"
#include "render/textures.h"

#include <GL/glut.h>

int mainWindow = 0;
int helpPanel = 0;
int sceneView = 0;

namespace {
constexpr char WINDOW_TITLE[] = "Dorv's OKSA Robot Cheerleaders";
} // namespace

void displayMain() {
    glClearColor(0.6f, 0.6f, 0.6f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glFlush();
    glutSwapBuffers();
}

void requestSceneRedisplay() {
    glutSetWindow(sceneView);
    glutPostRedisplay();
}

void createWindows() {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(100, 150);

    mainWindow = glutCreateWindow(WINDOW_TITLE);
    glutReshapeFunc(reshapeScene);
    glutDisplayFunc(displayMain);
    glutKeyboardFunc(onKey);
    // The idle handler is process-wide; it is registered once, here.
    glutIdleFunc(animationStep);

    helpPanel = glutCreateSubWindow(mainWindow, 10, 420, 480, 70);
    glutDisplayFunc(displayHelp);
    glutReshapeFunc(reshapeHelp);

    sceneView = glutCreateSubWindow(mainWindow, 10, 10, 480, 400);
    glutReshapeFunc(reshapeScene);
    glutDisplayFunc(displayScene);
    glutKeyboardFunc(onKey);
}

void initSceneView() {
    // Everything made here belongs to the scene view's context, which is current.
    initScene();
    loadTextures();
    buildDisplayLists();
    // One tick per idle call stays as it is; on a real display the scene view's swaps then
    // follow the refresh, which paces the idle calls with them.
    requestSwapInterval(1);
    requestSceneRedisplay();
}
