#include "choreography/show_place.h"

#include "choreography/show_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

const PlaceValueName PLACE_VALUE_NAMES[PLACE_VALUE_COUNT] = {
    {PlaceValue::Tick, "t", "--at", false},
    {PlaceValue::Paused, "paused", "--paused", true},
    {PlaceValue::Speed, "speed", "--speed", false},
    {PlaceValue::Camera, "cam", "--camera", false},
};

namespace {

constexpr int CAMERA_VALUE_COUNT = 6;
// The camera's values in the order the text writes them.
constexpr float ViewerCamera::*CAMERA_MEMBERS[CAMERA_VALUE_COUNT] = {
    &ViewerCamera::heading, &ViewerCamera::x,         &ViewerCamera::z,
    &ViewerCamera::bob,     &ViewerCamera::stepPhase, &ViewerCamera::pitch,
};

// Nine significant digits carry every float exactly through text and back.
constexpr char FLOAT_FORMAT[] = "%.9g";

bool readTick(const std::string& text, std::uint32_t& tick) {
    // Digits only: no sign, no space, no NUL (a string may hold one where a C string ends).
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    std::uint64_t value = 0;
    for (char digit : text) {
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
        if (value > MAX_TICK) {
            return false;
        }
    }
    tick = static_cast<std::uint32_t>(value);
    return true;
}

bool readPaused(const std::string& text, bool hasValue, bool& paused) {
    if (!hasValue || text == "1" || text == "true") {
        paused = true;
        return true;
    }
    if (text == "0" || text == "false") {
        paused = false;
        return true;
    }
    return false;
}

bool readSpeed(const std::string& text, int& speed) {
    for (int k = 0; k < SPEED_COUNT; ++k) {
        if (text == speedName(k)) {
            speed = k;
            return true;
        }
    }
    return false;
}

// One float that starts at `at` and ends at a comma or the end of the text.
bool readFloat(const std::string& text, std::size_t& at, float& value) {
    // strtof skips leading blanks and stops at a NUL; a value must start at once (strchr finds
    // the NUL too) and end where the string says.
    if (at >= text.size() || std::strchr(" \t\n\v\f\r,+", text[at]) != nullptr) {
        return false;
    }
    const char* start = text.c_str() + at;
    char* end = nullptr;
    value = std::strtof(start, &end);
    at += static_cast<std::size_t>(end - start);
    return end != start && std::isfinite(value) && (at == text.size() || text[at] == ',');
}

bool readCamera(const std::string& text, ViewerCamera& camera) {
    ViewerCamera read;
    std::size_t at = 0;
    for (int k = 0; k < CAMERA_VALUE_COUNT; ++k) {
        if (k > 0 && (at >= text.size() || text[at++] != ',')) {
            return false;
        }
        if (!readFloat(text, at, read.*CAMERA_MEMBERS[k])) {
            return false;
        }
    }
    if (at != text.size()) {
        return false;
    }
    camera = read;
    return true;
}

std::string speedNames() {
    std::string names;
    for (int k = 0; k < SPEED_COUNT; ++k) {
        names += (k > 0 ? ", " : "") + speedName(k);
    }
    return names;
}

// A parameter of a query as its link wrote it: %XX spelled out, the rest as it is.
std::string decoded(const std::string& text) {
    std::string plain;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const bool escape = text[k] == '%' && k + 2 < text.size() &&
                            std::isxdigit(static_cast<unsigned char>(text[k + 1])) &&
                            std::isxdigit(static_cast<unsigned char>(text[k + 2]));
        if (escape) {
            plain += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            plain += text[k];
        }
    }
    return plain;
}

// The query's parameters, each as written, and its name and value spelled out.
struct QueryParameter {
    std::string written, name, value;
    bool hasValue;
};
std::vector<QueryParameter> queryParameters(const std::string& query) {
    std::vector<QueryParameter> parameters;
    std::size_t at = query.empty() || query[0] != '?' ? 0 : 1;
    while (at < query.size()) {
        const std::size_t end = std::min(query.find('&', at), query.size());
        const std::string written = query.substr(at, end - at);
        const std::size_t equals = std::min(written.find('='), written.size());
        if (!written.empty()) {
            const bool hasValue = equals < written.size();
            parameters.push_back({written, decoded(written.substr(0, equals)),
                                  hasValue ? decoded(written.substr(equals + 1)) : "", hasValue});
        }
        at = end + 1;
    }
    return parameters;
}

