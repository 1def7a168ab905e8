#include "config/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace zv {
namespace {

class SaveTest : public ::testing::Test {
protected:
    void TearDown() override { InjectSaveFault(SaveFault::None); }
    test::TempDir dir;
};

TEST_F(SaveTest, ReplacesAndKeepsMode) {
    std::string path = dir.Write("f", "old");
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("f"), "new");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temp left
}

TEST_F(SaveTest, FaultsLeaveTheOldFileWhole) {
    std::string path = dir.Write("f", "old");
    InjectSaveFault(SaveFault::Create);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::CannotCreate);
    InjectSaveFault(SaveFault::Write);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::WriteFailed);
    InjectSaveFault(SaveFault::Rename);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::WriteFailed);
    EXPECT_EQ(dir.Read("f"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(SaveTest, MissingFolderCannotCreate) {
    EXPECT_EQ(SaveFileAtomically(dir.Path("no/f"), "x"), SaveResult::CannotCreate);
}

TEST_F(SaveTest, SymlinkTargetIsReplaced) {
    std::string target = dir.Write("target", "old");
    std::filesystem::create_symlink(target, dir.Path("link"));
    EXPECT_EQ(SaveFileAtomically(dir.Path("link"), "new"), SaveResult::Saved);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link")));
    EXPECT_EQ(dir.Read("target"), "new");
}

TEST(TextLines, SplitAndEncode) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(EncodeCrLfLines({"麻", ""}), "\x96\x83\r\n\r\n");
}

}  // namespace
}  // namespace zv
