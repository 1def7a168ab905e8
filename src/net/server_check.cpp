#include "net/server_check.h"

#include "config/launcher_settings.h"
#include "net/socket_helpers.h"

namespace zv {

bool UsesTcpip(const LauncherSettings& settings) { return settings.protocol == "TCP/IP"; }

std::string PingAddressLine(const LauncherSettings& settings) {
    if (UsesTcpip(settings)) return "TCP/IP " + settings.hostname + " " + settings.port;
    return "IPX/SPX " + settings.nodenum + " " + settings.socknum;
}

std::string PingFailureLine(int result) {
    switch (result) {
        case kHostNotFound:
            return "ホストアドレスを得ることができません (gethostbyname)";
        case kNoSocket:
            return "ソケットを得ることができません (socket)";
        case kConnectFailed:
            return "接続に失敗しました (connect)";
        default:
            return "winsock 不明なエラーです";
    }
}

int RunServerCheck(const LauncherSettings& settings) {
    if (UsesTcpip(settings)) return TcpConnectTest(settings.hostname, settings.port);
    return SpxConnectTest(settings.nodenum, settings.socknum);
}

}  // namespace zv
