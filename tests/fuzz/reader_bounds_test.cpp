// The readers' bounds: each refuses text over its size before reading it, and reads or refuses
// worst-looking text of 32 KB and 64 KB alike (long numbers, many parameters, deep escapes, long
// lines, many commands and joints), with the time each took printed, not asserted.
#include "app/command_line.h"
#include "choreography/show_file.h"
#include "choreography/show_place.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr std::size_t HALF = 32 * 1024;
constexpr std::size_t WHOLE = 64 * 1024;

// The head, the unit as many whole times as fit before the tail, the pad, then the tail: `size`
// bytes in all.
std::string filled(const std::string& head, const std::string& unit, std::size_t size,
                   const std::string& tail, char pad) {
    std::string text = head;
    while (text.size() + unit.size() + tail.size() <= size) {
        text += unit;
    }
    text.resize(size - tail.size(), pad);
    return text + tail;
}

// Padded with empty parameters, empty arguments or blanks, which change nothing.
std::string query(const std::string& head, const std::string& unit, std::size_t size,
                  const std::string& tail = "") {
    return filled(head, unit, size, tail, '&');
}
std::string arguments(const std::string& head, const std::string& unit, std::size_t size,
                      const std::string& tail = "") {
    return filled(head, unit, size, tail, '\0');
}
std::string show(const std::string& head, const std::string& unit, std::size_t size,
                 const std::string& tail = "") {
    return filled(head, unit, size, tail, ' ');
}

// Runs the reader on the shape at both sizes, expects the same outcome from each, and prints
// what it took.
void expectBothSizes(const char* reader, const char* shape,
                     const std::function<std::string(std::size_t)>& make,
                     const std::function<bool(const std::string&)>& read, bool accepted) {
    for (std::size_t size : {HALF, WHOLE}) {
        const std::string text = make(size);
        ASSERT_EQ(text.size(), size) << shape;
        const auto start = std::chrono::steady_clock::now();
        const bool result = read(text);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        EXPECT_EQ(result, accepted) << reader << ", " << shape << ", " << size << " bytes";
        std::printf("%-12s %-28s %6zu bytes %8.3f ms\n", reader, shape, size, took.count());
    }
}

bool readsQuery(const std::string& query) {
    ShowPlace place;
    std::string refusal;
    const bool read = readPlaceQuery(query, place, refusal);
    EXPECT_LT(refusal.size(), 200u) << "a long refusal";
    return read;
}

