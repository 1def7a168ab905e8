#include "base/utf8_text.h"

namespace zv::engine {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

// The ranges of the second byte rule out overlong forms, surrogates and
// code points above U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t pos) {
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong below U+10000
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;  // a continuation byte, C0/C1 (overlong) or F5..FF
    }
    if (text.size() - pos < length) return 0;
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(at(i))) return 0;
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = Utf8CharacterLength(text, pos);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

std::string CutUtf8(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t length = Utf8CharacterLength(text, end);
        if (length == 0) length = 1;
        if (end + length > maxBytes) break;
        end += length;
    }
    return std::string(text.substr(0, end));
}

}  // namespace zv::engine
