#include "choreography/played_show.h"

#include "choreography/show_clock.h"

namespace {
// The choreography points into this record, so it is replaced only together with the
// choreography, in startShow.
ShowScripts playedScripts = builtInShow();
bool builtInPlayed = true;
} // namespace

const ShowScripts& playedShow() {
    return playedScripts;
}

bool playingBuiltInShow() {
    return builtInPlayed;
}

Choreography showChoreography(const ShowScripts& show) {
    Choreography start{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        start.commandCount[i] = show.commandCount[i];
        start.script[i] = show.script[i];
    }
    return start;
}

void startShow(const ShowScripts& show) {
    playedScripts = show;
    builtInPlayed = false;
    playChoreography(showChoreography(playedScripts));
}

ShowReading startShowText(std::string_view name, std::string_view text) {
    const ShowReading reading = readShow(name, text);
    if (reading.accepted) {
        startShow(reading.show);
    }
    return reading;
}

std::string playedShowText() {
    return writeShow(playedScripts);
}

void startBuiltInShow() {
    startShow(builtInShow());
    builtInPlayed = true;
}
