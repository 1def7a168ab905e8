#pragma once
// The launcher's small socket layer: it never talks to a game server, it only
// checks whether one answers. A test opens a connection and closes it at once;
// nothing is sent or received.
//
// Both tests return a result code and keep the last socket error (WinSock
// numbering) in one process-wide value, which SocketErrorText turns into an
// English message for the caller's error dialog.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sockets.h"

namespace zv {

class MessageDialogs;

// Result codes of TcpConnectTest and SpxConnectTest.
enum ConnectResult : int {
    kConnected = 0,      // connected and closed again; last error unchanged
    kHostNotFound = 1,   // the host name could not be resolved; last error 0
    kNoSocket = 2,       // no socket could be created; last error says why
    kConnectFailed = 3,  // connect failed (last error says why) or could not be bounded
};

// How long a connect may hang before it is given up (reported as code 3
// with the "call was canceled" error).
inline constexpr std::chrono::milliseconds kConnectTimeLimit{200};

// Starts the socket library. On failure shows the error dialog
// "WSAStartup" / "winsockの初期化が失敗しました。" / the error's text and
// returns false; callers go on all the same (their tests then fail).
bool SocketStartup(MessageDialogs& dialogs);

// Stops the socket library; the result is of no interest.
void SocketCleanup();

// Tries a TCP connection to `host` (dotted address or name) at `port`
// (decimal text, read like any integer word: leading digits count).
int TcpConnectTest(const std::string& host, const std::string& port);

// Tries an SPX connection to the node number (12 hex digits) and socket
// number (4 hex digits). Without IPX/SPX support this gives code 2.
int SpxConnectTest(const std::string& node, const std::string& socket);

// The last socket error, and the message for it.
int LastSocketError();
void SetLastSocketError(int error);
std::string SocketErrorText();
std::string SocketErrorText(int error);

// Converts the first 2 x count characters of `text` into `count` bytes, two
// characters a byte, high half first. 0-9, A-F and a-f are digits; any other
// character counts 255, and each byte keeps the low 8 bits of high*16+low.
// Characters missing at the end of a short text count 0; nothing beyond the
// text is read.
void HexToBytes(std::string_view text, std::uint8_t* bytes, int count);

// The 14-byte IPX/SPX address: family 6, network number 0, the node number
// and the socket number.
IpxAddress MakeIpxAddress(std::string_view node, std::string_view socket);

}  // namespace zv
