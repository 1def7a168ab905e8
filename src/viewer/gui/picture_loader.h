#pragma once
// Loads a picture file as the kind its name gives: bitmaps and icons through
// Qt's image readers, Windows metafiles and enhanced metafiles converted to
// SVG by the metafile libraries and drawn at their natural size.
#include <QImage>
#include <QString>
#include <optional>
#include <string>

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

// `kind` must be one of the four picture kinds.
LoadResult LoadPictureFile(const QString& path, PictureKind kind);

// The metafile conversions, exposed for tests. Each returns SVG text, or
// nothing with `error` set.
std::optional<QByteArray> WmfToSvg(const std::string& bytes, int& width, int& height, QString& error);
std::optional<QByteArray> EmfToSvg(const std::string& bytes, int width, int height, QString& error);

}  // namespace zv::viewer
