// The page's own API, and its rules for the program: what its script and buttons call (the pause
// state, a key, the hold on the show, the place kept across lost graphics, the timeline, the
// speed, links to a place, the inspector, the body frames and the robot picked by a click), how
// many frames are drawn behind its loading line, and what a tap on the canvas is.
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"
#include "choreography/show_place.h"
#include "choreography/show_time.h"
#include "app/command_line.h"
#include "controls/keyboard.h"
#include "controls/walking_camera.h"
#include "robot/robot_pick.h"
#include "web/glut_web.h"

#include <cstdint>
#include <emscripten.h>
#include <string>
#include <utility>

namespace {

// The first frames are drawn behind the page's loading line: gl4es and the browser compile what
// drawing needs, and set up the buffers its vertex arrays go through, in the first frame; the
// main window, whose first frame asks for a second, draws again in the next. The first takes
// several frames' time, the next most of one, and no frame the visitor sees should wait for that.
// The scene view draws in each of them.
constexpr long HIDDEN_FRAMES = 2;

// How many idle calls there have been, and how many there may be (negative: no limit).
long idleCalls = 0;
long idleLimit = -1;

// The longest place text taken back: far more than placeText writes.
constexpr int MAX_PLACE_TEXT = 512;

// clang-format off
EM_JS(void, showFirstPicture, (), {
    if (Module.onFirstPicture) Module.onFirstPicture();
});
// After every frame the page's timeline and console catch up with the show.
EM_JS(void, tellPageOfFrame, (), {
    if (Module.onFrame) Module.onFrame();
});
// The place goes to the page and comes back from it as text the page does not read.
EM_JS(void, handPlaceToPage, (const char* place), {
    Module.keepPlace(UTF8ToString(place));
});
EM_JS(int, takePlaceFromPage, (char* buffer, int size), {
    const place = Module.storedPlace && Module.storedPlace();
    if (typeof place !== "string" || place.length >= size) return 0;
    stringToUTF8(place, buffer, size);
    return 1;
});
// clang-format on

// The texts handed to the page stay here until the next call asks for another.
std::string handedText;

const char* handOver(std::string text) {
    handedText = std::move(text);
    return handedText.c_str();
}

// What the inspector has looked ahead, kept for every later frame.
CompletionMemo completionMemo;

void select(int robot) {
    inspection.selectedRobot = robot >= 0 && robot < ROBOT_COUNT ? robot : NO_ROBOT;
    requestSceneRedisplay();
}

} // namespace

bool frameHidden(long frame) {
    return frame < HIDDEN_FRAMES;
}

// A hold counts idle calls with or without the program's handler (paused, it has none), so a
// picture can be taken after so many of them.
bool idleCallDue(bool handler) {
    return idleLimit < 0 ? handler : idleCalls < idleLimit;
}

bool idleMayRun() {
    if (idleLimit >= 0 && idleCalls >= idleLimit) {
        return false;
    }
    ++idleCalls;
    return true;
}

void frameDrawn(long frame) {
    if (frame + 1 == HIDDEN_FRAMES) {
        showFirstPicture();
    }
    tellPageOfFrame();
}

// A tap pauses or resumes the robots, as the space does, anywhere on the canvas, the help panel
// too: there is no key to miss there.
void canvasTapped(int x, int y) {
    deliverKey(1, ' ', x, y);
}

