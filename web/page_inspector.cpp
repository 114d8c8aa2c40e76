// The page's inspector: the robot selected by the page's robot choice or by a click on the scene
// view, the body frames' box, and their part of the report, with the selected robot's state
// looked at only while one is selected.
#include "app/shell.h"
#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"
#include "controls/walking_camera.h"
#include "robot/robot_pick.h"
#include "web/glut_web.h"
#include "web/page.h"

#include <GL/freeglut.h>
#include <emscripten.h>

namespace {

void select(int robot) {
    inspection.selectedRobot = robot >= 0 && robot < ROBOT_COUNT ? robot : NO_ROBOT;
    requestSceneRedisplay();
}

} // namespace

void inspectionInReport(ShowReport& report) {
    const int i = inspection.selectedRobot;
    report.selectedRobot = i + 1;
    report.bodyFrames = inspection.bodyFramesShown;
    if (i != NO_ROBOT) {
        const std::uint32_t toGo =
            ticksToGo(robots, choreography, gaitStates, i);
        report.inspection = inspectionJson(robots, choreography, gaitStates, i, toGo);
    }
}

extern "C" {

// The robot choice: 0 none, 1 to 4 a robot.
EMSCRIPTEN_KEEPALIVE void webSelectRobot(int robot) {
    select(robot - 1);
    reportToPage();
}

EMSCRIPTEN_KEEPALIVE void webSetBodyFrames(int shown) {
    inspection.bodyFramesShown = shown != 0;
    requestSceneRedisplay();
    reportToPage();
}

// A click at a point of the canvas (in its own pixels): the robot drawn there in the
// scene view becomes the selected one; a click on the field, or off the scene view, selects
// none. The point is the one the scene view's mouse handler would get, in the view's own pixels;
// its projection is the one the context holds with the view current.
EMSCRIPTEN_KEEPALIVE void webPick(int canvasX, int canvasY) {
    int x = 0, y = 0;
    if (windowPoint(canvasX, canvasY, &x, &y) != sceneView) {
        select(NO_ROBOT);
        reportToPage();
        return;
    }
    glutSetWindow(sceneView);
    float projection[16], view[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    cameraMatrix(viewerCamera, view);
    select(pickRobot(robots, view, projection, glutGet(GLUT_WINDOW_WIDTH),
                     glutGet(GLUT_WINDOW_HEIGHT), static_cast<float>(x), static_cast<float>(y)));
    reportToPage();
}

} // extern "C"
