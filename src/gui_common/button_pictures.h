#pragma once
// The pictures of the launcher's buttons, drawn in one style: ivory tiles
// and papers with a dark outline on a table green, red for accents.
#include <QIcon>
#include <string>

namespace zv {

// The picture for a board layout word: "large", "small", "large4" or
// "small4"; any other word gives the picture of "large". Shared by the
// board-layout buttons and the main window's Play button.
QIcon LayoutPicture(const std::string& layout);

// The picture of a main-window button by its component name (RuleButton,
// ZvInstall, CharButton, WakeRulebook, WakeHelp, haifuswbutton, SoundButton,
// UnameButton, About); an empty icon for other names.
QIcon LauncherButtonPicture(const std::string& component);

// The double arrow of a menu or tool bar too narrow for its items, pointing
// right (or down when `vertical`).
QIcon ExtensionArrowPicture(bool vertical);

}  // namespace zv
