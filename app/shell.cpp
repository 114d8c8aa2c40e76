#include "app/shell.h"

#include "app/full_screen.h"
#include "app/help_panel.h"
#include "app/swap_control.h"
#include "app/window_identity.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "choreography/show_clock.h"
#include "common/view_hooks.h"
#include "controls/keyboard.h"
#include "controls/mouse.h"
#include "render/field_geometry.h"
#include "render/render_setup.h"
#include "render/scene_frame.h"
#include "render/textures.h"

#include <GL/freeglut.h>
#include <string>

int mainWindow = 0;
int helpPanel = 0;
int sceneView = 0;

namespace {
constexpr char WINDOW_TITLE[] = "Dorv's OKSA Robot Cheerleaders";

// What the title says after the name, as last set.
std::string titleSuffix;

// The main window's size when it last drew a frame.
int mainFrameWidth = 0;
int mainFrameHeight = 0;
} // namespace

void displayMain() {
    glClearColor(0.6f, 0.6f, 0.6f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glFlush();
    glutSwapBuffers();
    // A software driver (Mesa's, on an X server without direct rendering) reads a window's size
    // only after the window's swap, so the first frame after the window has grown still has the
    // old size and leaves the new area unpainted. The scene view redraws all the time and so
    // heals by itself; the main window draws only on demand, so a frame at a new size asks for
    // one more, which the driver then draws at the size the window has.
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    if (width != mainFrameWidth || height != mainFrameHeight) {
        mainFrameWidth = width;
        mainFrameHeight = height;
        glutPostRedisplay();
    }
}

void requestSceneRedisplay() {
    glutSetWindow(sceneView);
    glutPostRedisplay();
}

namespace {
// Named, not the current window: the idle handler runs under any window, and drawing the main
// window or the help panel makes that one current, while the robots live in the scene view.
void postSceneRedisplay() {
    glutPostWindowRedisplay(sceneView);
}
} // namespace

void showPlaceInTitle() {
    const std::string suffix =
        showTitleSuffix(choreography.ticks, showLength(showHistory()), paused, playSpeed);
    if (suffix == titleSuffix) {
        return;
    }
    titleSuffix = suffix;
    glutSetWindow(mainWindow);
    retitleMainWindow((WINDOW_TITLE + suffix).c_str());
    glutSetWindow(sceneView);
}

void toggleFullScreen() {
    glutSetWindow(mainWindow);
    toggleWindowFullScreen();
}

void leaveFullScreen() {
    glutSetWindow(mainWindow);
    leaveWindowFullScreen();
}

void createWindows() {
    // What the handlers below the shell ask of the windows.
    viewHooks = {wakeShow, showPlaceInTitle, postSceneRedisplay, toggleFullScreen, leaveFullScreen};
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(500, 500);
    glutInitWindowPosition(100, 150);

    mainWindow = glutCreateWindow(WINDOW_TITLE);
    nameMainWindow(WINDOW_TITLE);
    glutReshapeFunc(reshapeScene);
    glutDisplayFunc(displayMain);
    glutKeyboardFunc(onKey);
    glutSpecialFunc(onSpecialKey);
    // The idle handler is process-wide; it is registered here, and then takes itself away when
    // the show rests (wakeShow puts it back).
    glutIdleFunc(animationStep);
    glutWindowStatusFunc(windowStatusMain);

    helpPanel = glutCreateSubWindow(mainWindow, 10, 420, 480, 70);
    glutDisplayFunc(displayHelp);
    glutReshapeFunc(reshapeHelp);

    sceneView = glutCreateSubWindow(mainWindow, 10, 10, 480, 400);
    glutReshapeFunc(reshapeScene);
    glutDisplayFunc(displayScene);
    glutKeyboardFunc(onKey);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouseButton);
    glutMotionFunc(onMouseMotion);
    glutMouseWheelFunc(onMouseWheel);
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
