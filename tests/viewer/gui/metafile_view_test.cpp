#include <gtest/gtest.h>
#include <QColor>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

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
bool Clear(QColor c) { return c.alpha() == 0; }

void Put16(std::string& b, int v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}

std::string Record(int function, std::initializer_list<int> words) {
    std::string r;
    Put16(r, static_cast<int>(3 + words.size()));
    Put16(r, 0);
    Put16(r, function);
    for (int w : words) Put16(r, w);
    return r;
}

// A placeable metafile at 96 units per inch with the frame (left, top) to
// (right, bottom) around the records `body`, which ends with the end record.
std::string PlaceableMetafile(int left, int top, int right, int bottom, const std::string& body) {
    std::string header;
    Put16(header, 1);
    Put16(header, 9);
    Put16(header, 0x0300);
    Put16(header, static_cast<int>(9 + body.size() / 2) & 0xFFFF);
    Put16(header, static_cast<int>(9 + body.size() / 2) >> 16);
    Put16(header, 3);  // objects
    Put16(header, 8);  // largest record, in words
    Put16(header, 0);
    Put16(header, 0);
    std::string placeable;
    Put16(placeable, 0xCDD7);
    Put16(placeable, 0x9AC6);
    for (int v : {0, left, top, right, bottom, 96, 0, 0}) Put16(placeable, v);
    int sum = 0;
    for (std::size_t i = 0; i < placeable.size(); i += 2)
        sum ^= static_cast<unsigned char>(placeable[i]) | (static_cast<unsigned char>(placeable[i + 1]) << 8);
    Put16(placeable, sum);
    return placeable + header + body;
}

// A placeable metafile at 96 units per inch with the frame (left, top) to
// (left + 400, top + 300), a red rectangle from (50, 50) to (350, 250) and a
// blue ellipse from (150, 100) to (380, 280), all moved by `shift`, on no
// background. `windowOrigin` adds a record that sets the window origin.
std::string FramedShapes(int left, int top, int shift, std::optional<int> windowOrigin = std::nullopt) {
    std::string body;
    if (windowOrigin) body += Record(0x020B, {*windowOrigin, *windowOrigin});
    body += Record(0x02FA, {5, 0, 0, 0, 0});         // null pen
    body += Record(0x02FC, {0, 0x1EDC, 0x001E, 0});  // red brush
    body += Record(0x02FC, {0, 0x3C1E, 0x00DC, 0});  // blue brush
    body += Record(0x012D, {0});
    body += Record(0x012D, {1});
    body += Record(0x041B, {250 + shift, 350 + shift, 50 + shift, 50 + shift});  // RECTANGLE(b, r, t, l)
    body += Record(0x012D, {2});
    body += Record(0x0418, {280 + shift, 380 + shift, 100 + shift, 150 + shift});  // ELLIPSE(b, r, t, l)
    body += Record(0x0000, {});
    return PlaceableMetafile(left, top, left + 400, top + 300, body);
}

// A placeable metafile with the frame (left, top) to (left + 400,
// top + 300) that sets its mapping with the records `mapping` and draws a
// red rectangle 100 by 80, 20 units in from each corner of the frame.
std::string CornersMapped(int left, int top, const std::string& mapping) {
    std::string body = mapping;
    body += Record(0x02FA, {5, 0, 0, 0, 0});         // null pen
    body += Record(0x02FC, {0, 0x1EDC, 0x001E, 0});  // red brush
    body += Record(0x012D, {0});
    body += Record(0x012D, {1});
    for (int x : {20, 280})
        for (int y : {20, 200})
            body +=
                Record(0x041B, {top + y + 80, left + x + 100, top + y, left + x});  // RECTANGLE(b, r, t, l)
    body += Record(0x0000, {});
    return PlaceableMetafile(left, top, left + 400, top + 300, body);
}

// CornersMapped with anisotropic mapping of a window at the frame's corner
// and as large as the frame.
std::string AnisotropicCorners(int left, int top) {
    return CornersMapped(left, top,
                         Record(0x0103, {8}) +              // anisotropic mapping
                             Record(0x020B, {top, left}) +  // window origin (y, x)
                             Record(0x020C, {300, 400}));   // window extent (y, x)
}

// Makes the metafile library take its fonts from one file for a test's
// lifetime.
class WmfFontScope {
public:
    explicit WmfFontScope(const std::filesystem::path& file) { SetWmfFontFileForTests(file); }
    ~WmfFontScope() { SetWmfFontFileForTests({}); }
};

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

