#include "choreography/show_place.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Past any camera a run could walk or turn to, and within what a float holds exactly as a count.
constexpr double MAX_VALUE = 4e9;

// The camera's values by name, so that the text does not hang on the record's member order.
struct CameraField {
    const char* name;
    float ViewerCamera::*member;
};
constexpr CameraField CAMERA_FIELDS[] = {
    {"heading", &ViewerCamera::heading},
    {"x", &ViewerCamera::x},
    {"z", &ViewerCamera::z},
    {"bob", &ViewerCamera::bob},
    {"stepPhase", &ViewerCamera::stepPhase},
    {"pitch", &ViewerCamera::pitch},
};

// The number after "name": in the text, if there is one and it is finite and in range.
bool readValue(const char* text, const char* name, double& value) {
    char key[32];
    std::snprintf(key, sizeof key, "\"%s\":", name);
    const char* at = std::strstr(text, key);
    if (at == nullptr) {
        return false;
    }
    const char* start = at + std::strlen(key);
    char* end = nullptr;
    value = std::strtod(start, &end);
    return end != start && std::isfinite(value) && std::fabs(value) <= MAX_VALUE;
}
} // namespace

std::string placeText(const ShowPlace& place) {
    char field[64];
    std::snprintf(field, sizeof field, "{\"ticks\":%lu,\"paused\":%d",
                  static_cast<unsigned long>(place.ticks), place.paused ? 1 : 0);
    std::string text = field;
    for (const CameraField& f : CAMERA_FIELDS) {
        std::snprintf(field, sizeof field, ",\"%s\":%.9g", f.name,
                      static_cast<double>(place.camera.*f.member));
        text += field;
    }
    return text + "}";
}

bool readPlace(const char* text, ShowPlace& place) {
    ShowPlace read;
    double value = 0;
    if (!readValue(text, "ticks", value) || value < 0 || value != std::floor(value)) {
        return false;
    }
    read.ticks = static_cast<std::uint32_t>(value);
    if (!readValue(text, "paused", value)) {
        return false;
    }
    read.paused = value != 0;
    for (const CameraField& f : CAMERA_FIELDS) {
        if (!readValue(text, f.name, value)) {
            return false;
        }
        read.camera.*f.member = static_cast<float>(value);
    }
    place = read;
    return true;
}
