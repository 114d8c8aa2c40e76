// The page's pose panel: the selected robot posed by hand while the show is paused (a step per
// drag, taken back and given back, the mirror, the pose line) and its part of the report. The show
// clock has the hand give way when the show moves.
#include "app/shell.h"
#include "choreography/choreography.h"
#include "choreography/hand_pose.h"
#include "choreography/robot_inspection.h"
#include "web/glut_web.h"
#include "web/page.h"

#include <emscripten.h>
#include <string>

namespace {

// The pose line handed to the page stays here until it asks for another.
std::string handedLine;

// After a pose call: the picture and the panel follow.
int posed(bool changed) {
    if (changed) {
        requestSceneRedisplay();
    }
    reportToPage();
    return changed ? 1 : 0;
}

} // namespace

void handPoseInReport(ShowReport& report) {
    report.posing = handPosingAllowed(inspection.selectedRobot, paused);
    report.canUndoPose = canUndoPose(handPose, inspection.selectedRobot);
    report.canRedoPose = canRedoPose(handPose, inspection.selectedRobot);
}

extern "C" {

// A slider taken hold of, or a value typed: one step, until webPoseEnd.
EMSCRIPTEN_KEEPALIVE int webPoseBegin() {
    return beginPoseStep(handPose, robots, paused, inspection.selectedRobot) ? 1 : 0;
}

// The joint by its inspector name at the angle in degrees, within the step; a value off the
// half-degree grid or out of range is refused (0) and changes nothing.
EMSCRIPTEN_KEEPALIVE int webPoseSet(const char* joint, double degrees) {
    return posed(setJointAngle(handPose, robots, choreography, jointNamed(joint), degrees));
}

EMSCRIPTEN_KEEPALIVE void webPoseEnd() {
    endPoseStep(handPose);
}

EMSCRIPTEN_KEEPALIVE int webPoseUndo() {
    return posed(undoPoseStep(handPose, robots, choreography, paused, inspection.selectedRobot));
}

EMSCRIPTEN_KEEPALIVE int webPoseRedo() {
    return posed(redoPoseStep(handPose, robots, choreography, paused, inspection.selectedRobot));
}

EMSCRIPTEN_KEEPALIVE int webPoseMirror() {
    return posed(mirrorPose(handPose, robots, choreography, paused, inspection.selectedRobot));
}

// The selected robot's angles as a show file's pose line; "" with none selected.
EMSCRIPTEN_KEEPALIVE const char* webPoseLine() {
    const int i = inspection.selectedRobot;
    handedLine = i == NO_ROBOT ? "" : poseLine(robots[i]);
    return handedLine.c_str();
}

} // extern "C"
