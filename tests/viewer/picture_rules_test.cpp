#include "viewer/picture_rules.h"

#include <gtest/gtest.h>

namespace zv::viewer {
namespace {

TEST(ExtensionKeyTest, UpperCasesAndKeepsAtMostFourCharacters) {
    EXPECT_EQ(ExtensionKey("photo.bmp"), ".BMP");
    EXPECT_EQ(ExtensionKey("photo.BmP"), ".BMP");
    EXPECT_EQ(ExtensionKey("photo.bmpx"), ".BMP");
    EXPECT_EQ(ExtensionKey("photo.icons"), ".ICO");
    EXPECT_EQ(ExtensionKey("a.b"), ".B");
    EXPECT_EQ(ExtensionKey("archive.tar.wmf"), ".WMF");
}

TEST(ExtensionKeyTest, OnlyTheLastPathComponentCounts) {
    EXPECT_EQ(ExtensionKey("noext"), "");
    EXPECT_EQ(ExtensionKey("/pics.bmp/readme"), "");
    EXPECT_EQ(ExtensionKey("/pics.d/face.ico"), ".ICO");
    EXPECT_EQ(ExtensionKey("trailingdot."), ".");
}

TEST(KindOfFileTest, DecidesByTheCutExtension) {
    EXPECT_EQ(KindOfFile("a.bmp"), PictureKind::Bitmap);
    EXPECT_EQ(KindOfFile("a.BMPX"), PictureKind::Bitmap);
    EXPECT_EQ(KindOfFile("a.ico"), PictureKind::Icon);
    EXPECT_EQ(KindOfFile("a.Wmf"), PictureKind::Wmf);
    EXPECT_EQ(KindOfFile("a.emfplus"), PictureKind::Emf);
    EXPECT_EQ(KindOfFile("a.bm"), PictureKind::Other);
    EXPECT_EQ(KindOfFile("a.png"), PictureKind::Other);
    EXPECT_EQ(KindOfFile("bmp"), PictureKind::Other);
}

TEST(PictureCaptionTest, BitmapsCarryTheirSizeOthersDoNot) {
    const std::string prefix = CaptionPrefix(kBrowserTitle);
    EXPECT_EQ(prefix, "Image Viewer - ");
    EXPECT_EQ(PictureCaption(prefix, "/home/u/big.bmp", PictureKind::Bitmap, 640, 480),
              "Image Viewer - big.bmp (640 x 480)");
    EXPECT_EQ(PictureCaption(prefix, "/home/u/face.ico", PictureKind::Icon, 32, 32),
              "Image Viewer - face.ico");
    EXPECT_EQ(PictureCaption(prefix, "plan.wmf", PictureKind::Wmf, 10, 10), "Image Viewer - plan.wmf");
    EXPECT_EQ(PictureCaption(prefix, "plan.emf", PictureKind::Emf, 10, 10), "Image Viewer - plan.emf");
}

}  // namespace
}  // namespace zv::viewer
