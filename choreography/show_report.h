// Show report: what a viewer shows beside the picture (where the show is, its pause and speed,
// the lines finished by then, which show plays, the selection, its inspection and its hand pose,
// the title, the address), and the text of what changed since the last report. Pure. The page's
// program builds one after each frame and each call of the page, and sends the change, when there
// is one, to the page's script.
#pragma once

#include "choreography/show_time.h"

#include <cstdint>
#include <string>

struct ShowReport {
    std::uint32_t tick = 0;
    std::uint32_t length = 0; // the show's length, the tick of its last completion
    int show = 0;             // counts the shows started after the first: its completions changed
    bool paused = false;
    int speed = NORMAL_SPEED;
    int finished = 0;      // commands finished by the tick
    int selectedRobot = 0; // 1 to 4, 0 for none
    bool bodyFrames = false;
    std::string inspection = "null"; // the selected robot's state as JSON, null for none
    bool posing = false;             // the selected robot may be posed by hand now
    bool canUndoPose = false;        // a hand pose step to take back, or to give back
    bool canRedoPose = false;
    std::string title;        // the program's window title
    std::string address;      // the page's query for the place, while paused
    std::string timelineText; // the timeline's spoken value
};

// The fields of `now` that differ from `last` (all of them with no last) as one JSON object,
// named as the record names them ({"tick":740,"paused":true}); "" when none differs.
std::string reportChanges(const ShowReport* last, const ShowReport& now);

// The text as a JSON string, quoted and escaped.
std::string jsonText(const std::string& text);

// How many of the whole show's commands have finished by the tick.
int finishedBy(const ShowHistory& whole, std::uint32_t tick);
