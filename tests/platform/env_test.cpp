#include "platform/env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/fault_env.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

std::map<std::string, EntryKind> Listing(const std::string& folder) {
    std::map<std::string, EntryKind> kinds;
    auto entries = LinuxEnv().ListFolder(folder);
    if (!entries) return kinds;
    for (const FolderEntry& entry : *entries) kinds[entry.name] = entry.kind;
    return kinds;
}

TEST(LinuxEnvTest, FolderListingTellsFilesFromFoldersAndLeavesLinkedFoldersOut) {
    test::TempDir dir;
    dir.Write("top/a.fu", "x");
    dir.Write("top/sub/b.fu", "y");
    fs::create_symlink(dir.Path("top/a.fu"), dir.Path("top/file-link"));
    fs::create_directory_symlink(dir.Path("top/sub"), dir.Path("top/folder-link"));
    fs::create_symlink(dir.Path("top/missing"), dir.Path("top/broken-link"));

    EXPECT_EQ(Listing(dir.Path("top")), (std::map<std::string, EntryKind>{{"a.fu", EntryKind::File},
                                                                          {"broken-link", EntryKind::Other},
                                                                          {"file-link", EntryKind::File},
                                                                          {"folder-link", EntryKind::Other},
                                                                          {"sub", EntryKind::Folder}}));
    EXPECT_FALSE(LinuxEnv().ListFolder(dir.Path("nowhere")).has_value());
    EXPECT_FALSE(LinuxEnv().ListFolder(dir.Path("top/a.fu")).has_value());
}

TEST(LinuxEnvTest, CreateFolderAcceptsAnExistingOneButNeedsItsParent) {
    test::TempDir dir;
    EXPECT_TRUE(LinuxEnv().CreateFolder(dir.Path("new")));
    EXPECT_TRUE(LinuxEnv().CreateFolder(dir.Path("new")));
    EXPECT_TRUE(fs::is_directory(dir.Path("new")));
    EXPECT_FALSE(LinuxEnv().CreateFolder(dir.Path("no/parent")));
}

