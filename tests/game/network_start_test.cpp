#include "game/network_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "config/launcher_settings.h"
#include "config/nuclear.h"
#include "support/arg_records.h"
#include "support/fake_platform.h"
#include "support/recording_dialogs.h"
#include "support/recording_starter.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using Words = std::vector<std::string>;

// The settings of the worked examples: user guest in /GAME/.
LauncherSettings Example() {
    LauncherSettings settings;
    settings.UserName = "guest";
    settings.UserDir = "/GAME/usr/guest";
    settings.LayoutOption = " -T large ";
    return settings;
}

// A charassoc list as launch.nuc holds it.
const NucNode* AssocList(const char* text) {
    NucOpen(text);
    return NucRead();
}

TEST(ServerCommandTest, ExampleLineWithItsBlanks) {
    LauncherSettings settings = Example();
    settings.resident = 1;
    EXPECT_EQ(ServerCommandLine(settings),
              "zvserver.exe -p 4112 -Q  -l \"/GAME/usr/guest/server.fu\" -B \"/GAME/usr/guest\" -X ");
}

TEST(ServerCommandTest, OtherProtocolsSendTheSocketNumberAfterS) {
    LauncherSettings settings = Example();
    for (const char* protocol : {"IPX/SPX", "NetBEUI", "tcp/ip", ""}) {
        settings.protocol = protocol;
        EXPECT_EQ(ServerCommandLine(settings),
                  "zvserver.exe -S  -p 2FFF -Q  -l \"/GAME/usr/guest/server.fu\" -B \"/GAME/usr/guest\"")
            << protocol;
    }
}

TEST(ServerCommandTest, OnlyTheValueOneSwitchesOptionsOn) {
    LauncherSettings settings = Example();
    settings.serverhaihu = 0;
    EXPECT_EQ(ServerCommandLine(settings), "zvserver.exe -p 4112 -Q  -B \"/GAME/usr/guest\"");
    settings.servertonpu = 2;
    settings.serverhaihu = 2;
    settings.resident = 2;
    settings.port = "5000";
    EXPECT_EQ(ServerCommandLine(settings), "zvserver.exe -p 5000 -H  -B \"/GAME/usr/guest\"");
}

TEST(ClientCommandTest, ExampleLineWithItsBlanks) {
    EXPECT_EQ(ClientCommandLine(Example()),
              "zvclient.exe  -T large  -B \"/GAME/usr/guest\" -c  -n guest -p 4112 -h localhost"
              " -l \"/GAME/usr/guest/client.fu\" -C  -k ");
}

TEST(ClientCommandTest, OtherProtocolsRealTilesAndSwitchesOff) {
    LauncherSettings settings = Example();
    settings.protocol = "NetBEUI";
    settings.nodenum = "0A0B0C0D0E0F";
    settings.socknum = "1234";
    settings.real4 = 1;
    settings.LayoutOption = " -T small4 ";
    EXPECT_EQ(ClientCommandLine(settings),
              "rclient.exe  -T small4  -B \"/GAME/usr/guest\" -c  -n guest -p 1234 -h 0A0B0C0D0E0F -S "
              " -l \"/GAME/usr/guest/client.fu\" -C  -k ");

    // No record, no talk and no EUC: the line ends with -S ...
    settings.clienthaihu = 0;
    settings.clienttalk = 0;
    settings.real4 = 2;
    for (const char* kanji : {"shiftjis", "unicode", "EUC", ""}) {
        settings.kanji = kanji;
        EXPECT_EQ(ClientCommandLine(settings),
                  "zvclient.exe  -T small4  -B \"/GAME/usr/guest\" -c  -n guest -p 1234 -h 0A0B0C0D0E0F -S ")
            << kanji;
    }
    // ... or with the host name for TCP/IP.
    settings.protocol = "TCP/IP";
    settings.hostname = "127.0.0.1";
    EXPECT_EQ(ClientCommandLine(settings),
              "zvclient.exe  -T small4  -B \"/GAME/usr/guest\" -c  -n guest -p 4112 -h 127.0.0.1");
}

TEST(AutoPlayerCommandTest, ExampleLineUsesTheCharactersDirectory) {
    EXPECT_EQ(AutoPlayerCommandLine(Example(), "/GAME/", "auto"),
              "zvauto.exe -n auto -p 4112 -h localhost -B \"/GAME/usr/auto\" -X  -k ");
}

