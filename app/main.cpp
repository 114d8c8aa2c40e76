// Entry point: hands the command line to GLUT, opens the windows, sets up the scene view and
// gives control to the GLUT event loop for the rest of the run.
#include "app/display_loss.h"
#include "app/shell.h"

#include <GL/glut.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    endOnDisplayLoss();
    createWindows();
    initSceneView();
    glutMainLoop();
    return 0;
}
