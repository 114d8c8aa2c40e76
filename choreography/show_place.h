// Show place: where the viewer is in the show (the tick, the pause, the playing speed and the
// camera) as one record and one text, the query `t=740&paused&speed=2&cam=H,X,Z,B,S,P`, with the
// one reader of each value. Pure. The command line reads its options with these readers; the `c`
// line, the page's links and the place a page keeps while its graphics are lost are this text.
#pragma once

#include "choreography/show_time.h"
#include "controls/walking_camera.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Past any place a link or a command line writes, and refused before it is read: one value (the
// longest written, a camera, is about a hundred bytes) and a whole query, which leaves room for a
// link carrying a whole show (64 KB of text) among the page's own parameters.
constexpr std::size_t MAX_PLACE_VALUE_BYTES = 4 * 1024;
constexpr std::size_t MAX_PLACE_QUERY_BYTES = 128 * 1024;

struct ShowPlace {
    std::uint32_t tick = 0; // since the show started or restarted, up to MAX_TICK
    bool paused = false;
    int speed = NORMAL_SPEED; // index into the speeds of show_time.h
    ViewerCamera camera;
};

// The place's values, each by its name in a query and as an option (`--at 740`, `--at=740`).
enum class PlaceValue { Tick, Paused, Speed, Camera };
constexpr int PLACE_VALUE_COUNT = 4;
struct PlaceValueName {
    PlaceValue value;
    const char* query;  // t, paused, speed, cam
    const char* option; // --at, --paused, --speed, --camera
    bool standsAlone;   // paused: the name alone says it
};
extern const PlaceValueName PLACE_VALUE_NAMES[PLACE_VALUE_COUNT];

// Reads one value into the place, the whole text or nothing: a tick is decimal digits from 0 to
// MAX_TICK; paused is no value (hasValue false), 1 or true, or 0 or false for not paused; a speed
// is a name as speedName writes it (1/8 … 8); the camera is six finite numbers H,X,Z,B,S,P
// (heading, x, z, bob, step phase, pitch) with commas between and nothing else. A value over
// MAX_PLACE_VALUE_BYTES is refused unread. A value refused leaves the place as it was and says in
// `why` what the value takes.
bool readPlaceValue(PlaceValue value, const std::string& text, bool hasValue, ShowPlace& place,
                    std::string& why);

// A value as the text writes it; floats with nine significant digits, which read back as the
// same float.
std::string tickText(std::uint32_t tick);
std::string cameraText(const ViewerCamera& camera);

// The query's own parameters (the `?` and all) in order, without the place's: an address that
// names no moment.
std::string queryWithoutPlace(const std::string& query);

// The query's own parameters (the `?` and all) in order, then t, paused (when paused), speed
// (when not the normal one) and cam; the query's own t, paused, speed and cam give way to them.
std::string placeQuery(const std::string& query, const ShowPlace& place);

// The place a query names (%XX spelled out first); a value it does not name is the start's.
// Parameters that are not the place's are the page's own and left alone. A query over
// MAX_PLACE_QUERY_BYTES, or a value refused, leaves false, the place as it was, and one line in
// `refusal` naming the parameter as written (control characters as '?', cut after 40 characters).
// Time linear in the query's length.
bool readPlaceQuery(const std::string& query, ShowPlace& place, std::string& refusal);

// The line `c` prints: the options and the page's query that open the show at this place.
std::string placeLine(const ShowPlace& place);