extern "C" {

EMSCRIPTEN_KEEPALIVE int webPaused() {
    return paused ? 1 : 0;
}

// For the page's buttons: a key as the top-level window gets it.
EMSCRIPTEN_KEEPALIVE void webKey(int character) {
    if (character > 0 && character < 256) {
        deliverKey(1, character, 0, 0);
    }
}

// Hold the show after this many idle calls (a negative number lets it run on), and how many there
// have been: for still pictures.
EMSCRIPTEN_KEEPALIVE void webHoldAfterIdleCalls(long calls) {
    idleLimit = calls;
    wakeLoop();
}

EMSCRIPTEN_KEEPALIVE long webIdleCalls() {
    return idleCalls;
}

// The place in the show, handed to the page to keep while the graphics are away.
EMSCRIPTEN_KEEPALIVE void webSavePlace() {
    const ShowPlace place{choreography.ticks, paused, viewerCamera};
    handPlaceToPage(placeText(place).c_str());
}

// Back to the place the page kept, once the program has started; a place that makes no sense
// changes nothing. Returns whether the program is there.
EMSCRIPTEN_KEEPALIVE int webRestorePlace() {
    char text[MAX_PLACE_TEXT];
    ShowPlace place;
    if (takePlaceFromPage(text, MAX_PLACE_TEXT) == 0 || !readPlace(text, place)) {
        return 0;
    }
    // The page keeps the lines it had: the show is put there without printing.
    seekShow(robots, choreography, gaitStates, place.ticks);
    paused = place.paused;
    viewerCamera = place.camera;
    requestSceneRedisplay();
    return 1;
}

// Where the show is, and how long it is: for the timeline, which runs from 0 to the length.
EMSCRIPTEN_KEEPALIVE std::uint32_t webTick() {
    return choreography.ticks;
}

EMSCRIPTEN_KEEPALIVE std::uint32_t webShowLength() {
    return showLength(showHistory());
}

// The timeline's spoken value, for where the show is now.
EMSCRIPTEN_KEEPALIVE const char* webTimelineText() {
    return handOver(timelineText(choreography.ticks, showLength(showHistory())));
}

// The whole show's finished commands, as the page lists them, with their ticks.
EMSCRIPTEN_KEEPALIVE const char* webCompletions() {
    return handOver(completionsJson(showHistory()));
}

// The timeline dragged or a console line clicked: the show put at that tick, playing on from
// there if it was playing.
EMSCRIPTEN_KEEPALIVE void webSeek(std::uint32_t tick) {
    seekAndShow(tick);
}

// One tick (with Shift, a second's) back or forward, pausing the robots first, as the arrow keys
// step.
EMSCRIPTEN_KEEPALIVE void webStep(int forward, int shift) {
    moveInShow(forward != 0 ? (shift != 0 ? SeekMove::LongForward : SeekMove::Forward)
                            : (shift != 0 ? SeekMove::LongBack : SeekMove::Back));
}

// To the previous or the next tick at which a command finishes, as Page Up and Page Down go.
EMSCRIPTEN_KEEPALIVE void webSeekCompletion(int next) {
    moveInShow(next != 0 ? SeekMove::NextCompletion : SeekMove::PreviousCompletion);
}

// The speeds by name, slowest first, and the one the show plays at, by its place in that list.
EMSCRIPTEN_KEEPALIVE const char* webSpeeds() {
    return handOver(speedsJson());
}

EMSCRIPTEN_KEEPALIVE int webSpeed() {
    return playSpeed;
}

EMSCRIPTEN_KEEPALIVE void webSetSpeed(int speed) {
    if (speed >= 0 && speed < SPEED_COUNT) {
        playSpeed = speed;
        showPlaceInTitle();
    }
}

// The page's query for the place the show is at: the given query's other parameters, then the
// tick, the pause and the camera.
EMSCRIPTEN_KEEPALIVE const char* webPlaceLink(const char* query) {
    return handOver(pageQuery(query, showPlaceNow()));
}

// Opens the show at the place the page's query names. A value that cannot be read leaves the show
// at its start; the line that says which is returned (empty when all was read).
EMSCRIPTEN_KEEPALIVE const char* webOpenLink(const char* query) {
    ShowOptions options;
    std::string refusal;
    if (!readPageQuery(query, options, refusal)) {
        return handOver(refusal);
    }
    openShowAt(options);
    return handOver("");
}

// The inspector: the selected robot (0 none, 1 to 4), its state as JSON, and the body frames.
EMSCRIPTEN_KEEPALIVE int webSelectedRobot() {
    return inspection.selectedRobot + 1;
}

EMSCRIPTEN_KEEPALIVE void webSelectRobot(int robot) {
    select(robot - 1);
}

EMSCRIPTEN_KEEPALIVE const char* webInspection() {
    const int i = inspection.selectedRobot;
    if (i == NO_ROBOT) {
        return "null";
    }
    const std::uint32_t toGo =
        rememberedTicksToGo(completionMemo, robots, choreography, gaitStates, i);
    return handOver(inspectionJson(robots, choreography, gaitStates, i, toGo));
}

EMSCRIPTEN_KEEPALIVE int webBodyFrames() {
    return inspection.bodyFramesShown ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void webSetBodyFrames(int shown) {
    inspection.bodyFramesShown = shown != 0;
    requestSceneRedisplay();
}

// A click at a point of the canvas (CSS pixels from its corner): the robot drawn there in the
// scene view becomes the selected one; a click on the field, or off the scene view, selects
// none. Returns the selection, 0 for none.
EMSCRIPTEN_KEEPALIVE int webPick(int cssX, int cssY) {
    int x = 0, y = 0;
    canvasPoint(cssX, cssY, &x, &y);
    if (windowAt(x, y) != sceneView) {
        select(NO_ROBOT);
        return 0;
    }
    // The scene view's own projection, as the context holds it with the view current.
    makeCurrent(sceneView);
    float projection[16], view[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    cameraMatrix(viewerCamera, view);
    const WebWindow& scene = windows[sceneView];
    const int* vp = scene.viewport;
    const float localX = static_cast<float>(x - scene.x - vp[0]);
    const float localY = static_cast<float>(y - scene.y - (scene.height - vp[1] - vp[3]));
    select(pickRobot(robots, view, projection, vp[2], vp[3], localX, localY));
    return inspection.selectedRobot + 1;
}

} // extern "C"
