#include "records/results.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "config/codec.h"
#include "config/tokenizer.h"
#include "platform/env.h"
#include "platform/platform.h"
#include "riichi/yaku_table.h"

namespace zv {

static_assert(kYakuCount == riichi::kResultsDigits);
const std::array<const char*, kYakuCount>& YakuNames = riichi::kResultsDigitLabels;

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

std::string ThreePlayerResultsPath(const std::string& playerName) {
    return CurrentPlatform().InstallDir() + "usr/" + playerName + "/" + playerName + ".sanma.res";
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

// Yaku counts of many lines, summed in byte counters, which hold 28 lines
// of nines; they are folded into the 32-bit totals (which wrap) every 28
// lines and at the end.
class YakuSums {
public:
    // Adds the 60 digits at `digits` when they all are digits; returns
    // whether they were.
    bool AddLine(const char* digits, PlayerResults& results) {
#if defined(__SSE2__)
        // Digits 0 to 15, 16 to 31, 32 to 47, and 44 to 59 overlapping the third.
        const __m128i zeroDigit = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
        __m128i values[4];
        __m128i highest = _mm_setzero_si128();
        for (int i = 0; i < 4; ++i) {
            const char* from = digits + (i < 3 ? 16 * i : 44);
            values[i] = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), zeroDigit);
            highest = _mm_max_epu8(highest, values[i]);  // bytes below '0' wrap to large values
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(highest, nine), highest)) != 0xFFFF) return false;
        values[3] = _mm_srli_si128(values[3], 4);  // digits 48 to 59, then zeros
        for (int i = 0; i < 4; ++i) counters_[i] = _mm_add_epi8(counters_[i], values[i]);
#else
        unsigned bad = 0;
        for (int k = 0; k < kYakuCount; ++k) bad |= static_cast<unsigned char>(digits[k] - '0') > 9 ? 1u : 0u;
        if (bad != 0) return false;
        for (int k = 0; k < kYakuCount; ++k)
            counters_[k] = static_cast<std::uint8_t>(counters_[k] + digits[k] - '0');
#endif
        if (++lines_ == kMaxLines) FlushInto(results);
        return true;
    }

    void FlushInto(PlayerResults& results) {
#if defined(__SSE2__)
        const __m128i nothing = _mm_setzero_si128();
        for (int i = 0; i < 4; ++i) {
            const __m128i low = _mm_unpacklo_epi8(counters_[i], nothing);
            const __m128i high = _mm_unpackhi_epi8(counters_[i], nothing);
            const __m128i wide[4] = {_mm_unpacklo_epi16(low, nothing), _mm_unpackhi_epi16(low, nothing),
                                     _mm_unpacklo_epi16(high, nothing), _mm_unpackhi_epi16(high, nothing)};
            for (int q = 0; q < 4 && 16 * i + 4 * q < kYakuCount; ++q) {
                auto* totals = reinterpret_cast<__m128i*>(results.yaku.data() + 16 * i + 4 * q);
                _mm_storeu_si128(totals, _mm_add_epi32(_mm_loadu_si128(totals), wide[q]));  // wraps like Add
            }
            counters_[i] = nothing;
        }
#else
        for (int k = 0; k < kYakuCount; ++k) Add(results.yaku[k], counters_[k]);
        counters_.fill(0);
#endif
        lines_ = 0;
    }

private:
    static constexpr unsigned kMaxLines = 255 / 9;
#if defined(__SSE2__)
    __m128i counters_[4] = {};  // yaku 0 to 63, sixteen per register
#else
    std::array<std::uint8_t, kYakuCount> counters_{};
#endif
    unsigned lines_ = 0;
};

void AddYaku(const char* p, const char* end, PlayerResults& results) {
    while (p < end && IsBlank(*p)) ++p;
    if (end - p < kYakuCount || (end - p > kYakuCount && !IsBlank(p[kYakuCount]))) return;
    YakuSums sums;
    if (sums.AddLine(p, results)) sums.FlushInto(results);
}

