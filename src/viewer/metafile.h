#pragma once
// Checks the structure of Windows metafiles before they are handed to the
// rendering libraries, and works out their natural size in screen pixels.
// A file that fails these checks is reported as not valid and never reaches
// the renderers, which do not defend themselves against broken records.
#include <string>

namespace zv::viewer {

// Pixels per inch of the screen the natural sizes are given for.
inline constexpr int kScreenDpi = 96;
// Larger pictures are refused rather than allocated.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr long long kMaxPictureArea = 64LL * 1024 * 1024;

enum class MetafileFormat { Unknown, Wmf, PlaceableWmf, Emf };

struct MetafileInfo {
    MetafileFormat format = MetafileFormat::Unknown;
    // Natural size in pixels at kScreenDpi; 0 x 0 for a WMF without the
    // placeable header, whose size only its records tell.
    int width = 0;
    int height = 0;
    // A placeable metafile's frame, in logical units (left <= right and
    // top <= bottom), and its logical units per inch.
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    int unitsPerInch = 0;
    // The mapping in force when the records start drawing: mapping mode,
    // window origin and extent, viewport extent; 0 where no record sets it.
    // Logical coordinates are drawn relative to the window origin.
    int mapMode = 0;
    int windowOrgX = 0, windowOrgY = 0;
    int windowExtX = 0, windowExtY = 0;
    int viewportExtX = 0, viewportExtY = 0;
    std::string error;  // empty when the file is sound
    bool ok() const { return error.empty(); }
};

// Looks at the bytes: an enhanced metafile is recognised by its header record
// and signature whatever the file is called; anything else is read as a
// Windows metafile, with or without the placeable header.
MetafileInfo InspectMetafile(const std::string& bytes);

// A rectangle in the Windows metafile renderer's device units, 1/72 inch,
// with left <= right and top <= bottom.
struct RenderedRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// Where the renderer puts a placeable metafile's frame, mapping it as it
// maps the records: from the window origin, at the scale of the mapping
// mode. Before a record sets a mode, the placeable header's units per inch
// serve; the fixed modes have their own units (the text mode one point per
// unit), and the scalable ones scale the window extent to the viewport
// extent (both 1024 when not set).
RenderedRect RenderedFrame(const MetafileInfo& info);

}  // namespace zv::viewer
