#pragma once
// Entry points of the network game dialogs for the main window.

namespace zv {

// Puts the game server, network client, computer-player and custom
// execution commands into the main window's command table.
void InstallNetworkGameHooks();

}  // namespace zv
