// Checks arbitrary bytes as a metafile, and as mount table text, and makes
// sure a sound verdict always comes with a usable size and frame.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer/drives.h"
#include "viewer/metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    zv::viewer::MetafileInfo info = zv::viewer::InspectMetafile(bytes);
    if (info.ok() && info.format != zv::viewer::MetafileFormat::Wmf) {
        if (info.width <= 0 || info.height <= 0 || info.width > zv::viewer::kMaxPictureSide ||
            info.height > zv::viewer::kMaxPictureSide)
            std::abort();
    }
    if (info.ok() && info.format == zv::viewer::MetafileFormat::PlaceableWmf) {
        const zv::viewer::RenderedRect frame = zv::viewer::RenderedFrame(info);
        if (!std::isfinite(frame.left + frame.top + frame.right + frame.bottom) || frame.left > frame.right ||
            frame.top > frame.bottom)
            std::abort();
    }
    for (const auto& root : zv::viewer::DriveRoots(bytes, "/home/u"))
        if (root.empty() || root[0] != '/') std::abort();
    return 0;
}
