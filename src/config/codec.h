#pragma once
// Text codec for every file boundary. Files on disk are CP932 (Windows-31J,
// the Japanese Windows code page); inside the program all text is UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace zv {

// Decodes CP932 bytes to UTF-8. A byte sequence that is not valid CP932 is
// never dropped: each offending byte becomes U+FFFD, and decoding goes on.
std::string FromCp932(std::string_view bytes);

// Encodes UTF-8 text to CP932. Characters that CP932 lacks but Windows maps by
// habit (WAVE DASH, MINUS SIGN, YEN SIGN, ...) are mapped to their CP932
// neighbours first; anything still unmappable becomes '?'. Invalid UTF-8
// bytes also become '?'.
std::string ToCp932(std::string_view utf8);

// True when the UTF-8 text converts to CP932 without any replacement.
bool IsCp932Encodable(std::string_view utf8);

// Number of bytes the text occupies in CP932 (what a Shift-JIS program would
// count as its length).
std::size_t Cp932Width(std::string_view utf8);

}  // namespace zv
