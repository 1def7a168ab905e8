#pragma once
// Whole numbers as the engines read them from lines of text: one reader for
// every number a peer or a file sends, so none wraps or reads half a word.
#include <string_view>

namespace zv::engine {

// A decimal integer from `lo` to `hi`: an optional minus sign and digits,
// nothing before or after them. False for anything else (empty, "+5",
// "5x", " 5", out of range, too long for a long); `out` is then untouched.
bool ParseInt(std::string_view text, long lo, long hi, long& out);
bool ParseInt(std::string_view text, int lo, int hi, int& out);

}  // namespace zv::engine
