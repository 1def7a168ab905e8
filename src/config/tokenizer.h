#pragma once
// The line tokenizer shared by the personal-file, hosts-file and results
// readers. One process-wide table holds the last line read (entry 0) and its
// words (entries 1..32); readers therefore run one at a time.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

inline constexpr int kMaxTokens = 32;

// Lines of a text that was read whole (UTF-8; CR LF and LF both end a line).
class LineSource {
public:
    explicit LineSource(std::string text) : text_(std::move(text)) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    // The next line without its line end; empty at the end.
    std::string_view NextLine();

private:
    std::string text_;
    std::size_t pos_ = 0;
};

// Reads the next line into the token table and returns the word count. Words
// are runs of characters other than blank and tab; a line ending in blanks
// or tabs gets one final empty word. Words after the 32nd are not stored
// (the whole line stays in entry 0).
int ReadTokenLine(LineSource& source);

// Tokenizes one line directly (the same rules; used by ReadTokenLine).
int TokenizeLine(std::string_view line);

// Entry n of the table, or "" when n is outside 0..count.
std::string Token(int n);

// Entry n as an integer: blanks skipped, optional sign or '$' for hex, digits
// up to the first other character. A minus applies only when the whole word is
// a number. Out-of-range n and an empty word give 0.
std::int32_t TokenInt(int n);

// The same conversion applied to any word.
std::int32_t WordToInt(std::string_view word);

}  // namespace zv
