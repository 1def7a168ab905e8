#include "records/results.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "config/codec.h"
#include "config/tokenizer.h"
#include "platform/platform.h"

namespace zv {

const std::array<const char*, kYakuCount> YakuNames = {
    "役満",
    "国士無双",
    "大三元",
    "四暗刻",
    "四槓子",
    "小四喜",
    "大四喜",
    "字一色",
    "緑一色",
    "九連宝燈",
    "天和",
    "地和",
    "清老頭",
    "人和",
    "流し満ガン",
    "ダブリー",
    "リーチ",
    "一発",
    "ツモ",
    "平和",
    "タンヤオ",
    "イイペイコ",
    "ハイテイ",
    "自風",
    "場風",
    "白",
    "発",
    "中",
    "チャンカン",
    "リンシャン",
    "三色(1)",
    "一通(1)",
    "チャンタ(1)",
    "三色(2)",
    "一通(2)",
    "チャンタ(2)",
    "三暗刻(2)",
    "三槓子(2)",
    "対々(2)",
    "小三元(2)",
    "混老頭",
    "三色同刻",
    "混一(2)",
    "純チャン(2)",
    "混一(3)",
    "純チャン(3)",
    "二ペイコウ(3)",
    "清一(5)",
    "清一(6)",
    "七対子(2)",
    "フリテン",
    "同巡",
    "九種九牌",
    "四風連打",
    "四槓流れ",
    "三家和",
    "ノーテンリーチ",
    "",
    "",
    "",
};

namespace {

// Totals wrap around like the 32-bit counters they are, instead of
// overflowing into undefined behaviour on absurd files.
void Add(std::int32_t& total, std::int32_t value) {
    total = static_cast<std::int32_t>(static_cast<std::uint32_t>(total) + static_cast<std::uint32_t>(value));
}

// Zero bytes kept after the data, so that numbers can be read 8 bytes at a time.
constexpr std::size_t kPadding = 64;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<std::int32_t> Average(std::int32_t sum, std::int32_t count) {
    if (count <= 0) return std::nullopt;
    return sum / count;
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

std::string OptionalDecimal(const std::optional<std::int32_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

}  // namespace

std::int64_t PlayerResults::Money() const {
    return static_cast<std::int64_t>(points) * 100 + static_cast<std::int64_t>(chips) * 500;
}

std::optional<std::int32_t> PlayerResults::TsumoAverage() const { return Average(tsumoPoints, tsumoCount); }
std::optional<std::int32_t> PlayerResults::RonAverage() const { return Average(ronPoints, ronCount); }
std::optional<std::int32_t> PlayerResults::DealInAverage() const {
    return Average(dealInPoints, dealInCount);
}

std::string ResultsPath(const std::string& playerName, bool network) {
    std::string path = CurrentPlatform().InstallDir() + "usr/" + playerName + "/";
    return path + (network ? std::string("zvclient.res") : playerName + ".res");
}

namespace {

// Keyword at `p` followed by a blank, a tab or the end of the line.
bool StartsWithWord(const char* p, const char* end, const char* word, std::size_t length) {
    return static_cast<std::size_t>(end - p) >= length && std::memcmp(p, word, length) == 0 &&
           (p + length == end || IsBlank(p[length]));
}

// Reads 8 bytes without alignment requirements.
std::uint64_t Load8(const char* p) {
    std::uint64_t chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    return chunk;
}

// Number of leading ASCII digits among the 8 bytes of `chunk` (in memory
// order, little-endian).
unsigned LeadingDigits(std::uint64_t chunk) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull, kThree = 0x3030303030303030ull;
    // A byte is a digit when it is 0x3N and adding 6 keeps it 0x3N. Carries
    // out of a non-digit byte only disturb the bytes after it, which do not
    // count any more.
    std::uint64_t x = ((chunk & kHigh) ^ kThree) | (((chunk + 0x0606060606060606ull) & kHigh) ^ kThree);
    std::uint64_t nonzero =
        (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) & 0x8080808080808080ull;
    return nonzero == 0 ? 8u : static_cast<unsigned>(__builtin_ctzll(nonzero)) / 8u;
}

// Value of 8 digit values, one per byte, the first in the lowest byte.
std::uint32_t EightDigitsValue(std::uint64_t v) {
    v = (v * 10) + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
         (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
        32;
    return static_cast<std::uint32_t>(v);
}

// Value of the first `count` (1 to 8) digit bytes of `chunk`.
std::uint32_t DigitsValue(std::uint64_t chunk, unsigned count) {
    // Shifted to the end, so that zeros take the leading places.
    return EightDigitsValue((chunk & 0x0F0F0F0F0F0F0F0Full) << (8 * (8 - count)));
}

// The next word as an integer, converted as the tokenizer's TokenInt does;
// decimal numbers of up to 8 digits take a branch-free path that reads 8
// bytes at a time, so at least 8 readable bytes must follow `end`. 0 when
// the line has no more words.
std::int32_t NextNumber(const char*& p, const char* end) {
    while (p < end && IsBlank(*p)) ++p;
    if (p == end) return 0;
    const char* word = p;
    bool negative = *p == '-';
    if (negative || *p == '+') ++p;
    unsigned digits = p < end ? LeadingDigits(Load8(p)) : 0;
    const char* after = p + digits;
    if (digits > 0 && digits < 8 && (after == end || IsBlank(*after))) {
        std::uint32_t value = DigitsValue(Load8(p), digits);
        p = after;
        return static_cast<std::int32_t>(negative ? 0u - value : value);
    }
    // Long numbers, hex, trailing letters and the like: the general conversion.
    p = word;
    while (p < end && !IsBlank(*p)) ++p;
    return WordToInt(std::string_view(word, static_cast<std::size_t>(p - word)));
}

// Adds the 60 digits at `digits` when they all are digits.
void AddYakuDigits(const char* digits, PlayerResults& results) {
#if defined(__SSE2__)
    // Four loads of 16 bytes, the last one overlapping the third.
    const __m128i belowZero = _mm_set1_epi8('0' - 1), aboveNine = _mm_set1_epi8('9' + 1);
    const __m128i zeroDigit = _mm_set1_epi8('0'), nothing = _mm_setzero_si128();
    __m128i chunk[4];
    __m128i valid = _mm_set1_epi8(-1);
    for (int i = 0; i < 4; ++i) {
        chunk[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(digits + (i < 3 ? 16 * i : 44)));
        valid = _mm_and_si128(
            valid, _mm_and_si128(_mm_cmpgt_epi8(chunk[i], belowZero), _mm_cmplt_epi8(chunk[i], aboveNine)));
    }
    if (_mm_movemask_epi8(valid) != 0xFFFF) return;
    chunk[3] = _mm_srli_si128(chunk[3], 4);  // digits 48 to 59 first
    for (int i = 0; i < 4; ++i) {
        __m128i values = _mm_sub_epi8(chunk[i], zeroDigit);
        __m128i low = _mm_unpacklo_epi8(values, nothing), high = _mm_unpackhi_epi8(values, nothing);
        const __m128i wide[4] = {_mm_unpacklo_epi16(low, nothing), _mm_unpackhi_epi16(low, nothing),
                                 _mm_unpacklo_epi16(high, nothing), _mm_unpackhi_epi16(high, nothing)};
        const int groups = i < 3 ? 4 : 3;
        for (int g = 0; g < groups; ++g) {
            auto* counters = reinterpret_cast<__m128i*>(results.yaku.data() + 16 * i + 4 * g);
            // Wrapping 32-bit adds, like the scalar totals.
            _mm_storeu_si128(counters, _mm_add_epi32(_mm_loadu_si128(counters), wide[g]));
        }
    }
#else
    unsigned bad = 0;
    for (int k = 0; k < kYakuCount; ++k) bad |= static_cast<unsigned char>(digits[k] - '0') > 9 ? 1u : 0u;
    if (bad) return;
    for (int k = 0; k < kYakuCount; ++k) Add(results.yaku[k], digits[k] - '0');
#endif
}

void AddYaku(const char* p, const char* end, PlayerResults& results) {
    while (p < end && IsBlank(*p)) ++p;
    if (end - p < kYakuCount || (end - p > kYakuCount && !IsBlank(p[kYakuCount]))) return;
    AddYakuDigits(p, results);
}

#if defined(__SSE2__)
// Bit i set when byte i of the 64 bytes at `p` is a blank or a tab, and
// when it is a decimal digit.
// (Also bit i of `newlines` for a line feed, of `minus` for a minus sign.)
struct ByteClasses {
    std::uint64_t blanks = 0, digits = 0, newlines = 0, minus = 0;
};

ByteClasses ClassifyBytes(const char* p) {
    const __m128i space = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t'), feed = _mm_set1_epi8('\n');
    const __m128i minusSign = _mm_set1_epi8('-');
    ByteClasses classes;
    const __m128i belowZero = _mm_set1_epi8('0' - 1), aboveNine = _mm_set1_epi8('9' + 1);
    for (int i = 0; i < 4; ++i) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab));
        // Bytes of 0x80 and above compare as negative and fail the first test.
        __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, belowZero), _mm_cmplt_epi8(bytes, aboveNine));
        const int shift = 16 * i;
        auto bits = [shift](__m128i mask) {
            return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(mask))) << shift;
        };
        classes.blanks |= bits(blank);
        classes.digits |= bits(digit);
        classes.newlines |= bits(_mm_cmpeq_epi8(bytes, feed));
        classes.minus |= bits(_mm_cmpeq_epi8(bytes, minusSign));
    }
    return classes;
}

