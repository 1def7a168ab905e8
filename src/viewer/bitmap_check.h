#pragma once
// Checks that a Windows bitmap file holds all the pixel data its headers
// promise before it is handed to the image reader, which reads a short file
// without complaint and leaves the missing rows black.
#include <string>

namespace zv::viewer {

// Empty when the file is whole, else the reason it cannot be shown. Only
// the file and information headers and the length of the pixel data are
// checked here; the colours and the compressed data are the reader's task.
std::string CheckBitmapLength(const std::string& bytes);

}  // namespace zv::viewer
