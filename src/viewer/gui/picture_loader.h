#pragma once
// Loads a picture file as the kind its name gives: bitmaps and icons through
// Qt's image readers, Windows metafiles and enhanced metafiles converted to
// SVG by the metafile libraries and drawn at their natural size.
#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "viewer/metafile.h"
#include "viewer/picture_rules.h"

namespace zv::viewer {

struct LoadedPicture {
    PictureKind kind = PictureKind::Other;
    QImage image;
    int width() const { return image.width(); }
    int height() const { return image.height(); }
    bool isNull() const { return image.isNull(); }
};

struct LoadResult {
    std::optional<LoadedPicture> picture;
    QString error;  // the reason when `picture` is empty
};

// `kind` must be one of the four picture kinds. The path is taken byte for
// byte, so that a name that is not valid UTF-8 still opens its file.
LoadResult LoadPictureFile(const std::filesystem::path& path, PictureKind kind);
LoadResult LoadPictureFile(const QString& path, PictureKind kind);

// Why a metafile conversion failed: the file, or the metafile library itself
// (no fonts, no memory, an internal error), which no other file would help.
struct ConversionError {
    QString why;
    bool libraryFault = false;
};

// The metafile conversions, exposed for tests. Each returns SVG text, or
// nothing with `error` set. WmfToSvg draws a placeable metafile over its
// frame (`info` as InspectMetafile gave it); a metafile without the
// placeable header is drawn over the bounds of its records, and `width` and
// `height`, when 0, are set to its size.
std::optional<QByteArray> WmfToSvg(const std::string& bytes, const MetafileInfo& info, int& width,
                                   int& height, ConversionError& error);
std::optional<QByteArray> EmfToSvg(const std::string& bytes, int width, int height, ConversionError& error);

// For tests: the metafile library takes every font from this file instead
// of its standard fonts, as on a machine with other fonts or none (a file
// that does not exist). An empty path goes back to the standard fonts.
void SetWmfFontFileForTests(const std::filesystem::path& fontFile);

}  // namespace zv::viewer
