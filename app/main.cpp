// Entry point: answers --help and --version on its own, before anything touches a display,
// writes the show to the file of --export-gltf and exits, and refuses a bad --at, --paused,
// --speed or --camera and any other option of two dashes; otherwise hands the rest of the
// command line to GLUT, opens the windows, sets up the scene view, opens the show at its place
// and gives control to the GLUT event loop for the rest of the run.
#include "app/display_loss.h"
#include "app/shell.h"
#include "choreography/show_clock.h"
#include "choreography/show_place.h"
#include "app/command_line.h"
#include "export/gltf_export.h"

#include <GL/glut.h>
#include <string>

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
    std::string refusal;
    std::string exportPath;
    switch (takeExportOption(argc, argv, exportPath, refusal)) {
    case ExportRequest::Refused:
        printRefusal(refusal);
        return 2;
    case ExportRequest::Export:
        return writeShowGlb(exportPath, refusal) ? 0 : (printRefusal(refusal), 1);
    case ExportRequest::None:
        break;
    }
    // The show's own options are taken out first; a bad value ends the run before any window.
    ShowPlace place;
    if (!takeShowOptions(argc, argv, place, refusal)) {
        printRefusal(refusal);
        return 2;
    }
    glutInit(&argc, argv);
    endOnDisplayLoss();
    createWindows();
    initSceneView();
    openPlace(place, true);
    glutMainLoop();
    return 0;
}
