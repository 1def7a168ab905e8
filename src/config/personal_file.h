#pragma once
// Personal parameter files (.pf): the rules and character files the game
// engines read. Lines are "param: <key> = <value>" after a fixed header,
// CP932 with CR LF line ends.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/file_io.h"

namespace zv {

enum class PersonalFileKind {
    Rules,      // "#!/bin/sh", "# zelvan personal file", "# params", ""
    Character,  // "#!/bin/sh", "# zelvan personal file", "", "" ... closing ""
};

using PersonalParams = std::vector<std::pair<std::string, std::string>>;

// The file's lines (UTF-8, without line ends), in order.
std::vector<std::string> PersonalFileLines(PersonalFileKind kind, const PersonalParams& params);

// Writes the file whole and atomically.
SaveResult WritePersonalFile(const std::string& path, PersonalFileKind kind, const PersonalParams& params);

// Calls `apply(key, value)` for every parameter line in file order (the last
// occurrence of a key therefore wins). Returns false when the file cannot be
// opened or read; nothing is applied then.
bool ReadPersonalFile(const std::string& path,
                      const std::function<void(const std::string& key, const std::string& value)>& apply);

}  // namespace zv