TEST(AutoPlayerCommandTest, IpxSendsSocketAndNodeAfterS) {
    LauncherSettings settings = Example();
    settings.protocol = "IPX/SPX";
    settings.nodenum = "00112233AABB";
    settings.autononterm = 0;
    settings.kanji = "shiftjis";
    EXPECT_EQ(AutoPlayerCommandLine(settings, "/GAME/", "_min"),
              "zvauto.exe -n _min -S  -p 2FFF -h 00112233AABB -B \"/GAME/usr/_min\"");
    settings.autononterm = 2;
    EXPECT_EQ(AutoPlayerCommandLine(settings, "/GAME/", "_min"),
              "zvauto.exe -n _min -S  -p 2FFF -h 00112233AABB -B \"/GAME/usr/_min\"");
}

TEST(AutoPlayerCommandTest, AssociatedProgramReplacesTheComputerPlayer) {
    LauncherSettings settings = Example();
    settings.charassoc = AssocList(R"((("_min" "mybot.exe") ("auto" "") ("_todo" "other.exe")))");
    ASSERT_NE(settings.charassoc, nullptr);
    EXPECT_EQ(AutoPlayerCommandLine(settings, "/GAME/", "_min"),
              "mybot.exe -n _min -p 4112 -h localhost -B \"/GAME/usr/_min\" -X  -k ");
    EXPECT_EQ(AutoPlayerProgram(settings, "_todo"), "other.exe");
    // An empty association and a name that only differs in case keep zvauto.exe.
    EXPECT_EQ(AutoPlayerProgram(settings, "auto"), "zvauto.exe");
    EXPECT_EQ(AutoPlayerProgram(settings, "_MIN"), "zvauto.exe");
    settings.charassoc = nullptr;
    EXPECT_EQ(AutoPlayerProgram(settings, "_min"), "zvauto.exe");
}

TEST(NetworkHostTextTest, ByProtocolWhenOpenedAndAfterTheSettings) {
    LauncherSettings settings = Example();
    settings.hostname = "server1";
    settings.nodenum = "0000AAAA0000";
    struct Row {
        const char* protocol;
        std::string clientOpen, autoOpen, after;
    };
    for (const Row& row : {Row{"TCP/IP", "server1", "server1", "server1"},
                           Row{"IPX/SPX", "0000AAAA0000", "0000AAAA0000", "0000AAAA0000"},
                           Row{"NetBEUI", "0000AAAA0000", "not available", "not available"},
                           Row{"AppleTalk", "0000AAAA0000", "0000AAAA0000", "kept"}}) {
        settings.protocol = row.protocol;
        EXPECT_EQ(ClientHostOnOpen(settings), row.clientOpen) << row.protocol;
        EXPECT_EQ(AutoHostOnOpen(settings), row.autoOpen) << row.protocol;
        EXPECT_EQ(HostAfterSettings(settings, "kept"), row.after) << row.protocol;
    }
}

TEST(StartSummaryTest, DefaultsAndEveryPiece) {
    LauncherSettings settings;
    StartSummaries summaries = StartSettingsSummaries(settings);
    EXPECT_EQ(summaries.server, "東風戦 牌譜をとる  TCP/IP localhost 4112");
    EXPECT_EQ(summaries.client, "TCP/IP localhost 4112");
    EXPECT_EQ(summaries.autoPlayer, "TCP/IP localhost 4112");
    EXPECT_EQ(summaries.zelvan1, "東風戦 牌譜をとる ");

    settings.protocol = "IPX/SPX";
    settings.servertonpu = 0;
    settings.serverhaihu = 2;
    settings.zelvan1tonpu = 2;
    settings.zelvan1haihu = 0;
    settings.real1 = 1;
    settings.real4 = 1;
    summaries = StartSettingsSummaries(settings);
    EXPECT_EQ(summaries.server, "東南戦 牌譜をとらない  IPX/SPX 0 000000000000 2FFF");
    EXPECT_EQ(summaries.client, "IPX/SPX 0 000000000000 2FFF リアルな牌");
    EXPECT_EQ(summaries.zelvan1, "東南戦 牌譜をとらない  リアルな牌");

    settings.protocol = "NetBEUI";
    settings.real4 = 0;
    summaries = StartSettingsSummaries(settings);
    EXPECT_EQ(summaries.server, "東南戦 牌譜をとらない  ");
    EXPECT_EQ(summaries.client, "");
    EXPECT_EQ(summaries.autoPlayer, "");
}

TEST(AutoPlaceTest, PlacesAreTheFourSettings) {
    LauncherSettings settings;
    for (int place = 0; place < 4; ++place) AutoPlace(settings, place) = "c" + std::to_string(place);
    EXPECT_EQ(Words({settings.auto1, settings.auto2, settings.auto3, settings.auto4}),
              Words({"c0", "c1", "c2", "c3"}));
}

