#include "config/launcher_settings.h"

#include <gtest/gtest.h>

#include "config/char_assoc.h"
#include "config/codec.h"
#include "config/file_io.h"
#include "support/fault_env.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

const char kDefaultLaunchNuc[] =
    "(define protocol \"TCP/IP\")\r\n"
    "(define hostname \"localhost\")\r\n"
    "(define port \"4112\")\r\n"
    "(define nodenum \"000000000000\")\r\n"
    "(define socknum \"2FFF\")\r\n"
    "(define servertonpu 1)\r\n"
    "(define serverhaihu 1)\r\n"
    "(define clienthaihu 1)\r\n"
    "(define zelvan1tonpu 1)\r\n"
    "(define zelvan1haihu 1)\r\n"
    "(define launchpage 0)\r\n"
    "(define execdlg_server 1)\r\n"
    "(define execdlg_auto 1)\r\n"
    "(define execdlg_client 1)\r\n"
    "(define execdlg_zelvan1 1)\r\n"
    "(define launchleft 50)\r\n"
    "(define launchtop 50)\r\n"
    "(define bgm \"jan#7.mid\")\r\n"
    "(define playbgm 1)\r\n"
    "(define liststyle \"normal\")\r\n"
    "(define autononterm 1)\r\n"
    "(define clienttalk 1)\r\n"
    "(define player1 \"_todo\")\r\n"
    "(define player2 \"_min\")\r\n"
    "(define player3 \"_wizard\")\r\n"
    "(define auto1 \"auto\")\r\n"
    "(define auto2 \"auto\")\r\n"
    "(define auto3 \"auto\")\r\n"
    "(define auto4 \"auto\")\r\n"
    "(define readhosts 1)\r\n"
    "(define readface 1)\r\n"
    "(define real1 0)\r\n"
    "(define real4 0)\r\n"
    "(define kanji \"euc\")\r\n"
    "(define zv1form \"small\")\r\n"
    "(define zv4form \"small\")\r\n"
    "(define count 0)\r\n"
    "(define hicolorchar 1)\r\n"
    "(define charassoc ( ))\r\n"
    "(define resident 0)\r\n";

class LaunchNucTest : public ::testing::Test {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    void SetUp() override {
        settings.UserDir = dir.path();
        SetCharAssocDialogText(std::nullopt);
    }

    LauncherSettings ReadBack() {
        LauncherSettings read;
        read.UserDir = dir.path();
        ReadLauncherSettings(read);
        return read;
    }

    test::TempDir dir;
    LauncherSettings settings;
    RecordingDialogs dialogs;
};

TEST_F(LaunchNucTest, DefaultsAreWrittenByteForByte) {
    WriteLauncherSettings(settings, dialogs);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(dir.Read("launch.nuc"), kDefaultLaunchNuc);
}

TEST_F(LaunchNucTest, MissingFileKeepsDefaults) {
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.protocol, "TCP/IP");
    EXPECT_EQ(read.launchleft, 50);
}

TEST_F(LaunchNucTest, OnlyAPortFormChangesOnlyThePort) {
    dir.Write("launch.nuc", "(define port \"5000\")\r\n");
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.port, "5000");
    read.port = "4112";
    WriteLauncherSettings(read, dialogs);
    EXPECT_EQ(dir.Read("launch.nuc"), kDefaultLaunchNuc);
}

TEST_F(LaunchNucTest, QuotedCountUnknownAndCapitalisedKeys) {
    dir.Write("launch.nuc",
              "(define count \"17\")\n(define futurekey \"x\")\n(define PORT \"1\")\n"
              "(define launchleft -20)\n(define count \"18\")\n");
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.count, 18);  // quoted, and the later form wins
    EXPECT_EQ(read.port, "4112");
    EXPECT_EQ(read.launchleft, -20);
    WriteLauncherSettings(read, dialogs);
    std::string written = dir.Read("launch.nuc");
    EXPECT_EQ(written.find("futurekey"), std::string::npos);
    EXPECT_NE(written.find("(define launchleft -20)\r\n"), std::string::npos);
}

TEST_F(LaunchNucTest, PowerUpSwitchIsStoredOnlyWhileOn) {
    settings.powerup_edition = 1;
    settings.count = 7;
    WriteLauncherSettings(settings, dialogs);
    std::string written = dir.Read("launch.nuc");
    EXPECT_EQ(written.substr(written.size() - 28), "(define powerup_edition 1)\r\n");
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.powerup_edition, 1);
    EXPECT_EQ(read.count, 7);
    EXPECT_EQ(LaunchNucLines(read), LaunchNucLines(settings));

    // Switched off again, the file is the one written before the switch.
    read.powerup_edition = 0;
    read.count = 0;
    WriteLauncherSettings(read, dialogs);
    EXPECT_EQ(dir.Read("launch.nuc"), kDefaultLaunchNuc);
    EXPECT_EQ(ReadBack().powerup_edition, 0);
}

