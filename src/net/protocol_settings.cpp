#include "net/protocol_settings.h"

#include <map>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "config/tokenizer.h"
#include "platform/sockets.h"

namespace zv {
namespace {

int g_mode = 0;

// How a control's enabled state follows the choice.
enum class Rule {
    TcpOnly,          // enabled for TCP/IP
    TcpUnlessServer,  // enabled for TCP/IP unless in server mode
    IpxOnly,          // enabled for IPX/SPX
    IpxUnlessServer,  // enabled for IPX/SPX unless in server mode
    Never,            // fixed values, never editable
};

const std::map<std::string, Rule>& Rules() {
    static const std::map<std::string, Rule> rules = {
        {"TcpipGroupBox", Rule::TcpOnly},
        {"TCPIPHeader", Rule::TcpOnly},
        {"TcpipPortNumber", Rule::TcpOnly},
        {"ReadHostsCheckBox", Rule::TcpOnly},
        {"TcpipHostName", Rule::TcpUnlessServer},
        {"tcpip1", Rule::TcpUnlessServer},
        {"tcpip2", Rule::TcpUnlessServer},
        {"IPXMsg", Rule::IpxOnly},
        {"IPXHeader", Rule::IpxOnly},
        {"IpxspxGroupBox", Rule::IpxOnly},
        {"NodeNumber", Rule::IpxUnlessServer},
        {"ipx1", Rule::IpxUnlessServer},
        {"Ipx0", Rule::Never},
        {"IpxNetworknumber", Rule::Never},
        {"ipx2", Rule::Never},
        {"SocketNumber", Rule::Never},
    };
    return rules;
}

// Number of characters (not bytes) of a UTF-8 text.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

int ProtocolBoxMode() { return g_mode; }
void SetProtocolBoxMode(int mode) { g_mode = mode; }

bool ProtocolControlEnabled(const std::string& name, bool tcpip, int mode) {
    auto found = Rules().find(name);
    if (found == Rules().end()) return true;
    switch (found->second) {
        case Rule::TcpOnly:
            return tcpip;
        case Rule::TcpUnlessServer:
            return tcpip && mode != kServerMode;
        case Rule::IpxOnly:
            return !tcpip;
        case Rule::IpxUnlessServer:
            return !tcpip && mode != kServerMode;
        case Rule::Never:
            return false;
    }
    return false;
}

const std::vector<std::string>& ProtocolControlNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& entry : Rules()) all.push_back(entry.first);
        return all;
    }();
    return names;
}

KanjiCode KanjiFromSetting(const std::string& kanji) {
    if (kanji == "shiftjis") return KanjiCode::ShiftJis;
    if (kanji == "euc") return KanjiCode::Euc;
    return KanjiCode::Unicode;
}

std::string KanjiSetting(KanjiCode code) {
    switch (code) {
        case KanjiCode::ShiftJis:
            return "shiftjis";
        case KanjiCode::Euc:
            return "euc";
        case KanjiCode::Unicode:
            return "unicode";
    }
    return "unicode";
}

void StoreProtocolChoice(LauncherSettings& settings, const ProtocolChoice& choice) {
    if (choice.tcpip) {
        settings.protocol = "TCP/IP";
        settings.hostname = choice.hostname;
        settings.port = choice.port;
    } else if (choice.ipxspx) {
        settings.protocol = "IPX/SPX";
        settings.nodenum = choice.nodenum;
        settings.socknum = choice.socknum;
    }
    settings.kanji = KanjiSetting(choice.kanji);
}

std::string ProtocolOf(bool tcpip) { return tcpip ? "TCP/IP" : "IPX/SPX"; }

bool NodeNumberLengthOk(const std::string& node) { return CharacterCount(node) == 12; }

std::vector<std::string> ReadHostNames(const std::string& path) {
    auto text = ReadTextFile(path);
    if (!text) return {};
    return HostNamesFromText(*text);
}

std::vector<std::string> HostNamesFromText(const std::string& text) {
    std::vector<std::string> names;
    LineSource lines(text);
    while (!lines.AtEnd()) {
        int words = ReadTokenLine(lines);
        std::string line = Token(0);
        if (line.empty() || line[0] == '#' || words < 2) continue;
        // A line ending in blanks after its first word has an empty second
        // word, which names no host.
        std::string name = Token(2);
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

std::string HostsFilePath(int osKind) { return CurrentSockets().HostsFilePath(osKind); }

}  // namespace zv
