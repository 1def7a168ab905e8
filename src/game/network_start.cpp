#include "game/network_start.h"

#include "config/char_assoc.h"
#include "config/launcher_settings.h"
#include "platform/platform.h"
#include "start/program_start.h"

namespace zv {

int NextAutoSlot = 0;

namespace {

bool IsTcpIp(const LauncherSettings& settings) { return settings.protocol == kTcpIp; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// " -p " and " -h " with the address of the protocol.
std::string PortPiece(const LauncherSettings& settings) {
    return " -p " + (IsTcpIp(settings) ? settings.port : settings.socknum);
}
std::string HostPiece(const LauncherSettings& settings) {
    return " -h " + (IsTcpIp(settings) ? settings.hostname : settings.nodenum);
}
std::string OtherProtocolPiece(const LauncherSettings& settings) { return IsTcpIp(settings) ? "" : " -S "; }
std::string KanjiPiece(const LauncherSettings& settings) { return settings.kanji == "euc" ? " -k " : ""; }

// " -l " with the quoted record file in the user directory, when switched on.
std::string RecordPiece(int haihu, const LauncherSettings& settings, const char* file) {
    return haihu == 1 ? " -l " + Quoted(settings.UserDir + "/" + file) : "";
}

}  // namespace

std::string ServerCommandLine(const LauncherSettings& settings) {
    return "zvserver.exe" + OtherProtocolPiece(settings) + PortPiece(settings) +
           (settings.servertonpu == 1 ? " -Q " : " -H ") +
           RecordPiece(settings.serverhaihu, settings, "server.fu") + " -B " + Quoted(settings.UserDir) +
           (settings.resident == 1 ? " -X " : "");
}

std::string ClientCommandLine(const LauncherSettings& settings) {
    return std::string(settings.real4 == 1 ? "rclient.exe " : "zvclient.exe ") + settings.LayoutOption +
           " -B " + Quoted(settings.UserDir) + " -c " + " -n " + settings.UserName + PortPiece(settings) +
           HostPiece(settings) + OtherProtocolPiece(settings) +
           RecordPiece(settings.clienthaihu, settings, "client.fu") +
           (settings.clienttalk == 1 ? " -C " : "") + KanjiPiece(settings);
}

std::string CharacterDirectory(const std::string& installDir, const std::string& name) {
    return installDir + "usr/" + name;
}

std::string AutoPlayerProgram(const LauncherSettings& settings, const std::string& name) {
    std::string program;
    NucLookup(settings.charassoc, name, program);
    return program.empty() ? "zvauto.exe" : program;
}

std::string AutoPlayerCommandLine(const LauncherSettings& settings, const std::string& installDir,
                                  const std::string& name) {
    return AutoPlayerProgram(settings, name) + " -n " + name + OtherProtocolPiece(settings) +
           PortPiece(settings) + HostPiece(settings) + " -B " + Quoted(CharacterDirectory(installDir, name)) +
           (settings.autononterm == 1 ? " -X " : "") + KanjiPiece(settings);
}

std::string ClientHostOnOpen(const LauncherSettings& settings) {
    return IsTcpIp(settings) ? settings.hostname : settings.nodenum;
}

std::string AutoHostOnOpen(const LauncherSettings& settings) {
    if (IsTcpIp(settings)) return settings.hostname;
    if (settings.protocol == kNetBeui) return kNoAddress;
    return settings.nodenum;
}

std::string HostAfterSettings(const LauncherSettings& settings, const std::string& current) {
    if (IsTcpIp(settings)) return settings.hostname;
    if (settings.protocol == kNetBeui) return kNoAddress;
    if (settings.protocol == kIpxSpx) return settings.nodenum;
    return current;
}

std::string GameLengthSummary(int tonpu) { return tonpu == 1 ? "東風戦 " : "東南戦 "; }

std::string RecordSummary(int haihu) { return haihu == 1 ? "牌譜をとる " : "牌譜をとらない "; }

std::string ConnectionSummary(const LauncherSettings& settings) {
    if (IsTcpIp(settings)) return "TCP/IP " + settings.hostname + " " + settings.port;
    if (settings.protocol == kIpxSpx) return "IPX/SPX 0 " + settings.nodenum + " " + settings.socknum;
    return "";
}

std::string RealTilesSummary(int real) { return real == 1 ? " リアルな牌" : ""; }

StartSummaries StartSettingsSummaries(const LauncherSettings& settings) {
    std::string connection = ConnectionSummary(settings);
    StartSummaries summaries;
    summaries.server =
        GameLengthSummary(settings.servertonpu) + RecordSummary(settings.serverhaihu) + " " + connection;
    summaries.client = connection + RealTilesSummary(settings.real4);
    summaries.autoPlayer = connection;
    summaries.zelvan1 = GameLengthSummary(settings.zelvan1tonpu) + RecordSummary(settings.zelvan1haihu) +
                        RealTilesSummary(settings.real1);
    return summaries;
}

std::string& AutoPlace(LauncherSettings& settings, int place) {
    switch (place) {
        case 0:
            return settings.auto1;
        case 1:
            return settings.auto2;
        case 2:
            return settings.auto3;
        default:
            return settings.auto4;
    }
}

void ReloadCharAssoc(LauncherSettings& settings) {
    NucOpen(CharAssocText(settings.charassoc));
    settings.charassoc = NucRead();
}

unsigned StartGameServer(MessageDialogs& dialogs) {
    return RunCommand(dialogs, ServerCommandLine(Settings()), kServerShowMode);
}

unsigned StartNetworkClient(MessageDialogs& dialogs) {
    return RunCommand(dialogs, ClientCommandLine(Settings()), kClientShowMode);
}

unsigned StartAutoPlayer(MessageDialogs& dialogs, const std::string& name) {
    return RunCommand(dialogs, AutoPlayerCommandLine(Settings(), CurrentPlatform().InstallDir(), name),
                      kAutoShowMode);
}

}  // namespace zv