// The numbers of a "result:" line of at most 64 bytes after the keyword,
// with every word's bounds found at once, so that the words convert
// independently of each other. Needs 64 readable bytes at `p`.
// `classes` describe the bytes from `p` on. At least 7 readable bytes must
// precede `p` (the keyword does).
void ResultNumbersFromMasks(const char* p, std::size_t length, const ByteClasses& classes,
                            std::array<std::int32_t, 13>& value) {
    const std::uint64_t inside = length >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
    const std::uint64_t word = ~classes.blanks & inside;
    const std::uint64_t digits = classes.digits & inside;
    std::uint64_t starts = word & ~(word << 1);
    std::uint64_t ends = word & ~(word >> 1);
    const std::uint64_t signs = classes.minus & starts;
    // The usual line: every word is digits, perhaps after a minus sign.
    if ((word & ~digits) == signs && (signs & ends) == 0) {
        for (int k = 1; k < 13 && starts != 0; ++k) {
            const unsigned first = static_cast<unsigned>(__builtin_ctzll(starts));
            const unsigned last = static_cast<unsigned>(__builtin_ctzll(ends));
            starts &= starts - 1;
            ends &= ends - 1;
            const unsigned negative = static_cast<unsigned>(signs >> first) & 1u;
            const unsigned count = last + 1 - first - negative;
            if (count > 8) {
                value[k] = WordToInt(std::string_view(p + first, last + 1 - first));
                continue;
            }
            // The 8 bytes ending with the word's last digit, without what
            // comes before the word.
            std::uint64_t chunk = Load8(p + last - 7) & 0x0F0F0F0F0F0F0F0Full;
            chunk &= ~std::uint64_t{0} << (8 * (8 - count));
            const std::uint32_t v = EightDigitsValue(chunk);
            value[k] = static_cast<std::int32_t>((v ^ (0u - negative)) + negative);
        }
        return;
    }
    for (int k = 1; k < 13 && starts != 0; ++k) {
        const unsigned first = static_cast<unsigned>(__builtin_ctzll(starts));
        const unsigned last = static_cast<unsigned>(__builtin_ctzll(ends));
        starts &= starts - 1;
        ends &= ends - 1;
        const bool negative = p[first] == '-';
        const unsigned from = first + ((negative || p[first] == '+') ? 1u : 0u);
        const unsigned count = last + 1 - from;
        const std::uint64_t wanted = count >= 64 ? 0 : ((std::uint64_t{1} << count) - 1) << from;
        if (count >= 1 && count <= 8 && (digits & wanted) == wanted) {
            std::uint32_t v = DigitsValue(Load8(p + from), count);
            value[k] = static_cast<std::int32_t>(negative ? 0u - v : v);
        } else {
            value[k] = WordToInt(std::string_view(p + first, last + 1 - first));
        }
    }
}

