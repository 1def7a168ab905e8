#include "viewer/file_browsing.h"

#include <gtest/gtest.h>

#include <set>

namespace zv::viewer {
namespace {

TEST(FilterListTest, TheViewersListGivesFivePairs) {
    auto filters = ParseFilterList(kFilterList);
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].description, "Image Files (*.bmp, *.ico, *.wmf, *.emf)");
    EXPECT_EQ(filters[0].mask, kDefaultMask);
    EXPECT_EQ(filters[1].mask, "*.bmp");
    EXPECT_EQ(filters[2].description, "Icons (*.ico)");
    EXPECT_EQ(filters[3].mask, "*.wmf;*.emf");
    EXPECT_EQ(filters[4].description, "All files (*.*)");
    EXPECT_EQ(filters[4].mask, "*.*");
}

TEST(FilterListTest, DescriptionWithoutPatternIsDropped) {
    auto filters = ParseFilterList("A|*.a|B");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].mask, "*.a");
    EXPECT_TRUE(ParseFilterList("").empty());
}

TEST(MaskTest, SplitsOnSemicolonsAndDropsEmptyParts) {
    EXPECT_EQ(SplitMask(" *.bmp ; ;*.ico;"), (std::vector<std::string>{"*.bmp", "*.ico"}));
    EXPECT_TRUE(SplitMask("").empty());
}

TEST(MaskTest, MatchesWildcardsIgnoringCase) {
    EXPECT_TRUE(MatchesMask("tiles.bmp", kDefaultMask));
    EXPECT_TRUE(MatchesMask("TILES.BMP", kDefaultMask));
    EXPECT_TRUE(MatchesMask("face.Ico", kDefaultMask));
    EXPECT_FALSE(MatchesMask("tiles.bmpx", kDefaultMask));
    EXPECT_FALSE(MatchesMask("notes.txt", kDefaultMask));
    EXPECT_FALSE(MatchesMask("bmp", "*.bmp"));
    EXPECT_TRUE(MatchesMask("a1.bmp", "a?.bmp"));
    EXPECT_FALSE(MatchesMask("a12.bmp", "a?.bmp"));
    EXPECT_TRUE(MatchesMask("abcabd", "*ab?"));  // needs backtracking past the first "ab"
    EXPECT_TRUE(MatchesMask("x", "*"));
}

TEST(MaskTest, StarDotStarMatchesNamesWithoutDot) {
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_FALSE(MatchesMask("README", ""));
}

TEST(ResolvePathTest, JoinsAndNormalises) {
    EXPECT_EQ(ResolvePath("/home/u", "pics"), "/home/u/pics");
    EXPECT_EQ(ResolvePath("/home/u", "../v/./w/"), "/home/v/w");
    EXPECT_EQ(ResolvePath("/home/u", "/etc//x/.."), "/etc");
    EXPECT_EQ(ResolvePath("/", "../.."), "/");
    EXPECT_EQ(ResolvePath("/a", "~/pics", "/home/u"), "/home/u/pics");
    EXPECT_EQ(ResolvePath("/a", "~", "/home/u"), "/home/u");
    EXPECT_EQ(ResolvePath("/a", "~x"), "/a/~x");
}

class ApplyFilePathTest : public ::testing::Test {
protected:
    std::set<std::string> folders = {"/", "/p", "/p/sub", "/q"};
    std::function<bool(const std::string&)> isDir = [this](const std::string& p) {
        return folders.count(p) > 0;
    };
};

TEST_F(ApplyFilePathTest, WildcardBecomesTheMask) {
    auto r = ApplyFilePath("/p", "*.ico", isDir);
    EXPECT_EQ(r.mask, "*.ico");
    EXPECT_FALSE(r.folder);
    EXPECT_FALSE(r.selectFile);
}

TEST_F(ApplyFilePathTest, FolderPartChangesFolderAndKeepsTheMaskPart) {
    auto r = ApplyFilePath("/p", "../q/*.wmf", isDir);
    EXPECT_EQ(r.folder, "/q");
    EXPECT_EQ(r.mask, "*.wmf");
    r = ApplyFilePath("/q", "/p/sub/", isDir);
    EXPECT_EQ(r.folder, "/p/sub");
    EXPECT_FALSE(r.mask);
}

TEST_F(ApplyFilePathTest, ANameOfASubfolderOpensIt) {
    auto r = ApplyFilePath("/p", "sub", isDir);
    EXPECT_EQ(r.folder, "/p/sub");
    r = ApplyFilePath("/p/sub", "..", isDir);
    EXPECT_EQ(r.folder, "/p");
}

TEST_F(ApplyFilePathTest, AFileNameSelectsTheFile) {
    auto r = ApplyFilePath("/p", " tiles.bmp ", isDir);
    EXPECT_EQ(r.selectFile, "tiles.bmp");
    EXPECT_FALSE(r.folder);
    r = ApplyFilePath("/p", "sub/x.bmp", isDir);
    EXPECT_EQ(r.folder, "/p/sub");
    EXPECT_EQ(r.selectFile, "x.bmp");
}

TEST_F(ApplyFilePathTest, MissingFolderIsReportedAndNothingElseHappens) {
    auto r = ApplyFilePath("/p", "nowhere/*.bmp", isDir);
    EXPECT_EQ(r.missing, "/p/nowhere");
    EXPECT_FALSE(r.folder);
    EXPECT_FALSE(r.mask);
    EXPECT_FALSE(ApplyFilePath("/p", "   ", isDir).folder);
}

TEST(StartFolderTest, WithoutDrivesAnyNonEmptyArgumentIsTheFolder) {
    EXPECT_FALSE(StartFolderFromArgs({}, false).folder);
    EXPECT_FALSE(StartFolderFromArgs({""}, false).folder);
    EXPECT_EQ(StartFolderFromArgs({"/"}, false).folder, "/");
    EXPECT_EQ(StartFolderFromArgs({"/opt/zelvan/image", "extra"}, false).folder, "/opt/zelvan/image");
    EXPECT_FALSE(StartFolderFromArgs({"c:/x"}, false).drive);
}

TEST(StartFolderTest, WithDrivesShortArgumentsAreIgnoredAndTheDriveIsTaken) {
    EXPECT_FALSE(StartFolderFromArgs({"c"}, true).folder);
    auto r = StartFolderFromArgs({"d:\\games\\image"}, true);
    EXPECT_EQ(r.drive, 'd');
    EXPECT_EQ(r.folder, "d:\\games\\image");
    r = StartFolderFromArgs({"image"}, true);
    EXPECT_FALSE(r.drive);
    EXPECT_EQ(r.folder, "image");
}

}  // namespace
}  // namespace zv::viewer
