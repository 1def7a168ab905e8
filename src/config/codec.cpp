#include "config/codec.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace zv {
namespace {

// An iconv descriptor; iconv_t is not thread-safe, so each user has its
// own. It is opened at the first conversion, as most texts never need one.
class Iconv {
public:
    Iconv(const char* to, const char* from) : to_(to), from_(from) {}
    ~Iconv() {
        if (cd_ != kClosed) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts one chunk; returns false when the input at `in` cannot be
    // converted (the caller decides what to emit and skips it) or when no
    // converter is available.
    bool convert(const char*& in, std::size_t& inLeft, std::string& out) {
        if (cd_ == kClosed && !failed_) {
            cd_ = iconv_open(to_, from_);
            failed_ = cd_ == kClosed;
        }
        if (failed_) return false;
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

    // One whole character: its converted form (which may be empty), or
    // nothing when the converter refuses it.
    std::optional<std::string> convertOne(std::string_view piece) {
        const char* in = piece.data();
        std::size_t inLeft = piece.size();
        std::string converted;
        if (!convert(in, inLeft, converted)) return std::nullopt;
        return converted;
    }

private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    const char* to_;
    const char* from_;
    iconv_t cd_ = kClosed;
    bool failed_ = false;
};

// Characters are converted one at a time, and the code page is stateless, so
// each character has one fixed result. Those results are kept in tables of
// 256 entries, each filled from the converter the first time one of its
// characters is met; texts then convert by lookup.
//
// One entry: the converted bytes, kRefused when the converter refuses the
// character, kAsk when the result does not fit (it is then asked each time).
struct Entry {
    std::uint8_t size = 0;
    char bytes[4] = {};
};
constexpr std::uint8_t kRefused = 0xFE;
constexpr std::uint8_t kAsk = 0xFF;
using Page = std::array<Entry, 256>;

// A lazily filled set of pages; safe to use from several threads (two
// threads may fill the same page, one of the results is kept).
template <std::size_t Count>
class PageTable {
public:
    // The page `index`, filled by `fill(page)` when first needed.
    template <typename Fill>
    const Page& get(std::size_t index, Fill fill) {
        const Page* page = pages_[index].load(std::memory_order_acquire);
        if (page != nullptr) return *page;
        auto made = std::make_unique<Page>();
        fill(*made);
        const Page* expected = nullptr;
        if (pages_[index].compare_exchange_strong(expected, made.get(), std::memory_order_acq_rel))
            return *made.release();
        return *expected;
    }

private:
    std::array<std::atomic<const Page*>, Count> pages_{};
};

void Store(Entry& entry, const std::optional<std::string>& converted) {
    if (!converted) {
        entry.size = kRefused;
    } else if (converted->size() > sizeof entry.bytes) {
        entry.size = kAsk;
    } else {
        entry.size = static_cast<std::uint8_t>(converted->size());
        converted->copy(entry.bytes, converted->size());
    }
}

// Decoding: page 0 holds the bytes taken alone (only 0x80..0xFF are used),
// page 1 + lead holds the two-byte characters of one lead byte.
PageTable<257>& DecodePages() {
    static PageTable<257> pages;
    return pages;
}

const Entry& DecodeEntry(unsigned char lead, int trail) {
    if (trail < 0) {
        return DecodePages().get(0, [](Page& page) {
            Iconv cd("UTF-8", "CP932");
            for (int b = 0x80; b < 0x100; ++b)
                Store(page[b], cd.convertOne(std::string(1, static_cast<char>(b))));
        })[lead];
    }
    return DecodePages().get(1u + lead, [lead](Page& page) {
        Iconv cd("UTF-8", "CP932");
        for (int t = 0; t < 0x100; ++t) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(t)};
            Store(page[t], cd.convertOne(std::string_view(pair, 2)));
        }
    })[static_cast<unsigned char>(trail)];
}

// Length of the run of ASCII bytes at the start of `text`, eight at a time.
std::size_t AsciiRun(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0) break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

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

// Encoding of the code points up to U+FFFF, one page per high byte.
PageTable<256>& EncodePages() {
    static PageTable<256> pages;
    return pages;
}

// Encodes, handing the CP932 bytes to `put(data, size)`; returns the number
// of replacements. The shared core of ToCp932 and friends.
template <typename Put>
std::size_t Encode(std::string_view utf8, Put put) {
    std::size_t replaced = 0;
    std::optional<Iconv> cd;  // for characters the tables do not hold
    std::size_t pos = 0;
    std::string one;
    while (pos < utf8.size()) {
        // ASCII passes unchanged, backslash and tilde too.
        std::size_t run = AsciiRun(utf8.substr(pos));
        if (run > 0) {
            put(utf8.data() + pos, run);
            pos += run;
            continue;
        }
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(utf8, pos, cp);
        if (len == 0) {
            put("?", 1);
            ++replaced;
            ++pos;
            continue;
        }
        pos += len;
        cp = BestFit(cp);
        const Entry* entry = nullptr;
        if (cp <= 0xFFFF) {
            entry = &EncodePages().get(cp >> 8, [page = cp >> 8](Page& table) {
                Iconv pageCd("CP932", "UTF-8");
                std::string character;
                for (char32_t low = 0; low < 0x100; ++low) {
                    character.clear();
                    AppendUtf8(character, (page << 8) | low);
                    Store(table[low], pageCd.convertOne(character));
                }
            })[cp & 0xFF];
        }
        if (entry != nullptr && entry->size != kAsk) {
            if (entry->size == kRefused) {
                put("?", 1);
                ++replaced;
            } else {
                put(entry->bytes, entry->size);
            }
            continue;
        }
        if (!cd) cd.emplace("CP932", "UTF-8");
        one.clear();
        AppendUtf8(one, cp);
        if (auto converted = cd->convertOne(one)) {
            put(converted->data(), converted->size());
        } else {
            put("?", 1);
            ++replaced;
        }
    }
    return replaced;
}

}  // namespace

