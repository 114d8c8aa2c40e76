// The readers' fuzz properties on the fuzz seeds and on every input the fuzzers found, kept in
// tests/data/fuzz/<target>: each is read and read back, or refused in one line.
#include "fuzz/reader_checks.h"

#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> files;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return files;
    }
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') {
            files.push_back(folder + "/" + entry->d_name);
        }
    }
    closedir(dir);
    return files;
}

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Target {
    const char* name;
    std::string (*check)(std::string_view);
};
const Target TARGETS[] = {
    {"place_query", checkPlaceQuery},
    {"command_line", checkCommandLine},
    {"show_file", checkShowFile},
};

TEST(ReaderChecks, SeedsAndFindsKeepEveryProperty) {
    for (const Target& target : TARGETS) {
        const std::vector<std::string> seeds = filesIn(std::string(FUZZ_SEEDS) + "/" + target.name);
        EXPECT_GE(seeds.size(), 10u) << target.name << ": the seeds are missing";
        std::vector<std::string> all = filesIn(std::string(FUZZ_FINDS) + "/" + target.name);
        all.insert(all.end(), seeds.begin(), seeds.end());
        for (const std::string& file : all) {
            EXPECT_EQ(target.check(contents(file)), "") << file;
        }
    }
}

// A line end or another control character in a refused value is shown as '?', so the refusal
// stays one line.
TEST(ReaderChecks, ARefusedControlCharacterLeavesOneLine) {
    EXPECT_EQ(checkPlaceQuery("?t=740&paused&cam=1,2,3,4,5,6"), "");
    EXPECT_EQ(checkPlaceQuery("?t=740\n&hold"), "");
    EXPECT_EQ(checkPlaceQuery(std::string("t=7\0\n", 5)), "");
    EXPECT_EQ(checkCommandLine(std::string("-display\0:3\0--at\0007\0--paused", 28)), "");
    EXPECT_EQ(checkCommandLine(std::string("--at\0\n7", 7)), "");
    EXPECT_EQ(checkCommandLine(std::string("--\r\n\0-x", 7)), "");
    EXPECT_EQ(checkShowFile("cheerleaders show 1\nrobot 1\npose\nrobot 2\npose\nrobot 3\npose\n"
                            "robot 4\npose letter=Q\n"),
              "");
    EXPECT_EQ(checkShowFile("cheerleaders show 1\nrobot 1\npose x\x1b\n"), "");
}

} // namespace
