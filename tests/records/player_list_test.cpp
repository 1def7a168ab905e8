#include "records/player_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/launcher_settings.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class PlayerListTest : public ::testing::Test {
protected:
    PlayerListTest() { platform.installDir = dir.path() + "/"; }
    ~PlayerListTest() override { Settings().hicolorchar = 1; }
    test::TempDir dir;
    test::FakePlatform platform;
};

TEST_F(PlayerListTest, ListsDirectoriesButNotDefaultOrFiles) {
    dir.Write("usr/alice/alice.pf", "");
    dir.Write("usr/bob/x", "");
    dir.Write("usr/_default/_16.bmp", "");
    dir.Write("usr/notes.txt", "");
    auto names = ListPlayerDirectories();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"alice", "bob"}));
}

TEST_F(PlayerListTest, FaceFallsBackToDefaultPictures) {
    dir.Write("usr/alice/alice.bmp", "");
    dir.Write("usr/bob/_16.bmp", "");
    Settings().hicolorchar = 1;
    EXPECT_EQ(PlayerFacePath("alice"), dir.path() + "/usr/alice/alice.bmp");
    EXPECT_EQ(PlayerFacePath("bob"), dir.path() + "/usr/_default/_default.bmp");
    Settings().hicolorchar = 0;
    EXPECT_EQ(PlayerFacePath("alice"), dir.path() + "/usr/_default/_16.bmp");
    EXPECT_EQ(PlayerFacePath("bob"), dir.path() + "/usr/bob/_16.bmp");
}

}  // namespace
}  // namespace zv
