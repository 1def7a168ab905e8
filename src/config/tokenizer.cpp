#include "config/tokenizer.h"

#include <array>

namespace zv {
namespace {

struct TokenTable {
    std::array<std::string, kMaxTokens + 1> entries;
    int count = 0;
};

TokenTable& Table() {
    static TokenTable table;
    return table;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view LineSource::NextLine() {
    if (AtEnd()) return {};
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    std::size_t stop = end;
    if (stop > pos_ && text_[stop - 1] == '\r') --stop;
    std::string_view line(text_.data() + pos_, stop - pos_);
    pos_ = end + 1;
    return line;
}

int TokenizeLine(std::string_view line) {
    TokenTable& table = Table();
    table.entries[0].assign(line);
    int count = 0;
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    while (i < line.size()) {
        std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (count < kMaxTokens) table.entries[++count].assign(line.substr(start, i - start));
        while (i < line.size() && IsBlank(line[i])) ++i;
        // Trailing blanks end the line with one empty word.
        if (i == line.size() && IsBlank(line[i - 1]) && count < kMaxTokens) table.entries[++count].clear();
    }
    // A line of blanks only is one empty word.
    if (count == 0 && !line.empty()) table.entries[++count].clear();
    table.count = count;
    return count;
}

int ReadTokenLine(LineSource& source) { return TokenizeLine(source.NextLine()); }

std::string Token(int n) {
    const TokenTable& table = Table();
    if (n < 0 || n > table.count) return {};
    return table.entries[n];
}

std::int32_t WordToInt(std::string_view word) {
    std::size_t i = 0;
    while (i < word.size() && word[i] == ' ') ++i;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    std::uint32_t value = 0;
    bool hex = i < word.size() && word[i] == '$';
    if (hex) ++i;
    std::size_t digitsStart = i;
    for (; i < word.size(); ++i) {
        int digit = hex ? HexDigit(word[i]) : (word[i] >= '0' && word[i] <= '9' ? word[i] - '0' : -1);
        if (digit < 0) break;
        value = value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit);
    }
    bool whole = i == word.size() && i > digitsStart;
    if (negative && whole) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t TokenInt(int n) {
    const TokenTable& table = Table();
    if (n < 0 || n > table.count) return 0;
    return WordToInt(table.entries[n]);
}

}  // namespace zv
