#pragma once
// UTF-8 checks for text that comes from other programs (names on the
// network, names in files): whether bytes are well-formed UTF-8, and a
// byte limit that never cuts a character in two.
#include <cstddef>
#include <string>
#include <string_view>

namespace zv::engine {

// True when `text` is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates (U+D800..U+DFFF), nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The length in bytes of the well-formed character at `pos` (< text.size()),
// or 0 when the bytes there are not one.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t pos);

// The longest start of `text` of at most `maxBytes` bytes that ends between
// two characters. Bytes that are not part of a well-formed character count
// as characters of their own.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace zv::engine
