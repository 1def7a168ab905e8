#include "viewer/picture_rules.h"

#include <cstdio>

namespace zv::viewer {

std::string BaseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionKey(const std::string& fileName) {
    std::string name = BaseName(fileName);
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos) return "";
    std::string key = name.substr(dot, 4);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

PictureKind KindOfFile(const std::string& fileName) {
    std::string key = ExtensionKey(fileName);
    if (key == ".BMP") return PictureKind::Bitmap;
    if (key == ".ICO") return PictureKind::Icon;
    if (key == ".WMF") return PictureKind::Wmf;
    if (key == ".EMF") return PictureKind::Emf;
    return PictureKind::Other;
}

std::string CaptionPrefix(const std::string& title) { return title + " - "; }

std::string PictureCaption(const std::string& prefix, const std::string& fileName, PictureKind kind,
                           int width, int height) {
    std::string caption = prefix + BaseName(fileName);
    if (kind == PictureKind::Bitmap) {
        char size[64];
        std::snprintf(size, sizeof size, " (%d x %d)", width, height);
        caption += size;
    }
    return caption;
}

}  // namespace zv::viewer
