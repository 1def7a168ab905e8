#pragma once
// Connects the main window's rule and board-layout commands to their
// dialogs: the rule editor for the one-player game, the kept board-layout
// windows and the setup hub. Call once at program start, after the other
// kept windows' installers: the board-layout windows are created after the
// windows already in the table.
namespace zv {

void InstallRuleAndLayoutHooks();

}  // namespace zv
