// Decodes arbitrary bytes as CP932 and checks the codec's promises: the
// result is valid UTF-8 that encodes back without growing unboundedly, and
// text that decoded cleanly round-trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text = zv::FromCp932(bytes);
    std::string back = zv::ToCp932(text);
    if (text.find("\xEF\xBF\xBD") == std::string::npos && back.size() != size) std::abort();
    if (zv::Cp932Width(text) != back.size()) std::abort();
    zv::ToCp932(bytes);  // arbitrary bytes as UTF-8 input
    return 0;
}
