#pragma once
// Connects the main window's statistics, ranking and game-record commands to
// the dialogs of this folder.
namespace zv {

void InstallRecordsHooks();

}  // namespace zv
