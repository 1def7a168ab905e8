#include <gtest/gtest.h>
#include <QColor>

#include "config/file_io.h"
#include "viewer/gui/picture_loader.h"
#include "viewer/metafile.h"
#include "viewer_test_support.h"

namespace zv::viewer::test {
namespace {

bool Reddish(QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 110 && c.alpha() == 255; }
bool Bluish(QColor c) { return c.blue() > 180 && c.red() < 110 && c.alpha() == 255; }
bool Greenish(QColor c) { return c.green() > 140 && c.red() < 90 && c.blue() < 110 && c.alpha() == 255; }
bool White(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240 && c.alpha() == 255; }

class MetafileViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CopySample(dir, "shapes.wmf", "shapes.wmf");
        CopySample(dir, "shapes.emf", "shapes.emf");
        form.Start({dir.path()});
    }
    zv::test::TempDir dir;
    ErrorRecorder errors;
    TImageForm form;
};

TEST_F(MetafileViewTest, WindowsMetafileIsDrawnWithItsShapes) {
    ClickFile(form, "shapes.wmf");
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    QImage picture = form.ViewForm()->Picture();
    ASSERT_EQ(picture.size(), QSize(256, 192));
    EXPECT_TRUE(White(picture.pixelColor(6, 6)));
    EXPECT_TRUE(Reddish(picture.pixelColor(64, 96))) << picture.pixelColor(64, 96).name().toStdString();
    EXPECT_TRUE(Reddish(picture.pixelColor(20, 36)));  // just inside the rectangle's corner
    EXPECT_TRUE(White(picture.pixelColor(10, 96)));    // left of the rectangle
    EXPECT_TRUE(White(picture.pixelColor(128, 96)));   // between the shapes
    EXPECT_TRUE(Bluish(picture.pixelColor(192, 96))) << picture.pixelColor(192, 96).name().toStdString();
    EXPECT_TRUE(Bluish(picture.pixelColor(192, 40)));  // near the ellipse's top
    EXPECT_TRUE(White(picture.pixelColor(148, 36)));   // the ellipse's bounding box corner is outside it
    EXPECT_TRUE(White(picture.pixelColor(192, 180)));  // below the shapes
}

TEST_F(MetafileViewTest, EnhancedMetafileIsDrawnWithItsShapes) {
    ClickFile(form, "shapes.emf");
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    QImage picture = form.ViewForm()->Picture();
    ASSERT_EQ(picture.size(), QSize(240, 192));
    EXPECT_TRUE(White(picture.pixelColor(6, 6)));
    EXPECT_TRUE(Bluish(picture.pixelColor(60, 64))) << picture.pixelColor(60, 64).name().toStdString();
    EXPECT_TRUE(White(picture.pixelColor(116, 64)));  // between the shapes
    EXPECT_TRUE(Reddish(picture.pixelColor(176, 72))) << picture.pixelColor(176, 72).name().toStdString();
    EXPECT_TRUE(White(picture.pixelColor(132, 28)));  // the ellipse's bounding box corner is outside it
    EXPECT_TRUE(Greenish(picture.pixelColor(30, 168))) << picture.pixelColor(30, 168).name().toStdString();
    EXPECT_TRUE(White(picture.pixelColor(90, 140)));  // above the triangle's slope
    EXPECT_TRUE(White(picture.pixelColor(200, 170)));
}

TEST_F(MetafileViewTest, ContentDecidesTheMetafileFormatNotTheName) {
    CopySample(dir, "shapes.emf", "really-emf.wmf");
    form.Start({dir.path()});
    ClickFile(form, "really-emf.wmf");
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    EXPECT_EQ(form.ViewForm()->Picture().size(), QSize(240, 192));
    EXPECT_EQ(form.windowTitle(), "Image Viewer - really-emf.wmf");
}

TEST_F(MetafileViewTest, DamagedMetafileIsReportedAndTheViewerKeepsItsPicture) {
    ClickFile(form, "shapes.emf");
    QImage before = form.ViewForm()->Picture();
    std::string bytes = ReadWholeFile(SamplePath("shapes.wmf").toStdString()).value();
    dir.Write("cut.wmf", bytes.substr(0, bytes.size() - 10));
    dir.Write("empty.emf", "");
    form.Start({dir.path()});
    ClickFile(form, "cut.wmf");
    ClickFile(form, "empty.emf");
    ASSERT_EQ(errors.texts.size(), 2);
    EXPECT_TRUE(errors.texts[0].contains("Metafile is not valid"));
    EXPECT_TRUE(errors.texts[1].contains("empty.emf"));
    EXPECT_EQ(form.ViewForm()->Picture(), before);
    EXPECT_EQ(form.windowTitle(), "Image Viewer - shapes.emf");
}

TEST(MetafileConversionTest, WmfWithoutPlaceableHeaderTakesItsSizeFromItsRecords) {
    std::string bytes = ReadWholeFile(SamplePath("shapes.wmf").toStdString()).value();
    zv::test::TempDir dir;
    dir.Write("plain.wmf", bytes.substr(22));
    LoadResult result = LoadPictureFile(QString::fromStdString(dir.Path("plain.wmf")), PictureKind::Wmf);
    ASSERT_TRUE(result.picture) << result.error.toStdString();
    EXPECT_GT(result.picture->width(), 0);
    EXPECT_GT(result.picture->height(), 0);
    EXPECT_LE(result.picture->width(), kMaxPictureSide);
}

TEST(MetafileConversionTest, ConvertersGiveSvgOrAReason) {
    std::string wmf = ReadWholeFile(SamplePath("shapes.wmf").toStdString()).value();
    std::string emf = ReadWholeFile(SamplePath("shapes.emf").toStdString()).value();
    QString why;
    int width = 256, height = 192;
    auto svg = WmfToSvg(wmf, width, height, why);
    ASSERT_TRUE(svg) << why.toStdString();
    EXPECT_TRUE(svg->contains("<svg"));
    auto emfSvg = EmfToSvg(emf, 240, 192, why);
    ASSERT_TRUE(emfSvg) << why.toStdString();
    EXPECT_TRUE(emfSvg->contains("svg"));
    EXPECT_FALSE(EmfToSvg(emf.substr(0, 100), 240, 192, why));
    EXPECT_FALSE(why.isEmpty());
}

}  // namespace
}  // namespace zv::viewer::test
