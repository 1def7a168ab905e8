#pragma once
// Connects the sound subsystem to the main window: the kept sound dialog, the
// command that shows it, and the background music started and stopped with
// the window.
class QWidget;

namespace zv {

class TSoundBox;

// Puts the sound entries into the launcher's hook table (the sound dialog
// joins the kept windows). Called once, before the main window is created.
void InstallSoundHooks();

// The kept sound dialog, or null before it was created (or after its owner
// was destroyed).
TSoundBox* KeptSoundBox();

}  // namespace zv
