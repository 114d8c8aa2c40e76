// Which command lines the program answers itself and which go to GLUT.
#include "choreography/show_place.h"
#include "app/command_line.h"
#include "choreography/show_file.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
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
std::vector<std::string> takeFrom(std::vector<std::string> args, ShowPlace& place,
                                  ShowChoice& choice, std::string& refusal, bool& taken) {
    args.insert(args.begin(), "cheerleaders");
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    taken = takeShowOptions(argc, argv.data(), place, choice, refusal);
    EXPECT_EQ(argv[static_cast<size_t>(argc)], nullptr);
    return std::vector<std::string>(argv.begin() + 1, argv.begin() + argc);
}

std::vector<std::string> takeFrom(std::vector<std::string> args, ShowPlace& place,
                                  std::string& refusal, bool& taken) {
    ShowChoice choice;
    return takeFrom(std::move(args), place, choice, refusal, taken);
}

TEST(CommandLine, ShowOptionsAreTakenOutAndTheRestLeftForGlut) {
    ShowPlace place;
    std::string refusal;
    bool taken = false;
    const auto rest = takeFrom({"-display", ":3", "--at", "1000", "--paused", "--camera",
                                "-1.5,0,4.94999981,1e-08,359,90", "-sync", "--speed", "1/4"},
                               place, refusal, taken);
    EXPECT_TRUE(taken) << refusal;
    EXPECT_EQ(rest, (std::vector<std::string>{"-display", ":3", "-sync"}));
    EXPECT_EQ(place.tick, 1000u);
    EXPECT_TRUE(place.paused);
    EXPECT_EQ(place.speed, 1);
    EXPECT_EQ(place.camera.heading, -1.5f);
    EXPECT_EQ(place.camera.z, 4.94999981f);
    EXPECT_EQ(place.camera.pitch, 90.0f);
}

TEST(CommandLine, EachOptionTakesItsValueAfterAnEqualsSignToo) {
    ShowPlace place;
    std::string refusal;
    bool taken = false;
    const auto rest =
        takeFrom({"--at=740", "-iconic", "--paused=true", "--speed=8", "--camera=1,2,3,4,5,6"},
                 place, refusal, taken);
    EXPECT_TRUE(taken) << refusal;
    EXPECT_EQ(rest, (std::vector<std::string>{"-iconic"}));
    EXPECT_EQ(place.tick, 740u);
    EXPECT_TRUE(place.paused);
    EXPECT_EQ(place.speed, SPEED_COUNT - 1);
    EXPECT_EQ(place.camera.bob, 4.0f);
    // The last word counts; --paused=0 and =false open the show playing.
    for (const char* playing : {"--paused=0", "--paused=false"}) {
        takeFrom({"--paused", playing, "--at", "4294967295"}, place, refusal, taken);
        EXPECT_TRUE(taken && !place.paused) << playing << " " << refusal;
        EXPECT_EQ(place.tick, MAX_TICK);
    }
}

TEST(CommandLine, BadValuesAndUnknownOptionsAreRefusedByName) {
    const std::vector<std::vector<std::string>> bad = {
        {"--at", "-1"},
        {"--at", "12x"},
        {"--at", "4294967296"},
        {"--at", ""},
        {"--at="},
        {"--at=+3"},
        {"--at"},
        {"--paused="},
        {"--paused=yes"},
        {"--speed", "3"},
        {"--speed=1/16"},
        {"--speed"},
        {"--camera", "1,2,3"},
        {"--camera", "1,2,3,4,5,6,7"},
        {"--camera", "1,2,3,4,5,nan"},
        {"--camera", "1,2,3,4,5, 6"},
        {"--camera", "1,2,,4,5,6"},
        {"--camera=1,2,3,4,5,6junk"},
        {"--atx=5"},
        {"--fullscreen"},
        {"--"},
        {"--Paused"},
    };
    for (const auto& args : bad) {
        ShowPlace place;
        place.tick = 77;
        std::string refusal;
        bool taken = true;
        takeFrom(args, place, refusal, taken);
        EXPECT_FALSE(taken) << args.back();
        const std::string name = args[0].substr(0, args[0].find('='));
        EXPECT_NE(refusal.find(name), std::string::npos) << refusal;
        EXPECT_EQ(refusal.find('\n'), std::string::npos) << refusal;
        EXPECT_EQ(place.tick, 77u) << "a refused line changed the place";
    }
    ShowPlace place;
    std::string refusal;
    bool taken = true;
    takeFrom({"--at", "12x"}, place, refusal, taken);
    EXPECT_EQ(refusal, "cheerleaders: --at '12x' was refused (a tick is a whole number from 0 "
                       "to 4294967295)");
    takeFrom({"-display", ":3", "--at=740", "--bogus=1"}, place, refusal, taken);
    EXPECT_EQ(refusal, "cheerleaders: unknown option --bogus (see --help)");
}

