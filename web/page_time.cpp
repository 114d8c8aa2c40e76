// The page's way into the show's place: the whole show's completions and the speeds as the page
// lists them, links to a place and opening one, the place kept across lost graphics, and the
// time's part of the report. Moving in time is the show clock's own verbs, called directly.
#include "choreography/show_clock.h"
#include "choreography/show_place.h"
#include "choreography/show_time.h"
#include "web/page.h"

std::string pageCompletions() {
    return completionsJson(showHistory());
}

std::string pageSpeeds() {
    return speedsJson();
}

std::string pagePlaceLink(const std::string& query) {
    return placeQuery(query, placeNow());
}

std::string pageOpenLink(const std::string& query) {
    ShowPlace place;
    std::string refusal;
    if (!readPlaceQuery(query, place, refusal)) {
        return refusal;
    }
    openPlace(place, true);
    return "";
}

std::string pageSavedPlace() {
    return placeQuery("", placeNow());
}

bool pageRestorePlace(const char* text) {
    ShowPlace place;
    std::string refusal;
    if (!readPlaceQuery(text, place, refusal)) {
        return false;
    }
    // The page keeps the lines it had: the show is put there without printing them again.
    openPlace(place, false);
    return true;
}

void pageTimeInReport(ShowReport& report, const std::string& pageQueryText) {
    const ShowHistory& whole = showHistory();
    const ShowPlace place = placeNow();
    report.tick = place.tick;
    report.length = showLength(whole);
    report.show = pageShowNumber();
    report.paused = place.paused;
    report.speed = place.speed;
    report.finished = finishedBy(whole, report.tick);
    report.timelineText = timelineText(report.tick, report.length);
    // While the show plays the address names no moment: a reload, or a copy of the address,
    // opens the show at its start rather than at a moment it has long left.
    report.address =
        place.paused ? placeQuery(pageQueryText, place) : queryWithoutPlace(pageQueryText);
}
