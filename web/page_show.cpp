// The page's Show panel: the played show's text, a text played from its first tick (or refused
// with its line and column, the show before playing on), the built-in show back, and the selected
// robot's pose added to a text; and which show plays, for the report.
#include "app/shell.h"
#include "choreography/choreography.h"
#include "choreography/hand_pose.h"
#include "choreography/played_show.h"
#include "choreography/robot_inspection.h"
#include "choreography/show_edit.h"
#include "robot/robot_model.h"
#include "web/glut_web.h"
#include "web/page.h"

#include <emscripten.h>
#include <string>
#include <utility>

namespace {

// Counts the shows the page started, so that the report says when the completions changed.
int showsStarted = 0;

// The text handed to the page stays here until it asks for another.
std::string handedShowText;

const char* handOver(std::string text) {
    handedShowText = std::move(text);
    return handedShowText.c_str();
}

void started() {
    showsStarted += 1;
    requestSceneRedisplay();
    reportToPage();
}

} // namespace

int pageShowNumber() {
    return showsStarted;
}

extern "C" {

// The played show in its canonical form.
EMSCRIPTEN_KEEPALIVE const char* webShowText() {
    return handOver(playedShowText());
}

EMSCRIPTEN_KEEPALIVE int webPlayingBuiltInShow() {
    return playingBuiltInShow() ? 1 : 0;
}

// Plays the text, named `name` in a refusal, from tick 0: "" when it plays; else
// {"refusal":"NAME:LINE:COLUMN: what is wrong","line":L,"column":C}, and the show played
// before plays on.
EMSCRIPTEN_KEEPALIVE const char* webPlayShow(const char* name, const char* text) {
    const ShowReading reading = startShowText(name, text);
    if (!reading.accepted) {
        return handOver("{\"refusal\":" + jsonText(reading.refusal) +
                        ",\"line\":" + std::to_string(reading.line) +
                        ",\"column\":" + std::to_string(reading.column) + "}");
    }
    started();
    return handOver("");
}

EMSCRIPTEN_KEEPALIVE void webPlayBuiltInShow() {
    startBuiltInShow();
    started();
}

// The text with the selected robot's pose line added to its section; "" with none selected.
EMSCRIPTEN_KEEPALIVE const char* webAddPose(const char* text) {
    const int i = inspection.selectedRobot;
    return handOver(i == NO_ROBOT ? "" : withCommandAdded(text, i + 1, poseLine(robots[i])));
}

} // extern "C"
