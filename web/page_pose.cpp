// The page's pose panel: the selected robot posed by hand while the show is paused (a step per
// drag, taken back and given back, the mirror, the pose line), its part of the report, and the
// hand's stance kept off the show's own moves, so that playing and seeking stay exact.
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

bool anyPosed() {
    for (const bool posed : handPose.posed) {
        if (posed) {
            return true;
        }
    }
    return false;
}

// Before a pose call: a stance lifted for a key no window took comes back first.
int selectedAfterSettling() {
    handPoseFollowsShow();
    return inspection.selectedRobot;
}

// After a pose call: the picture and the panel follow.
int posed(bool changed) {
    if (changed) {
        requestSceneRedisplay();
    }
    reportToPage();
    return changed ? 1 : 0;
}

} // namespace

void showMayMove() {
    liftHandPose(handPose, robots);
}

// A special key may step or seek the show: the stance is lifted, and back after it if it stayed.
void specialKeyComing() {
    showMayMove();
}

void handPoseFollowsShow() {
    const bool wasPosed = anyPosed();
    const bool wasLifted = handPose.lifted;
    settleHandPose(handPose, robots, choreography, paused, inspection.selectedRobot);
    if (wasLifted || (wasPosed && !anyPosed())) {
        requestSceneRedisplay();
    }
}

void handPoseInReport(ShowReport& report) {
    report.posing = handPosingAllowed(inspection.selectedRobot, paused);
    report.canUndoPose = canUndoPose(handPose);
    report.canRedoPose = canRedoPose(handPose);
}

extern "C" {

// A slider taken hold of, or a value typed: one step, until webPoseEnd.
EMSCRIPTEN_KEEPALIVE int webPoseBegin() {
    return beginPoseStep(handPose, robots, paused, selectedAfterSettling()) ? 1 : 0;
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
    return posed(undoPoseStep(handPose, robots, choreography, paused, selectedAfterSettling()));
}

EMSCRIPTEN_KEEPALIVE int webPoseRedo() {
    return posed(redoPoseStep(handPose, robots, choreography, paused, selectedAfterSettling()));
}

EMSCRIPTEN_KEEPALIVE int webPoseMirror() {
    return posed(mirrorPose(handPose, robots, choreography, paused, selectedAfterSettling()));
}

// The selected robot's angles as a show file's pose line; "" with none selected.
EMSCRIPTEN_KEEPALIVE const char* webPoseLine() {
    const int i = selectedAfterSettling();
    handedLine = i == NO_ROBOT ? "" : poseLine(robots[i]);
    return handedLine.c_str();
}

} // extern "C"