TEST_F(MetafileViewTest, PlaceableMetafileFillsItsFrameWithoutStretching) {
    dir.Write("framed.wmf", FramedShapes(0, 0, 0));
    // The same picture with the frame elsewhere in logical space, reached
    // with and without a window origin.
    dir.Write("moved.wmf", FramedShapes(100, 100, 100));
    dir.Write("origin.wmf", FramedShapes(100, 100, 100, 100));
    form.Start({dir.path()});
    for (const char* name : {"framed.wmf", "moved.wmf", "origin.wmf"}) {
        SCOPED_TRACE(name);
        ClickFile(form, name);
        ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
        QImage picture = form.ViewForm()->Picture();
        ASSERT_EQ(picture.size(), QSize(400, 300));
        EXPECT_TRUE(Clear(picture.pixelColor(5, 5)));    // the margin stays a margin
        EXPECT_TRUE(Clear(picture.pixelColor(45, 45)));  // just outside the rectangle
        EXPECT_TRUE(Reddish(picture.pixelColor(55, 55))) << picture.pixelColor(55, 55).name().toStdString();
        EXPECT_TRUE(Reddish(picture.pixelColor(100, 240)));
        EXPECT_TRUE(Clear(picture.pixelColor(100, 256)));   // below the rectangle
        EXPECT_TRUE(Bluish(picture.pixelColor(265, 190)));  // the ellipse's centre
        EXPECT_TRUE(Bluish(picture.pixelColor(375, 190)));  // near its right end
        EXPECT_TRUE(Clear(picture.pixelColor(385, 190)));
        EXPECT_TRUE(Clear(picture.pixelColor(375, 275)));  // its bounding box's corner
        EXPECT_TRUE(Clear(picture.pixelColor(395, 295)));
    }
}

TEST_F(MetafileViewTest, MappingRecordsKeepTheShapesInTheirFrame) {
    dir.Write("corners.wmf", AnisotropicCorners(0, 0));
    dir.Write("moved-corners.wmf", AnisotropicCorners(100, 100));
    dir.Write("text-corners.wmf", CornersMapped(0, 0, Record(0x0103, {1})));  // text mapping, said outright
    form.Start({dir.path()});
    for (const char* name : {"corners.wmf", "moved-corners.wmf", "text-corners.wmf"}) {
        SCOPED_TRACE(name);
        ClickFile(form, name);
        ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
        QImage picture = form.ViewForm()->Picture();
        ASSERT_EQ(picture.size(), QSize(400, 300));
        for (int x : {20, 280}) {
            for (int y : {20, 200}) {
                SCOPED_TRACE(testing::Message() << "rectangle at " << x << ", " << y);
                // Just inside each corner of the rectangle.
                for (int dx : {3, 96})
                    for (int dy : {3, 76})
                        EXPECT_TRUE(Reddish(picture.pixelColor(x + dx, y + dy)))
                            << picture.pixelColor(x + dx, y + dy).name().toStdString();
                // Just outside each of its sides.
                EXPECT_TRUE(Clear(picture.pixelColor(x - 4, y + 40)));
                EXPECT_TRUE(Clear(picture.pixelColor(x + 104, y + 40)));
                EXPECT_TRUE(Clear(picture.pixelColor(x + 50, y - 4)));
                EXPECT_TRUE(Clear(picture.pixelColor(x + 50, y + 84)));
            }
        }
        // The margins along the picture's edges and between the rectangles.
        for (QPoint p : {QPoint(5, 5), QPoint(395, 295), QPoint(200, 150), QPoint(395, 60), QPoint(60, 295)})
            EXPECT_TRUE(Clear(picture.pixelColor(p))) << p.x() << ", " << p.y();
    }
}

TEST_F(MetafileViewTest, MissingFontsAreReportedAsTheLibrarysFailureNotTheFiles) {
    WmfFontScope noFonts(dir.Path("no-such-font.t1"));
    ClickFile(form, "shapes.wmf");
    ASSERT_EQ(errors.texts.size(), 1);
    const QString& text = errors.texts[0];
    EXPECT_TRUE(text.startsWith("The metafile library failed: ")) << text.toStdString();
    EXPECT_TRUE(text.contains("shapes.wmf"));
    EXPECT_TRUE(text.contains("font"));
    EXPECT_FALSE(text.contains("not valid"));
    EXPECT_TRUE(form.ViewForm()->Picture().isNull());

    // A damaged file is still the file's fault.
    std::string bytes = ReadWholeFile(SamplePath("shapes.wmf").toStdString()).value();
    dir.Write("cut.wmf", bytes.substr(0, bytes.size() - 10));
    form.Start({dir.path()});
    ClickFile(form, "cut.wmf");
    ASSERT_EQ(errors.texts.size(), 2);
    EXPECT_TRUE(errors.texts[1].startsWith("Metafile is not valid")) << errors.texts[1].toStdString();
}

TEST(MetafileConversionTest, AnyLoadableFontServesTheLibrary) {
    // The check above blames the fonts: with one font file that loads, the
    // same metafile is drawn.
    const std::filesystem::path font = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
    if (!std::filesystem::exists(font)) GTEST_SKIP() << font << " is not installed";
    WmfFontScope oneFont(font);
    LoadResult result = LoadPictureFile(SamplePath("shapes.wmf"), PictureKind::Wmf);
    ASSERT_TRUE(result.picture) << result.error.toStdString();
    EXPECT_EQ(result.picture->image.size(), QSize(256, 192));
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
    ConversionError why;
    int width = 256, height = 192;
    auto svg = WmfToSvg(wmf, InspectMetafile(wmf), width, height, why);
    ASSERT_TRUE(svg) << why.why.toStdString();
    EXPECT_TRUE(svg->contains("<svg"));
    auto emfSvg = EmfToSvg(emf, 240, 192, why);
    ASSERT_TRUE(emfSvg) << why.why.toStdString();
    EXPECT_TRUE(emfSvg->contains("svg"));
    EXPECT_FALSE(EmfToSvg(emf.substr(0, 100), 240, 192, why));
    EXPECT_FALSE(why.why.isEmpty());
    EXPECT_FALSE(why.libraryFault);
}

}  // namespace
}  // namespace zv::viewer::test