// The starts hand the lines to the program starter with each engine's show
// mode; a failed start is reported.
class NetworkStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installDir = "/GAME/";
        Settings() = Example();
    }
    void TearDown() override { Settings() = LauncherSettings{}; }

    test::FakePlatform platform;
    test::RecordingStarter starter;
    RecordingDialogs dialogs;
};

TEST_F(NetworkStartTest, EachEngineStartsWithItsShowMode) {
    StartGameServer(dialogs);
    StartNetworkClient(dialogs);
    EXPECT_TRUE(StartSucceeded(StartAutoPlayer(dialogs, "_wizard")));
    ASSERT_EQ(starter.starts.size(), 3u);
    EXPECT_EQ(starter.starts[0].commandLine, ServerCommandLine(Settings()));
    EXPECT_EQ(starter.starts[0].showMode, 7);
    EXPECT_EQ(starter.starts[1].commandLine, ClientCommandLine(Settings()));
    EXPECT_EQ(starter.starts[1].showMode, 5);
    EXPECT_EQ(starter.starts[2].commandLine,
              "zvauto.exe -n _wizard -p 4112 -h localhost -B \"/GAME/usr/_wizard\" -X  -k ");
    EXPECT_EQ(starter.starts[2].showMode, 6);
    EXPECT_TRUE(dialogs.calls.empty());

    starter.result = kStartFileNotFound;
    EXPECT_FALSE(StartSucceeded(StartAutoPlayer(dialogs, "auto")));
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[2], "ファイルが見つかりません");
}

TEST_F(NetworkStartTest, ConfirmationDeclinedStartsNothing) {
    Settings().ConfirmCommands = true;
    dialogs.yesNoAnswers = {false};
    StartGameServer(dialogs);
    EXPECT_TRUE(starter.starts.empty());
    ASSERT_EQ(dialogs.Of("yesno").size(), 1u);
    EXPECT_EQ(dialogs.Of("yesno")[0].texts[1], ServerCommandLine(Settings()));
}

// The engines receive the quoted directories as single arguments: the
// recorder stands in for the engine in a real installation folder.
TEST(NetworkEngineArgumentsTest, EnginesGetTheirArgumentsAndShowModes) {
    test::TempDir install;
    test::TempDir scratch;
    test::FakePlatform platform;
    platform.installDir = install.path() + "/";
    std::string out = scratch.Path("records.txt");
    ::setenv("ARGRECORDER_OUT", out.c_str(), 1);
    for (const char* engine : {"zvserver", "zvclient", "zvauto"})
        std::filesystem::copy_file(ZV_ARGRECORDER_PATH, install.Path(engine));

    Settings() = LauncherSettings{};
    Settings().UserName = "guest";
    Settings().UserDir = install.path() + "/usr/gu est";
    Settings().LayoutOption = " -T small ";
    Settings().resident = 1;
    RecordingDialogs dialogs;
    ASSERT_TRUE(StartSucceeded(StartGameServer(dialogs)));
    auto records = test::WaitForArgRecords(out, 1);
    ASSERT_TRUE(StartSucceeded(StartNetworkClient(dialogs)));
    records = test::WaitForArgRecords(out, 2);
    ASSERT_TRUE(StartSucceeded(StartAutoPlayer(dialogs, "_todo")));
    records = test::WaitForArgRecords(out, 3);
    ::unsetenv("ARGRECORDER_OUT");
    Settings() = LauncherSettings{};

    ASSERT_EQ(records.size(), 3u);
    const std::string user = install.path() + "/usr/gu est";
    EXPECT_EQ(records[0].args,
              (Words{"zvserver.exe", "-p", "4112", "-Q", "-l", user + "/server.fu", "-B", user, "-X"}));
    EXPECT_EQ(records[0].show, "7");
    EXPECT_EQ(records[1].args, (Words{"zvclient.exe", "-T", "small", "-B", user, "-c", "-n", "guest", "-p",
                                      "4112", "-h", "localhost", "-l", user + "/client.fu", "-C", "-k"}));
    EXPECT_EQ(records[1].show, "5");
    EXPECT_EQ(records[2].args, (Words{"zvauto.exe", "-n", "_todo", "-p", "4112", "-h", "localhost", "-B",
                                      install.path() + "/usr/_todo", "-X", "-k"}));
    EXPECT_EQ(records[2].show, "6");
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace zv
