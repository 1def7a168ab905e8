#include "rules/character_roster.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class CharacterRosterTest : public ::testing::Test {
protected:
    std::string Install() const { return dir.path() + "/"; }
    test::TempDir dir;
};

TEST_F(CharacterRosterTest, CharacterListHoldsOnlyCharacterDirectories) {
    EXPECT_TRUE(ListCharacterNames(Install()).empty());  // no usr/ at all
    for (const char* name :
         {"usr/zed/zed.pf", "usr/_todo/_todo.pf", "usr/_default/_16.bmp", "usr/notes.txt", "usr/a.b/x"})
        dir.Write(name, "x");
    std::filesystem::create_directories(dir.Path("usr/empty"));
    EXPECT_EQ(ListCharacterNames(Install()), (std::vector<std::string>{"_todo", "a.b", "empty", "zed"}));
    // The naming dialog offers every entry, files included, without extension.
    EXPECT_EQ(ListUsrEntryNames(Install()),
              (std::vector<std::string>{"_default", "_todo", "a", "empty", "notes", "zed"}));
}

TEST_F(CharacterRosterTest, FacesFallBackToTheSharedOnes) {
    dir.Write("usr/own/own.bmp", "x");
    dir.Write("usr/low/_16.bmp", "x");
    std::string usr = Install() + "usr/";
    EXPECT_EQ(CharacterFacePath(Install(), "own", true), usr + "own/own.bmp");
    EXPECT_EQ(CharacterFacePath(Install(), "own", false), usr + "_default/_16.bmp");
    EXPECT_EQ(CharacterFacePath(Install(), "low", false), usr + "low/_16.bmp");
    EXPECT_EQ(CharacterFacePath(Install(), "low", true), usr + "_default/_default.bmp");
    EXPECT_EQ(CharacterFacePath(Install(), "nobody", true), usr + "_default/_default.bmp");
    // Names that would leave usr/ never reach a file outside it.
    dir.Write("x.bmp", "x");
    EXPECT_EQ(CharacterFacePath(Install(), "..", true), usr + "_default/_default.bmp");
    EXPECT_EQ(CharacterFacePath(Install(), "", false), usr + "_default/_16.bmp");
}

TEST_F(CharacterRosterTest, DescriptionIsTheFirstLineOfTheChaFile) {
    dir.Write("usr/d/d.cha", ToCp932("のんびり屋\r\n二行目\r\n"));
    dir.Write("usr/e/e.cha", "");
    EXPECT_EQ(CharacterDescriptionText(Install(), "d"), "のんびり屋");
    EXPECT_EQ(CharacterDescriptionText(Install(), "e"), "");
    EXPECT_EQ(CharacterDescriptionText(Install(), "missing"), "");
    EXPECT_EQ(CharacterDescriptionText(Install(), ".."), "");
}

TEST(CharacterListKindTest, OnlySmallAndListChangeTheView) {
    EXPECT_EQ(CharacterListKindOf("small"), CharacterListKind::SmallIcons);
    EXPECT_EQ(CharacterListKindOf("list"), CharacterListKind::PlainList);
    EXPECT_EQ(CharacterListKindOf("normal"), CharacterListKind::LargeIcons);
    EXPECT_EQ(CharacterListKindOf("List"), CharacterListKind::LargeIcons);
    EXPECT_EQ(CharacterListKindOf(""), CharacterListKind::LargeIcons);
}

TEST(CharacterNameTest, NamesMustBeOneStorableDirectory) {
    for (const char* good : {"abc", "_todo", "麻雀", "a b", "a.b"})
        EXPECT_TRUE(IsUsableCharacterName(good)) << good;
    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "a/b", "../x", "a\"b",
                                                           std::string("a\0b", 3), "x\\", "a\\b"})
        EXPECT_FALSE(IsUsableCharacterName(bad)) << bad;
}

TEST_F(CharacterRosterTest, MakeCharacterDirUsesAnExistingDirectory) {
    std::filesystem::create_directories(dir.Path("usr"));
    EXPECT_TRUE(MakeCharacterDir(Install(), "new"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("usr/new")));
    EXPECT_TRUE(MakeCharacterDir(Install(), "new"));
    dir.Write("usr/plain", "file");
    EXPECT_FALSE(MakeCharacterDir(Install(), "plain"));
}

}  // namespace
}  // namespace zv