void ResultNumbersShort(const char* p, std::size_t length, std::array<std::int32_t, 13>& value) {
    ResultNumbersFromMasks(p, length, ClassifyBytes(p), value);
}
#endif

void AddResultValues(const std::array<std::int32_t, 13>& value, PlayerResults& results) {
    Add(results.games, 1);
    if (value[1] >= 1 && value[1] <= 4) Add(results.places[value[1] - 1], 1);
    Add(results.points, value[2]);
    Add(results.chips, value[3]);
    Add(results.plays, value[4]);
    Add(results.reaches, value[5]);
    Add(results.calls, value[6]);
    Add(results.tsumoPoints, value[7]);
    Add(results.tsumoCount, value[8]);
    Add(results.ronPoints, value[9]);
    Add(results.ronCount, value[10]);
    Add(results.dealInPoints, value[11]);
    Add(results.dealInCount, value[12]);
}

void AddResult(const char* p, const char* end, PlayerResults& results) {
    std::array<std::int32_t, 13> value{};
#if defined(__SSE2__)
    if (end - p <= 64) {
        ResultNumbersShort(p, static_cast<std::size_t>(end - p), value);
    } else
#endif
    {
        for (int k = 1; k < 13 && p < end; ++k) value[k] = NextNumber(p, end);
    }
    AddResultValues(value, results);
}

