#include "rules/character_roster.h"

#include <algorithm>
#include <filesystem>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "config/user_identity.h"
#include "rules/character_file.h"

namespace fs = std::filesystem;

namespace zv {
namespace {

// Names of the entries of usr/ that pass `keep`, sorted.
template <typename Keep>
std::vector<std::string> UsrEntries(const std::string& installDir, Keep keep) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(installDir + "usr", ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name == "." || name == "..") continue;
        if (keep(*it, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::string> ListCharacterNames(const std::string& installDir) {
    return UsrEntries(installDir, [](const fs::directory_entry& entry, const std::string& name) {
        std::error_code ec;
        return name != kDefaultCharacter && entry.is_directory(ec);
    });
}

std::vector<std::string> ListUsrEntryNames(const std::string& installDir) {
    auto names = UsrEntries(installDir, [](const fs::directory_entry&, const std::string&) { return true; });
    for (std::string& name : names) {
        std::size_t dot = name.rfind('.');
        if (dot != std::string::npos) name.erase(dot);
    }
    return names;
}

std::string CharacterFacePath(const std::string& installDir, const std::string& name, bool hiColor) {
    if (IsSafeDirectoryName(name)) {
        std::string own = CharacterDir(installDir, name) + "/" + (hiColor ? name + ".bmp" : "_16.bmp");
        if (PathExists(own) && !IsDirectory(own)) return own;
    }
    return CharacterDir(installDir, kDefaultCharacter) + "/" + (hiColor ? "_default.bmp" : "_16.bmp");
}

std::string CharacterDescriptionText(const std::string& installDir, const std::string& name) {
    if (!IsSafeDirectoryName(name)) return "";
    auto text = ReadTextFile(CharacterDir(installDir, name) + "/" + name + ".cha");
    if (!text) return "";
    auto lines = SplitLines(*text);
    return lines.empty() ? "" : lines.front();
}

CharacterListKind CharacterListKindOf(const std::string& liststyle) {
    if (liststyle == "small") return CharacterListKind::SmallIcons;
    if (liststyle == "list") return CharacterListKind::PlainList;
    return CharacterListKind::LargeIcons;
}

bool IsUsableCharacterName(const std::string& name) {
    return IsSafeDirectoryName(name) && IsStorableText(name);
}

bool MakeCharacterDir(const std::string& installDir, const std::string& name) {
    std::string dir = CharacterDir(installDir, name);
    if (IsDirectory(dir)) return true;
    std::error_code ec;
    fs::create_directory(dir, ec);
    return !ec && IsDirectory(dir);
}

}  // namespace zv
