// Keeps the GUI library non-empty until its first dialog lands.
namespace zv {
int GuiLibraryVersion() { return 1; }
}  // namespace zv
