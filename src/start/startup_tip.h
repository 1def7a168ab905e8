#pragma once
// The greeting shown when the main window is created, chosen by how many
// times the launcher has started before.
#include <optional>
#include <string>

namespace zv {

inline constexpr const char* kStartupTipTitle = "麻雀からのメッセージ";

// The tip for the start count read from the settings (before it is
// increased); nothing for counts without a tip. `hiColor` tells whether the
// screen shows more than 256 colours, which only the first tip mentions.
std::optional<std::string> StartupTip(int count, bool hiColor);

// True when a screen of this depth (bits per pixel times planes) shows more
// than 256 colours.
inline bool IsHiColorDepth(int bitsPerPixel) { return bitsPerPixel > 8; }

}  // namespace zv
