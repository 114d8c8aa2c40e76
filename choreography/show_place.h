// Show place: where the show and the viewer are (the ticks run, the pause, the camera), as a
// record and as the text a page keeps while its graphics are lost. Pure; the page's exports save
// the program's place into it and restore the program from it.
#pragma once

#include "controls/walking_camera.h"

#include <cstdint>
#include <string>

struct ShowPlace {
    std::uint32_t ticks = 0; // since the show started or restarted
    bool paused = false;
    ViewerCamera camera;
};

// The place as text, each value named; floats are written so that they read back bit for bit.
std::string placeText(const ShowPlace& place);

// The place that placeText wrote. Text that is not one (a value missing, not finite, or past what
// a run could reach) gives false and leaves the place as it was.
bool readPlace(const char* text, ShowPlace& place);
