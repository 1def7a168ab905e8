#include "base/parse_int.h"

#include <charconv>
#include <system_error>

namespace zv::engine {

bool ParseInt(std::string_view text, long lo, long hi, long& out) {
    const char* end = text.data() + text.size();
    long value = 0;
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || value < lo || value > hi) return false;
    out = value;
    return true;
}

bool ParseInt(std::string_view text, int lo, int hi, int& out) {
    long value = 0;
    if (!ParseInt(text, static_cast<long>(lo), static_cast<long>(hi), value)) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace zv::engine