std::string FromCp932(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    std::optional<Iconv> cd;  // for characters the tables do not hold
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t run = AsciiRun(bytes.substr(pos));
        if (run > 0) {
            out.append(bytes.data() + pos, run);
            pos += run;
            continue;
        }
        // Convert one character: a lead byte with its trail byte, or a single
        // byte (half-width katakana).
        auto c = static_cast<unsigned char>(bytes[pos]);
        bool isLead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        std::size_t take = isLead && bytes.size() - pos >= 2 ? 2 : 1;
        const Entry& entry = DecodeEntry(c, take == 2 ? static_cast<unsigned char>(bytes[pos + 1]) : -1);
        std::string_view converted;  // stays empty when refused: no character
        std::optional<std::string> asked;
        if (entry.size == kAsk) {
            if (!cd) cd.emplace("UTF-8", "CP932");
            asked = cd->convertOne(bytes.substr(pos, take));
            if (asked) converted = *asked;
        } else if (entry.size != kRefused) {
            converted = std::string_view(entry.bytes, entry.size);
        }
        if (!converted.empty()) {
            out += converted;
            pos += take;
        } else {
            out += "\xEF\xBF\xBD";  // U+FFFD for the offending byte
            ++pos;
        }
    }
    return out;
}

std::string ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Encode(utf8, [&out](const char* data, std::size_t size) { out.append(data, size); });
    return out;
}

bool IsCp932Encodable(std::string_view utf8) {
    return Encode(utf8, [](const char*, std::size_t) {}) == 0;
}

std::size_t Cp932Width(std::string_view utf8) {
    // Unmappable characters count as the one '?' they are written as.
    std::size_t width = 0;
    Encode(utf8, [&width](const char*, std::size_t size) { width += size; });
    return width;
}

}  // namespace zv
