#include "parse_int.h"

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

}  // namespace zv::engine
