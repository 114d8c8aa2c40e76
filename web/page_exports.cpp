// What the page's script asks of the program: whether the robots are paused, for the Pause/Resume
// button; and the place in the show, kept across a lost graphics context and given back to the
// page that comes after it.
#include "app/shell.h"
#include "choreography/choreography.h"
#include "controls/walking_camera.h"

#include <cmath>
#include <emscripten.h>

namespace {
bool showOver() {
    for (std::uint32_t finished : choreography.finishedCount) {
        if (finished < choreography.commandCount) {
            return false;
        }
    }
    return true;
}
} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int webPaused() {
    return paused ? 1 : 0;
}

// The place: field 0 is the ticks the show has run, 1 to 6 the camera's heading, x, z, bob, step
// phase and pitch. Each is a float or a count, so a double carries it exactly.
EMSCRIPTEN_KEEPALIVE double webShowPlace(int field) {
    const ViewerCamera& c = viewerCamera;
    const double fields[] = {
        static_cast<double>(choreography.ticks), c.heading, c.x, c.z, c.bob, c.stepPhase, c.pitch};
    return field >= 0 && field < 7 ? fields[field] : 0.0;
}

// Back to a place, once the program has started: the show from its start, run on to the tick
// without drawing or printing (the page keeps the lines it had), then the pause and the camera.
// A place that makes no sense (not finite, or past what a run could reach) changes nothing.
EMSCRIPTEN_KEEPALIVE void webResume(double ticks, int isPaused, double heading, double x, double z,
                                    double bob, double stepPhase, double pitch) {
    const double values[] = {ticks, heading, x, z, bob, stepPhase, pitch};
    for (double v : values) {
        if (!std::isfinite(v) || std::fabs(v) > 4e9) {
            return;
        }
    }
    if (ticks < 0) {
        return;
    }
    const auto target = static_cast<std::uint32_t>(ticks);
    restartShow(robots, choreography, gaitStates, paused);
    // Once every robot is done, further ticks change nothing but the count.
    while (choreography.ticks < target && !showOver()) {
        choreographyTick(robots, choreography, gaitStates, false);
    }
    choreography.ticks = target;
    paused = isPaused != 0;
    viewerCamera = {static_cast<float>(heading),   static_cast<float>(x),
                    static_cast<float>(z),         static_cast<float>(bob),
                    static_cast<float>(stepPhase), static_cast<float>(pitch)};
    requestSceneRedisplay();
}

} // extern "C"