#if defined(__SSE2__)
// Bit i set when byte i of the 64 bytes at `p` is a blank or a tab, when
// it is a decimal digit, and when it is a line feed.
struct ByteClasses {
    std::uint64_t blanks = 0, digits = 0, newlines = 0;
};

// `digitValues`, when given, receives the 64 bytes with each digit turned
// into its value and every other byte into 0.
[[gnu::always_inline]] inline ByteClasses ClassifyBytes(const char* p, char* digitValues = nullptr) {
    const __m128i space = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t'), feed = _mm_set1_epi8('\n');
    const __m128i zeroDigit = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
    ByteClasses classes;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab));
        // Bytes below '0' wrap around to large values.
        const __m128i values = _mm_sub_epi8(bytes, zeroDigit);
        const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(values, nine), values);
        const int shift = 16 * i;
        auto bits = [shift](__m128i mask) {
            return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(mask))) << shift;
        };
        classes.blanks |= bits(blank);
        classes.digits |= bits(digit);
        classes.newlines |= bits(_mm_cmpeq_epi8(bytes, feed));
        if (digitValues != nullptr)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(digitValues + 16 * i), _mm_and_si128(values, digit));
    }
    return classes;
}

// The numbers of a "result:" line of at most 64 bytes after the keyword,
// with every word's bounds found at once, so that the words convert
// independently of each other. Needs 64 readable bytes at `p`.
// `classes` describe the bytes from `p` on.
void ResultNumbersFromMasks(const char* p, std::size_t length, const ByteClasses& classes,
                            std::array<std::int32_t, 13>& value) {
    const std::uint64_t inside = length >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
    const std::uint64_t word = ~classes.blanks & inside;
    const std::uint64_t digits = classes.digits & inside;
    std::uint64_t starts = word & ~(word << 1);
    std::uint64_t ends = word & ~(word >> 1);
    for (int k = 1; k < 13 && starts != 0; ++k) {
        const auto first = static_cast<std::uint64_t>(__builtin_ctzll(starts));
        const auto last = static_cast<std::uint64_t>(__builtin_ctzll(ends));
        starts &= starts - 1;
        ends &= ends - 1;
        const bool negative = p[first] == '-';
        const unsigned from = first + ((negative || p[first] == '+') ? 1u : 0u);
        const unsigned count = last + 1 - from;
        // A lone sign at the last byte gives count 0 and from 64: no shift then.
        const bool shortWord = count >= 1 && count <= 8;
        const std::uint64_t wanted = shortWord ? ((std::uint64_t{1} << count) - 1) << from : 0;
        if (shortWord && (digits & wanted) == wanted) {
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

// The summed words of a "result:" line, from word 2 on.
constexpr std::array<std::int32_t PlayerResults::*, 13> kSummedFields = {
    nullptr,
    nullptr,
    &PlayerResults::points,
    &PlayerResults::chips,
    &PlayerResults::plays,
    &PlayerResults::reaches,
    &PlayerResults::calls,
    &PlayerResults::tsumoPoints,
    &PlayerResults::tsumoCount,
    &PlayerResults::ronPoints,
    &PlayerResults::ronCount,
    &PlayerResults::dealInPoints,
    &PlayerResults::dealInCount,
};

void CountGame(std::int32_t place, PlayerResults& results) {
    Add(results.games, 1);
    if (place >= 1 && place <= 4) Add(results.places[place - 1], 1);
}

void AddResultValues(const std::array<std::int32_t, 13>& value, PlayerResults& results) {
    CountGame(value[1], results);
    for (int k = 2; k < 13; ++k) Add(results.*kSummedFields[k], value[k]);
}

// Masks keeping the last n + 1 of 8 bytes, n = 0 to 7.
constexpr std::array<std::uint64_t, 8> kLastBytes = {
    0xFF00000000000000ull, 0xFFFF000000000000ull, 0xFFFFFF0000000000ull, 0xFFFFFFFF00000000ull,
    0xFFFFFFFFFF000000ull, 0xFFFFFFFFFFFF0000ull, 0xFFFFFFFFFFFFFF00ull, 0xFFFFFFFFFFFFFFFFull,
};

// The digit values of the word [first, last] of the 64 bytes at
// `digitValues` (see ClassifyBytes), right-aligned in 8 bytes: the 8 bytes
// that end with its last digit, without those before the word.
std::uint64_t WordDigits(const char* digitValues, std::uint64_t first, std::uint64_t last) {
    return Load8(digitValues + last - 7) & kLastBytes[last - first];
}

// Value of eight byte-wide place counters (up to 255 each), the highest
// place (10^7) in the lowest byte, modulo 2^32.
std::uint32_t PlaceCountersValue(std::uint64_t v) {
    constexpr std::uint64_t kBytes = 0x00FF00FF00FF00FFull, kHalves = 0x0000FFFF0000FFFFull;
    // Pairs of places in 16 bits (up to 2805), then fours in 32 bits (up
    // to 283305), so that no lane spills into the next.
    const std::uint64_t pairs = (v & kBytes) * 10 + ((v >> 8) & kBytes);
    const std::uint64_t fours = (pairs & kHalves) * 100 + ((pairs >> 16) & kHalves);
    return static_cast<std::uint32_t>((fours & 0xFFFFFFFFu) * 10000 + (fours >> 32));
}

// Totals of the words 2 to 12 of many "result:" lines whose words have at
// most 8 bytes. Converting each word is the costly part, and the totals
// are sums: so the digits are summed place by place in byte counters
// (which hold 28 lines of nines) and turned into numbers only when those
// are folded into the 32-bit totals. Modulo 2^32 that is the same as
// adding every number on its own, so the totals wrap identically.
class ResultDigitSums {
public:
    // Adds the words 2 to 12 of a line as if none had a minus sign; the
    // bits of `starts` and `ends` mark where they begin and end in the
    // 64 bytes of `digitValues`. Out of line, so that few values compete
    // for the registers.
    [[gnu::noinline]] void AddWords(std::uint64_t starts, std::uint64_t ends, const char* digitValues) {
#if defined(__OPTIMIZE__)  // unoptimised builds would warn that they do not unroll
#pragma GCC unroll 11
#endif
        for (int k = 2; k < 13 && starts != 0; ++k) {
            const auto first = static_cast<std::uint64_t>(__builtin_ctzll(starts));
            const auto last = static_cast<std::uint64_t>(__builtin_ctzll(ends));
            starts &= starts - 1;
            ends &= ends - 1;
            places_[k][0] += WordDigits(digitValues, first, last);
        }
    }
    // Takes a negative word, which AddWords added as if positive, off
    // twice. `digits`: its digit values, as WordDigits gives them.
    void AddNegativeWord(int field, std::uint64_t digits) { places_[field][1] += digits; }

    void LineDone(PlayerResults& results) {
        if (++lines_ == kMaxLines) FlushInto(results);
    }

    void FlushInto(PlayerResults& results) {
        for (int k = 2; k < 13; ++k) {
            const std::uint32_t sum =
                PlaceCountersValue(places_[k][0]) - 2 * PlaceCountersValue(places_[k][1]);
            Add(results.*kSummedFields[k], static_cast<std::int32_t>(sum));
            places_[k][0] = places_[k][1] = 0;
        }
        lines_ = 0;
    }

private:
    static constexpr unsigned kMaxLines = 255 / 9;
    std::uint64_t places_[13][2] = {};  // [k][0] all words, [k][1] negative ones
    unsigned lines_ = 0;
};

// Counters of the usual lines of a whole file; FlushInto adds what they
// hold to the totals.
struct LineSums {
    YakuSums yaku;
    ResultDigitSums results;

    void FlushInto(PlayerResults& totals) {
        yaku.FlushInto(totals);
        results.FlushInto(totals);
    }
};

#if defined(__SSE2__)
// Number of bits set, without a call into the compiler's runtime library
// where the processor has no instruction for it.
int BitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Whether the word bits `word` hold a run longer than 8 bytes.
bool HasLongWord(std::uint64_t word) {
    std::uint64_t run = word & (word >> 1);  // bit i: bytes i to i + 1 are in a word
    run &= run >> 2;                         // i to i + 3
    run &= run >> 4;                         // i to i + 7
    return (run & (word >> 8)) != 0;
}

// Adds the usual "result:" line: every word of digits after an optional
// minus sign, at most 8 bytes long. Returns false, having added nothing,
// for any other line. `classes` and `digitValues` describe the 64 bytes
// from the line start; `length` (below 64) excludes the
// line end.
bool AddUsualResult(const char* line, const ByteClasses& classes, const char* digitValues, std::size_t length,
                    LineSums& sums, PlayerResults& results) {
    // The bytes after the keyword.
    const std::uint64_t inside = ((std::uint64_t{1} << length) - 1) & ~std::uint64_t{0x7F};
    const std::uint64_t word = ~classes.blanks & inside;
    const std::uint64_t wordStarts = word & ~(word << 1), wordEnds = word & ~(word >> 1);
    // Besides digits, only a minus sign before a word's digits.
    const std::uint64_t signs = word & ~classes.digits;
    if ((signs & ~wordStarts) != 0 || (signs & wordEnds) != 0 || HasLongWord(word)) return false;
    for (std::uint64_t sign = signs; sign != 0; sign &= sign - 1)
        if (line[__builtin_ctzll(sign)] != '-') return false;
    std::uint64_t starts = wordStarts, ends = wordEnds;
    std::int32_t place = 0;
    if (starts != 0) {
        const bool negative = (signs & starts & -starts) != 0;
        const std::uint64_t digits =
            WordDigits(digitValues, static_cast<std::uint64_t>(__builtin_ctzll(starts)),
                       static_cast<std::uint64_t>(__builtin_ctzll(ends)));
        starts &= starts - 1;
        ends &= ends - 1;
        // Mostly a single digit.
        const std::uint32_t value =
            (digits << 8) == 0 ? static_cast<std::uint32_t>(digits >> 56) : EightDigitsValue(digits);
        if (!negative) place = static_cast<std::int32_t>(value);
    }
    // The other words count as if none had a minus sign...
    sums.results.AddWords(starts, ends, digitValues);
    // ...and the few negative ones are taken off twice, found by their signs.
    for (std::uint64_t negative = signs; negative != 0; negative &= negative - 1) {
        const unsigned first = static_cast<unsigned>(__builtin_ctzll(negative));
        const int field = 1 + BitCount(wordStarts & ((std::uint64_t{1} << first) - 1));
        if (field > 12) break;
        if (field == 1) continue;  // the place
        const unsigned last = first + static_cast<unsigned>(__builtin_ctzll(wordEnds >> first));
        sums.results.AddNegativeWord(field, WordDigits(digitValues, first, last));
    }
    CountGame(place, results);
    sums.results.LineDone(results);
    return true;
}
#endif

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
std::size_t ConsumeLines(const char* data, std::size_t filled, LineSums& sums, PlayerResults& results) {
    std::size_t start = 0;
#if defined(__SSE2__)
    // Typical lines are shorter than 64 bytes: one look at 64 bytes finds
    // the line end and the words of a "result:" line together.
    while (start < filled) {
        const char* line = data + start;
        const std::size_t left = filled - start;
        // The usual "yaku:" line, one blank and 60 characters, is longer
        // than the 64 bytes looked at below.
        if (left >= 68 && std::memcmp(line, "yaku: ", 6) == 0) {
            // Only when those are 60 digits: a shorter "yaku:" line can be
            // followed by other lines that put a line end at the same place.
            std::size_t length = line[66] == '\n' ? 66 : (line[66] == '\r' && line[67] == '\n' ? 67 : 0);
            if (length != 0 && sums.yaku.AddLine(line + 6, results)) {
                start += length + 1;
                continue;
            }
        }
        char digitValues[64];
        const ByteClasses classes = ClassifyBytes(line, digitValues);
        std::uint64_t newlines = classes.newlines;
        if (left < 64) newlines &= (std::uint64_t{1} << left) - 1;
        if (newlines == 0) {
            const void* found = std::memchr(line, '\n', left);
            if (found == nullptr) return start;
            const char* end = static_cast<const char*>(found);
            AddPaddedLine(line, end, results);
            start = static_cast<std::size_t>(end - data) + 1;
            continue;
        }
        const std::size_t lineLength = static_cast<std::size_t>(__builtin_ctzll(newlines));
        start += lineLength + 1;
        std::size_t length = lineLength;
        if (length > 0 && line[length - 1] == '\r') --length;
        if (length >= 7 && std::memcmp(line, "result:", 7) == 0 && (length == 7 || IsBlank(line[7]))) {
            if (AddUsualResult(line, classes, digitValues, length, sums, results)) continue;
            const ByteClasses after{classes.blanks >> 7, classes.digits >> 7, 0};
            std::array<std::int32_t, 13> value{};
            ResultNumbersFromMasks(line + 7, length - 7, after, value);
            AddResultValues(value, results);
        } else {
            // The whole line: AddPaddedLine drops the CR of a CR LF itself,
            // and only that one ("result:\r\r\n" is no result line).
            AddPaddedLine(line, line + lineLength, results);
        }
    }
    return start;
#else
    (void)sums;
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

namespace {

// Files from this size on are read in two halves side by side.
constexpr std::uint64_t kMinSplitSize = std::uint64_t{4} << 20;
constexpr std::size_t kBufferSize = std::size_t{1} << 18;

// Adds the complete lines among the `filled` bytes of `buffer` and keeps
// the unfinished last one there. Room for the padding must follow them.
void ConsumeBuffered(std::string& buffer, std::size_t& filled, LineSums& sums, PlayerResults& totals) {
    std::memset(buffer.data() + filled, 0, kPadding);
    const std::size_t start = ConsumeLines(buffer.data(), filled, sums, totals);
    if (start > 0) {
        std::memmove(buffer.data(), buffer.data() + start, filled - start);
        filled -= start;
    }
}

// Reads into `buffer` after its `filled` bytes, growing it for one very
// long line: with `offset`, the bytes of the file from there (at most
// `limit`), without it from the file position. The count read, 0 at the
// end, -1 on an error.
std::int64_t ReadMore(ReadableFile& file, std::string& buffer, std::size_t filled,
                      const std::uint64_t* offset, std::uint64_t limit) {
    if (filled + kPadding >= buffer.size()) buffer.resize(2 * buffer.size());
    std::size_t room = buffer.size() - kPadding - filled;
    if (offset == nullptr) return file.Read(buffer.data() + filled, room);
    room = std::min(room, static_cast<std::size_t>(limit - *offset));
    return room == 0 ? 0 : file.ReadAt(buffer.data() + filled, room, *offset);
}

// Adds the lines read from `file` at its position, starting with the `filled`
// bytes already in `buffer`, up to the unfinished last line, which is left
// there. False on a read error.
bool ConsumeRead(ReadableFile& file, std::string& buffer, std::size_t& filled, LineSums& sums,
                 PlayerResults& totals) {
    for (;;) {
        std::int64_t got = ReadMore(file, buffer, filled, nullptr, 0);
        if (got <= 0) return got == 0;
        filled += static_cast<std::size_t>(got);
        ConsumeBuffered(buffer, filled, sums, totals);
    }
}

// The same for the bytes [from, to) of the file, read at their offsets,
// which leaves the file position alone.
bool ConsumeRange(ReadableFile& file, std::uint64_t from, std::uint64_t to, std::string& buffer,
                  std::size_t& filled, LineSums& sums, PlayerResults& totals) {
    while (from < to) {
        std::int64_t got = ReadMore(file, buffer, filled, &from, to);
        if (got <= 0) return false;  // the file became shorter, or could not be read
        filled += static_cast<std::size_t>(got);
        from += static_cast<std::uint64_t>(got);
        ConsumeBuffered(buffer, filled, sums, totals);
    }
    return true;
}

// Where the first line that starts at or after `from` begins; 0 when there
// is none before `to`.
std::uint64_t LineStartFrom(ReadableFile& file, std::uint64_t from, std::uint64_t to) {
    char chunk[4096];
    while (from < to) {
        std::int64_t got = file.ReadAt(
            chunk, static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, to - from)), from);
        if (got <= 0) return 0;
        if (const void* found = std::memchr(chunk, '\n', static_cast<std::size_t>(got)))
            return from + static_cast<std::uint64_t>(static_cast<const char*>(found) - chunk) + 1;
        from += static_cast<std::uint64_t>(got);
    }
    return 0;
}

void AddTotals(PlayerResults& totals, const PlayerResults& more) {
    Add(totals.games, more.games);
    for (std::size_t i = 0; i < totals.places.size(); ++i) Add(totals.places[i], more.places[i]);
    Add(totals.points, more.points);
    Add(totals.chips, more.chips);
    Add(totals.plays, more.plays);
    Add(totals.reaches, more.reaches);
    Add(totals.calls, more.calls);
    Add(totals.tsumoPoints, more.tsumoPoints);
    Add(totals.tsumoCount, more.tsumoCount);
    Add(totals.ronPoints, more.ronPoints);
    Add(totals.ronCount, more.ronCount);
    Add(totals.dealInPoints, more.dealInPoints);
    Add(totals.dealInCount, more.dealInCount);
    for (std::size_t i = 0; i < totals.yaku.size(); ++i) Add(totals.yaku[i], more.yaku[i]);
}

enum class Split { NotDone, Done, Failed };

// A large file's present contents are read in two halves side by side, the
// second one on a thread of its own: totals wrap around, so adding the two
// halves' totals gives exactly the totals of the whole. On Done the
// unfinished last line is in `buffer` (`filled` bytes) and the file
// position is after the part read; lines appended meanwhile (the engines
// only ever append) are read afterwards. NotDone (nothing done) for small
// files, pipes and files of /proc, or when no thread can be started.
Split ConsumeInHalves(ReadableFile& file, std::string& buffer, std::size_t& filled, LineSums& sums,
                      PlayerResults& totals) {
    const std::optional<std::uint64_t> regularSize = file.RegularFileSize();
    if (!regularSize || *regularSize < kMinSplitSize) return Split::NotDone;
    const std::uint64_t size = *regularSize;
    const std::uint64_t middle = LineStartFrom(file, size / 2, size);
    if (middle == 0 || middle == size) return Split::NotDone;

    struct Half {
        std::string buffer = std::string(kBufferSize + kPadding, '\0');
        std::size_t filled = 0;
        LineSums sums;
        PlayerResults totals;
        bool ok = false;
    } second;
    std::thread reader;
    try {
        reader = std::thread([&] {
            second.ok =
                ConsumeRange(file, middle, size, second.buffer, second.filled, second.sums, second.totals);
        });
    } catch (const std::system_error&) {
        return Split::NotDone;
    }
    // The first half ends with a line end, so nothing is left of it.
    const bool firstOk = ConsumeRange(file, 0, middle, buffer, filled, sums, totals);
    reader.join();
    if (!firstOk || !second.ok || !file.Seek(size)) return Split::Failed;

    second.sums.FlushInto(second.totals);
    AddTotals(totals, second.totals);
    if (buffer.size() < second.filled + kPadding) buffer.resize(second.filled + kPadding);
    std::memcpy(buffer.data(), second.buffer.data(), second.filled);
    filled = second.filled;
    return Split::Done;
}

}  // namespace

bool ReadResultsFile(const std::string& path, PlayerResults& results) {
    std::unique_ptr<ReadableFile> file = CurrentEnv().OpenForReading(path);
    if (!file) return false;
    // Totals go into a fresh record and reach the caller only when the whole
    // file was read.
    PlayerResults totals;
    LineSums sums;
    std::string buffer(kBufferSize + kPadding, '\0');
    std::size_t filled = 0;
    const bool ok = ConsumeInHalves(*file, buffer, filled, sums, totals) != Split::Failed &&
                    ConsumeRead(*file, buffer, filled, sums, totals);
    file.reset();
    if (!ok) return false;
    sums.FlushInto(totals);
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
