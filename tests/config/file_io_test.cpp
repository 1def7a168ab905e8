#include "config/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "config/user_identity.h"
#include "support/fault_env.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

class SaveTest : public ::testing::Test {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
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
    faults.Inject(SaveFault::Create);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::CannotCreate);
    faults.Inject(SaveFault::Write);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::WriteFailed);
    faults.Inject(SaveFault::Rename);
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

// A folder that takes no new files, holding a file the user may write: the
// file is rewritten in place, to its new length, keeping its mode.
TEST_F(SaveTest, ReadOnlyFolderRewritesTheWritableFileInPlace) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; see NoTemporaryFile";
    std::string path = dir.Write("f", "old content");
    ::chmod(path.c_str(), 0640);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("f"), "new");
    EXPECT_EQ(SaveFileAtomically(path, "a longer new content"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("f"), "a longer new content");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // A file that is not there cannot be made in such a folder.
    EXPECT_EQ(SaveFileAtomically(dir.Path("g"), "x"), SaveResult::CannotCreate);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The same through the injected fault, which holds for root too.
TEST_F(SaveTest, NoTemporaryFileRewritesInPlace) {
    std::string path = dir.Write("f", "old content");
    ::chmod(path.c_str(), 0604);
    faults.Inject(SaveFault::NoTemporary);
    EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("f"), "new");
    EXPECT_EQ(SaveFileAtomically(path, "a longer new content"), SaveResult::Saved);
    EXPECT_EQ(dir.Read("f"), "a longer new content");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0604u);

    // Through a symbolic link, the file it points at is rewritten.
    std::filesystem::create_symlink(path, dir.Path("link"));
    EXPECT_EQ(SaveFileAtomically(dir.Path("link"), "linked"), SaveResult::Saved);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link")));
    EXPECT_EQ(dir.Read("f"), "linked");

    // Nothing to rewrite: a missing file, or a folder in its place.
    EXPECT_EQ(SaveFileAtomically(dir.Path("g"), "x"), SaveResult::CannotCreate);
    std::filesystem::create_directory(dir.Path("sub"));
    EXPECT_EQ(SaveFileAtomically(dir.Path("sub"), "x"), SaveResult::CannotCreate);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("g")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST_F(SaveTest, FailedRewriteInPlacePutsTheOldBytesBack) {
    for (const std::string& bytes : {std::string("short"), std::string(5000, 'n')}) {
        std::string path = dir.Write("f", "the old content\r\n");
        faults.Inject(SaveFault::NoTemporaryWrite);
        EXPECT_EQ(SaveFileAtomically(path, bytes), SaveResult::WriteFailed);
        EXPECT_EQ(dir.Read("f"), "the old content\r\n");
    }
}

TEST(TextLines, SplitAndEncode) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(EncodeCrLfLines({"麻", ""}), "\x96\x83\r\n\r\n");
}

// An Env that hides one file and calls another path a folder: what the
// readers see comes from the Env in place, never from the system past it.
class HidingEnv : public EnvWrapper {
public:
    HidingEnv() : EnvWrapper(LinuxEnv()) { SetEnv(this); }
    ~HidingEnv() override { SetEnv(nullptr); }
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) override {
        return path == hidden ? nullptr : EnvWrapper::OpenForReading(path);
    }
    bool Exists(const std::string& path) override { return path != hidden && EnvWrapper::Exists(path); }
    bool IsFolder(const std::string& path) override { return path == folder || EnvWrapper::IsFolder(path); }
    std::string hidden, folder;
};

TEST(FileReadingTest, FilesAreReadAndLookedAtThroughTheEnv) {
    test::TempDir dir;
    HidingEnv env;
    env.hidden = dir.Write("hidden", "secret");
    env.folder = dir.Write("there", "bytes");
    EXPECT_FALSE(ReadWholeFile(env.hidden).has_value());
    EXPECT_FALSE(PathExists(env.hidden));
    EXPECT_FALSE(ReadWholeFile(env.folder).has_value());
    EXPECT_TRUE(IsDirectory(env.folder));
    env.folder.clear();
    EXPECT_EQ(ReadWholeFile(dir.Path("there")), "bytes");
    EXPECT_FALSE(IsDirectory(dir.Path("there")));
}

}  // namespace
}  // namespace zv
