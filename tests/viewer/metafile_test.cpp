#include "viewer/metafile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "config/file_io.h"

namespace zv::viewer {
namespace {

std::string Sample(const std::string& name) {
    auto bytes = ReadWholeFile(std::string(ZV_SOURCE_DIR) + "data/image/" + name);
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or("");
}

void Put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// A Windows metafile without placeable header: header plus one record of
// `words` words and the end record.
std::string PlainWmf(std::uint32_t words = 5) {
    std::string b(18, '\0');
    Put16(b, 0, 1);
    Put16(b, 2, 9);
    Put16(b, 4, 0x0300);
    std::string record(words * 2, '\0');
    Put32(record, 0, words);
    Put16(record, 4, 0x020B);  // set window origin
    std::string end(6, '\0');
    Put32(end, 0, 3);
    return b + record + end;
}

// A Windows metafile without placeable header made of `records` (each
// function number and parameters) and the end record.
std::string RecordsWmf(std::initializer_list<std::initializer_list<int>> records) {
    std::string b = PlainWmf().substr(0, 18);
    for (auto record : records) {
        std::string r((2 + record.size()) * 2, '\0');
        Put32(r, 0, static_cast<std::uint32_t>(2 + record.size()));
        std::size_t at = 4;
        for (int word : record) {
            Put16(r, at, static_cast<std::uint16_t>(word));
            at += 2;
        }
        b += r;
    }
    return b + std::string("\x03\0\0\0\0\0", 6);
}

TEST(InspectMetafileTest, MappingIsTheOneInForceWhenDrawingStarts) {
    MetafileInfo info = InspectMetafile(RecordsWmf({{0x0103, 99},          // unknown mode: ignored
                                                    {0x0103, 8},           // anisotropic
                                                    {0x020B, -20, -10},    // window origin (y, x)
                                                    {0x020C, 300, 400},    // window extent
                                                    {0x020E, 150, 200},    // viewport extent
                                                    {0x041B, 9, 9, 1, 1},  // a rectangle
                                                    {0x020C, 30, 40},      // later changes: not the frame's
                                                    {0x0103, 1}}));
    ASSERT_TRUE(info.ok()) << info.error;
    EXPECT_EQ(info.mapMode, 8);
    EXPECT_EQ(info.windowOrgX, -10);
    EXPECT_EQ(info.windowOrgY, -20);
    EXPECT_EQ(info.windowExtX, 400);
    EXPECT_EQ(info.windowExtY, 300);
    EXPECT_EQ(info.viewportExtX, 200);
    EXPECT_EQ(info.viewportExtY, 150);
}

TEST(RenderedFrameTest, FrameIsMappedAsTheRecordsAre) {
    MetafileInfo info;
    info.frameLeft = 100;
    info.frameTop = 50;
    info.frameRight = 500;
    info.frameBottom = 350;
    info.unitsPerInch = 96;
    info.windowOrgX = 100;
    info.windowOrgY = 50;
    auto expectFrame = [&](double right, double bottom) {
        RenderedRect frame = RenderedFrame(info);
        EXPECT_DOUBLE_EQ(frame.left, 0);
        EXPECT_DOUBLE_EQ(frame.top, 0);
        EXPECT_DOUBLE_EQ(frame.right, right);
        EXPECT_DOUBLE_EQ(frame.bottom, bottom);
    };
    expectFrame(300, 225);  // no mode set: the header's units, 96 a inch
    info.mapMode = 1;       // text: a point a unit
    expectFrame(400, 300);
    info.mapMode = 6;  // twips
    expectFrame(20, 15);
    info.mapMode = 8;  // anisotropic, the window the frame's size
    info.windowExtX = 400;
    info.windowExtY = 300;
    expectFrame(1024, 1024);
    info.viewportExtX = 200;
    info.viewportExtY = 600;
    expectFrame(200, 600);
    info.windowExtX = -400;  // a mirrored axis still gives left <= right
    RenderedRect mirrored = RenderedFrame(info);
    EXPECT_DOUBLE_EQ(mirrored.left, -200);
    EXPECT_DOUBLE_EQ(mirrored.right, 0);
}

TEST(InspectMetafileTest, ShippedSamplesHaveTheirNaturalSize) {
    MetafileInfo wmf = InspectMetafile(Sample("shapes.wmf"));
    EXPECT_TRUE(wmf.ok()) << wmf.error;
    EXPECT_EQ(wmf.format, MetafileFormat::PlaceableWmf);
    EXPECT_EQ(wmf.width, 256);  // 3840 twips at 96 dots per inch
    EXPECT_EQ(wmf.height, 192);

    MetafileInfo emf = InspectMetafile(Sample("shapes.emf"));
    EXPECT_TRUE(emf.ok()) << emf.error;
    EXPECT_EQ(emf.format, MetafileFormat::Emf);
    EXPECT_EQ(emf.width, 240);  // 6350 hundredths of a millimetre
    EXPECT_EQ(emf.height, 192);
}

TEST(InspectMetafileTest, EveryCutOfTheSamplesIsRefused) {
    for (const char* name : {"shapes.wmf", "shapes.emf"}) {
        std::string bytes = Sample(name);
        for (std::size_t length = 0; length < bytes.size(); ++length)
            EXPECT_FALSE(InspectMetafile(bytes.substr(0, length)).ok()) << name << " cut at " << length;
    }
}

TEST(InspectMetafileTest, PlainWmfIsAcceptedWithoutASize) {
    MetafileInfo info = InspectMetafile(PlainWmf());
    EXPECT_TRUE(info.ok()) << info.error;
    EXPECT_EQ(info.format, MetafileFormat::Wmf);
    EXPECT_EQ(info.width, 0);
}

TEST(InspectMetafileTest, DamagedWmfRecordsAreRefused) {
    EXPECT_FALSE(InspectMetafile(PlainWmf(2)).ok());  // smaller than a record header
    std::string huge = PlainWmf();
    Put32(huge, 18, 0x7FFFFFFF);  // record claims to run far past the end
    EXPECT_FALSE(InspectMetafile(huge).ok());
    std::string noEnd = PlainWmf();
    noEnd.resize(noEnd.size() - 6);
    EXPECT_FALSE(InspectMetafile(noEnd).ok());
    std::string wrongHeader = PlainWmf();
    Put16(wrongHeader, 2, 8);
    EXPECT_FALSE(InspectMetafile(wrongHeader).ok());
    EXPECT_FALSE(InspectMetafile("BM not a metafile at all").ok());
    EXPECT_FALSE(InspectMetafile("").ok());
}

TEST(InspectMetafileTest, PlaceableHeaderWithoutUnitsOrSizeIsRefused) {
    std::string bytes = Sample("shapes.wmf");
    std::string noUnits = bytes;
    Put16(noUnits, 14, 0);
    EXPECT_FALSE(InspectMetafile(noUnits).ok());
    std::string empty = bytes;
    Put16(empty, 10, 0);  // right edge on the left edge
    EXPECT_FALSE(InspectMetafile(empty).ok());
    std::string flipped = bytes;
    Put16(flipped, 6, 3840);  // left and right swapped: same size
    Put16(flipped, 10, 0);
    EXPECT_EQ(InspectMetafile(flipped).width, 256);
}

TEST(InspectMetafileTest, OversizedPicturesAreRefused) {
    std::string bytes = Sample("shapes.wmf");
    Put16(bytes, 14, 1);  // one logical unit per inch: 3840 inches wide
    MetafileInfo info = InspectMetafile(bytes);
    EXPECT_FALSE(info.ok());
    EXPECT_NE(info.error.find("too large"), std::string::npos);

    // Each side within limits, but together too many pixels to hold.
    std::string square = Sample("shapes.wmf");
    Put16(square, 10, 15000);
    Put16(square, 12, 15000);
    Put16(square, 14, 96);
    EXPECT_FALSE(InspectMetafile(square).ok());

    std::string emf = Sample("shapes.emf");
    Put32(emf, 32, 0x7FFFFFFF);
    EXPECT_FALSE(InspectMetafile(emf).ok());
}

TEST(InspectMetafileTest, DamagedEmfIsRefused) {
    std::string bytes = Sample("shapes.emf");
    std::string longer = bytes;
    Put32(longer, 48, static_cast<std::uint32_t>(bytes.size() + 4));  // says it is longer than it is
    EXPECT_FALSE(InspectMetafile(longer).ok());
    std::string oddRecord = bytes;
    Put32(oddRecord, 4, 87);  // header record size not a multiple of 4
    EXPECT_FALSE(InspectMetafile(oddRecord).ok());
    std::string zeroRecord = bytes;
    std::uint32_t headerSize =
        static_cast<unsigned char>(bytes[4]) | (static_cast<unsigned char>(bytes[5]) << 8);
    Put32(zeroRecord, headerSize + 4, 0);  // first record after the header has size 0
    EXPECT_FALSE(InspectMetafile(zeroRecord).ok());
}

TEST(InspectMetafileTest, EmfWithoutFrameFallsBackToBounds) {
    std::string bytes = Sample("shapes.emf");
    for (std::size_t at = 24; at < 40; at += 4) Put32(bytes, at, 0);
    MetafileInfo info = InspectMetafile(bytes);
    EXPECT_TRUE(info.ok()) << info.error;
    EXPECT_EQ(info.width, 240);  // bounds 0..239 inclusive
    EXPECT_EQ(info.height, 192);
}

TEST(InspectMetafileTest, TrailingBytesAfterTheEndRecordAreTolerated) {
    EXPECT_TRUE(InspectMetafile(Sample("shapes.wmf") + std::string(10, 'x')).ok());
    EXPECT_TRUE(InspectMetafile(Sample("shapes.emf") + std::string(10, 'x')).ok());
}

}  // namespace
}  // namespace zv::viewer
