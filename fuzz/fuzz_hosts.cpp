// Reads arbitrary bytes as a CP932 hosts file and checks the names offered:
// each is one non-empty word, and there are never more names than lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "net/protocol_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = zv::FromCp932(std::string_view(reinterpret_cast<const char*>(data), size));
    auto names = zv::HostNamesFromText(text);
    auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (names.size() > lines) std::abort();
    for (const auto& name : names) {
        if (name.empty() || name.find_first_of(" \t\n") != std::string::npos) std::abort();
        if (text.find(name) == std::string::npos) std::abort();
    }
    return 0;
}