// The text split at NULs into the arguments after the program's name.
bool readsCommandLine(const std::string& text) {
    std::vector<std::string> words = {"cheerleaders"};
    for (std::size_t at = 0, end = 0; at <= text.size(); at = end + 1) {
        end = std::min(text.find('\0', at), text.size());
        words.push_back(text.substr(at, end - at));
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    ShowPlace place;
    ShowChoice choice;
    std::string refusal;
    const bool read = takeShowOptions(argc, argv.data(), place, choice, refusal);
    EXPECT_LT(refusal.size(), 200u) << "a long refusal";
    return read;
}

bool readsShow(const std::string& text) {
    const ShowReading reading = readShow("bound", text);
    EXPECT_LT(reading.refusal.size(), 200u) << "a long refusal";
    return reading.accepted;
}

TEST(ReaderBounds, APlaceValueAndAQueryAreRefusedPastTheirSize) {
    ShowPlace place;
    std::string refusal;
    const std::string tick(MAX_PLACE_VALUE_BYTES - 3, '0');
    EXPECT_TRUE(readPlaceQuery("t=" + tick + "740", place, refusal)) << refusal;
    EXPECT_EQ(place.tick, 740u);
    EXPECT_FALSE(readPlaceQuery("t=" + tick + "0740", place, refusal));
    EXPECT_EQ(place.tick, 740u);
    EXPECT_NE(refusal.find("at most 4096 bytes"), std::string::npos) << refusal;

    // The whole query, the page's own parameters with it.
    const std::string link = query("?t=5&hold=", "x", MAX_PLACE_QUERY_BYTES);
    EXPECT_TRUE(readPlaceQuery(link, place, refusal)) << refusal;
    EXPECT_EQ(place.tick, 5u);
    EXPECT_FALSE(readPlaceQuery(link + "x", place, refusal));
    EXPECT_EQ(place.tick, 5u);
    EXPECT_EQ(refusal, "The link of 131073 bytes was refused (over 131072): the show opens at "
                       "its start.");

    // The command line's values are read by the same readers.
    const std::string camera = show("", "0", MAX_PLACE_VALUE_BYTES, ",2,3,4,5,6");
    EXPECT_TRUE(readsCommandLine(std::string("--camera\0", 9) + camera));
    EXPECT_FALSE(readsCommandLine(std::string("--camera\0", 9) + "0" + camera));
    EXPECT_FALSE(readsCommandLine("--at=0" + tick + "740"));
}

TEST(ReaderBounds, ThePlaceQueryReadsOrRefusesWorstShapesAlike) {
    const struct {
        const char* shape;
        std::function<std::string(std::size_t)> make;
        bool accepted;
    } shapes[] = {
        {"a long tick", [](std::size_t n) { return query("t=", "9", n); }, false},
        {"a long camera number", [](std::size_t n) { return query("cam=1", "0", n); }, false},
        {"many own parameters", [](std::size_t n) { return query("?", "a=1&", n); }, true},
        {"many ticks", [](std::size_t n) { return query("?", "t=740&", n, "t=7"); }, true},
        {"many cameras",
         [](std::size_t n) { return query("", "cam=-1.5,0,4.94999981,1e-8,359,90&", n, "t=1"); },
         true},
        {"many speeds", [](std::size_t n) { return query("", "speed=1/8&", n, "paused"); }, true},
        {"many ampersands", [](std::size_t n) { return query("?", "&", n); }, true},
        {"deep escapes", [](std::size_t n) { return query("x=", "%25", n); }, true},
        {"an escaped long tick", [](std::size_t n) { return query("t=", "%30", n); }, false},
        {"many equals signs", [](std::size_t n) { return query("cam=", "=", n); }, false},
        {"a refusal at the end", [](std::size_t n) { return query("", "b&", n, "&t=x"); }, false},
    };
    for (const auto& s : shapes) {
        expectBothSizes("place query", s.shape, s.make, readsQuery, s.accepted);
    }
}

TEST(ReaderBounds, TheCommandLineReadsOrRefusesWorstShapesAlike) {
    const std::string nul(1, '\0');
    const struct {
        const char* shape;
        std::function<std::string(std::size_t)> make;
        bool accepted;
    } shapes[] = {
        {"a long tick", [](std::size_t n) { return arguments("--at=", "1", n); }, false},
        {"a long unknown option", [](std::size_t n) { return arguments("--", "x", n); }, false},
        {"many pauses", [&](std::size_t n) { return arguments("--paused", nul + "--paused", n); },
         true},
        {"many ticks", [&](std::size_t n) { return arguments("-x", nul + "--at" + nul + "7", n); },
         true},
        {"many cameras",
         [&](std::size_t n) { return arguments("-x", nul + "--camera=1,2,3,4,5,6", n); }, true},
        {"many GLUT arguments", [&](std::size_t n) { return arguments("-x", nul + "-y", n); },
         true},
        {"many empty arguments", [&](std::size_t n) { return std::string(n, '\0'); }, true},
        {"a refusal at the end",
         [&](std::size_t n) { return arguments("-x", nul + "-y", n, nul + "--speed=3"); }, false},
    };
    for (const auto& s : shapes) {
        expectBothSizes("command line", s.shape, s.make, readsCommandLine, s.accepted);
    }
}

TEST(ReaderBounds, TheShowFileReadsOrRefusesWorstShapesAlike) {
    const std::string version = "cheerleaders show 1\n";
    const std::string others = "robot 2\npose\nrobot 3\npose\nrobot 4\npose\n";
    // Every robot's 64 commands, each a letter and a joint, then padding in a comment.
    std::string full = version;
    for (int robot = 1; robot <= 4; ++robot) {
        full += "robot " + std::to_string(robot) + "\n";
        for (std::uint32_t c = 0; c < MAX_SHOW_COMMANDS; ++c) {
            full += c % 2 == 0 ? "pose letter=W head_yaw=-359.5\n" : "pose letter=M\n";
        }
    }
    const struct {
        const char* shape;
        std::function<std::string(std::size_t)> make;
        bool accepted;
    } shapes[] = {
        {"a long number", [&](std::size_t n) { return show(version + "robot 1\nwalk 0.", "0", n); },
         false},
        {"a long whole number",
         [&](std::size_t n) { return show(version + "robot 1\nwalk 1", "0", n); }, false},
        {"a long unknown joint",
         [&](std::size_t n) { return show(version + "robot 1\npose x", "y", n, "=1"); }, false},
        {"a long unknown command", [&](std::size_t n) { return show(version, "q", n); }, false},
        {"many joints on a line",
         [&](std::size_t n) { return show(version + "robot 1\npose", " torso_yaw=0", n); }, false},
        {"many commands",
         [&](std::size_t n) { return show(version + "robot 1\n", "pose head_yaw=1\n", n); }, false},
        {"all commands and a long comment",
         [&](std::size_t n) { return show(full + "#", "x", n, "\n"); }, true},
        {"many blank lines",
         [&](std::size_t n) { return show(version + "robot 1\npose\n", "\r\n", n, others); }, true},
        {"many blanks",
         [&](std::size_t n) { return show(version + "robot 1\n", " ", n, "pose\n" + others); },
         true},
        {"many comment lines",
         [&](std::size_t n) { return show(version + others, "#\xc3\xa9\n", n, "robot 1\npose"); },
         true},
        {"a late byte not UTF-8",
         [&](std::size_t n) { return show(version + others, "# \xe2\x82\xac\n", n, "\xff"); },
         false},
        {"no robot at the end", [&](std::size_t n) { return show(version + others, "\n", n); },
         false},
    };
    for (const auto& s : shapes) {
        expectBothSizes("show file", s.shape, s.make, readsShow, s.accepted);
    }
}

} // namespace
