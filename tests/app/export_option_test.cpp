#include "app/command_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct Taken {
    ExportRequest request;
    std::string path, refusal;
    std::vector<std::string> left;
};

Taken take(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    Taken taken;
    taken.request = takeExportOption(argc, argv.data(), taken.path, taken.refusal);
    for (int i = 0; i < argc; ++i) {
        taken.left.push_back(argv[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
    return taken;
}
} // namespace

TEST(ExportOption, TakesTheFileAfterTheOptionOrAnEqualsSignAndLeavesTheRest) {
    Taken spaced = take({"cheerleaders", "--at", "5", "--export-gltf", "show.glb", "-x"});
    EXPECT_EQ(spaced.request, ExportRequest::Export);
    EXPECT_EQ(spaced.path, "show.glb");
    EXPECT_EQ(spaced.left, (std::vector<std::string>{"cheerleaders", "--at", "5", "-x"}));

    Taken joined = take({"cheerleaders", "--export-gltf=a b.glb"});
    EXPECT_EQ(joined.request, ExportRequest::Export);
    EXPECT_EQ(joined.path, "a b.glb");
    EXPECT_EQ(joined.left, (std::vector<std::string>{"cheerleaders"}));
}

TEST(ExportOption, AbsentLeavesEverythingAndAMissingFileIsRefused) {
    Taken none = take({"cheerleaders", "--export-gltfx", "--paused"});
    EXPECT_EQ(none.request, ExportRequest::None);
    EXPECT_EQ(none.left, (std::vector<std::string>{"cheerleaders", "--export-gltfx", "--paused"}));

    for (const auto& line : {std::vector<std::string>{"cheerleaders", "--export-gltf"},
                             std::vector<std::string>{"cheerleaders", "--export-gltf="}}) {
        Taken refused = take(line);
        EXPECT_EQ(refused.request, ExportRequest::Refused);
        EXPECT_NE(refused.refusal.find("--export-gltf needs a file name"), std::string::npos);
    }
}
