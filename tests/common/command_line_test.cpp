// Which command lines the program answers itself and which go to GLUT.
#include "common/command_line.h"

#include <gtest/gtest.h>
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

} // namespace
