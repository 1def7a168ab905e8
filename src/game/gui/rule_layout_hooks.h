#pragma once
// Connects the main window's rule and board-layout commands to their
// dialogs: the rule editor for the one-player game, the kept board-layout
// windows and the setup hub. Called once by InstallSubsystemHooks, after the
// installers of the kept windows that are created before the board-layout
// windows.
namespace zv {

void InstallRuleAndLayoutHooks();

}  // namespace zv
