// Which command lines the program answers itself and which go to GLUT.
#include "common/command_line.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

CommandLineAction actionFor(std::vector<const char*> args) {
    args.insert(args.begin(), "cheerleaders");
    return commandLineAction(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, HelpAndVersionAreAnsweredAnywhereOnTheLine) {
    EXPECT_EQ(actionFor({"--help"}), CommandLineAction::PrintHelp);
    EXPECT_EQ(actionFor({"--version"}), CommandLineAction::PrintVersion);
    EXPECT_EQ(actionFor({"-display", ":3", "--version"}), CommandLineAction::PrintVersion);
    EXPECT_EQ(actionFor({"--version", "--help"}), CommandLineAction::PrintHelp);
}

TEST(CommandLine, EverythingElseRunsTheShow) {
    EXPECT_EQ(actionFor({}), CommandLineAction::RunShow);
    EXPECT_EQ(actionFor({"-display", ":3", "-geometry", "600x600"}), CommandLineAction::RunShow);
    EXPECT_EQ(actionFor({"--versions", "-help", "help"}), CommandLineAction::RunShow);
    // The program's own name is not an argument.
    const char* named[] = {"--help"};
    EXPECT_EQ(commandLineAction(1, named), CommandLineAction::RunShow);
}

// Runs takeShowOptions on a copy of the arguments; returns what stayed for glutInit.
std::vector<std::string> takeFrom(std::vector<std::string> args, ShowOptions& options,
                                  std::string& refusal, bool& taken) {
    args.insert(args.begin(), "cheerleaders");
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    taken = takeShowOptions(argc, argv.data(), options, refusal);
    EXPECT_EQ(argv[static_cast<size_t>(argc)], nullptr);
    return std::vector<std::string>(argv.begin() + 1, argv.begin() + argc);
}

TEST(CommandLine, ShowOptionsAreTakenOutAndTheRestLeftForGlut) {
    ShowOptions options;
    std::string refusal;
    bool taken = false;
    const auto rest = takeFrom({"-display", ":3", "--at", "1000", "--paused", "--camera",
                                "-1.5,0,4.94999981,1e-08,359,90", "-sync"},
                               options, refusal, taken);
    EXPECT_TRUE(taken) << refusal;
    EXPECT_EQ(rest, (std::vector<std::string>{"-display", ":3", "-sync"}));
    EXPECT_EQ(options.tick, 1000u);
    EXPECT_TRUE(options.paused && options.hasTick && options.hasCamera);
    EXPECT_EQ(options.camera[0], -1.5f);
    EXPECT_EQ(options.camera[2], 4.94999981f);
    EXPECT_EQ(options.camera[5], 90.0f);
}

TEST(CommandLine, BadValuesAreRefusedByName) {
    const std::vector<std::vector<std::string>> bad = {
        {"--at", "-1"},
        {"--at", "12x"},
        {"--at", "4294967296"},
        {"--at"},
        {"--camera", "1,2,3"},
        {"--camera", "1,2,3,4,5,6,7"},
        {"--camera", "1,2,3,4,5,nan"},
        {"--camera", "1,2,3,4,5, 6"},
        {"--camera", "1,2,,4,5,6"},
    };
    for (const auto& args : bad) {
        ShowOptions options;
        std::string refusal;
        bool taken = true;
        takeFrom(args, options, refusal, taken);
        EXPECT_FALSE(taken) << args.back();
        EXPECT_NE(refusal.find(args[0]), std::string::npos) << refusal;
    }
}

TEST(CommandLine, ThePlaceLineReadsBackAsTheSamePlace) {
    const float camera[CAMERA_VALUE_COUNT] = {-1.5f, 0.1f, 4.9499998f, -0.0017452f, 359.0f, 1e-8f};
    const std::string line = placeLine(740, true, camera);
    EXPECT_NE(line.find("?t=740&paused&cam="), std::string::npos) << line;
    std::istringstream words(line.substr(0, line.find("page:")));
    std::vector<std::string> args;
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    args.erase(args.begin()); // "place:"
    ShowOptions options;
    std::string refusal;
    bool taken = false;
    EXPECT_TRUE(takeFrom(args, options, refusal, taken).empty());
    EXPECT_TRUE(taken && options.paused) << refusal;
    EXPECT_EQ(options.tick, 740u);
    EXPECT_EQ(std::memcmp(options.camera, camera, sizeof camera), 0) << line;

    // The page's half of the line opens the same place, the page's own parameters kept aside.
    ShowOptions linked;
    const std::string query = "?hold=0&" + line.substr(line.find("?t=") + 1);
    EXPECT_TRUE(readPageQuery(query, linked, refusal)) << refusal;
    EXPECT_TRUE(linked.hasTick && linked.paused && linked.tick == 740u);
    EXPECT_EQ(std::memcmp(linked.camera, camera, sizeof camera), 0) << query;
    EXPECT_EQ(pageQuery(query, linked), query);
    linked.paused = linked.hasCamera = false;
    linked.tick = 12;
    EXPECT_EQ(pageQuery("?t=1&x=%2C&cam=1&paused", linked), "?x=%2C&t=12");
}

TEST(CommandLine, APageLinkWithABadValueIsRefusedByThatValue) {
    ShowOptions options;
    std::string refusal;
    EXPECT_TRUE(readPageQuery("t=5&cam=1%2C2,3,4,5,6&hold", options, refusal)) << refusal;
    EXPECT_TRUE(options.hasCamera && !options.paused);
    EXPECT_EQ(options.camera[1], 2.0f);
    for (const char* bad : {"t=-1", "t=", "cam=1,2,3", "paused=no", "cam=1,2,3,4,5,1e99"}) {
        options.tick = 77;
        EXPECT_FALSE(readPageQuery(std::string("?hold=3&") + bad, options, refusal)) << bad;
        EXPECT_NE(refusal.find(std::string(" ") + bad + " "), std::string::npos) << refusal;
        EXPECT_EQ(options.tick, 77u) << "a refused link changed the place";
    }
}

} // namespace
