// Tokenizes arbitrary lines and reads every word as a number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zv::LineSource source(std::string(reinterpret_cast<const char*>(data), size));
    while (!source.AtEnd()) {
        int count = zv::ReadTokenLine(source);
        if (count < 0 || count > zv::kMaxTokens) std::abort();
        for (int i = -1; i <= count + 1; ++i) {
            zv::Token(i);
            zv::TokenInt(i);
        }
    }
    return 0;
}