// Adds the line [p, end); at least 64 readable bytes must follow `end`, and
// the byte at `end` must not be a digit.
void AddPaddedLine(const char* p, const char* end, PlayerResults& results) {
    // Words are runs of anything but blanks and tabs. The keywords and the
    // numbers are ASCII, and no CP932 trail byte is a blank or a tab, so the
    // raw bytes split exactly as the decoded text would.
    if (end > p && end[-1] == '\r') --end;
    while (p < end && IsBlank(*p)) ++p;
    if (StartsWithWord(p, end, "result:", 7)) {
        AddResult(p + 7, end, results);
    } else if (StartsWithWord(p, end, "yaku:", 5)) {
        AddYaku(p + 5, end, results);
    }
}

// Adds every complete line of data[0, filled) and returns where the
// unfinished last line begins. 64 readable bytes must follow `filled`.
std::size_t ConsumeLines(const char* data, std::size_t filled, PlayerResults& results) {
    std::size_t start = 0;
#if defined(__SSE2__)
    // Typical lines are shorter than 64 bytes: one look at 64 bytes finds
    // the line end and the words of a "result:" line together.
    while (start < filled) {
        const char* line = data + start;
        const std::size_t left = filled - start;
        // The usual "yaku:" line, one blank and 60 characters, is longer
        // than the 64 bytes looked at below.
        if (left >= 67 && std::memcmp(line, "yaku: ", 6) == 0) {
            std::size_t length = line[66] == '\n' ? 66 : (line[66] == '\r' && line[67] == '\n' ? 67 : 0);
            if (length != 0) {
                AddYakuDigits(line + 6, results);
                start += length + 1;
                continue;
            }
        }
        const ByteClasses classes = ClassifyBytes(line);
        std::uint64_t newlines = classes.newlines;
        const std::size_t available = left;
        if (available < 64) newlines &= (std::uint64_t{1} << available) - 1;
        if (newlines == 0) {
            const void* found = std::memchr(line, '\n', available);
            if (found == nullptr) return start;
            const char* end = static_cast<const char*>(found);
            AddPaddedLine(line, end, results);
            start = static_cast<std::size_t>(end - data) + 1;
            continue;
        }
        std::size_t length = static_cast<std::size_t>(__builtin_ctzll(newlines));
        start += length + 1;
        if (length > 0 && line[length - 1] == '\r') --length;
        if (length >= 7 && std::memcmp(line, "result:", 7) == 0 && (length == 7 || IsBlank(line[7]))) {
            std::array<std::int32_t, 13> value{};
            const ByteClasses after{classes.blanks >> 7, classes.digits >> 7, 0, classes.minus >> 7};
            ResultNumbersFromMasks(line + 7, length - 7, after, value);
            AddResultValues(value, results);
        } else {
            AddPaddedLine(line, line + length, results);
        }
    }
    return start;
#else
    while (const void* found = std::memchr(data + start, '\n', filled - start)) {
        const char* end = static_cast<const char*>(found);
        AddPaddedLine(data + start, end, results);
        start = static_cast<std::size_t>(end - data) + 1;
    }
    return start;
#endif
}

}  // namespace

