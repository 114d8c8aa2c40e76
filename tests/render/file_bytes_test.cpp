// Reading a texture file's bytes: regular files only, never blocking on anything else.
#include "render/file_bytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileBytesTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "file_bytes_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        alarm(0);
        fs::remove_all(dir);
    }
    std::string path(const char* name) const {
        return (dir / name).string();
    }
    void write(const char* name, const std::string& content) const {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    fs::path dir;
    FileBytes bytes;
};

TEST_F(FileBytesTest, ReadsARegularFileWhole) {
    const std::string content = "BM and then some bytes\n";
    write("grass.bmp", content);
    ASSERT_TRUE(readFileBytes(path("grass.bmp").c_str(), 1024, bytes));
    ASSERT_EQ(bytes.size, content.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data.get()), bytes.size), content);

    write("empty.bmp", "");
    ASSERT_TRUE(readFileBytes(path("empty.bmp").c_str(), 1024, bytes));
    EXPECT_EQ(bytes.size, 0u);
}

TEST_F(FileBytesTest, RefusesAFileLargerThanTheLimit) {
    write("big.bmp", std::string(101, 'x'));
    EXPECT_TRUE(readFileBytes(path("big.bmp").c_str(), 101, bytes));
    EXPECT_FALSE(readFileBytes(path("big.bmp").c_str(), 100, bytes));
    EXPECT_EQ(bytes.data, nullptr);
}

TEST_F(FileBytesTest, RefusesWhatIsNotARegularFileWithoutBlocking) {
    // A blocking open or read would hang here; the alarm turns that into a failed test run.
    alarm(10);
    fs::create_directory(dir / "grass.bmp");
    ASSERT_EQ(mkfifo(path("leopard.bmp").c_str(), 0600), 0);
    fs::create_symlink(dir / "nowhere.bmp", dir / "concrete.bmp");
    fs::create_symlink(dir / "leopard.bmp", dir / "linked-fifo.bmp");
    for (const char* name : {"grass.bmp", "leopard.bmp", "concrete.bmp", "linked-fifo.bmp",
                             "missing.bmp"}) {
        EXPECT_FALSE(readFileBytes(path(name).c_str(), 1 << 20, bytes)) << name;
    }
    EXPECT_FALSE(readFileBytes("/dev/zero", 1 << 20, bytes));
}

} // namespace
