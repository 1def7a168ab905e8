#pragma once
// The players known to the launcher: the directories below usr/, and the
// face picture of each. This is a minimal stand-in for the shared character
// list of the character dialogs, kept in one place so that the player
// information dialog can switch to the shared helpers without other changes.
#include <string>
#include <vector>

namespace zv {

// Names of the directories directly below usr/ (not "_default"), in the
// order the file system lists them. Plain files are not players.
std::vector<std::string> ListPlayerDirectories();

// Path of a player's face picture: usr/<name>/<name>.bmp for full-colour
// faces (the `hicolorchar` setting), else usr/<name>/_16.bmp; when that file
// is missing, the same picture of usr/_default/.
std::string PlayerFacePath(const std::string& name);

}  // namespace zv
