#include "config/codec.h"

#include <iconv.h>

#include <cerrno>

namespace zv {
namespace {

// An iconv descriptor; iconv_t is not thread-safe, so each call opens its
// own (cheap next to the file I/O around it).
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one chunk; returns false when the input at `in` cannot be
    // converted (the caller decides what to emit and skips it).
    bool convert(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t r = iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, sizeof buffer - outLeft);
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence starting with byte `lead`, 0 when invalid.
std::size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Decodes one code point; returns its length or 0 for an invalid sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t len = Utf8Length(lead);
    if (len == 0 || pos + len > text.size()) return 0;
    cp = len == 1 ? lead : lead & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) {
        auto c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Characters of the JIS tables that Unicode-to-CP932 converters disagree on;
// Windows writes them with the CP932 code of the right-hand character.
char32_t BestFit(char32_t cp) {
    switch (cp) {
        case 0x301C:
            return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE
        case 0x2016:
            return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2212:
            return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x00A2:
            return 0xFFE0;  // CENT SIGN
        case 0x00A3:
            return 0xFFE1;  // POUND SIGN
        case 0x00AC:
            return 0xFFE2;  // NOT SIGN
        case 0x2014:
            return 0x2015;  // EM DASH -> HORIZONTAL BAR
        case 0x00A5:
            return U'\\';  // YEN SIGN -> the byte 0x5C
        case 0x203E:
            return U'~';  // OVERLINE -> the byte 0x7E
        default:
            return cp;
    }
}

// Encodes, counting replacements; the shared core of ToCp932 and friends.
std::string Encode(std::string_view utf8, std::size_t& replaced) {
    replaced = 0;
    std::string out;
    out.reserve(utf8.size());
    Iconv cd("CP932", "UTF-8");
    std::size_t pos = 0;
    std::string one;
    while (pos < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[pos]);
        if (c < 0x80) {  // ASCII passes unchanged, backslash and tilde too
            out += static_cast<char>(c);
            ++pos;
            continue;
        }
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(utf8, pos, cp);
        if (len == 0) {
            out += '?';
            ++replaced;
            ++pos;
            continue;
        }
        pos += len;
        one.clear();
        AppendUtf8(one, BestFit(cp));
        const char* in = one.data();
        std::size_t inLeft = one.size();
        std::string converted;
        if (cd.valid() && cd.convert(in, inLeft, converted)) {
            out += converted;
        } else {
            out += '?';
            ++replaced;
        }
    }
    return out;
}

}  // namespace

std::string FromCp932(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    Iconv cd("UTF-8", "CP932");
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        // Fast path for plain ASCII runs.
        auto c = static_cast<unsigned char>(*in);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++in;
            --inLeft;
            continue;
        }
        // Convert one character: a lead byte with its trail byte, or a single
        // byte (half-width katakana).
        bool isLead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        std::size_t take = isLead && inLeft >= 2 ? 2 : 1;
        const char* piece = in;
        std::size_t pieceLeft = take;
        std::string converted;
        if (cd.valid() && cd.convert(piece, pieceLeft, converted) && !converted.empty()) {
            out += converted;
            in += take;
            inLeft -= take;
        } else {
            out += "\xEF\xBF\xBD";  // U+FFFD for the offending byte
            ++in;
            --inLeft;
        }
    }
    return out;
}

std::string ToCp932(std::string_view utf8) {
    std::size_t replaced = 0;
    return Encode(utf8, replaced);
}

bool IsCp932Encodable(std::string_view utf8) {
    std::size_t replaced = 0;
    Encode(utf8, replaced);
    return replaced == 0;
}

std::size_t Cp932Width(std::string_view utf8) {
    // Unmappable characters count as the one '?' they are written as.
    return ToCp932(utf8).size();
}

}  // namespace zv
