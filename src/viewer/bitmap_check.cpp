#include "viewer/bitmap_check.h"

#include <cstdint>
#include <cstdlib>

#include "viewer/metafile.h"

namespace zv::viewer {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;  // the oldest information header

// Compression methods of the information header.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }

}  // namespace

std::string CheckBitmapLength(const std::string& bytes) {
    if (bytes.empty()) return "the file is empty";
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return "the file header is missing";
    const std::uint64_t size = bytes.size();
    const std::uint64_t dataStart = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, kFileHeaderSize);
    if (headerSize < kCoreHeaderSize || kFileHeaderSize + headerSize > size)
        return "the information header is cut off";

    std::int64_t width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = kRgb, imageSize = 0;
    if (headerSize == kCoreHeaderSize) {
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        bitsPerPixel = U16(bytes, 24);
    } else {
        if (headerSize < 20) return "the information header is damaged";
        width = static_cast<std::int32_t>(U32(bytes, 18));
        height = static_cast<std::int32_t>(U32(bytes, 22));
        bitsPerPixel = U16(bytes, 28);
        if (headerSize >= 24) compression = U32(bytes, 30);
        if (headerSize >= 28) imageSize = U32(bytes, 34);
    }
    if (dataStart < kFileHeaderSize + headerSize || dataStart > size)
        return "the file is shorter than its header says";

    if (std::llabs(width) > kMaxPictureSide || std::llabs(height) > kMaxPictureSide)
        return "the picture is too large";

    std::uint64_t needed = 0;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        // Rows are padded to whole 32-bit words; a negative height only
        // turns the picture upside down.
        const std::uint64_t rowBits = static_cast<std::uint64_t>(std::llabs(width)) * bitsPerPixel;
        needed = (rowBits + 31) / 32 * 4 * static_cast<std::uint64_t>(std::llabs(height));
    } else if (compression == kRle8 || compression == kRle4) {
        // The runs say for themselves where they end; the header's size of
        // the data, when given, must still be there.
        needed = imageSize;
    }
    if (needed > size - dataStart) return "the file is shorter than its pixel data";
    return "";
}

}  // namespace zv::viewer
