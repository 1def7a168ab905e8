#include "rules/gui/characters.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QListWidget>

#include "config/launcher_settings.h"
#include "rules/character_file.h"
#include "support/launcher_fixture.h"

namespace zv {
namespace {

class CharactersTest : public test::LauncherFixture {
protected:
    void SaveFace(const std::string& path, Qt::GlobalColor colour) {
        QImage face(48, 48, QImage::Format_RGB32);
        face.fill(colour);
        std::filesystem::create_directories(std::filesystem::path(dir.Path(path)).parent_path());
        ASSERT_TRUE(face.save(QString::fromStdString(dir.Path(path)), "BMP"));
    }
    static QColor Centre(const QPixmap& picture) { return QColor(picture.toImage().pixel(24, 24)); }
};

TEST_F(CharactersTest, FaceDependsOnTheColourSettingAndFallsBack) {
    SaveFace("usr/_default/_default.bmp", Qt::gray);
    SaveFace("usr/_default/_16.bmp", Qt::darkGray);
    SaveFace("usr/me/me.bmp", Qt::red);
    SaveFace("usr/me/_16.bmp", Qt::darkRed);
    SaveFace("usr/hi/hi.bmp", Qt::green);
    EXPECT_EQ(Centre(CharacterFace("me")), QColor(Qt::red));
    EXPECT_EQ(Centre(CharacterPicture("hi")), QColor(Qt::green));
    EXPECT_EQ(Centre(CharacterFace("nobody")), QColor(Qt::gray));
    Settings().hicolorchar = 0;
    EXPECT_EQ(Centre(CharacterFace("me")), QColor(Qt::darkRed));
    EXPECT_EQ(Centre(CharacterFace("hi")), QColor(Qt::darkGray));
    // Without the shared faces there is simply no picture.
    std::filesystem::remove_all(dir.Path("usr/_default"));
    EXPECT_TRUE(CharacterFace("nobody").isNull());
}

TEST_F(CharactersTest, DescriptionPictureAndListStyle) {
    dir.Write("usr/x/x.cha", "hello\r\n");
    SaveFace("usr/x/x.bmp", Qt::blue);
    EXPECT_EQ(CharacterDescription("x"), "hello");
    EXPECT_EQ(Centre(CharacterPicture("x")), QColor(Qt::blue));
    Settings().liststyle = "list";
    EXPECT_EQ(CharacterListStyle(), CharacterListKind::PlainList);
}

TEST_F(CharactersTest, FillCharacterListScalesFacesToTheListSize) {
    QImage big(96, 96, QImage::Format_RGB32);
    big.fill(Qt::yellow);
    std::filesystem::create_directories(dir.Path("usr/big"));
    ASSERT_TRUE(big.save(QString::fromStdString(dir.Path("usr/big/big.bmp")), "BMP"));
    QListWidget list;
    FillCharacterList(nullptr, &list);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->icon().availableSizes().value(0), QSize(48, 48));
}

// The characters that come with the package, as staged beside the programs.
TEST_F(CharactersTest, ShippedCharactersAreComplete) {
    platform.installDir = ZV_STAGE_DIR;
    for (int hiColor : {1, 0}) {
        Settings().hicolorchar = hiColor;
        QPixmap fallback = CharacterFace("_default");
        ASSERT_FALSE(fallback.isNull());
        EXPECT_EQ(fallback.size(), QSize(48, 48));
        for (const char* name : {"_todo", "_min", "_wizard"}) {
            QPixmap face = CharacterFace(name);
            ASSERT_FALSE(face.isNull()) << name;
            EXPECT_EQ(face.size(), QSize(48, 48));
            EXPECT_NE(face.toImage(), fallback.toImage()) << name << " uses the shared face";
        }
    }
    for (const char* name : {"_todo", "_min", "_wizard"}) {
        EXPECT_FALSE(CharacterDescription(name).empty()) << name;
        EXPECT_EQ(CharacterDescription(name).find("\xEF\xBF\xBD"), std::string::npos);  // decodes cleanly
        CharacterValues values = DefaultCharacterValues("");
        values.displayName.clear();
        RecordingDialogs reports;
        ASSERT_TRUE(LoadCharacterFile(CharacterFilePath(ZV_STAGE_DIR, name), values, reports)) << name;
        EXPECT_FALSE(values.displayName.empty()) << name;
        EXPECT_EQ(values["SamePrefer"], values["NumberPrefer"]);
    }
    auto listed = ListCharacterNames(ZV_STAGE_DIR);
    for (const char* name : {"_todo", "_min", "_wizard"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    EXPECT_EQ(std::find(listed.begin(), listed.end(), "_default"), listed.end());
}

}  // namespace
}  // namespace zv
