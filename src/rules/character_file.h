#pragma once
// A computer character's playing style: the integer weights and call rates
// its personal file usr/<name>/<name>.pf holds, the hidden "noisy" switch and
// the name it shows in the game. The table below is shared by the file
// reader and writer and by the character maker, which builds one spin field
// per entry.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/file_io.h"

namespace zv {

class MessageDialogs;

// One weight of the character file.
struct CharacterParam {
    const char* key;      // the file key; "zone" twice (see NumberPrefer)
    const char* control;  // name of the maker's spin field
    int tab;              // 1 to 3: the maker's page
    const char* label;
    const char* hint;  // "" when none
    std::int32_t defaultValue;
    bool bounded;  // held to 0..1000; the others take any integer
};

inline constexpr std::int32_t kCharacterMin = 0;
inline constexpr std::int32_t kCharacterMax = 1000;

// In the maker's order (page by page). NumberPrefer has no key of its own:
// it is written as a second "zone" line, and every "zone" line read sets
// both SamePrefer and NumberPrefer.
inline constexpr std::size_t kCharacterParamCount = 19;
const std::array<CharacterParam, kCharacterParamCount>& CharacterParams();

// Index of a control in CharacterParams(), or nothing.
std::optional<std::size_t> CharacterParamIndex(const std::string& control);

// Pulls a value of a bounded field to the nearer bound; others pass.
std::int32_t ClampCharacterValue(const CharacterParam& param, std::int32_t value);

struct CharacterValues {
    std::array<std::int32_t, kCharacterParamCount> weights{};
    bool noisy = false;
    std::string displayName;

    std::int32_t& operator[](const char* control);
    std::int32_t operator[](const char* control) const;
};

// The defaults of a new character; the display name is the character name.
CharacterValues DefaultCharacterValues(const std::string& characterName);

// usr/<name>/<name>.pf below the installation directory.
std::string CharacterDir(const std::string& installDir, const std::string& name);
std::string CharacterFilePath(const std::string& installDir, const std::string& name);

// Applies one key of the file: integer keys set their (clamped) field, every
// "zone" sets SamePrefer and NumberPrefer, "noisy" 1 sets and 0 clears the
// switch (other values leave it), "name" sets the display name. Unknown keys
// are ignored.
void ApplyCharacterParam(CharacterValues& values, const std::string& key, const std::string& value);

// The parameter lines in the order the engines expect: the five hand-shape
// weights, the tile weights and call rates, NumberPrefer as a second "zone",
// "tsuyoki", the five hand-shape weights again, "noisy", and "name" when the
// display name is not empty.
std::vector<std::pair<std::string, std::string>> CharacterFileParams(const CharacterValues& values);

// Writes the file whole and atomically (header, the lines above, a closing
// empty line).
SaveResult SaveCharacterFile(const std::string& path, const CharacterValues& values);

// Reads the file into `values` (every line in file order, the last one
// wins). A file that cannot be opened and one that cannot be read through
// are reported with their messages, and false is returned; `values` is then
// unchanged.
bool LoadCharacterFile(const std::string& path, CharacterValues& values, MessageDialogs& dialogs);

}  // namespace zv