const PlaceValueName* placeValueNamed(const std::string& queryName) {
    for (const PlaceValueName& n : PLACE_VALUE_NAMES) {
        if (queryName == n.query) {
            return &n;
        }
    }
    return nullptr;
}

} // namespace

bool readPlaceValue(PlaceValue value, const std::string& text, bool hasValue, ShowPlace& place,
                    std::string& why) {
    // Only paused may stand alone; every other name needs a value, and an empty one is none.
    bool read = false;
    if (text.size() > MAX_PLACE_VALUE_BYTES) {
        why = "a value has at most " + std::to_string(MAX_PLACE_VALUE_BYTES) + " bytes";
        return false;
    }
    switch (value) {
    case PlaceValue::Tick:
        read = hasValue && readTick(text, place.tick);
        why = "a tick is a whole number from 0 to " + tickText(MAX_TICK);
        break;
    case PlaceValue::Paused:
        read = readPaused(text, hasValue, place.paused);
        why = "paused takes no value, 1 or true, or 0 or false";
        break;
    case PlaceValue::Speed:
        read = hasValue && readSpeed(text, place.speed);
        why = "a speed is one of " + speedNames();
        break;
    case PlaceValue::Camera:
        read = hasValue && readCamera(text, place.camera);
        why = "the camera is six numbers H,X,Z,B,S,P";
        break;
    }
    if (read) {
        why.clear();
    }
    return read;
}

std::string tickText(std::uint32_t tick) {
    return std::to_string(tick);
}

std::string cameraText(const ViewerCamera& camera) {
    std::string text;
    for (int k = 0; k < CAMERA_VALUE_COUNT; ++k) {
        char value[32];
        std::snprintf(value, sizeof value, FLOAT_FORMAT,
                      static_cast<double>(camera.*CAMERA_MEMBERS[k]));
        text += (k > 0 ? "," : "") + std::string(value);
    }
    return text;
}

std::string queryWithoutPlace(const std::string& query) {
    std::string text;
    for (const QueryParameter& p : queryParameters(query)) {
        if (placeValueNamed(p.name) == nullptr) {
            text += (text.empty() ? "?" : "&") + p.written;
        }
    }
    return text;
}

std::string placeQuery(const std::string& query, const ShowPlace& place) {
    std::string text = queryWithoutPlace(query);
    const auto add = [&text](const std::string& parameter) {
        text += (text.empty() ? "?" : "&") + parameter;
    };
    add("t=" + tickText(place.tick));
    if (place.paused) {
        add("paused");
    }
    if (place.speed != NORMAL_SPEED) {
        add("speed=" + speedName(place.speed));
    }
    add("cam=" + cameraText(place.camera));
    return text;
}

bool readPlaceQuery(const std::string& query, ShowPlace& place, std::string& refusal) {
    if (query.size() > MAX_PLACE_QUERY_BYTES) {
        refusal = "The link of " + std::to_string(query.size()) + " bytes was refused (over " +
                  std::to_string(MAX_PLACE_QUERY_BYTES) + "): the show opens at its start.";
        return false;
    }
    ShowPlace read;
    for (const QueryParameter& p : queryParameters(query)) {
        const PlaceValueName* name = placeValueNamed(p.name);
        std::string why;
        if (name != nullptr && !readPlaceValue(name->value, p.value, p.hasValue, read, why)) {
            refusal = "The link's " + tokenText(p.written) + " was refused (" + why +
                      "): the show opens at its start.";
            return false;
        }
    }
    place = read;
    return true;
}

std::string placeLine(const ShowPlace& place) {
    std::string options = "--at " + tickText(place.tick);
    if (place.paused) {
        options += " --paused";
    }
    if (place.speed != NORMAL_SPEED) {
        options += " --speed " + speedName(place.speed);
    }
    options += " --camera " + cameraText(place.camera);
    return "place: " + options + "   page: " + placeQuery("", place);
}
