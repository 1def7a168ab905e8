#pragma once
// The computer characters as a set: the directories below usr/, where each
// character keeps its personal file, its face pictures and its description.
// Qt-free, so that every window that lists or shows characters (selection,
// player information, computer-player launcher) reads them the same way.
#include <string>
#include <vector>

namespace zv {

// The folder holding the shared fallback faces; never listed as a character.
inline constexpr const char* kDefaultCharacter = "_default";

// Every directory directly below usr/ except ".", ".." and _default, sorted
// by name so that lists come out the same on every file system.
std::vector<std::string> ListCharacterNames(const std::string& installDir);

// Every entry directly below usr/ (files too), each with its last extension
// removed, sorted by name: the choices of the naming dialog.
std::vector<std::string> ListUsrEntryNames(const std::string& installDir);

// The face file of a character: usr/<name>/<name>.bmp in full colour,
// usr/<name>/_16.bmp in 16 colours; when that file is missing (or the name
// cannot be a directory below usr/), the same picture of _default, which is
// returned without a further check.
std::string CharacterFacePath(const std::string& installDir, const std::string& name, bool hiColor);

// The first line of usr/<name>/<name>.cha, or "" when there is none.
std::string CharacterDescriptionText(const std::string& installDir, const std::string& name);

enum class CharacterListKind { LargeIcons, SmallIcons, PlainList };

// "small" gives small icons, "list" a plain list, anything else faces.
CharacterListKind CharacterListKindOf(const std::string& liststyle);

// True when the name can become a character: one directory directly below
// usr/ (not empty, ".", ".." and without '/', '"', '\' or NUL, see
// IsSafeDirectoryName) that launch.nuc can also store.
bool IsUsableCharacterName(const std::string& name);

// Creates usr/<name> unless it is already a directory; false on failure.
bool MakeCharacterDir(const std::string& installDir, const std::string& name);

}  // namespace zv
