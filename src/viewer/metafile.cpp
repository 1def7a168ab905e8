#include "viewer/metafile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace zv::viewer {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kSetViewportExt = 0x020E;

// The records that put something on the picture.
constexpr std::uint16_t kDrawingRecords[] = {
    0x0213, 0x041B, 0x061C, 0x0418, 0x0817, 0x081A, 0x0830,  // lines, rectangles, ellipses, arcs
    0x0324, 0x0325, 0x0538,                                  // polygons and polylines
    0x0521, 0x0A32,                                          // text
    0x041F, 0x0419, 0x0548,                                  // pixels and flood fills
    0x061D, 0x0922, 0x0940, 0x0B23, 0x0B41, 0x0F43, 0x0D33,  // bitmaps and pattern fills
    0x0228, 0x0429, 0x012A, 0x012B};                         // regions

// Units per inch of the fixed mapping modes, indexed by mode; 0 for the
// others. The renderer takes the text mode's pixels for points.
constexpr int kFixedModeUnitsPerInch[] = {0, 72, 254, 2540, 100, 1000, 1440, 0, 0};
constexpr int kIsotropic = 7;
constexpr int kAnisotropic = 8;
// The renderer's window and viewport extents before a record sets them.
constexpr double kDefaultExtent = 1024;

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::int16_t I16(const std::string& b, std::size_t at) { return static_cast<std::int16_t>(U16(b, at)); }
std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(U16(b, at)) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
std::int32_t I32(const std::string& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

// Size in pixels of a length given in units of 1/`perInch` inch.
int ToPixels(long long length, long long perInch) {
    return static_cast<int>(std::llround(static_cast<double>(std::llabs(length)) * kScreenDpi / perInch));
}

MetafileInfo Fail(MetafileFormat format, const std::string& why) {
    MetafileInfo info;
    info.format = format;
    info.error = why;
    return info;
}

bool SizeAcceptable(MetafileInfo& info) {
    if (info.width > kMaxPictureSide || info.height > kMaxPictureSide ||
        static_cast<long long>(info.width) * info.height > kMaxPictureArea) {
        info.error = "the picture is too large";
        return false;
    }
    return true;
}

MetafileInfo InspectEmf(const std::string& bytes) {
    const auto format = MetafileFormat::Emf;
    std::uint32_t headerSize = U32(bytes, 4);
    if (headerSize < 88 || headerSize > bytes.size() || headerSize % 4 != 0)
        return Fail(format, "the header record is damaged");
    std::uint32_t total = U32(bytes, 48);
    if (total < headerSize || total > bytes.size())
        return Fail(format, "the file is shorter than its header says");

    // Walk the records up to the end-of-file record.
    std::size_t at = headerSize;
    bool sawEof = false;
    while (at + 8 <= total) {
        std::uint32_t type = U32(bytes, at);
        std::uint32_t size = U32(bytes, at + 4);
        if (size < 8 || size % 4 != 0 || size > total - at) return Fail(format, "a record is damaged");
        at += size;
        if (type == kEmrEof) {
            sawEof = true;
            break;
        }
    }
    if (!sawEof) return Fail(format, "the end-of-file record is missing");

    MetafileInfo info;
    info.format = format;
    // The frame is given in hundredths of a millimetre; the bounds in device
    // pixels serve when the frame is empty.
    std::int64_t frameW = static_cast<std::int64_t>(I32(bytes, 32)) - I32(bytes, 24);
    std::int64_t frameH = static_cast<std::int64_t>(I32(bytes, 36)) - I32(bytes, 28);
    if (frameW > 0 && frameH > 0) {
        info.width = ToPixels(frameW, 2540);
        info.height = ToPixels(frameH, 2540);
    } else {
        info.width =
            static_cast<int>(std::llabs(static_cast<std::int64_t>(I32(bytes, 16)) - I32(bytes, 8)) + 1);
        info.height =
            static_cast<int>(std::llabs(static_cast<std::int64_t>(I32(bytes, 20)) - I32(bytes, 12)) + 1);
    }
    if (info.width <= 0 || info.height <= 0) return Fail(format, "the picture has no size");
    SizeAcceptable(info);
    return info;
}

bool Draws(std::uint16_t function) {
    return std::find(std::begin(kDrawingRecords), std::end(kDrawingRecords), function) !=
           std::end(kDrawingRecords);
}

// Takes what the record of `words` words at `at` sets of the mapping.
void NoteMapping(const std::string& b, std::size_t at, std::uint32_t words, MetafileInfo& info) {
    const std::uint16_t function = U16(b, at + 4);
    if (function == kSetMapMode && words >= 4) {
        // The renderer ignores modes it does not know.
        const int mode = U16(b, at + 6);
        if (mode >= 1 && mode <= kAnisotropic) info.mapMode = mode;
    } else if (words >= 5) {
        const int y = I16(b, at + 6), x = I16(b, at + 8);
        if (function == kSetWindowOrg) {
            info.windowOrgX = x;
            info.windowOrgY = y;
        } else if (function == kSetWindowExt) {
            info.windowExtX = x;
            info.windowExtY = y;
        } else if (function == kSetViewportExt) {
            info.viewportExtX = x;
            info.viewportExtY = y;
        }
    }
}

// Device units per logical unit along one axis.
double AxisScale(const MetafileInfo& info, int windowExt, int viewportExt) {
    if (info.mapMode == kIsotropic || info.mapMode == kAnisotropic) {
        const double window = windowExt != 0 ? windowExt : kDefaultExtent;
        const double viewport = viewportExt != 0 ? viewportExt : kDefaultExtent;
        return viewport / window;
    }
    const bool fixed = info.mapMode > 0 &&
                       info.mapMode < static_cast<int>(std::size(kFixedModeUnitsPerInch)) &&
                       kFixedModeUnitsPerInch[info.mapMode] > 0;
    const int perInch = fixed ? kFixedModeUnitsPerInch[info.mapMode] : info.unitsPerInch;
    return perInch > 0 ? 72.0 / perInch : 1.0;
}

MetafileInfo InspectWmf(const std::string& bytes) {
    MetafileInfo info;
    std::size_t at = 0;
    info.format = MetafileFormat::Wmf;
    if (bytes.size() >= 4 && U32(bytes, 0) == kPlaceableKey) {
        info.format = MetafileFormat::PlaceableWmf;
        if (bytes.size() < 22) return Fail(info.format, "the placeable header is cut off");
        int inch = U16(bytes, 14);
        if (inch == 0) return Fail(info.format, "the placeable header gives no units");
        const int left = I16(bytes, 6), top = I16(bytes, 8), right = I16(bytes, 10), bottom = I16(bytes, 12);
        info.frameLeft = std::min(left, right);
        info.frameRight = std::max(left, right);
        info.frameTop = std::min(top, bottom);
        info.frameBottom = std::max(top, bottom);
        info.unitsPerInch = inch;
        long long w = static_cast<long long>(right) - left;
        long long h = static_cast<long long>(bottom) - top;
        info.width = ToPixels(w, inch);
        info.height = ToPixels(h, inch);
        if (info.width <= 0 || info.height <= 0) return Fail(info.format, "the picture has no size");
        at = 22;
    }
    const auto format = info.format;
    if (bytes.size() < at + 18) return Fail(format, "the header is cut off");
    std::uint16_t type = U16(bytes, at);
    std::uint16_t headerWords = U16(bytes, at + 2);
    std::uint16_t version = U16(bytes, at + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return Fail(format, "the header is not a metafile header");

    // Walk the records (sizes in 16-bit words) up to the end record.
    at += 18;
    bool drawing = false;
    while (at < bytes.size()) {
        if (bytes.size() - at < 6) return Fail(format, "a record is cut off");
        std::uint32_t words = U32(bytes, at);
        std::uint16_t function = U16(bytes, at + 4);
        if (words < 3 || words > (bytes.size() - at) / 2) return Fail(format, "a record is damaged");
        drawing = drawing || Draws(function);
        if (!drawing) NoteMapping(bytes, at, words, info);
        at += static_cast<std::size_t>(words) * 2;
        if (function == 0) {
            SizeAcceptable(info);
            return info;
        }
    }
    return Fail(format, "the end record is missing");
}

}  // namespace

RenderedRect RenderedFrame(const MetafileInfo& info) {
    const double scaleX = AxisScale(info, info.windowExtX, info.viewportExtX);
    const double scaleY = AxisScale(info, info.windowExtY, info.viewportExtY);
    const double left = (info.frameLeft - info.windowOrgX) * scaleX;
    const double right = (info.frameRight - info.windowOrgX) * scaleX;
    const double top = (info.frameTop - info.windowOrgY) * scaleY;
    const double bottom = (info.frameBottom - info.windowOrgY) * scaleY;
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

MetafileInfo InspectMetafile(const std::string& bytes) {
    if (bytes.size() >= 44 && U32(bytes, 0) == kEmrHeader && U32(bytes, 40) == kEmfSignature)
        return InspectEmf(bytes);
    if (bytes.empty()) return Fail(MetafileFormat::Unknown, "the file is empty");
    return InspectWmf(bytes);
}

}  // namespace zv::viewer
