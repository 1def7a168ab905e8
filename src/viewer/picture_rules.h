#pragma once
// The viewer's rules for choosing how a clicked file is shown and what the
// windows' captions say. Qt-free so that they are tested on their own.
#include <string>

namespace zv::viewer {

// The browser's title, and the prefix of its caption while a picture is shown.
inline constexpr const char* kBrowserTitle = "Image Viewer";
inline constexpr const char* kViewerTitle = "View Form";

enum class PictureKind { Bitmap, Icon, Wmf, Emf, Other };

// The file's extension (from the last dot of the name, the dot included) in
// upper case and cut to its first 4 characters: "a.bmpx" gives ".BMP".
// A name without a dot in its last component gives "".
std::string ExtensionKey(const std::string& fileName);

// The kind a file is loaded as, decided by ExtensionKey alone.
PictureKind KindOfFile(const std::string& fileName);

// The caption prefix: the title followed by " - ".
std::string CaptionPrefix(const std::string& title);

// The name after the last '/' (the whole text when there is none).
std::string BaseName(const std::string& path);

// The browser's caption after a picture was loaded: prefix and file name
// (without its folder); bitmaps add " (W x H)".
std::string PictureCaption(const std::string& prefix, const std::string& fileName, PictureKind kind,
                           int width, int height);

}  // namespace zv::viewer
