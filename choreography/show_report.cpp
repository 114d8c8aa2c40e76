#include "choreography/show_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace {

std::string quoted(const std::string& text) {
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
        json += raw ? now.*field : quoted(now.*field);
    } else {
        json += written(now.*field);
    }
}

// A reader of the object reportChanges writes: `at` walks the text.
struct Reader {
    const std::string& text;
    std::size_t at = 0;

    bool take(char c) {
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }

    bool readString(std::string& value) {
        if (!take('"')) {
            return false;
        }
        value.clear();
        while (at < text.size() && text[at] != '"') {
            char c = text[at++];
            if (c == '\\') {
                if (at >= text.size()) {
                    return false;
                }
                c = text[at++];
                if (c == 'u') {
                    if (at + 4 > text.size()) {
                        return false;
                    }
                    char* end = nullptr;
                    const std::string digits = text.substr(at, 4);
                    const long code = std::strtol(digits.c_str(), &end, 16);
                    // Only the control characters are written so.
                    if (*end != 0 || code >= 0x20) {
                        return false;
                    }
                    at += 4;
                    c = static_cast<char>(code);
                } else if (c != '"' && c != '\\' && c != '/') {
                    return false;
                }
            }
            value += c;
        }
        return take('"');
    }

    template <typename T> bool readNumber(T& value) {
        const bool negative = take('-');
        const std::size_t from = at;
        long long number = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - from < 12) {
            number = number * 10 + (text[at++] - '0');
        }
        if (at == from || (negative && std::is_unsigned_v<T>)) {
            return false;
        }
        value = static_cast<T>(negative ? -number : number);
        return true;
    }

    bool readBool(bool& value) {
        for (const bool b : {true, false}) {
            const std::string word = written(b);
            if (text.compare(at, word.size(), word) == 0) {
                at += word.size();
                value = b;
                return true;
            }
        }
        return false;
    }

    // A whole JSON value, kept as written: braces and brackets counted outside strings.
    bool readRaw(std::string& value) {
        const std::size_t from = at;
        int depth = 0;
        std::string skipped;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '"') {
                if (!readString(skipped)) {
                    return false;
                }
                continue;
            }
            if (depth == 0 && (c == ',' || c == '}')) {
                break;
            }
            depth += c == '{' || c == '[' ? 1 : c == '}' || c == ']' ? -1 : 0;
            if (depth < 0) {
                return false;
            }
            ++at;
        }
        value = text.substr(from, at - from);
        return depth == 0 && at > from;
    }

    bool readField(ShowReport& report) {
        std::string name;
        if (!readString(name) || !take(':')) {
            return false;
        }
        if (name == "tick")
            return readNumber(report.tick);
        if (name == "length")
            return readNumber(report.length);
        if (name == "paused")
            return readBool(report.paused);
        if (name == "speed")
            return readNumber(report.speed);
        if (name == "finished")
            return readNumber(report.finished);
        if (name == "selectedRobot")
            return readNumber(report.selectedRobot);
        if (name == "bodyFrames")
            return readBool(report.bodyFrames);
        if (name == "inspection")
            return readRaw(report.inspection);
        if (name == "title")
            return readString(report.title);
        if (name == "address")
            return readString(report.address);
        if (name == "timelineText")
            return readString(report.timelineText);
        return false;
    }
};

} // namespace

std::string reportChanges(const ShowReport* last, const ShowReport& now) {
    std::string json;
    addChange(json, last, now, &ShowReport::tick, "tick");
    addChange(json, last, now, &ShowReport::length, "length");
    addChange(json, last, now, &ShowReport::paused, "paused");
    addChange(json, last, now, &ShowReport::speed, "speed");
    addChange(json, last, now, &ShowReport::finished, "finished");
    addChange(json, last, now, &ShowReport::selectedRobot, "selectedRobot");
    addChange(json, last, now, &ShowReport::bodyFrames, "bodyFrames");
    addChange(json, last, now, &ShowReport::inspection, "inspection", true);
    addChange(json, last, now, &ShowReport::title, "title");
    addChange(json, last, now, &ShowReport::address, "address");
    addChange(json, last, now, &ShowReport::timelineText, "timelineText");
    return json.empty() ? json : json + "}";
}

bool applyReport(const std::string& text, ShowReport& report) {
    Reader reader{text};
    if (!reader.take('{')) {
        return false;
    }
    do {
        if (!reader.readField(report)) {
            return false;
        }
    } while (reader.take(','));
    return reader.take('}') && reader.at == text.size();
}

int finishedBy(const ShowHistory& whole, std::uint32_t tick) {
    int count = 0;
    while (count < whole.completionCount && whole.completions[count].tick <= tick) {
        ++count;
    }
    return count;
}
