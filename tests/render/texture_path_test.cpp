// Where a texture is read from: the working directory first, then the data directory found
// from the executable's own place, for a packaged and for a relocated install.
#include "render/texture_path.h"

#include <gtest/gtest.h>

namespace {

const std::string FROM_BINDIR = "../share/games/cheerleaders";

TEST(TexturePath, DataDirIsFoundFromTheProgramsOwnFolder) {
    EXPECT_EQ(installedDataDir("/usr/games/cheerleaders", FROM_BINDIR),
              "/usr/share/games/cheerleaders");
    EXPECT_EQ(installedDataDir("/home/u/opt/cheer/games/cheerleaders", FROM_BINDIR),
              "/home/u/opt/cheer/share/games/cheerleaders");
    EXPECT_EQ(installedDataDir("/usr/games/cheerleaders", "data"), "/usr/games/data");
}

TEST(TexturePath, UnknownExecutableGivesNoDataDir) {
    EXPECT_EQ(installedDataDir("", FROM_BINDIR), "");
}

TEST(TexturePath, WorkingDirectoryWinsThenTheDataDir) {
    const std::string dataDir = "/usr/share/games/cheerleaders";
    EXPECT_EQ(texturePath("leopard.bmp", true, dataDir), "leopard.bmp");
    EXPECT_EQ(texturePath("leopard.bmp", false, dataDir),
              "/usr/share/games/cheerleaders/leopard.bmp");
    // Without a data directory a missing file is still opened where it was asked for, so its
    // failure line comes as it always did.
    EXPECT_EQ(texturePath("leopard.bmp", false, ""), "leopard.bmp");
}

} // namespace
