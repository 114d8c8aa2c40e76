// Entry point: answers --help and --version on its own, before anything touches a display, and
// refuses a bad --at, --paused, --speed or --camera, a show that cannot be played and any other
// option of two dashes; prints the chosen show for --print-show, or writes it to the file of
// --export-gltf; otherwise hands the rest of the command line to GLUT, opens the windows, sets up
// the scene view, starts the chosen show, opens it at its place and gives control to the GLUT
// event loop for the rest of the run.
#include "app/command_line.h"
#include "app/display_loss.h"
#include "app/file_export.h"
#include "app/shell.h"
#include "choreography/played_show.h"
#include "choreography/show_clock.h"
#include "choreography/show_place.h"

#include <GL/glut.h>
#include <cstdio>
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
    // The show's own options are taken out first; a bad value ends the run before any window.
    std::string refusal;
    std::string exportPath;
    const ExportRequest exportRequest = takeExportOption(argc, argv, exportPath, refusal);
    ShowPlace place;
    ShowChoice choice;
    static ShowScripts show;
    if (exportRequest == ExportRequest::Refused ||
        !takeShowOptions(argc, argv, place, choice, refusal) ||
        !chooseShow(choice, show, refusal)) {
        printRefusal(refusal);
        return 2;
    }
    if (choice.print) {
        const std::string text = writeShow(show);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (exportRequest == ExportRequest::Export) {
        startShow(show);
        return exportShowFile(exportPath);
    }
    glutInit(&argc, argv);
    endOnDisplayLoss();
    createWindows();
    initSceneView();
    // The built-in show plays from the start as it always has; another replaces it first.
    if (choice.fromFile || choice.spelled) {
        startShow(show);
    }
    openPlace(place, true);
    glutMainLoop();
    return 0;
}
