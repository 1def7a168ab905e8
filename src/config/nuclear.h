#pragma once
// Reader of the parenthesised "nuc" settings format: `(define name value)`
// forms, strings in double quotes, numbers, symbols, '#' comments.
//
// One process-wide reader (not re-entrant): NucOpen a text, then NucRead until
// it returns null. Parsing uses an explicit stack (no recursion). Nodes live
// until the program ends. Text is UTF-8 (files are decoded before parsing).
//
// Limits: a token keeps at most 259 bytes (counted as CP932 bytes, cut at a
// character boundary; the rest of the token is read and dropped); at most 255
// lists may be open at once, a deeper item makes NucRead return null. Both
// report through the error hook.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zv {

enum NucKind : std::uint8_t {
    kNucPair = 1,
    kNucString = 3,
    kNucInteger = 5,
    kNucQuotedNumber = 6,
    kNucSymbol = 7,
};

struct NucNode {
    std::uint8_t kind = 0;
    NucNode* car = nullptr;
    NucNode* cdr = nullptr;
    std::int32_t number = 0;
    std::string text;
};

inline constexpr std::size_t kNucTokenLimit = 259;
inline constexpr int kNucStackSize = 256;

// Makes `text` the reader's input and resets its state.
void NucOpen(std::string_view text);

// Next complete item, or null at the end, for `()`, and on malformed input.
NucNode* NucRead();

NucNode* NucNth(const NucNode* list, int n);
int NucLength(const NucNode* list);
void NucGetString(const NucNode* list, int n, std::string& destination);
std::int32_t NucGetInt(const NucNode* list, int n);
void NucEntryName(const NucNode* list, int n, std::string& destination);
void NucEntryValue(const NucNode* list, int n, std::string& destination);
void NucLookup(const NucNode* list, const std::string& name, std::string& destination);

// Text to number as the reader converts it: leading blanks, optional sign,
// decimal digits (or '$' and hexadecimal digits) up to the first other
// character. Overflow wraps around 32 bits.
std::int32_t NucTextToInt(std::string_view text);

// The error hook receives "illegal eof", "illegal character %%: ( required to
// describe vector" and the limit messages. The default hook does nothing.
void SetNucErrorHook(std::function<void(const std::string&)> hook);

// Frees every node made so far. Only for long-running tests such as fuzzing:
// the program itself keeps its trees until it ends.
void NucReleaseAllForTesting();

// Builds a node (used to construct lists in memory, e.g. for tests).
NucNode* NucMake(NucKind kind);
NucNode* NucCons(NucNode* car, NucNode* cdr);
NucNode* NucMakeString(std::string text);

}  // namespace zv