TEST(CommandLine, ThePlaceLineReadsBackAsTheSamePlace) {
    const ShowPlace place{740, true, 0, {-1.5f, 0.1f, 4.9499998f, -0.0017452f, 359.0f, 1e-8f}};
    const std::string line = placeLine(place);
    EXPECT_NE(line.find("?t=740&paused&speed=1/8&cam="), std::string::npos) << line;
    std::istringstream words(line.substr(0, line.find("page:")));
    std::vector<std::string> args;
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    args.erase(args.begin()); // "place:"
    ShowPlace options;
    std::string refusal;
    bool taken = false;
    EXPECT_TRUE(takeFrom(args, options, refusal, taken).empty());
    EXPECT_TRUE(taken && options.paused) << refusal;
    EXPECT_EQ(options.tick, 740u);
    EXPECT_EQ(options.speed, 0);
    EXPECT_EQ(std::memcmp(&options.camera, &place.camera, sizeof place.camera), 0) << line;

    // The page's half of the line opens the same place, the page's own parameters kept aside.
    ShowPlace linked;
    const std::string query = "?hold=0&" + line.substr(line.find("?t=") + 1);
    EXPECT_TRUE(readPlaceQuery(query, linked, refusal)) << refusal;
    EXPECT_TRUE(linked.paused && linked.tick == 740u && linked.speed == 0);
    EXPECT_EQ(std::memcmp(&linked.camera, &place.camera, sizeof place.camera), 0) << query;
    EXPECT_EQ(placeQuery(query, linked), query);
    linked = ShowPlace{};
    linked.tick = 12;
    EXPECT_EQ(placeQuery("?t=1&x=%2C&cam=1&paused", linked), "?x=%2C&t=12&cam=0,0,5,0,0,0");
}

TEST(CommandLine, APageLinkWithABadValueIsRefusedByThatValue) {
    ShowPlace place;
    std::string refusal;
    EXPECT_TRUE(readPlaceQuery("t=5&cam=1%2C2,3,4,5,6&hold", place, refusal)) << refusal;
    EXPECT_FALSE(place.paused);
    EXPECT_EQ(place.camera.x, 2.0f);
    // paused=1 is paused, not a refused link.
    EXPECT_TRUE(readPlaceQuery("?paused=1&t=740", place, refusal)) << refusal;
    EXPECT_TRUE(place.paused);
    for (const char* bad :
         {"t=-1", "t=", "cam=1,2,3", "paused=no", "cam=1,2,3,4,5,1e99", "t=740%00junk"}) {
        place.tick = 77;
        EXPECT_FALSE(readPlaceQuery(std::string("?hold=3&") + bad, place, refusal)) << bad;
        EXPECT_NE(refusal.find(std::string(" ") + bad + " "), std::string::npos) << refusal;
        EXPECT_EQ(place.tick, 77u) << "a refused link changed the place";
    }
}

// Runs takeShowOptions and gives the show chosen.
bool choiceFrom(std::vector<std::string> args, ShowChoice& choice, std::string& refusal) {
    ShowPlace place;
    bool taken = false;
    takeFrom(std::move(args), place, choice, refusal, taken);
    return taken;
}

TEST(CommandLine, ShowFileSpelledWordAndPrintAreTakenAndClashesRefused) {
    ShowChoice choice;
    std::string refusal;
    ASSERT_TRUE(choiceFrom({"--show", "a.show", "--print-show", "--at=5"}, choice, refusal));
    EXPECT_TRUE(choice.fromFile && choice.file == "a.show" && choice.print && !choice.spelled);
    choice = ShowChoice{};
    ASSERT_TRUE(choiceFrom({"--spell=hi"}, choice, refusal)) << refusal;
    EXPECT_TRUE(choice.spelled && choice.word == "hi" && !choice.fromFile && !choice.print);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--show", "a", "--spell", "b"}, {"--show"}, {"--spell"},
          {"--print-show=1"}, {"--shows=a"}}) {
        ShowChoice kept;
        EXPECT_FALSE(choiceFrom(bad, kept, refusal)) << bad[0];
        EXPECT_EQ(refusal.find('\n'), std::string::npos);
        EXPECT_NE(refusal.find(bad[0].substr(0, bad[0].find('='))), std::string::npos) << refusal;
        EXPECT_FALSE(kept.fromFile || kept.spelled || kept.print) << "a refusal chose a show";
    }
}

TEST(CommandLine, TheShowChosenIsTheFilesTheWordsOrTheBuiltInOne) {
    const std::string good = testing::TempDir() + "/good.show";
    const std::string bad = testing::TempDir() + "/bad.show";
    std::ofstream(good) << "cheerleaders show 1\nrobot 1\nwalk -3 0.4 5\nrobot 2\npose\n"
                           "robot 3\npose\nrobot 4\npose letter=A\n";
    std::ofstream(bad) << "cheerleaders show 1\nrobot 1\nwalk -3 0.4 5\nrobot 2\n  jump\n";
    ShowScripts show{};
    std::string refusal;
    ShowChoice choice;
    ASSERT_TRUE(chooseShow(choice, show, refusal));
    EXPECT_EQ(writeShow(show), writeShow(builtInShow()));
    choice.fromFile = true;
    choice.file = good;
    ASSERT_TRUE(chooseShow(choice, show, refusal)) << refusal;
    EXPECT_EQ(show.commandCount[0], 1u);
    EXPECT_EQ(show.script[0][3], 5.0f);
    choice.file = bad;
    EXPECT_FALSE(chooseShow(choice, show, refusal));
    EXPECT_EQ(refusal.rfind(bad + ":5:3: ", 0), 0u) << refusal;
    choice.file = testing::TempDir() + "/missing.show";
    EXPECT_FALSE(chooseShow(choice, show, refusal));
    EXPECT_NE(refusal.find("missing.show"), std::string::npos) << refusal;
    choice = ShowChoice{};
    choice.spelled = true;
    choice.word = "ab";
    ASSERT_TRUE(chooseShow(choice, show, refusal)) << refusal;
    EXPECT_NE(writeShow(show), writeShow(builtInShow()));
    for (const char* word : {"", "abcde", "a-b"}) {
        choice.word = word;
        EXPECT_FALSE(chooseShow(choice, show, refusal)) << word;
        EXPECT_EQ(refusal.rfind("cheerleaders: --spell '" + choice.word + "'", 0), 0u) << refusal;
    }
}

} // namespace