void AddResultsLine(std::string_view line, PlayerResults& results) {
    std::string padded(line);
    padded.append(kPadding, '\0');
    AddPaddedLine(padded.data(), padded.data() + line.size(), results);
}

bool ReadResultsFile(const std::string& path, PlayerResults& results) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // Totals go into a fresh record and reach the caller only when the whole
    // file was read.
    PlayerResults totals;
    std::size_t capacity = std::size_t{1} << 18;
    std::string buffer(capacity + kPadding, '\0');
    std::size_t filled = 0;
    bool ok = true;
    for (;;) {
        if (filled == capacity) {  // one very long line
            capacity *= 2;
            buffer.resize(capacity + kPadding);
        }
        ssize_t got = ::read(fd, buffer.data() + filled, capacity - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
        std::memset(buffer.data() + filled, 0, kPadding);
        const char* data = buffer.data();
        std::size_t start = ConsumeLines(data, filled, totals);
        // Keep the unfinished line for the next read.
        if (start > 0) {
            std::memmove(buffer.data(), data + start, filled - start);
            filled -= start;
        }
    }
    ::close(fd);
    if (!ok) return false;
    if (filled > 0) {
        std::memset(buffer.data() + filled, 0, kPadding);
        AddPaddedLine(buffer.data(), buffer.data() + filled, totals);
    }
    results = totals;
    return true;
}

bool ReadResults(PlayerResults& results, const std::string& playerName, bool network) {
    return ReadResultsFile(ResultsPath(playerName, network), results);
}

std::vector<std::pair<std::string, std::string>> StatisticsTexts(const std::string& playerName,
                                                                 const PlayerResults& r) {
    return {
        {"PlayerName", playerName},
        {"TotalGame", Decimal(r.games)},
        {"TotalPlay", Decimal(r.plays)},
        {"TotalPoint", Decimal(r.points)},
        {"TotalTip", Decimal(r.chips)},
        {"TotalMoney", Decimal(r.Money())},
        {"First", Decimal(r.places[0])},
        {"Second", Decimal(r.places[1])},
        {"Third", Decimal(r.places[2])},
        {"Fourth", Decimal(r.places[3])},
        {"TumoCount", Decimal(r.tsumoCount)},
        {"RonCount", Decimal(r.ronCount)},
        {"FuriCount", Decimal(r.dealInCount)},
        {"ReachCount", Decimal(r.reaches)},
        {"NakiCount", Decimal(r.calls)},
        {"TumoAve", OptionalDecimal(r.TsumoAverage())},
        {"RonAve", OptionalDecimal(r.RonAverage())},
        {"FuriAve", OptionalDecimal(r.DealInAverage())},
    };
}

std::vector<std::string> YakuListLines(const PlayerResults& results) {
    constexpr std::size_t kNameWidth = 20;
    std::vector<std::string> lines;
    for (int i = 0; i < kYakuCount; ++i) {
        if (results.yaku[i] <= 0) continue;
        std::string line = YakuNames[i];
        std::size_t width = Cp932Width(line);
        if (width < kNameWidth) line.append(kNameWidth - width, ' ');
        lines.push_back(line + std::to_string(results.yaku[i]));
    }
    return lines;
}

}  // namespace zv
