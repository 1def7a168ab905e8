#include "config/nuclear.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace zv {
namespace {

enum Token {
    kTokSymbol = 1,
    kTokNumber = 2,
    kTokString = 3,
    kTokOpen = 4,
    kTokClose = 5,
    kTokVector = 6,
    kTokQuoted = 7,
    kTokEof = 10,
};

enum State { kStart = 0, kDone = 1, kDispatch = 2, kAfterElement = 3 };

// Every node ever made; never freed, so references stay valid for the run.
// Nodes are made in blocks, each twice the size of the one before (up to a
// bound): a settings file makes hundreds of them, a short text a few.
class NodeArena {
public:
    NucNode& make() {
        if (used_ == blockSize_) {
            blockSize_ = blocks_.empty() ? kFirstBlock : std::min(blockSize_ * 2, kLargestBlock);
            blocks_.push_back(std::make_unique<NucNode[]>(blockSize_));
            used_ = 0;
        }
        return blocks_.back()[used_++];
    }
    void clear() {
        blocks_.clear();
        used_ = blockSize_ = 0;
    }

private:
    static constexpr std::size_t kFirstBlock = 16;
    static constexpr std::size_t kLargestBlock = 1024;
    std::vector<std::unique_ptr<NucNode[]>> blocks_;
    std::size_t blockSize_ = 0;
    std::size_t used_ = 0;
};

NodeArena& Arena() {
    static NodeArena arena;
    return arena;
}

constexpr bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
constexpr bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// What a byte starts for the lexer; letters and digits come last, so that
// ClassOf(c) >= kLetter means "continues a symbol".
enum CharClass : std::uint8_t {
    kOther,
    kBlank,
    kHash,
    kMinus,
    kPercent,
    kQuote,
    kOpen,
    kClose,
    kEnd,
    kLetter,
    kDigit,
};

constexpr std::array<CharClass, 256> kCharClasses = [] {
    std::array<CharClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if (IsLetter(c)) classes[c] = kLetter;
        if (IsDigit(c)) classes[c] = kDigit;
    }
    classes[' '] = classes['\t'] = kBlank;
    classes['#'] = kHash;
    classes['-'] = kMinus;
    classes['%'] = kPercent;
    classes['"'] = classes['\''] = kQuote;
    classes['('] = kOpen;
    classes[')'] = kClose;
    return classes;
}();

// The class of a byte (0..255) or of the end of input (-1).
CharClass ClassOf(int c) { return c < 0 ? kEnd : kCharClasses[static_cast<std::size_t>(c)]; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes of one UTF-8 character in CP932: ASCII and half-width katakana
// (U+FF61..U+FF9F, encoded EF BD A1..EF BE 9F) take one, others two.
std::size_t Cp932CharWidth(std::string_view utf8Char) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8Char[i]); };
    if (b(0) < 0x80) return 1;
    if (utf8Char.size() == 3 && b(0) == 0xEF &&
        ((b(1) == 0xBD && b(2) >= 0xA1) || (b(1) == 0xBE && b(2) <= 0x9F)))
        return 1;
    return 2;
}

class Reader {
public:
    void Open(std::string_view text) {
        input_.assign(text);
        pos_ = 0;
        look_ = ' ';
        token_ = {};
        sp_ = 0;
    }

