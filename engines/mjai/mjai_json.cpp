// The JSON of the mjai protocol: a small reader and the quoting of strings.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "mjai/mjai.h"

namespace zv::mjai {
namespace {

constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool Document(Json& out, std::string& error) {
        if (!Value(out, 0)) {
            error = error_ + " at character " + std::to_string(pos_ + 1);
            return false;
        }
        Blanks();
        if (pos_ != text_.size()) {
            error = "text after the JSON value at character " + std::to_string(pos_ + 1);
            return false;
        }
        return true;
    }

private:
    bool Fail(const char* why) {
        if (error_.empty()) error_ = why;
        return false;
    }
    void Blanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }
    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return Fail("unknown word");
        pos_ += word.size();
        return true;
    }

    bool Value(Json& out, int depth) {
        if (depth > kMaxDepth) return Fail("nested too deeply");
        Blanks();
        if (pos_ >= text_.size()) return Fail("value missing");
        char c = text_[pos_];
        if (c == '{') return Object(out, depth);
        if (c == '[') return Array(out, depth);
        if (c == '"') {
            out.type = Json::Type::String;
            return String(out.string);
        }
        if (c == 't' || c == 'f') {
            out.type = Json::Type::Bool;
            out.boolean = c == 't';
            return Word(c == 't' ? "true" : "false");
        }
        if (c == 'n') {
            out.type = Json::Type::Null;
            return Word("null");
        }
        return Number(out);
    }

    bool Number(Json& out) {
        std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        std::size_t digits = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        if (pos_ == digits) return Fail("not a value");
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        }
        std::string number(text_.substr(start, pos_ - start));
        out.type = Json::Type::Number;
        out.number = std::strtod(number.c_str(), nullptr);
        if (!std::isfinite(out.number)) return Fail("number out of range");
        return true;
    }

    void Utf8(unsigned code, std::string& out) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool Hex4(unsigned& code) {
        if (pos_ + 4 > text_.size()) return Fail("short \\u escape");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            char h = text_[pos_++];
            int v = h >= '0' && h <= '9'   ? h - '0'
                    : h >= 'a' && h <= 'f' ? h - 'a' + 10
                    : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                           : -1;
            if (v < 0) return Fail("bad \\u escape");
            code = code * 16 + static_cast<unsigned>(v);
        }
        return true;
    }

    bool String(std::string& out) {
        ++pos_;  // the opening quote
        out.clear();
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned code = 0;
                    if (!Hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
                        pos_ += 2;
                        unsigned low = 0;
                        if (!Hex4(low)) return false;
                        if (low < 0xDC00 || low > 0xDFFF) return Fail("bad surrogate pair");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xD800 && code <= 0xDFFF) {
                        return Fail("lone surrogate");
                    }
                    Utf8(code, out);
                    break;
                }
                default:
                    return Fail("bad escape");
            }
        }
        return Fail("string not closed");
    }

    bool Array(Json& out, int depth) {
        ++pos_;
        out.type = Json::Type::Array;
        Blanks();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            out.items.emplace_back();
            if (!Value(out.items.back(), depth + 1)) return false;
            Blanks();
            if (pos_ >= text_.size()) return Fail("array not closed");
            char c = text_[pos_++];
            if (c == ']') return true;
            if (c != ',') return Fail("',' or ']' expected");
        }
    }

    bool Object(Json& out, int depth) {
        ++pos_;
        out.type = Json::Type::Object;
        Blanks();
        if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            Blanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("member name expected");
            std::string key;
            if (!String(key)) return false;
            Blanks();
            if (pos_ >= text_.size() || text_[pos_++] != ':') return Fail("':' expected");
            out.keys.push_back(std::move(key));
            out.values.emplace_back();
            if (!Value(out.values.back(), depth + 1)) return false;
            Blanks();
            if (pos_ >= text_.size()) return Fail("object not closed");
            char c = text_[pos_++];
            if (c == '}') return true;
            if (c != ',') return Fail("',' or '}' expected");
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

}  // namespace

const Json* Json::Find(std::string_view key) const {
    for (std::size_t i = 0; i < keys.size() && i < values.size(); ++i)
        if (keys[i] == key) return &values[i];
    return nullptr;
}

bool ParseJson(std::string_view text, Json& out, std::string& error) {
    out = Json{};
    return Parser(text).Document(out, error);
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace zv::mjai
