#pragma once
// The logic behind the network settings dialog: which controls are usable
// for a protocol and purpose, how the kanji setting maps to a choice, what a
// closed dialog stores, and the host names offered from the hosts file.
#include <string>
#include <vector>

namespace zv {

struct LauncherSettings;

// Purpose of the last full opening of the settings dialog: 1 = the game
// server's own settings (no remote address is entered), anything else = a
// client. Kept for the whole run.
int ProtocolBoxMode();
void SetProtocolBoxMode(int mode);

inline constexpr int kServerMode = 1;

// Whether the named control is enabled with TCP/IP (`tcpip`) or IPX/SPX
// chosen, in the given mode. Names outside the table are left alone (true).
bool ProtocolControlEnabled(const std::string& name, bool tcpip, int mode);

// Every control whose enabled state follows the protocol choice.
const std::vector<std::string>& ProtocolControlNames();

enum class KanjiCode { ShiftJis, Euc, Unicode };

// "shiftjis" and "euc" choose their buttons; anything else the hidden
// UNICODE one.
KanjiCode KanjiFromSetting(const std::string& kanji);
std::string KanjiSetting(KanjiCode code);

// What the dialog holds when it closes.
struct ProtocolChoice {
    bool tcpip = true;
    bool ipxspx = false;
    std::string hostname, port, nodenum, socknum;
    KanjiCode kanji = KanjiCode::Euc;
};

// Stores a closed dialog's state: the checked protocol with its address
// fields, and the kanji code.
void StoreProtocolChoice(LauncherSettings& settings, const ProtocolChoice& choice);

// The protocol text of a choice: "TCP/IP" when `tcpip` is checked, else "IPX/SPX".
std::string ProtocolOf(bool tcpip);

// True when a node number has the 12 characters an IPX/SPX node needs
// (only the length is checked).
bool NodeNumberLengthOk(const std::string& node);

// The host names of a hosts file: the second word of every line that has
// at least two words and does not start with "#" in its first column.
// A missing or unreadable file gives no names.
std::vector<std::string> ReadHostNames(const std::string& path);

// The same for the text of a hosts file (UTF-8).
std::vector<std::string> HostNamesFromText(const std::string& text);

// The system's hosts file; `osKind` as CurrentOsKind() gives it.
std::string HostsFilePath(int osKind);

}  // namespace zv
