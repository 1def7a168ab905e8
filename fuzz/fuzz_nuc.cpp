// Parses arbitrary text with the nuc reader and walks every result with the
// accessors.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/nuclear.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zv::NucOpen(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int forms = 0; forms < 10000; ++forms) {
        zv::NucNode* form = zv::NucRead();
        if (form == nullptr) break;
        std::string text;
        int length = zv::NucLength(form);
        for (int i = 0; i <= length && i < 8; ++i) {
            zv::NucGetString(form, i, text);
            zv::NucGetInt(form, i);
            zv::NucEntryName(form, i, text);
            zv::NucEntryValue(form, i, text);
        }
        zv::NucLookup(form, "a", text);
    }
    zv::NucReleaseAllForTesting();
    return 0;
}