    NucNode* Read();
    void SetHook(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

private:
    struct Frame {
        State state;
        NucNode* partial;
    };

    int Next() { return pos_ < input_.size() ? static_cast<unsigned char>(input_[pos_++]) : -1; }
    void Report(const std::string& message) {
        if (hook_) hook_(message);
    }
    void TakeToken(std::size_t start, std::size_t end);
    void SkipTo(std::size_t end);
    int Lex();
    bool Push(State state, NucNode* partial);
    void Pop(State& state, NucNode*& partial) {
        --sp_;
        state = stack_[sp_].state;
        partial = stack_[sp_].partial;
    }

    std::string input_;
    std::size_t pos_ = 0;
    int look_ = ' ';
    std::string_view token_;  // in input_ or longToken_
    std::string longToken_;
    std::array<Frame, kNucStackSize> stack_{};
    int sp_ = 0;
    std::function<void(const std::string&)> hook_;
};

Reader& TheReader() {
    static Reader reader;
    return reader;
}

// Makes the input bytes start..end the token. A short token stays a view of
// the input; a long one is copied, with its raw bytes capped at four per
// allowed byte (the widest UTF-8 character), and cut to the limit.
void Reader::TakeToken(std::size_t start, std::size_t end) {
    std::string_view text = std::string_view(input_).substr(start, end - start);
    // A character is at least one byte and at most two CP932 bytes wide, so
    // a short token needs no measuring.
    if (text.size() * 2 <= kNucTokenLimit) {
        token_ = text;
        return;
    }
    bool overflow = text.size() > kNucTokenLimit * 4;
    longToken_.assign(text.substr(0, kNucTokenLimit * 4));
    std::size_t width = 0;
    std::size_t i = 0;
    while (i < longToken_.size()) {
        auto lead = static_cast<unsigned char>(longToken_[i]);
        std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + len > longToken_.size()) len = longToken_.size() - i;
        std::size_t w = Cp932CharWidth(std::string_view(longToken_).substr(i, len));
        if (width + w > kNucTokenLimit) {
            longToken_.resize(i);
            overflow = true;
            break;
        }
        width += w;
        i += len;
    }
    token_ = longToken_;
    if (overflow) Report("token too long: cut to 259 characters");
}

// Makes the byte at `end` the lookahead (the end of input when past it).
void Reader::SkipTo(std::size_t end) {
    pos_ = end;
    look_ = Next();
}

int Reader::Lex() {
    for (;;) {
        token_ = {};
        // The lookahead, when it came from the input, is the byte before pos_.
        switch (ClassOf(look_)) {
            case kBlank:
                look_ = Next();
                continue;
            case kHash: {
                std::size_t end = input_.find('\n', pos_);
                SkipTo(end == std::string::npos ? input_.size() : end + 1);
                continue;
            }
            case kLetter: {
                std::size_t end = pos_;
                while (end < input_.size() && ClassOf(static_cast<unsigned char>(input_[end])) >= kLetter)
                    ++end;
                TakeToken(pos_ - 1, end);
                SkipTo(end);
                return kTokSymbol;
            }
            case kDigit:
            case kMinus: {
                std::size_t end = pos_;
                while (end < input_.size() && ClassOf(static_cast<unsigned char>(input_[end])) == kDigit)
                    ++end;
                TakeToken(pos_ - 1, end);
                SkipTo(end);
                return kTokNumber;
            }
            case kPercent:
                look_ = Next();
                if (look_ == '(') {
                    look_ = Next();
                    return kTokVector;
                }
                Report("illegal character %%: ( required to describe vector");
                continue;
            case kQuote: {
                int quote = look_;
                std::size_t end = input_.find(static_cast<char>(quote), pos_);
                if (end == std::string::npos) {
                    TakeToken(pos_, input_.size());
                    SkipTo(input_.size());
                } else {
                    TakeToken(pos_, end);
                    SkipTo(end + 1);
                }
                return quote == '"' ? kTokString : kTokQuoted;
            }
            case kOpen:
                look_ = Next();
                return kTokOpen;
            case kClose:
                look_ = Next();
                return kTokClose;
            case kEnd:
                return kTokEof;
            default:
                look_ = Next();  // anything else separates items
                continue;
        }
    }
}

bool Reader::Push(State state, NucNode* partial) {
    if (sp_ >= kNucStackSize) {
        Report("nesting too deep: more than 255 open lists");
        return false;
    }
    stack_[sp_++] = {state, partial};
    return true;
}

