#include "viewer/gui/picture_loader.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <memory>

#include "viewer/metafile.h"

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace zv::viewer {

namespace {

QString KindError(PictureKind kind) {
    switch (kind) {
        case PictureKind::Bitmap:
            return QStringLiteral("Bitmap image is not valid");
        case PictureKind::Icon:
            return QStringLiteral("Icon image is not valid");
        default:
            return QStringLiteral("Metafile is not valid");
    }
}

QString Describe(PictureKind kind, const QString& path, const QString& why) {
    QString text = KindError(kind) + QStringLiteral(": ") + path;
    if (!why.isEmpty()) text += QStringLiteral("\n(") + why + QStringLiteral(")");
    return text;
}

LoadResult Failed(PictureKind kind, const QString& path, const QString& why) {
    return {std::nullopt, Describe(kind, path, why)};
}

// Bitmaps and icons: the reader of that format only, never a guess from the
// contents, so that a file that is not what its name says is refused.
LoadResult LoadRaster(const QString& path, PictureKind kind) {
    QImageReader reader(path, kind == PictureKind::Bitmap ? QByteArray("bmp") : QByteArray("ico"));
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull()) return Failed(kind, path, reader.errorString());
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return Failed(kind, path, QStringLiteral("the picture is too large"));
    LoadedPicture picture;
    picture.kind = kind;
    picture.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return {picture, {}};
}

struct WmfApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

QImage RenderSvg(const QByteArray& svg, int width, int height, QString& error) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        error = QStringLiteral("the converted drawing could not be read");
        return {};
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        error = QStringLiteral("not enough memory for the picture");
        return {};
    }
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

}  // namespace

std::optional<QByteArray> WmfToSvg(const std::string& bytes, int& width, int& height, QString& error) {
    wmfAPI* raw = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&raw, flags, &options) != wmf_E_None || raw == nullptr) {
        if (raw) wmf_api_destroy(raw);
        error = QStringLiteral("the metafile reader could not start");
        return std::nullopt;
    }
    std::unique_ptr<wmfAPI, WmfApiDeleter> api(raw);

    // The library reads from a buffer it does not own and does not change.
    std::string copy = bytes;
    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(copy.data()),
                     static_cast<long>(copy.size())) != wmf_E_None) {
        error = QStringLiteral("the metafile could not be opened");
        return std::nullopt;
    }
    wmfD_Rect bbox{};
    if (wmf_scan(api.get(), 0, &bbox) != wmf_E_None) {
        error = QStringLiteral("the metafile records could not be read");
        return std::nullopt;
    }
    if (width <= 0 || height <= 0) {
        unsigned int w = 0, h = 0;
        if (wmf_display_size(api.get(), &w, &h, kScreenDpi, kScreenDpi) != wmf_E_None || w == 0 || h == 0 ||
            w > static_cast<unsigned>(kMaxPictureSide) || h > static_cast<unsigned>(kMaxPictureSide) ||
            static_cast<long long>(w) * h > kMaxPictureArea) {
            error = QStringLiteral("the picture has no usable size");
            return std::nullopt;
        }
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }

    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->out = wmf_stream_create(api.get(), nullptr);
    device->Description = nullptr;
    device->bbox = bbox;
    device->width = static_cast<unsigned int>(width);
    device->height = static_cast<unsigned int>(height);
    if (device->out == nullptr) {
        error = QStringLiteral("not enough memory for the picture");
        return std::nullopt;
    }
    wmf_error_t played = wmf_play(api.get(), 0, &bbox);
    char* text = nullptr;
    unsigned long length = 0;
    // The stream's buffer belongs to the library and goes with the API.
    wmf_stream_destroy(api.get(), device->out, &text, &length);
    device->out = nullptr;
    if (played != wmf_E_None || text == nullptr || length == 0) {
        error = QStringLiteral("the metafile records could not be drawn");
        return std::nullopt;
    }
    return QByteArray(text, static_cast<qsizetype>(length));
}

std::optional<QByteArray> EmfToSvg(const std::string& bytes, int width, int height, QString& error) {
    generatorOptions options{};
    char nameSpace[] = "svg";
    options.nameSpace = nameSpace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = width;
    options.imgHeight = height;
    std::string copy = bytes;
    char* text = nullptr;
    size_t length = 0;
    int ok = emf2svg(copy.data(), copy.size(), &text, &length, &options);
    std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    if (!ok || text == nullptr || length == 0) {
        error = QStringLiteral("the metafile records could not be drawn");
        return std::nullopt;
    }
    return QByteArray(text, static_cast<qsizetype>(length));
}

namespace {

LoadResult LoadMetafile(const QString& path, PictureKind kind) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Failed(kind, path, file.errorString());
    // Metafiles are small; anything this large is not one worth drawing.
    if (file.size() > 256 * 1024 * 1024) return Failed(kind, path, QStringLiteral("the file is too large"));
    QByteArray data = file.readAll();
    std::string bytes(data.constData(), static_cast<std::size_t>(data.size()));

    MetafileInfo info = InspectMetafile(bytes);
    if (!info.ok()) return Failed(kind, path, QString::fromStdString(info.error));

    QString why;
    int width = info.width, height = info.height;
    std::optional<QByteArray> svg = info.format == MetafileFormat::Emf ? EmfToSvg(bytes, width, height, why)
                                                                       : WmfToSvg(bytes, width, height, why);
    if (!svg) return Failed(kind, path, why);
    QImage image = RenderSvg(*svg, width, height, why);
    if (image.isNull()) return Failed(kind, path, why);
    LoadedPicture picture;
    picture.kind = kind;
    picture.image = image;
    return {picture, {}};
}

}  // namespace

LoadResult LoadPictureFile(const QString& path, PictureKind kind) {
    switch (kind) {
        case PictureKind::Bitmap:
        case PictureKind::Icon:
            return LoadRaster(path, kind);
        case PictureKind::Wmf:
        case PictureKind::Emf:
            return LoadMetafile(path, kind);
        case PictureKind::Other:
            break;
    }
    return {std::nullopt, QStringLiteral("Unknown picture file extension: ") + path};
}

}  // namespace zv::viewer
