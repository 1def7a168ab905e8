// Reads arbitrary bytes as a CP932 character file, writes the character
// back and checks that the written file reads back to the same values, with
// every bounded weight inside its range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "config/file_io.h"
#include "config/personal_file.h"
#include "rules/character_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = zv::FromCp932(std::string_view(reinterpret_cast<const char*>(data), size));
    zv::CharacterValues values = zv::DefaultCharacterValues("chara");
    zv::ApplyPersonalText(text, [&](const std::string& key, const std::string& value) {
        zv::ApplyCharacterParam(values, key, value);
    });
    const auto& params = zv::CharacterParams();
    for (std::size_t i = 0; i < params.size(); ++i)
        if (params[i].bounded &&
            (values.weights[i] < zv::kCharacterMin || values.weights[i] > zv::kCharacterMax))
            std::abort();

    auto lines = zv::PersonalFileLines(zv::PersonalFileKind::Character, zv::CharacterFileParams(values));
    std::string written;  // the lines as the file holds them
    for (const auto& line : lines) {
        written += line;
        written += "\r\n";
    }
    if (zv::IsCp932Encodable(written)) {
        zv::CharacterValues again = zv::DefaultCharacterValues("other");
        again.noisy = !values.noisy;
        again.displayName = "other";
        zv::ApplyPersonalText(zv::FromCp932(zv::EncodeCrLfLines(lines)),
                              [&](const std::string& key, const std::string& value) {
                                  zv::ApplyCharacterParam(again, key, value);
                              });
        // An empty display name is not written, so the reader keeps its own.
        if (values.displayName.empty()) again.displayName.clear();
        if (again.weights != values.weights || again.noisy != values.noisy ||
            again.displayName != values.displayName)
            std::abort();
    }
    return 0;
}