NucNode* Reader::Read() {
    sp_ = 0;
    State state = kStart;
    NucNode* value = nullptr;
    NucNode* partial = nullptr;
    int token = kTokEof;
    for (;;) {
        switch (state) {
            case kStart:
                Push(kDone, nullptr);
                token = Lex();
                state = kDispatch;
                break;

            case kDispatch:
                switch (token) {
                    case kTokSymbol:
                    case kTokString:
                        value = NucMake(token == kTokSymbol ? kNucSymbol : kNucString);
                        value->text = token_;
                        Pop(state, partial);
                        break;
                    case kTokNumber:
                    case kTokQuoted:
                        value = NucMake(token == kTokNumber ? kNucInteger : kNucQuotedNumber);
                        value->number = NucTextToInt(token_);
                        Pop(state, partial);
                        break;
                    case kTokOpen:
                        token = Lex();
                        if (token == kTokClose) {
                            value = nullptr;
                            Pop(state, partial);
                        } else if (!Push(kAfterElement, nullptr)) {
                            sp_ = 0;
                            return nullptr;
                        }
                        break;
                    default:  // ')', '%(' or end of file where an item should start
                        sp_ = 0;
                        return nullptr;
                }
                break;

            case kAfterElement:
                partial = NucCons(value, partial);
                token = Lex();
                if (token == kTokClose) {
                    NucNode* ordered = nullptr;
                    while (partial != nullptr) {
                        NucNode* rest = partial->cdr;
                        partial->cdr = ordered;
                        ordered = partial;
                        partial = rest;
                    }
                    value = ordered;
                    Pop(state, partial);
                } else if (token == kTokEof) {
                    Report("illegal eof");
                    sp_ = 0;
                    return value;
                } else {
                    if (!Push(kAfterElement, partial)) {
                        sp_ = 0;
                        return nullptr;
                    }
                    state = kDispatch;
                }
                break;

            case kDone:
                return value;
        }
    }
}

}  // namespace

NucNode* NucMake(NucKind kind) {
    NucNode& node = Arena().make();
    node.kind = kind;
    return &node;
}

NucNode* NucCons(NucNode* car, NucNode* cdr) {
    NucNode* pair = NucMake(kNucPair);
    pair->car = car;
    pair->cdr = cdr;
    return pair;
}

NucNode* NucMakeString(std::string text) {
    NucNode* node = NucMake(kNucString);
    node->text = std::move(text);
    return node;
}

void NucReleaseAllForTesting() { Arena().clear(); }

void NucOpen(std::string_view text) { TheReader().Open(text); }
NucNode* NucRead() { return TheReader().Read(); }
void SetNucErrorHook(std::function<void(const std::string&)> hook) { TheReader().SetHook(std::move(hook)); }

std::int32_t NucTextToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t value = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size() && HexValue(text[i]) >= 0; ++i)
            value = value * 16u + static_cast<std::uint32_t>(HexValue(text[i]));
    } else {
        for (; i < text.size() && IsDigit(text[i]); ++i)
            value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

NucNode* NucNth(const NucNode* list, int n) {
    if (n < 0) return nullptr;
    for (int i = 0; list != nullptr && list->kind == kNucPair; ++i, list = list->cdr)
        if (i == n) return list->car;
    return nullptr;
}

int NucLength(const NucNode* list) {
    int length = 0;
    for (; list != nullptr && list->kind == kNucPair; list = list->cdr) ++length;
    return length;
}

void NucGetString(const NucNode* list, int n, std::string& destination) {
    const NucNode* item = NucNth(list, n);
    if (item == nullptr) return;  // no such element (or the empty list): unchanged
    if (item->kind == kNucInteger)
        destination = std::to_string(item->number);
    else if (item->kind == kNucString || item->kind == kNucSymbol)
        destination = item->text;
    else
        destination.clear();
}

std::int32_t NucGetInt(const NucNode* list, int n) {
    const NucNode* item = NucNth(list, n);
    if (item == nullptr) return 0;
    if (item->kind == kNucInteger) return item->number;
    if (item->kind == kNucString) return NucTextToInt(item->text);
    return 0;
}

void NucEntryName(const NucNode* list, int n, std::string& destination) {
    const NucNode* entry = NucNth(list, n);
    if (entry == nullptr || entry->kind != kNucPair) {
        destination.clear();
        return;
    }
    const NucNode* first = entry->car;
    if (first == nullptr) return;  // first item is the empty list: unchanged
    if (first->kind == kNucString)
        destination = first->text;
    else
        destination.clear();
}

void NucEntryValue(const NucNode* list, int n, std::string& destination) {
    destination.clear();
    const NucNode* entry = NucNth(list, n);
    if (entry == nullptr || entry->kind != kNucPair || NucLength(entry) < 2) return;
    const NucNode* second = NucNth(entry, 1);
    if (second != nullptr && second->kind == kNucString) destination = second->text;
}

void NucLookup(const NucNode* list, const std::string& name, std::string& destination) {
    int length = NucLength(list);
    for (int i = 0; i < length; ++i) {
        std::string entryName;
        NucEntryName(list, i, entryName);
        if (entryName == name) {
            NucEntryValue(list, i, destination);
            return;
        }
    }
    destination.clear();
}

}  // namespace zv
