#include "viewer/gui/picture_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/env.h"
#include "viewer/bitmap_check.h"

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/font.h>
#include <libwmf/svg.h>
}

namespace zv::viewer {

namespace fs = std::filesystem;

namespace {

// Larger files are refused before they are read: no picture the viewer can
// hold comes near this.
constexpr std::uintmax_t kMaxFileSize = 512ULL * 1024 * 1024;

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

QString Describe(const QString& head, const QString& path, const QString& why) {
    QString text = head + QStringLiteral(": ") + path;
    if (!why.isEmpty()) text += QStringLiteral("\n(") + why + QStringLiteral(")");
    return text;
}

QString Shown(const fs::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.native())); }

LoadResult Failed(PictureKind kind, const fs::path& path, const QString& why) {
    return {std::nullopt, Describe(KindError(kind), Shown(path), why)};
}

// The whole file, or nothing with the reason in `why`.
std::optional<std::string> ReadPictureBytes(const fs::path& path, QString& why) {
    Env& env = CurrentEnv();
    std::unique_ptr<ReadableFile> file = env.OpenForReading(path.string());
    if (!file) {
        why = QString::fromStdString(std::generic_category().message(errno));
        return std::nullopt;
    }
    const std::optional<std::uint64_t> size = file->RegularFileSize();
    if (!size) {
        const auto kind = env.IsFolder(path.string()) ? std::errc::is_a_directory : std::errc::not_supported;
        why = QString::fromStdString(std::make_error_code(kind).message());
        return std::nullopt;
    }
    if (*size > kMaxFileSize) {
        why = QStringLiteral("the file is too large");
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::int64_t n = file->Read(bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            why = QStringLiteral("the file could not be read");
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

// Bitmaps and icons: the reader of that format only, never a guess from the
// contents, so that a file that is not what its name says is refused.
LoadResult LoadRaster(const fs::path& path, PictureKind kind) {
    QString why;
    std::optional<std::string> bytes = ReadPictureBytes(path, why);
    if (!bytes) return Failed(kind, path, why);
    if (kind == PictureKind::Bitmap) {
        std::string fault = CheckBitmapLength(*bytes);
        if (!fault.empty()) return Failed(kind, path, QString::fromStdString(fault));
    }
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind == PictureKind::Bitmap ? QByteArray("bmp") : QByteArray("ico"));
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

// What the metafile library writes about its errors, caught in memory
// instead of going to the standard error stream.
class WmfErrorLog {
public:
    WmfErrorLog() : stream_(open_memstream(&text_, &length_)) {}
    ~WmfErrorLog() {
        if (stream_) std::fclose(stream_);
        std::free(text_);
    }
    WmfErrorLog(const WmfErrorLog&) = delete;
    WmfErrorLog& operator=(const WmfErrorLog&) = delete;
    FILE* stream() const { return stream_; }
    // The first line written so far, without the library's "ERROR: file
    // (line): " prefix.
    QString FirstLine() {
        if (!stream_ || std::fflush(stream_) != 0 || text_ == nullptr) return {};
        QString line =
            QString::fromLocal8Bit(text_, static_cast<qsizetype>(length_)).section(QLatin1Char('\n'), 0, 0);
        int colon = line.indexOf(QStringLiteral("): "));
        return colon >= 0 ? line.mid(colon + 3).trimmed() : line.trimmed();
    }

private:
    char* text_ = nullptr;
    std::size_t length_ = 0;
    FILE* stream_;
};

// The font set-up of SetWmfFontFileForTests.
struct WmfFontFile {
    std::string folder;
    std::string name;
};
std::optional<WmfFontFile>& FontFileOverride() {
    static std::optional<WmfFontFile> file;
    return file;
}

// The names under which the library asks for its thirteen standard fonts.
constexpr const char* kStandardFonts[] = {
    "Times-Roman", "Times-Italic",      "Times-Bold",     "Times-BoldItalic",
    "Helvetica",   "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique",
    "Courier",     "Courier-Oblique",   "Courier-Bold",   "Courier-BoldOblique",
    "Symbol"};

// Sets `error` after the library gave up with `status`. Damaged records end
// in a format or end-of-file status; every other status is the library's
// own trouble (a font it cannot load, memory, an internal error), which is
// said as such so that nobody blames, or deletes, a sound file.
void ExplainWmfFailure(wmf_error_t status, WmfErrorLog& log, const QString& whatFailed,
                       ConversionError& error) {
    if (status == wmf_E_BadFormat || status == wmf_E_EOF) {
        error.why = whatFailed;
        error.libraryFault = false;
        return;
    }
    error.libraryFault = true;
    const QString said = log.FirstLine();
    if (said.contains(QStringLiteral("font"), Qt::CaseInsensitive)) {
        error.why = QStringLiteral(
            "it could not load any font; its standard fonts come with the "
            "fonts-urw-base35 package");
    } else if (status == wmf_E_InsMem) {
        error.why = QStringLiteral("not enough memory");
    } else {
        error.why = QStringLiteral("error %1").arg(static_cast<int>(status));
        if (!said.isEmpty()) error.why += QStringLiteral(": ") + said;
    }
}

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

void SetWmfFontFileForTests(const fs::path& fontFile) {
    if (fontFile.empty()) {
        FontFileOverride().reset();
    } else {
        FontFileOverride() = WmfFontFile{fontFile.parent_path().native(), fontFile.filename().native()};
    }
}

std::optional<QByteArray> WmfToSvg(const std::string& bytes, const MetafileInfo& info, int& width,
                                   int& height, ConversionError& error) {
    WmfErrorLog log;
    wmfAPI* raw = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG;
    if (log.stream()) {
        options.error_out = log.stream();
        flags |= WMF_OPT_LOG_ERROR;
    } else {
        flags |= WMF_OPT_NO_ERROR;
    }

    // Kept alive until the library is done with the options.
    const std::optional<WmfFontFile> fontFile = FontFileOverride();
    char* fontDirs[2] = {nullptr, nullptr};
    wmfMapping fontMap[std::size(kStandardFonts) + 1] = {};
    std::string noFontMap;
    if (fontFile) {
        fontDirs[0] = const_cast<char*>(fontFile->folder.c_str());
        for (std::size_t i = 0; i < std::size(kStandardFonts); ++i) {
            fontMap[i].name = const_cast<char*>(kStandardFonts[i]);
            fontMap[i].mapping = const_cast<char*>(fontFile->name.c_str());
            fontMap[i].encoding = FT_ENCODING_NONE;
        }
        options.fontdirs = fontDirs;
        options.font.ps = fontMap;
        // Nor may a ghostscript font map on the machine stand in for them.
        noFontMap = fontFile->folder + "/no-font-map";
        options.gs_fontmap_file = noFontMap.data();
        flags |= WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP | WMF_OPT_GS_FONTMAP;
    }

    wmf_error_t status = wmf_api_create(&raw, flags, &options);
    if (status != wmf_E_None || raw == nullptr) {
        if (raw) wmf_api_destroy(raw);
        ExplainWmfFailure(status == wmf_E_None ? wmf_E_Glitch : status, log, {}, error);
        return std::nullopt;
    }
    std::unique_ptr<wmfAPI, WmfApiDeleter> api(raw);

    // The library reads from a buffer it does not own and does not change.
    std::string copy = bytes;
    status = wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(copy.data()),
                          static_cast<long>(copy.size()));
    if (status != wmf_E_None) {
        ExplainWmfFailure(status, log, QStringLiteral("the metafile could not be opened"), error);
        return std::nullopt;
    }
    wmfD_Rect bbox{};
    status = wmf_scan(api.get(), 0, &bbox);
    if (status != wmf_E_None) {
        ExplainWmfFailure(status, log, QStringLiteral("the metafile records could not be read"), error);
        return std::nullopt;
    }
    if (info.format == MetafileFormat::PlaceableWmf && info.unitsPerInch > 0) {
        // The frame is the picture: its corners go where the library puts
        // them, mapped as the records are, and what lies outside the frame
        // is cut off.
        const RenderedRect frame = RenderedFrame(info);
        bbox.TL.x = static_cast<float>(frame.left);
        bbox.TL.y = static_cast<float>(frame.top);
        bbox.BR.x = static_cast<float>(frame.right);
        bbox.BR.y = static_cast<float>(frame.bottom);
    }
    if (width <= 0 || height <= 0) {
        unsigned int w = 0, h = 0;
        if (wmf_display_size(api.get(), &w, &h, kScreenDpi, kScreenDpi) != wmf_E_None || w == 0 || h == 0 ||
            w > static_cast<unsigned>(kMaxPictureSide) || h > static_cast<unsigned>(kMaxPictureSide) ||
            static_cast<long long>(w) * h > kMaxPictureArea) {
            error = {QStringLiteral("the picture has no usable size"), false};
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
        error = {QStringLiteral("not enough memory for the picture"), true};
        return std::nullopt;
    }
    wmfD_Rect drawn{};
    wmf_error_t played = wmf_play(api.get(), 0, &drawn);
    char* text = nullptr;
    unsigned long length = 0;
    // The stream's buffer belongs to the library and goes with the API.
    wmf_stream_destroy(api.get(), device->out, &text, &length);
    device->out = nullptr;
    if (played != wmf_E_None) {
        ExplainWmfFailure(played, log, QStringLiteral("the metafile records could not be drawn"), error);
        return std::nullopt;
    }
    if (text == nullptr || length == 0) {
        error = {QStringLiteral("the metafile records could not be drawn"), false};
        return std::nullopt;
    }
    return QByteArray(text, static_cast<qsizetype>(length));
}

std::optional<QByteArray> EmfToSvg(const std::string& bytes, int width, int height, ConversionError& error) {
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
        error = {QStringLiteral("the metafile records could not be drawn"), false};
        return std::nullopt;
    }
    return QByteArray(text, static_cast<qsizetype>(length));
}

namespace {

LoadResult LoadMetafile(const fs::path& path, PictureKind kind) {
    QString why;
    std::optional<std::string> bytes = ReadPictureBytes(path, why);
    if (!bytes) return Failed(kind, path, why);

    MetafileInfo info = InspectMetafile(*bytes);
    if (!info.ok()) return Failed(kind, path, QString::fromStdString(info.error));

    ConversionError fault;
    int width = info.width, height = info.height;
    std::optional<QByteArray> svg = info.format == MetafileFormat::Emf
                                        ? EmfToSvg(*bytes, width, height, fault)
                                        : WmfToSvg(*bytes, info, width, height, fault);
    if (!svg) {
        if (fault.libraryFault)
            return {std::nullopt,
                    Describe(QStringLiteral("The metafile library failed"), Shown(path), fault.why)};
        return Failed(kind, path, fault.why);
    }
    QImage image = RenderSvg(*svg, width, height, why);
    if (image.isNull()) return Failed(kind, path, why);
    LoadedPicture picture;
    picture.kind = kind;
    picture.image = image;
    return {picture, {}};
}

}  // namespace

LoadResult LoadPictureFile(const fs::path& path, PictureKind kind) {
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
    return {std::nullopt, QStringLiteral("Unknown picture file extension: ") + Shown(path)};
}

LoadResult LoadPictureFile(const QString& path, PictureKind kind) {
    return LoadPictureFile(fs::path(QFile::encodeName(path).toStdString()), kind);
}

}  // namespace zv::viewer
