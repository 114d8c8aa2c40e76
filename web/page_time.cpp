// The page's one way into the show's place and time: thin wrappers over the program's seek,
// step, speed, link and place functions, which every other page file calls instead of them.
#include "app/shell.h"
#include "choreography/animation_step.h"
#include "choreography/choreography.h"
#include "choreography/show_place.h"
#include "choreography/show_time.h"
#include "common/command_line.h"
#include "controls/keyboard.h"
#include "controls/walking_camera.h"
#include "web/page.h"

void pageSeekTo(std::uint32_t tick) {
    seekAndShow(tick);
}

void pageStepBy(bool forward) {
    moveInShow(forward ? SeekMove::Forward : SeekMove::Back);
}

void pageSetSpeed(int speed) {
    if (speed >= 0 && speed < SPEED_COUNT) {
        playSpeed = speed;
        showPlaceInTitle();
    }
}

std::string pageCompletions() {
    return completionsJson(showHistory());
}

std::string pageSpeeds() {
    return speedsJson();
}

std::string pagePlaceLink(const std::string& query) {
    return pageQuery(query, showPlaceNow());
}

std::string pageOpenLink(const std::string& query) {
    ShowOptions options;
    std::string refusal;
    if (!readPageQuery(query, options, refusal)) {
        return refusal;
    }
    openShowAt(options);
    return "";
}

std::string pageSavedPlace() {
    return placeText(ShowPlace{choreography.ticks, paused, viewerCamera});
}

bool pageRestorePlace(const char* text) {
    ShowPlace place;
    if (!readPlace(text, place)) {
        return false;
    }
    // The page keeps the lines it had: the show is put there without printing.
    seekShow(robots, choreography, gaitStates, place.ticks);
    paused = place.paused;
    viewerCamera = place.camera;
    requestSceneRedisplay();
    return true;
}

void pageTimeInReport(ShowReport& report, const std::string& pageQueryText) {
    const ShowHistory& whole = showHistory();
    report.tick = choreography.ticks;
    report.length = showLength(whole);
    report.paused = paused;
    report.speed = playSpeed;
    report.finished = finishedBy(whole, report.tick);
    report.timelineText = timelineText(report.tick, report.length);
    report.address = pageQuery(pageQueryText, paused ? showPlaceNow() : ShowOptions{});
}
