// Entry point: answers --help and --version on its own, before anything touches a display;
// otherwise hands the command line to GLUT, opens the windows, sets up the scene view and gives
// control to the GLUT event loop for the rest of the run.
#include "app/display_loss.h"
#include "app/shell.h"
#include "common/command_line.h"

#include <GL/glut.h>

int main(int argc, char** argv) {
    switch (commandLineAction(argc, argv)) {
    case CommandLineAction::PrintHelp:
        printHelp();
        return 0;
    case CommandLineAction::PrintVersion:
        printVersion();
        return 0;
    case CommandLineAction::RunShow:
        break;
    }
    glutInit(&argc, argv);
    endOnDisplayLoss();
    createWindows();
    initSceneView();
    glutMainLoop();
    return 0;
}
