#include "records/game_records.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/process.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(CollectRecordsTest, FindsRecordsAtEveryDepth) {
    test::TempDir dir;
    test::FakePlatform platform;
    platform.installDir = dir.path() + "/";
    dir.Write("usr/alice/games/zelvan1.fu", "x");
    dir.Write("usr/top.fu", "x");
    dir.Write("usr/alice/alice.pf", "x");
    dir.Write("usr/alice/UPPER.FU", "x");
    dir.Write("usr/alice/mixed.Fu", "x");
    dir.Write("usr/alice/old.fu.bak", "x");
    dir.Write("usr/alice/fu", "x");
    dir.Write("usr/bob.fu/inner.txt", "x");  // a folder named like a record is searched, not listed
    auto found = CollectUserRecords();
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(Sorted(found), (std::vector<std::string>{dir.path() + "/usr/alice/games/zelvan1.fu",
                                                       dir.path() + "/usr/top.fu"}));
}

TEST(CollectRecordsTest, FolderEntriesComeDepthFirstInListingOrder) {
    test::TempDir dir;
    for (std::string sub : {"p", "q", "r", "s"}) {
        dir.Write("a/" + sub + "/deep.fu", "");
        dir.Write("a/" + sub + "/x/deeper.fu", "");
        dir.Write("a/" + sub + ".fu", "");
    }
    // Expected: each entry of "a" in the order the folder lists it, a
    // subfolder's records right where the subfolder is listed.
    std::vector<std::string> expected;
    DIR* listing = ::opendir(dir.Path("a").c_str());
    ASSERT_NE(listing, nullptr);
    while (const dirent* entry = ::readdir(listing)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = dir.Path("a/" + name);
        if (name.size() > 3 && name.ends_with(".fu")) {
            expected.push_back(path);
        } else {
            std::vector<std::string> inner = CollectRecordFiles(path);
            ASSERT_EQ(inner.size(), 2u);
            expected.insert(expected.end(), inner.begin(), inner.end());
        }
    }
    ::closedir(listing);
    EXPECT_EQ(CollectRecordFiles(dir.Path("a")), expected);
}

TEST(CollectRecordsTest, LinksToFoldersAreNotFollowedLinksToFilesAre) {
    test::TempDir dir;
    dir.Write("usr/open/a.fu", "");
    std::filesystem::create_directory_symlink(dir.Path("usr"), dir.Path("usr/open/loop"));
    std::filesystem::create_symlink(dir.Path("usr/open/a.fu"), dir.Path("usr/open/link.fu"));
    std::filesystem::create_symlink(dir.Path("usr/missing.fu"), dir.Path("usr/open/dangling.fu"));
    EXPECT_EQ(Sorted(CollectRecordFiles(dir.Path("usr"))),
              (std::vector<std::string>{dir.Path("usr/open/a.fu"), dir.Path("usr/open/link.fu")}));
}

TEST(CollectRecordsTest, UnreadableFoldersAreSkipped) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    test::TempDir dir;
    dir.Write("usr/open/a.fu", "");
    dir.Write("usr/closed/b.fu", "");
    ::chmod(dir.Path("usr/closed").c_str(), 0);
    auto found = CollectRecordFiles(dir.Path("usr"));
    ::chmod(dir.Path("usr/closed").c_str(), 0755);
    EXPECT_EQ(found, (std::vector<std::string>{dir.Path("usr/open/a.fu")}));
}

TEST(CollectRecordsTest, MissingFolderFindsNothing) {
    EXPECT_TRUE(CollectRecordFiles("/nonexistent/usr").empty());
}

TEST(RecordCommandTest, ViewerAndAnalyserQuoteThePathThePlayerDoesNot) {
    ::setenv("ZELVAN_TEXT_VIEWER", "textview", 1);
    const std::string path = "/opt/my games/usr/alice/zelvan1.fu";
    EXPECT_EQ(ViewRecordCommand(path), "textview \"/opt/my games/usr/alice/zelvan1.fu\"");
    EXPECT_EQ(AnalyseRecordCommand(path), "pad.exe \"/opt/my games/usr/alice/zelvan1.fu\"");
    EXPECT_EQ(AnalyserCommand(), "pad.exe");
    EXPECT_EQ(ReplayRecordCommand(path), "plview.exe /opt/my games/usr/alice/zelvan1.fu");
    EXPECT_EQ(ReplayRecordCommand(""), "plview.exe ");

    // What the started programs receive.
    EXPECT_EQ(SplitCommandLine(ViewRecordCommand(path)), (std::vector<std::string>{"textview", path}));
    EXPECT_EQ(SplitCommandLine(ReplayRecordCommand(path)),
              (std::vector<std::string>{"plview.exe", "/opt/my", "games/usr/alice/zelvan1.fu"}));
    ::unsetenv("ZELVAN_TEXT_VIEWER");
    EXPECT_EQ(TextViewerProgram(), "xdg-open");
}

TEST(RecordCommandTest, OddNamesSurviveTheCommandLineSplit) {
    for (std::string name : {"/a/b\"c.fu", "/a/back\\slash.fu", "/a/ends\\", "/a/q\\\"x.fu", "plain"}) {
        auto words = SplitCommandLine(AnalyseRecordCommand(name));
        ASSERT_EQ(words.size(), 2u) << name;
        EXPECT_EQ(words[1], name);
    }
}

}  // namespace
}  // namespace zv