TEST(LinuxEnvTest, ReadingSequentiallyAndAtOffsets) {
    test::TempDir dir;
    dir.Write("f", "0123456789");
    EXPECT_EQ(LinuxEnv().OpenForReading(dir.Path("missing")), nullptr);
    auto file = LinuxEnv().OpenForReading(dir.Path("f"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->RegularFileSize(), 10u);
    char buffer[8] = {};
    EXPECT_EQ(file->ReadAt(buffer, 3, 6), 3);
    EXPECT_EQ(std::string(buffer, 3), "678");
    EXPECT_EQ(file->Read(buffer, 4), 4);  // the position is still at the start
    EXPECT_EQ(std::string(buffer, 4), "0123");
    ASSERT_TRUE(file->Seek(9));
    EXPECT_EQ(file->Read(buffer, 8), 1);
    EXPECT_EQ(file->Read(buffer, 8), 0);
    EXPECT_EQ(file->ReadAt(buffer, 8, 20), 0);
}

TEST(LinuxEnvTest, TemporaryFileTakesTheTargetsPermissionsAndRenamesOverIt) {
    test::TempDir dir;
    const std::string target = dir.Write("settings.nuc", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string temp;
    Env::CreateFailure failure = Env::CreateFailure::Other;
    auto file = LinuxEnv().CreateTemporaryBeside(target, temp, failure);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(failure, Env::CreateFailure::None);
    EXPECT_EQ(temp.rfind(target + ".tmp-", 0), 0u) << temp;
    EXPECT_EQ(fs::status(temp).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(file->WriteAt("new!", 0));
    EXPECT_TRUE(file->Sync());
    EXPECT_TRUE(file->Close());
    EXPECT_TRUE(file->Close());  // a second close does nothing
    EXPECT_TRUE(LinuxEnv().RenameFile(temp, target));
    EXPECT_EQ(dir.Read("settings.nuc"), "new!");
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_FALSE(LinuxEnv().RemoveFile(temp));

    // No folder to put it in.
    EXPECT_EQ(LinuxEnv().CreateTemporaryBeside(dir.Path("no/such/file"), temp, failure), nullptr);
    EXPECT_EQ(failure, Env::CreateFailure::Other);
}

TEST(LinuxEnvTest, RewriteInPlaceReadsTheOldBytesAndCutsToLength) {
    test::TempDir dir;
    const std::string path = dir.Write("f", "a longer old text");
    auto file = LinuxEnv().OpenForRewrite(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->ReadAll(), "a longer old text");
    EXPECT_TRUE(file->WriteAt("short", 0));
    EXPECT_TRUE(file->Truncate(5));
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(dir.Read("f"), "short");

    // Only regular files, and never through a link.
    EXPECT_EQ(LinuxEnv().OpenForRewrite(dir.path()), nullptr);
    fs::create_symlink(path, dir.Path("link"));
    EXPECT_EQ(LinuxEnv().OpenForRewrite(dir.Path("link")), nullptr);
    EXPECT_EQ(LinuxEnv().OpenForRewrite(dir.Path("missing")), nullptr);
}

TEST(LinuxEnvTest, AppendsGoToTheEndAndMakeAMissingFile) {
    test::TempDir dir;
    EXPECT_TRUE(LinuxEnv().AppendToFile(dir.Path("results"), "one\r\n"));
    EXPECT_TRUE(LinuxEnv().AppendToFile(dir.Path("results"), "two\r\n"));
    EXPECT_EQ(dir.Read("results"), "one\r\ntwo\r\n");
    EXPECT_EQ(fs::status(dir.Path("results")).permissions() & fs::perms::owner_all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(LinuxEnv().AppendToFile(dir.Path("no/folder"), "x"));
    EXPECT_FALSE(LinuxEnv().AppendToFile(dir.path(), "x"));
}

TEST(LinuxEnvTest, AnEmptiedFileIsWrittenFromTheStart) {
    test::TempDir dir;
    dir.Write("record.new", "left over from before");
    auto file = LinuxEnv().CreateEmptyFile(dir.Path("record.new"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->WriteAt("new", 0));
    EXPECT_TRUE(file->Sync());
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(dir.Read("record.new"), "new");
    EXPECT_NE(LinuxEnv().CreateEmptyFile(dir.Path("fresh")), nullptr);
    EXPECT_TRUE(fs::exists(dir.Path("fresh")));
    EXPECT_EQ(LinuxEnv().CreateEmptyFile(dir.Path("no/folder")), nullptr);
    EXPECT_TRUE(LinuxEnv().SyncFolderOf(dir.Path("fresh")));
    EXPECT_FALSE(LinuxEnv().SyncFolderOf(dir.Path("no/folder/file")));
}

TEST(LinuxEnvTest, ExistsCountsBrokenLinksAndIsFolderFollowsLinks) {
    test::TempDir dir;
    dir.Write("sub/f", "x");
    fs::create_symlink(dir.Path("missing"), dir.Path("broken"));
    fs::create_directory_symlink(dir.Path("sub"), dir.Path("sub-link"));
    EXPECT_TRUE(LinuxEnv().Exists(dir.Path("sub/f")));
    EXPECT_TRUE(LinuxEnv().Exists(dir.Path("broken")));
    EXPECT_FALSE(LinuxEnv().Exists(dir.Path("missing")));
    EXPECT_TRUE(LinuxEnv().IsFolder(dir.Path("sub")));
    EXPECT_TRUE(LinuxEnv().IsFolder(dir.Path("sub-link")));
    EXPECT_FALSE(LinuxEnv().IsFolder(dir.Path("sub/f")));
    EXPECT_FALSE(LinuxEnv().IsFolder(dir.Path("broken")));
}

TEST(LinuxEnvTest, LibrariesLoadByNameAndAMissingOneIsNull) {
    EXPECT_EQ(LinuxEnv().LoadLibrary("libzv-no-such-library.so.0"), nullptr);
    void* c = LinuxEnv().LoadLibrary("libc.so.6");
    ASSERT_NE(c, nullptr);
    EXPECT_NE(LinuxEnv().FindSymbol(c, "strlen"), nullptr);
    EXPECT_EQ(LinuxEnv().FindSymbol(c, "zv_no_such_symbol"), nullptr);
}

TEST(EnvTest, AWrapperInstallsItselfAndForwardsWhatItLeavesAlone) {
    EXPECT_EQ(&CurrentEnv(), &LinuxEnv());
    test::TempDir dir;
    {
        test::FaultInjectionEnv faults;
        EXPECT_EQ(&CurrentEnv(), &faults);
        faults.Inject(test::SaveFault::Rename);
        EXPECT_FALSE(CurrentEnv().RenameFile(dir.Write("a", "x"), dir.Path("b")));
        EXPECT_TRUE(CurrentEnv().CreateFolder(dir.Path("made")));
        EXPECT_TRUE(fs::is_directory(dir.Path("made")));
    }
    EXPECT_EQ(&CurrentEnv(), &LinuxEnv());
}

}  // namespace
}  // namespace zv
