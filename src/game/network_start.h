#pragma once
// Network games: the command lines of the game server, the network client
// and the computer players, the server address the dialogs show, and the
// one-line summaries of the stored start settings.
//
// The lines are plain concatenations of option pieces that carry their own
// blanks; the doubled blanks they leave are what the engines expect. Only
// the value 1 switches an option on. Every builder reads the given settings
// record only, so it can be checked without starting anything.
#include <string>

#include "platform/process.h"

namespace zv {

class MessageDialogs;
struct LauncherSettings;

// The protocol that sends the port and the host name; any other protocol
// sends the socket number, the node number and -S.
inline constexpr const char* kTcpIp = "TCP/IP";
inline constexpr const char* kIpxSpx = "IPX/SPX";
inline constexpr const char* kNetBeui = "NetBEUI";
// What the dialogs show as the address of a protocol without one.
inline constexpr const char* kNoAddress = "not available";

// How each engine's window is shown.
inline constexpr int kServerShowMode = 7;  // minimised, without the focus
inline constexpr int kClientShowMode = 5;  // shown normally
inline constexpr int kAutoShowMode = 6;    // minimised

// zvserver.exe with protocol, port or socket, game length, record file,
// user directory and the notification-area switch (UserDir, protocol, port,
// socknum, servertonpu, serverhaihu, resident).
std::string ServerCommandLine(const LauncherSettings& settings);

// zvclient.exe (rclient.exe for real tiles) with LayoutOption, user
// directory, user name, address, record file, talk and kanji switches.
std::string ClientCommandLine(const LauncherSettings& settings);

// The directory of a computer character: installation directory + "usr/" +
// name, without a trailing separator.
std::string CharacterDirectory(const std::string& installDir, const std::string& name);

// The program that plays a character: its association in `charassoc`, or
// zvauto.exe when it has none.
std::string AutoPlayerProgram(const LauncherSettings& settings, const std::string& name);

// One computer player for a character: its program, name, address, the
// character's own directory and the reconnect and kanji switches.
std::string AutoPlayerCommandLine(const LauncherSettings& settings, const std::string& installDir,
                                  const std::string& name);

// The server address as a dialog shows it. When opened, the client dialog
// shows the host name for TCP/IP and the node number otherwise; the
// computer-player dialog shows "not available" for NetBEUI as well. After
// the network settings were changed both show the host name, "not
// available" or the node number, and keep `current` for an unknown protocol.
std::string ClientHostOnOpen(const LauncherSettings& settings);
std::string AutoHostOnOpen(const LauncherSettings& settings);
std::string HostAfterSettings(const LauncherSettings& settings, const std::string& current);

// The summaries of the custom execution dialog.
std::string GameLengthSummary(int tonpu);  // "東風戦 " or "東南戦 "
std::string RecordSummary(int haihu);      // "牌譜をとる " or "牌譜をとらない "
std::string ConnectionSummary(const LauncherSettings& settings);
std::string RealTilesSummary(int real);  // " リアルな牌" or ""

struct StartSummaries {
    std::string server;
    std::string client;
    std::string autoPlayer;
    std::string zelvan1;
};
StartSummaries StartSettingsSummaries(const LauncherSettings& settings);

// The check box value stored for a setting: 1 when checked, else 0; a box
// is checked only by a setting of exactly 1.
inline int CheckValue(bool checked) { return checked ? 1 : 0; }
inline bool ChecksBox(int setting) { return setting == 1; }

// The place the next character picked for the computer-player dialog fills
// (modulo 4). Lives as long as the program; independent of the one-player
// dialog's counter.
extern int NextAutoSlot;

// The four places' settings auto1 to auto4 (place 0 to 3).
std::string& AutoPlace(LauncherSettings& settings, int place);

// Makes `charassoc` the associations the association dialog left (when it
// was shown in this run), so that the next computer player started already
// uses them.
void ReloadCharAssoc(LauncherSettings& settings);

// The starts, with the process-wide settings and installation; failures are
// reported by RunCommand through `dialogs`. Each returns the start result.
unsigned StartGameServer(MessageDialogs& dialogs);
unsigned StartNetworkClient(MessageDialogs& dialogs);
unsigned StartAutoPlayer(MessageDialogs& dialogs, const std::string& name);

}  // namespace zv
