// The show report: each field that changes alone is the one reported, nothing when nothing
// changed, and the text read back gives the record; the commands finished by a tick.
#include "choreography/show_report.h"
#include "choreography/show_time.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

ShowReport sample() {
    ShowReport report;
    report.tick = 740;
    report.length = 2366;
    report.paused = true;
    report.speed = 5;
    report.finished = 2;
    report.selectedRobot = 3;
    report.bodyFrames = true;
    report.inspection = "{\"robot\":3,\"joints\":[{\"name\":\"a, b\",\"angle\":\"}\"}],\"x\":null}";
    report.title = "Robot \"Cheer\" \\ — tick 740 of 2366, paused";
    report.address = "?hold=0&t=740&paused&cam=0,0,5,0,0,0";
    report.timelineText = "tick 740 of 2366, 12.3 seconds";
    return report;
}

bool same(const ShowReport& a, const ShowReport& b) {
    return a.tick == b.tick && a.length == b.length && a.paused == b.paused && a.speed == b.speed &&
           a.finished == b.finished && a.selectedRobot == b.selectedRobot &&
           a.bodyFrames == b.bodyFrames && a.inspection == b.inspection && a.title == b.title &&
           a.address == b.address && a.timelineText == b.timelineText;
}

TEST(ShowReport, EachFieldChangedAloneIsReportedAloneAndReadsBack) {
    const ShowReport last = sample();
    const std::vector<std::pair<std::string, std::function<void(ShowReport&)>>> changes = {
        {"{\"tick\":741}", [](ShowReport& r) { r.tick = 741; }},
        {"{\"length\":2365}", [](ShowReport& r) { r.length = 2365; }},
        {"{\"paused\":false}", [](ShowReport& r) { r.paused = false; }},
        {"{\"speed\":4}", [](ShowReport& r) { r.speed = 4; }},
        {"{\"finished\":3}", [](ShowReport& r) { r.finished = 3; }},
        {"{\"selectedRobot\":0}", [](ShowReport& r) { r.selectedRobot = 0; }},
        {"{\"bodyFrames\":false}", [](ShowReport& r) { r.bodyFrames = false; }},
        {"{\"inspection\":null}", [](ShowReport& r) { r.inspection = "null"; }},
        {"{\"title\":\"T\\u000a\"}", [](ShowReport& r) { r.title = "T\n"; }},
        {"{\"address\":\"\"}", [](ShowReport& r) { r.address = ""; }},
        {"{\"timelineText\":\"tick 0\"}", [](ShowReport& r) { r.timelineText = "tick 0"; }},
    };
    for (const auto& [expected, change] : changes) {
        ShowReport now = last;
        change(now);
        EXPECT_EQ(reportChanges(&last, now), expected);
        ShowReport read = last;
        ASSERT_TRUE(applyReport(expected, read)) << expected;
        EXPECT_TRUE(same(read, now)) << expected;
        // Back again is a change too.
        EXPECT_FALSE(reportChanges(&now, last).empty()) << expected;
    }
}

TEST(ShowReport, NothingChangedIsNothingAndTheFirstReportIsWhole) {
    const ShowReport report = sample();
    ShowReport copy = report;
    EXPECT_EQ(reportChanges(&report, copy), "");

    const std::string whole = reportChanges(nullptr, report);
    ShowReport read;
    ASSERT_TRUE(applyReport(whole, read)) << whole;
    EXPECT_TRUE(same(read, report)) << whole;
    EXPECT_EQ(reportChanges(&read, report), "");
    // A field at its default is reported too when there was no report before.
    EXPECT_NE(reportChanges(nullptr, ShowReport{}).find("\"tick\":0,"), std::string::npos);

    ShowReport two = report;
    two.tick = 9;
    two.paused = false;
    EXPECT_EQ(reportChanges(&report, two), "{\"tick\":9,\"paused\":false}");
}

TEST(ShowReport, TextThatIsNoReportIsRefused) {
    for (const char* text :
         {"", "{}", "tick:1", "{\"tick\":1", "{\"tick\":-1}", "{\"tick\":}", "{\"speed\":x}",
          "{\"paused\":yes}", "{\"colour\":1}", "{\"title\":\"open}", "{\"inspection\":{\"a\":1}}}",
          "{\"inspection\":{\"a\":[1}}", "{\"tick\":1}x", "{\"title\":\"\\u0041\"}"}) {
        ShowReport report;
        EXPECT_FALSE(applyReport(text, report)) << text;
    }
    ShowReport report;
    ASSERT_TRUE(applyReport("{\"speed\":-2,\"selectedRobot\":4}", report));
    EXPECT_EQ(report.speed, -2);
    EXPECT_EQ(report.selectedRobot, 4);
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
