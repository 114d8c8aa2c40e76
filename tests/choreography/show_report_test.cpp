// The show report: each field that changes alone is the one reported, nothing when nothing
// changed, and the text, read by a JSON parser as the page's script reads it, gives the record;
// the commands finished by a tick.
#include "choreography/show_report.h"
#include "choreography/show_time.h"

#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace {

ShowReport sample() {
    ShowReport report;
    report.tick = 740;
    report.length = 2366;
    report.show = 2;
    report.paused = true;
    report.speed = 5;
    report.finished = 2;
    report.selectedRobot = 3;
    report.bodyFrames = true;
    report.posing = true;
    report.canRedoPose = true;
    report.inspection = "{\"robot\":3,\"joints\":[{\"name\":\"a, b\",\"angle\":\"}\"}],\"x\":null}";
    report.title = "Robot \"Cheer\" \\ — tick 740 of 2366, paused";
    report.address = "?hold=0&t=740&paused&cam=0,0,5,0,0,0";
    report.timelineText = "tick 740 of 2366, 12.3 seconds";
    return report;
}

using nlohmann::json;

// The fields a report names, put over the last record as the page merges them; a text that is
// no JSON object, or names a field the record does not have, fails the test.
ShowReport applied(const std::string& text, ShowReport report) {
    const json changes = json::parse(text);
    EXPECT_TRUE(changes.is_object()) << text;
    for (const auto& [name, value] : changes.items()) {
        if (name == "tick") {
            report.tick = value.get<std::uint32_t>();
        } else if (name == "length") {
            report.length = value.get<std::uint32_t>();
        } else if (name == "show") {
            report.show = value.get<int>();
        } else if (name == "paused") {
            report.paused = value.get<bool>();
        } else if (name == "speed") {
            report.speed = value.get<int>();
        } else if (name == "finished") {
            report.finished = value.get<int>();
        } else if (name == "selectedRobot") {
            report.selectedRobot = value.get<int>();
        } else if (name == "bodyFrames") {
            report.bodyFrames = value.get<bool>();
        } else if (name == "inspection") {
            report.inspection = value.dump();
        } else if (name == "posing") {
            report.posing = value.get<bool>();
        } else if (name == "canUndoPose") {
            report.canUndoPose = value.get<bool>();
        } else if (name == "canRedoPose") {
            report.canRedoPose = value.get<bool>();
        } else if (name == "title") {
            report.title = value.get<std::string>();
        } else if (name == "address") {
            report.address = value.get<std::string>();
        } else if (name == "timelineText") {
            report.timelineText = value.get<std::string>();
        } else {
            ADD_FAILURE() << "a field the record does not have: " << name;
        }
    }
    return report;
}

// The inspection is JSON of its own: compared as the value it is, not as its spelling.
bool same(const ShowReport& a, const ShowReport& b) {
    return a.tick == b.tick && a.length == b.length && a.show == b.show && a.paused == b.paused &&
           a.speed == b.speed && a.finished == b.finished && a.selectedRobot == b.selectedRobot &&
           a.bodyFrames == b.bodyFrames && json::parse(a.inspection) == json::parse(b.inspection) &&
           a.posing == b.posing && a.canUndoPose == b.canUndoPose &&
           a.canRedoPose == b.canRedoPose && a.title == b.title && a.address == b.address &&
           a.timelineText == b.timelineText;
}

TEST(ShowReport, EachFieldChangedAloneIsReportedAloneAndReadsBack) {
    const ShowReport last = sample();
    const std::vector<std::pair<std::string, std::function<void(ShowReport&)>>> changes = {
        {"{\"tick\":741}", [](ShowReport& r) { r.tick = 741; }},
        {"{\"length\":2365}", [](ShowReport& r) { r.length = 2365; }},
        {"{\"show\":3}", [](ShowReport& r) { r.show = 3; }},
        {"{\"paused\":false}", [](ShowReport& r) { r.paused = false; }},
        {"{\"speed\":4}", [](ShowReport& r) { r.speed = 4; }},
        {"{\"finished\":3}", [](ShowReport& r) { r.finished = 3; }},
        {"{\"selectedRobot\":0}", [](ShowReport& r) { r.selectedRobot = 0; }},
        {"{\"bodyFrames\":false}", [](ShowReport& r) { r.bodyFrames = false; }},
        {"{\"inspection\":null}", [](ShowReport& r) { r.inspection = "null"; }},
        {"{\"posing\":false}", [](ShowReport& r) { r.posing = false; }},
        {"{\"canUndoPose\":true}", [](ShowReport& r) { r.canUndoPose = true; }},
        {"{\"canRedoPose\":false}", [](ShowReport& r) { r.canRedoPose = false; }},
        {"{\"title\":\"T\\u000a\"}", [](ShowReport& r) { r.title = "T\n"; }},
        {"{\"address\":\"\"}", [](ShowReport& r) { r.address = ""; }},
        {"{\"timelineText\":\"tick 0\"}", [](ShowReport& r) { r.timelineText = "tick 0"; }},
    };
    for (const auto& [expected, change] : changes) {
        ShowReport now = last;
        change(now);
        EXPECT_EQ(reportChanges(&last, now), expected);
        EXPECT_TRUE(same(applied(expected, last), now)) << expected;
        // Back again is a change too.
        EXPECT_FALSE(reportChanges(&now, last).empty()) << expected;
    }
}

TEST(ShowReport, NothingChangedIsNothingAndTheFirstReportIsWhole) {
    const ShowReport report = sample();
    ShowReport copy = report;
    EXPECT_EQ(reportChanges(&report, copy), "");

    const std::string whole = reportChanges(nullptr, report);
    const ShowReport read = applied(whole, ShowReport{});
    EXPECT_TRUE(same(read, report)) << whole;
    // A field at its default is reported too when there was no report before.
    EXPECT_NE(reportChanges(nullptr, ShowReport{}).find("\"tick\":0,"), std::string::npos);

    ShowReport two = report;
    two.tick = 9;
    two.paused = false;
    EXPECT_EQ(reportChanges(&report, two), "{\"tick\":9,\"paused\":false}");
}

TEST(ShowReport, EveryTextIsValidJsonWhateverItHolds) {
    // Quotes, backslashes, control characters and text beyond ASCII in the strings; an
    // inspection with strings that hold braces and commas.
    ShowReport report = sample();
    report.title = std::string("a\"b\\c\td\x01" "e\x1f \u00d7 \u2014");
    report.address = "?x=%22&y=\\";
    const json whole = json::parse(reportChanges(nullptr, report));
    EXPECT_EQ(whole.at("title").get<std::string>(), report.title);
    EXPECT_EQ(whole.at("address").get<std::string>(), report.address);
    EXPECT_EQ(whole.at("inspection").at("joints").at(0).at("angle"), "}");
    EXPECT_EQ(whole.size(), 15u);
}

TEST(ShowReport, FinishedByCountsTheCompletionsUpToAndAtTheTick) {
    ShowHistory whole{};
    whole.completionCount = 3;
    whole.completions[0].tick = 274;
    whole.completions[1].tick = 726;
    whole.completions[2].tick = 1002;
    EXPECT_EQ(finishedBy(whole, 0), 0);
    EXPECT_EQ(finishedBy(whole, 273), 0);
    EXPECT_EQ(finishedBy(whole, 274), 1);
    EXPECT_EQ(finishedBy(whole, 1001), 2);
    EXPECT_EQ(finishedBy(whole, 1002), 3);
    EXPECT_EQ(finishedBy(whole, 5000), 3);
}

} // namespace
