#include "net/protocol_settings.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "config/launcher_settings.h"
#include "support/loopback_sockets.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

TEST(ProtocolControls, EnabledStatesByProtocolAndMode) {
    struct Row {
        const char* name;
        bool tcpClient, tcpServer, ipxClient, ipxServer;
    };
    const Row rows[] = {
        {"TcpipGroupBox", true, true, false, false},   {"TCPIPHeader", true, true, false, false},
        {"TcpipPortNumber", true, true, false, false}, {"ReadHostsCheckBox", true, true, false, false},
        {"TcpipHostName", true, false, false, false},  {"tcpip1", true, false, false, false},
        {"tcpip2", true, false, false, false},         {"IPXMsg", false, false, true, true},
        {"IPXHeader", false, false, true, true},       {"IpxspxGroupBox", false, false, true, true},
        {"NodeNumber", false, false, true, false},     {"ipx1", false, false, true, false},
        {"Ipx0", false, false, false, false},          {"IpxNetworknumber", false, false, false, false},
        {"ipx2", false, false, false, false},          {"SocketNumber", false, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ProtocolControlEnabled(row.name, true, 0), row.tcpClient);
        EXPECT_EQ(ProtocolControlEnabled(row.name, true, 1), row.tcpServer);
        EXPECT_EQ(ProtocolControlEnabled(row.name, false, 0), row.ipxClient);
        EXPECT_EQ(ProtocolControlEnabled(row.name, false, 1), row.ipxServer);
        // Any mode other than 1 is a client.
        EXPECT_EQ(ProtocolControlEnabled(row.name, true, 7), row.tcpClient);
    }
    EXPECT_EQ(ProtocolControlNames().size(), std::size(rows));
    EXPECT_TRUE(ProtocolControlEnabled("OKButton", false, 1));
}

TEST(ProtocolChoiceStore, StoresTheCheckedProtocolsFieldsOnly) {
    LauncherSettings settings;
    ProtocolChoice choice{true, false, "server1", "5000", "111111111111", "1234", KanjiCode::ShiftJis};
    StoreProtocolChoice(settings, choice);
    EXPECT_EQ(settings.protocol, "TCP/IP");
    EXPECT_EQ(settings.hostname, "server1");
    EXPECT_EQ(settings.port, "5000");
    EXPECT_EQ(settings.nodenum, "000000000000");
    EXPECT_EQ(settings.socknum, "2FFF");
    EXPECT_EQ(settings.kanji, "shiftjis");

    choice = {false, true, "other", "1", "12345678901", "2FFF", KanjiCode::Unicode};
    StoreProtocolChoice(settings, choice);
    EXPECT_EQ(settings.protocol, "IPX/SPX");
    EXPECT_EQ(settings.hostname, "server1");
    EXPECT_EQ(settings.nodenum, "12345678901");
    EXPECT_EQ(settings.kanji, "unicode");

    // Neither checked: the protocol and addresses stay, the kanji code is stored.
    choice = {false, false, "x", "x", "x", "x", KanjiCode::Euc};
    StoreProtocolChoice(settings, choice);
    EXPECT_EQ(settings.protocol, "IPX/SPX");
    EXPECT_EQ(settings.nodenum, "12345678901");
    EXPECT_EQ(settings.kanji, "euc");
}

TEST(ProtocolChoiceStore, KanjiSettingRoundTrip) {
    EXPECT_EQ(KanjiFromSetting("shiftjis"), KanjiCode::ShiftJis);
    EXPECT_EQ(KanjiFromSetting("euc"), KanjiCode::Euc);
    EXPECT_EQ(KanjiFromSetting("unicode"), KanjiCode::Unicode);
    EXPECT_EQ(KanjiFromSetting("EUC"), KanjiCode::Unicode);
    EXPECT_EQ(KanjiFromSetting("jis"), KanjiCode::Unicode);
    EXPECT_EQ(KanjiSetting(KanjiFromSetting("jis")), "unicode");
}

TEST(ProtocolChoiceStore, NodeNumberLengthCountsCharacters) {
    EXPECT_TRUE(NodeNumberLengthOk("000000000000"));
    EXPECT_TRUE(NodeNumberLengthOk("zzzzzzzzzzzz"));  // digits are not checked
    EXPECT_FALSE(NodeNumberLengthOk("00000000000"));
    EXPECT_FALSE(NodeNumberLengthOk("0000000000000"));
    EXPECT_FALSE(NodeNumberLengthOk(""));
    EXPECT_TRUE(NodeNumberLengthOk("０００００００００００Ａ"));
}

TEST(HostsFile, SecondWordOfEveryLineButFirstColumnComments) {
    test::TempDir dir;
    std::string path = dir.Write("hosts", ToCp932("127.0.0.1 localhost loopback\r\n"
                                                  "# 10.0.0.1 commented\r\n"
                                                  "   # spaced out\n"
                                                  "\n"
                                                  "192.0.2.5\n"
                                                  "192.0.2.6 \n"
                                                  "192.0.2.7\tgame-server\n"
                                                  "127.0.0.1 localhost\n"
                                                  "10.1.1.1 サーバー"));
    EXPECT_EQ(ReadHostNames(path),
              (std::vector<std::string>{"localhost", "spaced", "game-server", "localhost", "サーバー"}));
    EXPECT_TRUE(ReadHostNames(dir.Path("missing")).empty());
    EXPECT_TRUE(ReadHostNames(dir.path()).empty());  // a folder cannot be read as a file
}

TEST(HostsFile, PathComesFromTheSocketsLayerWithTheOsKind) {
    test::LoopbackSockets sockets;
    sockets.hostsPath = "/tmp/elsewhere/hosts";
    EXPECT_EQ(HostsFilePath(95), "/tmp/elsewhere/hosts");
    EXPECT_EQ(sockets.lastOsKind, 95);
}

TEST(HostsFile, LinuxKeepsItInEtc) { EXPECT_EQ(LinuxSockets().HostsFilePath(95), "/etc/hosts"); }

}  // namespace
}  // namespace zv
