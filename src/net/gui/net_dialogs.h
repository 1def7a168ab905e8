#pragma once
// Entry points of the network tools, for the windows that open them. Each
// call creates its dialog, places it 50 pixels right of and below the
// owner's top-left corner, shows it modally and destroys it. Messages go
// through the common message dialogs.
#include <string>

class QWidget;

namespace zv {

// The network settings. `mode` 1 is the game server's own settings (no
// remote address is entered); the values are stored however it is closed.
void RunProtocolBox(QWidget* owner, int mode, const std::string& title);

// The reduced use: only the protocol is chosen. Returns "TCP/IP" or "IPX/SPX".
std::string ChooseProtocol(QWidget* owner, const std::string& protocol);

// The server check.
void RunPingBox(QWidget* owner);

// The server search; returns the chosen server, empty when none was chosen.
std::string RunSearchServerBox(QWidget* owner);

}  // namespace zv
