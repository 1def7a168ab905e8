#include "viewer/bitmap_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zv::viewer {
namespace {

void Put16(std::string& b, std::uint32_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A bitmap file with a 40-byte information header, `paletteEntries` colours
// and the pixel data its header promises (`imageSize` when run-length coded).
std::string Bitmap(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                   std::uint32_t imageSize = 0, int paletteEntries = 0) {
    std::uint32_t stride = (static_cast<std::uint32_t>(width < 0 ? -width : width) * bits + 31) / 32 * 4;
    std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    std::uint32_t dataSize = compression == 0 || compression == 3 ? stride * rows : imageSize;
    std::uint32_t dataStart = 14 + 40 + 4 * paletteEntries;
    std::string b = "BM";
    Put32(b, dataStart + dataSize);
    Put32(b, 0);
    Put32(b, dataStart);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, compression);
    Put32(b, imageSize);
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    b += std::string(4 * paletteEntries, '\0');
    b += std::string(dataSize, '\x11');
    return b;
}

// The same with the oldest, 12-byte information header.
std::string CoreBitmap(int width, int height, int bits, int paletteEntries) {
    std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    std::uint32_t dataStart = 14 + 12 + 3 * paletteEntries;
    std::string b = "BM";
    Put32(b, dataStart + stride * height);
    Put32(b, 0);
    Put32(b, dataStart);
    Put32(b, 12);
    Put16(b, width);
    Put16(b, height);
    Put16(b, 1);
    Put16(b, bits);
    b += std::string(3 * paletteEntries, '\0');
    b += std::string(stride * height, '\x22');
    return b;
}

TEST(CheckBitmapLengthTest, WholeBitmapsPassAndEveryShorterCutIsRefused) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"24-bit with padded rows", Bitmap(13, 7, 24)},    {"top-down 32-bit", Bitmap(8, -5, 32)},
        {"1-bit with palette", Bitmap(17, 3, 1, 0, 0, 2)}, {"bit fields", Bitmap(4, 4, 16, 3)},
        {"core header, 8-bit", CoreBitmap(5, 4, 8, 256)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckBitmapLength(c.bytes), "") << c.what;
        EXPECT_EQ(CheckBitmapLength(c.bytes + "trailing"), "") << c.what;
        for (std::size_t length = 0; length < c.bytes.size(); ++length)
            EXPECT_NE(CheckBitmapLength(c.bytes.substr(0, length)), "") << c.what << " cut at " << length;
    }
}

TEST(CheckBitmapLengthTest, ReasonsNameWhatIsMissing) {
    std::string big = Bitmap(640, 480, 24);
    EXPECT_EQ(CheckBitmapLength(big.substr(0, 100)), "the file is shorter than its pixel data");
    EXPECT_EQ(CheckBitmapLength(""), "the file is empty");
    EXPECT_EQ(CheckBitmapLength("GIF89a not a bitmap at all"), "the file header is missing");
    EXPECT_EQ(CheckBitmapLength(big.substr(0, 30)), "the information header is cut off");

    std::string pastTheEnd = Bitmap(2, 2, 24);
    pastTheEnd[10] = static_cast<char>(0xF0);  // pixel data said to start past the end
    EXPECT_EQ(CheckBitmapLength(pastTheEnd), "the file is shorter than its header says");

    std::string huge = Bitmap(2, 2, 24);
    huge[21] = 0x7F;  // a width of about two thousand million pixels
    EXPECT_EQ(CheckBitmapLength(huge), "the picture is too large");
}

TEST(CheckBitmapLengthTest, RunLengthDataIsCheckedAgainstItsStatedSize) {
    std::string rle = Bitmap(16, 16, 8, 1, 64, 256);
    EXPECT_EQ(CheckBitmapLength(rle), "");
    EXPECT_NE(CheckBitmapLength(rle.substr(0, rle.size() - 1)), "");
    // Without a stated size the runs themselves tell where they end.
    EXPECT_EQ(CheckBitmapLength(Bitmap(16, 16, 4, 2, 0, 16) + std::string("\x00\x01", 2)), "");
}

}  // namespace
}  // namespace zv::viewer
