#include "choreography/show_report.h"

#include <cstdio>
#include <string>
#include <type_traits>

std::string jsonText(const std::string& text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

namespace {

std::string written(std::uint32_t value) {
    return std::to_string(value);
}
std::string written(int value) {
    return std::to_string(value);
}
std::string written(bool value) {
    return value ? "true" : "false";
}

// Adds the field to the object when it differs from the last report's, or there is none.
template <typename T>
void addChange(std::string& json, const ShowReport* last, const ShowReport& now,
               T ShowReport::*field, const char* name, bool raw = false) {
    if (last != nullptr && last->*field == now.*field) {
        return;
    }
    json += json.empty() ? "{\"" : ",\"";
    json += name;
    json += "\":";
    if constexpr (std::is_same_v<T, std::string>) {
        json += raw ? now.*field : jsonText(now.*field);
    } else {
        json += written(now.*field);
    }
}

} // namespace

std::string reportChanges(const ShowReport* last, const ShowReport& now) {
    std::string json;
    addChange(json, last, now, &ShowReport::tick, "tick");
    addChange(json, last, now, &ShowReport::length, "length");
    addChange(json, last, now, &ShowReport::show, "show");
    addChange(json, last, now, &ShowReport::paused, "paused");
    addChange(json, last, now, &ShowReport::speed, "speed");
    addChange(json, last, now, &ShowReport::finished, "finished");
    addChange(json, last, now, &ShowReport::selectedRobot, "selectedRobot");
    addChange(json, last, now, &ShowReport::bodyFrames, "bodyFrames");
    addChange(json, last, now, &ShowReport::inspection, "inspection", true);
    addChange(json, last, now, &ShowReport::posing, "posing");
    addChange(json, last, now, &ShowReport::canUndoPose, "canUndoPose");
    addChange(json, last, now, &ShowReport::canRedoPose, "canRedoPose");
    addChange(json, last, now, &ShowReport::title, "title");
    addChange(json, last, now, &ShowReport::address, "address");
    addChange(json, last, now, &ShowReport::timelineText, "timelineText");
    return json.empty() ? json : json + "}";
}

int finishedBy(const ShowHistory& whole, std::uint32_t tick) {
    int count = 0;
    while (count < whole.completionCount && whole.completions[count].tick <= tick) {
        ++count;
    }
    return count;
}
