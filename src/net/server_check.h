#pragma once
// Texts of the server check: the address line of the settings and the
// failure line for a connection test's result.
#include <string>

namespace zv {

struct LauncherSettings;

// "TCP/IP host port" for TCP/IP, "IPX/SPX node socket" for anything else.
std::string PingAddressLine(const LauncherSettings& settings);

// True when the settings' protocol is exactly "TCP/IP".
bool UsesTcpip(const LauncherSettings& settings);

// The failure line shown for a non-zero result of a connection test.
std::string PingFailureLine(int result);

// Runs the test that fits the settings' protocol.
int RunServerCheck(const LauncherSettings& settings);

inline constexpr const char* kPingPrompt = "確認ボタンを押してください";
inline constexpr const char* kPingNoIpx =
    "このﾊﾞｰｼﾞｮﾝでは、IPX/SPXの場合はゲームサーバの動作確認はサポートされていません。";
inline constexpr const char* kPingRunning = "ゲームサーバーは稼動中です";
inline constexpr const char* kPingFailed = "ゲームサーバーへの接続に失敗しました";

}  // namespace zv
