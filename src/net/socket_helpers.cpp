#include "net/socket_helpers.h"

#include <arpa/inet.h>

#include <atomic>
#include <utility>

#include "config/message_dialogs.h"
#include "config/tokenizer.h"

namespace zv {
namespace {

// Atomic because the server search runs its tests on several threads.
std::atomic<int> g_lastSocketError{0};

constexpr std::pair<int, const char*> kErrorTexts[] = {
    {10004, "The (blocking) call was canceled using WSACancelBlockingCall. "},
    {10014, "The namelen argument is incorrect."},
    {10022, "The Windows Sockets version specified by the application is not supported by this DLL. "},
    {10024, "No more file descriptors are available."},
    {10035,
     "The socket is marked as nonblocking and the connection cannot be completed immediately. It is "
     "possible to select the socket while it is connecting by selecting it for writing."},
    {10036, "A blocking Windows Sockets operation is in progress. "},
    {10038, "The descriptor is not a socket."},
    {10047, "Addresses in the specified family cannot be used with this socket."},
    {10048, "The specified address is already in use."},
    {10049, "The specified address is not available from the local computer."},
    {10050, "The Windows Sockets implementation has detected that the network subsystem has failed. "},
    {10055, "No buffer space is available. The socket cannot be connected. "},
    {10056, "The socket is already connected."},
    {10060, "Attempt to connect timed out without establishing a connection."},
    {10061, "The attempt to connect was forcefully rejected."},
    {10091, "Indicates that the underlying network subsystem is not ready for network communication. "},
    {10092,
     "The version of Windows Sockets support requested is not provided by this particular Windows "
     "Sockets implementation. "},
    {10093, "WSAStartup must occur before using this function. "},
    {11001, "Authoritative Answer Host not found. "},
    {11002, "Non-Authoritative Host not found, or SERVERFAIL. "},
    {11003, "Nonrecoverable errors: FORMERR, REFUSED, NOTIMP.  "},
    {11004, "name, no data record of requested type. "},
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 255;
}

// Maps an outcome of the sockets layer to a result code, keeping the error.
int ResultOf(const ConnectOutcome& outcome) {
    switch (outcome.stage) {
        case ConnectOutcome::Stage::Connected:
            return kConnected;
        case ConnectOutcome::Stage::SocketFailed:
            g_lastSocketError = outcome.error;
            return kNoSocket;
        case ConnectOutcome::Stage::NotGuarded:
            return kConnectFailed;
        case ConnectOutcome::Stage::ConnectFailed:
            g_lastSocketError = outcome.error;
            return kConnectFailed;
    }
    return kConnectFailed;
}

}  // namespace

bool SocketStartup(MessageDialogs& dialogs) {
    int error = CurrentSockets().Startup();
    if (error == 0) return true;
    dialogs.ShowErrorDialog("WSAStartup", "winsockの初期化が失敗しました。", SocketErrorText(error));
    return false;
}

void SocketCleanup() { CurrentSockets().Cleanup(); }

int TcpConnectTest(const std::string& host, const std::string& port) {
    auto portNumber = static_cast<std::uint16_t>(WordToInt(port));
    // A dotted address is taken as it is; anything else is looked up. A
    // name with a NUL in it names no host.
    bool usable = host.find('\0') == std::string::npos;
    in_addr_t address = usable ? ::inet_addr(host.c_str()) : INADDR_NONE;
    if (address == INADDR_NONE) {
        auto found = usable ? CurrentSockets().LookupHost(host) : std::nullopt;
        if (!found) {
            g_lastSocketError = 0;
            return kHostNotFound;
        }
        address = *found;
    }
    return ResultOf(CurrentSockets().ConnectTcp(address, htons(portNumber), kConnectTimeLimit));
}

int SpxConnectTest(const std::string& node, const std::string& socket) {
    return ResultOf(CurrentSockets().ConnectSpx(MakeIpxAddress(node, socket), kConnectTimeLimit));
}

int LastSocketError() { return g_lastSocketError; }

void SetLastSocketError(int error) { g_lastSocketError = error; }

std::string SocketErrorText() { return SocketErrorText(g_lastSocketError); }

std::string SocketErrorText(int error) {
    for (const auto& [code, text] : kErrorTexts)
        if (code == error) return text;
    return {};
}

void HexToBytes(std::string_view text, std::uint8_t* bytes, int count) {
    auto digit = [&](std::size_t i) { return i < text.size() ? HexValue(text[i]) : 0; };
    for (int n = 0; n < count; ++n) {
        std::size_t i = static_cast<std::size_t>(n) * 2;
        bytes[n] = static_cast<std::uint8_t>(digit(i) * 16 + digit(i + 1));
    }
}

IpxAddress MakeIpxAddress(std::string_view node, std::string_view socket) {
    IpxAddress address{};
    address[0] = 6;  // AF_IPX, little-endian as in the WinSock structure
    address[1] = 0;
    HexToBytes("00000000", address.data() + 2, 4);
    HexToBytes(node, address.data() + 6, 6);
    HexToBytes(socket, address.data() + 12, 2);
    return address;
}

}  // namespace zv