TEST_F(LaunchNucTest, KeysAfterAnUnknownOneAreStillRead) {
    // What a reader that does not know the switch sees: a form it skips,
    // with the known keys around it intact.
    dir.Write("launch.nuc",
              "(define count 3)\r\n(define laterkey (1 (2 \"3\")))\r\n(define port \"99\")\r\n");
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.count, 3);
    EXPECT_EQ(read.port, "99");
    EXPECT_EQ(read.powerup_edition, 0);
}

TEST_F(LaunchNucTest, StartCountStopsAtItsLargestValue) {
    EXPECT_EQ(NextStartCount(0), 1);
    EXPECT_EQ(NextStartCount(-1), 0);
    EXPECT_EQ(NextStartCount(2147483646), 2147483647);
    EXPECT_EQ(NextStartCount(2147483647), 2147483647);

    // The largest count is read, counted and written back as it is.
    dir.Write("launch.nuc", "(define count 2147483647)\r\n");
    LauncherSettings read = ReadBack();
    read.count = NextStartCount(read.count);
    WriteLauncherSettings(read, dialogs);
    EXPECT_NE(dir.Read("launch.nuc").find("(define count 2147483647)\r\n"), std::string::npos);
    EXPECT_EQ(ReadBack().count, 2147483647);
}

TEST_F(LaunchNucTest, MalformedContentKeepsWhatWasReadBefore) {
    dir.Write("launch.nuc", "(define port \"1\")\n) (define hostname \"h\")\n");
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.port, "1");
    EXPECT_EQ(read.hostname, "localhost");
}

TEST_F(LaunchNucTest, JapaneseTextsAreCp932OnDisk) {
    settings.bgm = "音楽/ﾌｧｲﾙ〜.mid";
    WriteLauncherSettings(settings, dialogs);
    std::string written = dir.Read("launch.nuc");
    EXPECT_NE(written.find(ToCp932("(define bgm \"音楽/ﾌｧｲﾙ～.mid\")\r\n")), std::string::npos);
    EXPECT_EQ(ReadBack().bgm, "音楽/ﾌｧｲﾙ～.mid");
}

TEST_F(LaunchNucTest, EveryRecordWithoutQuotesReadsBackEqual) {
    settings.protocol = "IPX/SPX";
    settings.hostname = "host with blanks";
    settings.port = "";
    settings.servertonpu = 0;
    settings.launchleft = -2147483647 - 1;
    settings.launchtop = 2147483647;
    settings.bgm = "C:\\music\\jan#7.mid";
    settings.player1 = "(paren) # hash";
    settings.kanji = "sjis";
    settings.count = 5000;
    NucOpen("((\"_todo\" \"prog.exe\") (\"b\" \"c\"))");
    settings.charassoc = NucRead();
    WriteLauncherSettings(settings, dialogs);
    LauncherSettings read = ReadBack();
    EXPECT_EQ(LaunchNucLines(read), LaunchNucLines(settings));
    std::string program;
    NucLookup(read.charassoc, "_todo", program);
    EXPECT_EQ(program, "prog.exe");
}

TEST_F(LaunchNucTest, QuoteInATextCannotSpoilOtherKeys) {
    EXPECT_FALSE(IsStorableText("a\"b"));
    EXPECT_TRUE(IsStorableText("a b"));
    settings.hostname = "evil\") (define port \"1";
    settings.player1 = "x\"";
    WriteLauncherSettings(settings, dialogs);
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.hostname, "evil");
    EXPECT_EQ(read.port, "4112");
    EXPECT_EQ(read.player1, "x");
    EXPECT_EQ(read.player2, "_min");
    EXPECT_EQ(read.resident, 0);
}

TEST_F(LaunchNucTest, CharAssocTextFromFileAndFromDialog) {
    NucOpen("((\"a\" \"p\") (\"b\" \"\") (\"c\" \"q\"))");
    const NucNode* list = NucRead();
    EXPECT_EQ(CharAssocText(list), "( (\"a\" \"p\")  (\"c\" \"q\")  )");
    EXPECT_EQ(CharAssocText(nullptr), "( )");
    SetCharAssocDialogText(CharAssocTextFromRows({{"x", "y"}, {"z", ""}}));
    EXPECT_EQ(CharAssocText(list), "( (\"x\" \"y\") )");
    SetCharAssocDialogText(std::nullopt);
}

TEST_F(LaunchNucTest, FailedSavesKeepTheOldFileAndReport) {
    dir.Write("launch.nuc", "old content");
    faults.Inject(SaveFault::Write);
    WriteLauncherSettings(settings, dialogs);
    EXPECT_EQ(dir.Read("launch.nuc"), "old content");
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts,
              (std::vector<std::string>{dir.Path("launch.nuc"), "ファイルを書き出し時にエラーです", ""}));

    faults.Inject(SaveFault::Rename);
    WriteLauncherSettings(settings, dialogs);
    EXPECT_EQ(dir.Read("launch.nuc"), "old content");

    faults.Inject(SaveFault::None);
    settings.UserDir = dir.Path("missing-folder");
    WriteLauncherSettings(settings, dialogs);
    EXPECT_EQ(dialogs.Of("error").back().texts[1], "ファイルをオープンできません");
}

}  // namespace
}  // namespace zv
