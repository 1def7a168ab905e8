#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "config/char_assoc.h"
#include "game/gui/auto_launch_box.h"
#include "game/gui/click_label.h"
#include "game/gui/client_box.h"
#include "game/gui/custom_exec.h"
#include "game/gui/server_box.h"
#include "game/gui/zelvan1_box.h"
#include "game/network_start.h"
#include "net/gui/protocol_box.h"
#include "net/gui/search_server_box.h"
#include "net/protocol_settings.h"
#include "rules/gui/char_assoc_box.h"
#include "rules/gui/char_select_box.h"
#include "rules/gui/characters.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

using test::WhenModal;

class NetworkBoxesTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        Settings().UserName = "guest";
        Settings().UserDir = UserDir();
        NextAutoSlot = 0;
        ResetCharAssocBoxForTests();
    }
    void TearDown() override {
        NextAutoSlot = 0;
        ResetCharAssocBoxForTests();
        SetCharSelectCallback(nullptr);
        LauncherFixture::TearDown();
    }

    void SaveFace(const std::string& path, Qt::GlobalColor colour) {
        QImage face(48, 48, QImage::Format_RGB32);
        face.fill(colour);
        dir.Write(path, "");
        ASSERT_TRUE(face.save(QString::fromStdString(dir.Path(path)), "BMP"));
    }

    std::string Install() const { return dir.path() + "/"; }

    // Sends a left click (press and release) to a widget, or a double click
    // (a click, then the second press and its release).
    static void Click(QWidget* widget, bool twice = false) {
        QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QPointF global = widget->mapToGlobal(at);
        auto send = [&](QEvent::Type type) {
            QMouseEvent event(type, at, global, Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        };
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        if (!twice) return;
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    }
};

// Closes the network settings with neither protocol checked.
void KeepProtocol(TProtocolBox* protocol) {
    for (QRadioButton* radio : {protocol->tcpip, protocol->ipxspx}) {
        radio->setAutoExclusive(false);
        radio->setChecked(false);
    }
    protocol->close();
}

// --- Game server ---------------------------------------------------------

TEST_F(NetworkBoxesTest, ServerBoxShowsTheProtocolAndStartsTheServerMinimised) {
    Settings().protocol = "IPX/SPX";
    Settings().resident = 2;  // any non-zero value checks the box
    auto box = std::make_unique<TServerBox>(nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("麻雀  ゲームサーバの起動"));
    EXPECT_EQ(box->Protocol->text(), QStringLiteral("IPX/SPX"));
    EXPECT_TRUE(box->ResidentCheckBox->isChecked());
    EXPECT_EQ(box->CancelButton->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(box->Port->title(), QStringLiteral("設定"));

    box->OKButton->click();
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_EQ(Settings().resident, 1);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine,
              "zvserver.exe -S  -p 2FFF -Q  -l \"" + UserDir() + "/server.fu\" -B \"" + UserDir() + "\" -X ");
    EXPECT_EQ(starter.starts[0].showMode, 7);
}

TEST_F(NetworkBoxesTest, ServerBoxStoresTheResidentBoxHoweverClosed) {
    Settings().resident = 1;
    {
        TServerBox box(nullptr);
        box.ResidentCheckBox->click();
        box.CancelButton->click();
    }
    EXPECT_EQ(Settings().resident, 0);
    {
        TServerBox box(nullptr);
        box.show();
        box.ResidentCheckBox->click();
        box.close();  // the title bar's close box
    }
    EXPECT_EQ(Settings().resident, 1);
    EXPECT_TRUE(starter.starts.empty());

    // A server that cannot start is reported; the dialog closes all the same.
    starter.result = kStartFileNotFound;
    Settings().serverhaihu = 0;
    TServerBox box(nullptr);
    box.ResidentCheckBox->click();
    box.OKButton->click();
    EXPECT_EQ(Settings().resident, 0);
    EXPECT_EQ(box.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, "zvserver.exe -p 4112 -Q  -B \"" + UserDir() + "\"");
}

TEST_F(NetworkBoxesTest, ServerMenusEditTheServerRecordAndTheServerSettings) {
    TServerBox box(nullptr);
    test::WhenShown("TMajOptionBox", [](QWidget* option) {
        auto* check = test::Child<QCheckBox>(option, "haifubutton");
        EXPECT_TRUE(check->isChecked());
        check->click();
        test::Child<QPushButton>(option, "OKbutton")->click();
    });
    box.haifu->trigger();
    EXPECT_EQ(Settings().serverhaihu, 0);
    EXPECT_EQ(Settings().zelvan1haihu, 1);
    EXPECT_EQ(Settings().clienthaihu, 1);

    int mode = -1;
    QString title;
    WhenModal<TProtocolBox>([&](TProtocolBox* protocol) {
        mode = ProtocolBoxMode();
        title = protocol->what->text();
        EXPECT_EQ(protocol->parentWidget(), &box);
        protocol->ipxspx->setChecked(true);
        protocol->OKButton->click();
    });
    box.NetworkMenu->trigger();
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(title, QStringLiteral("ゲームサーバー"));
    EXPECT_EQ(Settings().protocol, "IPX/SPX");
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("IPX/SPX"));
    EXPECT_TRUE(starter.starts.empty());
}

// --- Network client ------------------------------------------------------

TEST_F(NetworkBoxesTest, ClientBoxShowsUserProtocolAndAddress) {
    Settings().hostname = "127.0.0.1";
    Settings().clienttalk = 2;
    Settings().real4 = 1;
    {
        TClientBox box(nullptr);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  ネットワーク対戦"));
        EXPECT_EQ(box.UserName->text(), QStringLiteral("guest"));
        EXPECT_EQ(box.Protocol->text(), QStringLiteral("TCP/IP"));
        EXPECT_EQ(box.Host->text(), QStringLiteral("127.0.0.1"));
        EXPECT_FALSE(box.Communication->isChecked());  // only 1 checks it
        EXPECT_TRUE(box.RealPai->isChecked());
        EXPECT_FALSE(box.RealPai->isVisible());
        EXPECT_TRUE(box.Communication->isVisible());
        EXPECT_EQ(box.Host->toolTip(), QStringLiteral("ﾒﾆｭｰのﾈｯﾄﾜｰｸの設定から行ってください"));
    }
    Settings().protocol = "NetBEUI";
    Settings().nodenum = "0A0B0C0D0E0F";
    TClientBox box(nullptr);
    EXPECT_EQ(box.Host->text(), QStringLiteral("0A0B0C0D0E0F"));
}

TEST_F(NetworkBoxesTest, ClientSettingsChangeTheShownAddressByProtocol) {
    Settings().protocol = "NetBEUI";
    TClientBox box(nullptr);
    EXPECT_EQ(box.Host->text(), QStringLiteral("000000000000"));

    // The settings dialog offers two protocols; with neither of them
    // checked it leaves any other protocol as it was.
    QString title;
    WhenModal<TProtocolBox>([&](TProtocolBox* protocol) {
        EXPECT_EQ(ProtocolBoxMode(), 0);
        title = protocol->what->text();
        KeepProtocol(protocol);
    });
    box.NetworkMenu->trigger();
    EXPECT_EQ(title, QStringLiteral("ユーザクライアントプログラム"));
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("NetBEUI"));
    EXPECT_EQ(box.Host->text(), QStringLiteral("not available"));

    // A click on the address opens the same settings.
    WhenModal<TProtocolBox>([&](TProtocolBox* protocol) {
        protocol->tcpip->setChecked(true);
        protocol->TcpipHostName->setEditText(QStringLiteral("127.0.0.2"));
        protocol->OKButton->click();
    });
    Click(box.Host);
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("TCP/IP"));
    EXPECT_EQ(box.Host->text(), QStringLiteral("127.0.0.2"));

    WhenModal<TProtocolBox>([&](TProtocolBox* protocol) {
        protocol->ipxspx->setChecked(true);
        protocol->NodeNumber->setText(QStringLiteral("00112233AABB"));
        protocol->OKButton->click();
    });
    box.NetworkMenuClick();
    EXPECT_EQ(box.Host->text(), QStringLiteral("00112233AABB"));

    // An unknown protocol keeps the address shown.
    Settings().protocol = "AppleTalk";
    WhenModal<TProtocolBox>(KeepProtocol);
    box.NetworkMenuClick();
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("AppleTalk"));
    EXPECT_EQ(box.Host->text(), QStringLiteral("00112233AABB"));
}

TEST_F(NetworkBoxesTest, ClientTalkSwitchAndStart) {
    Settings().LayoutOption = " -T large ";
    auto box = std::make_unique<TClientBox>(nullptr);
    EXPECT_TRUE(box->Communication->isChecked());
    box->Communication->trigger();
    EXPECT_FALSE(box->Communication->isChecked());
    EXPECT_EQ(Settings().clienttalk, 0);
    box->Communication->trigger();
    EXPECT_EQ(Settings().clienttalk, 1);

    box->OKButton->click();
    EXPECT_EQ(box->result(), QDialog::Accepted);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, "zvclient.exe  -T large  -B \"" + UserDir() +
                                                 "\" -c  -n guest -p 4112 -h localhost -l \"" + UserDir() +
                                                 "/client.fu\" -C  -k ");
    EXPECT_EQ(starter.starts[0].showMode, 5);

    // Cancel starts nothing; a failed start still closes.
    box = std::make_unique<TClientBox>(nullptr);
    box->CancelButton->click();
    EXPECT_EQ(starter.starts.size(), 1u);
    starter.result = kStartBadProgram;
    box = std::make_unique<TClientBox>(nullptr);
    box->OKButton->click();
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
}

TEST_F(NetworkBoxesTest, FoundServerIsShownButNotStored) {
    TClientBox box(nullptr);
    WhenModal<TSearchServerBox>([](TSearchServerBox* search) {
        search->ServerListBox->addItem(QStringLiteral("127.0.0.9"));
        search->OKButton->click();
    });
    box.SearchServerMenuClick();
    EXPECT_EQ(box.Host->text(), QStringLiteral("127.0.0.9"));
    EXPECT_EQ(Settings().hostname, "localhost");

    // Nothing chosen: the address stays.
    WhenModal<TSearchServerBox>([](TSearchServerBox* search) { search->CancelButton->click(); });
    box.SearchServerMenuClick();
    EXPECT_EQ(box.Host->text(), QStringLiteral("127.0.0.9"));

    box.OKButton->click();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_NE(starter.starts[0].commandLine.find(" -h localhost "), std::string::npos);
}

// --- Computer players ----------------------------------------------------

TEST_F(NetworkBoxesTest, AutoBoxShowsTheFourCharactersAndTheAddress) {
    Settings().auto2 = "_min";
    Settings().auto4 = "_todo";
    Settings().autononterm = 2;
    Settings().protocol = "NetBEUI";
    SaveFace("usr/_min/_min.bmp", Qt::red);
    SaveFace("usr/_default/_default.bmp", Qt::blue);
    dir.Write("usr/_min/_min.cha", "about min\r\nmore\r\n");
    TAutoLaunchBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  コンピュータプレーヤの起動"));
    EXPECT_EQ(box.player1->text(), QStringLiteral("auto"));
    EXPECT_EQ(box.player2->text(), QStringLiteral("_min"));
    EXPECT_EQ(box.player4->text(), QStringLiteral("_todo"));
    EXPECT_EQ(box.Image2->toolTip(), QStringLiteral("about min"));
    EXPECT_EQ(box.Image1->toolTip(), QString());
    EXPECT_EQ(box.Image2->pixmap().toImage().pixelColor(24, 24), QColor(Qt::red));
    EXPECT_EQ(box.Image3->pixmap().toImage().pixelColor(24, 24), QColor(Qt::blue));  // the shared face
    EXPECT_FALSE(box.NonTerminate->isChecked());
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("NetBEUI"));
    EXPECT_EQ(box.Host->text(), QStringLiteral("not available"));
    EXPECT_EQ(box.Port->title(), QStringLiteral("オプション"));
    EXPECT_EQ(box.M1->title(), QStringLiteral("キャラクタ"));

    box.NonTerminate->click();
    EXPECT_EQ(Settings().autononterm, 1);
    box.NonTerminate->click();
    EXPECT_EQ(Settings().autononterm, 0);
}

TEST_F(NetworkBoxesTest, EachClickOnAPictureStartsOnePlayerMinimised) {
    Settings().auto3 = "_wizard";
    Settings().charassoc = [] {
        NucOpen(R"((("_wizard" "wizbot.exe")))");
        return NucRead();
    }();
    TAutoLaunchBox box(nullptr);
    box.show();
    Click(box.Image1);
    Click(box.Image3, true);  // a double click: the click and the double click
    ASSERT_EQ(starter.starts.size(), 3u);
    EXPECT_EQ(starter.starts[0].commandLine,
              "zvauto.exe -n auto -p 4112 -h localhost -B \"" + Install() + "usr/auto\" -X  -k ");
    EXPECT_EQ(starter.starts[0].showMode, 6);
    const std::string wizard =
        "wizbot.exe -n _wizard -p 4112 -h localhost -B \"" + Install() + "usr/_wizard\" -X  -k ";
    EXPECT_EQ(starter.starts[1].commandLine, wizard);
    EXPECT_EQ(starter.starts[2].commandLine, wizard);

    // A failed start is reported and the dialog stays open for another try.
    starter.result = kStartFileNotFound;
    box.ImageClick(3);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(starter.starts.size(), 4u);
}

TEST_F(NetworkBoxesTest, FivePicksFillPlacesOneToFourThenOneAgain) {
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        dir.Write(std::string("usr/") + name + "/" + name + ".pf", "");
    dir.Write("usr/e/e.cha", "about e\r\n");
    auto pick = [](TCharSelectBox* select, const char* name) {
        select->ListView->setCurrentItem(select->ListView->findItems(name, Qt::MatchExactly).front());
    };
    OnAutoPlayerSelected("ignored");  // no dialog yet
    EXPECT_EQ(NextAutoSlot, 0);
    {
        TAutoLaunchBox box(nullptr);
        box.move(200, 100);
        QPoint placed;
        WhenModal<TCharSelectBox>([&](TCharSelectBox* select) {
            placed = select->pos();
            EXPECT_EQ(select->parentWidget(), &box);
            for (const char* name : {"a", "b", "c", "d", "e"}) pick(select, name);
            select->CancelButton->click();
        });
        box.CharSelectMenu->trigger();
        EXPECT_EQ(placed, QPoint(250, 150));
        EXPECT_EQ(box.player1->text(), QStringLiteral("e"));
        EXPECT_EQ(box.player2->text(), QStringLiteral("b"));
        EXPECT_EQ(box.player3->text(), QStringLiteral("c"));
        EXPECT_EQ(box.player4->text(), QStringLiteral("d"));
        EXPECT_EQ(box.Image1->toolTip(), QStringLiteral("about e"));
        box.ImageClick(0);
        EXPECT_EQ(starter.starts.back().commandLine.substr(0, 16), "zvauto.exe -n e ");
    }
    EXPECT_EQ(Settings().auto1, "e");
    EXPECT_EQ(Settings().auto2, "b");
    EXPECT_EQ(Settings().auto3, "c");
    EXPECT_EQ(Settings().auto4, "d");
    EXPECT_EQ(NextAutoSlot, 5);
    OnAutoPlayerSelected("gone");  // the dialog was freed
    EXPECT_EQ(Settings().auto2, "b");

    // The counter goes on in the next dialog.
    TAutoLaunchBox again(nullptr);
    WhenModal<TCharSelectBox>([&](TCharSelectBox* select) {
        pick(select, "f");
        select->close();
    });
    again.CharSelectMenuClick();
    EXPECT_EQ(again.player2->text(), QStringLiteral("f"));
    EXPECT_EQ(Settings().auto2, "f");
}

TEST_F(NetworkBoxesTest, AssociationsMadeInTheDialogApplyToTheNextStart) {
    NucOpen(R"((("x" "y")))");
    Settings().charassoc = NucRead();
    TAutoLaunchBox box(nullptr);
    box.ImageClick(0);
    WhenModal<TCharAssocBox>([&](TCharAssocBox* assoc) {
        EXPECT_EQ(assoc->pos(), box.pos() + QPoint(50, 50));
        EXPECT_EQ(assoc->Grid->item(0, 0)->text(), QStringLiteral("x"));
        assoc->Grid->item(0, 0)->setText("auto");
        assoc->Grid->item(0, 1)->setText("mybot");
        assoc->CloseButton->click();
    });
    box.CharAssocMenu->trigger();
    box.ImageClick(0);
    ASSERT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(starter.starts[0].commandLine.substr(0, 19), "zvauto.exe -n auto ");
    EXPECT_EQ(starter.starts[1].commandLine.substr(0, 14), "mybot -n auto ");
    EXPECT_EQ(AutoPlayerProgram(Settings(), "x"), "zvauto.exe");
    // What is written to launch.nuc is the same list.
    EXPECT_EQ(CharAssocText(Settings().charassoc), "( (\"auto\" \"mybot\") )");
}

TEST_F(NetworkBoxesTest, AutoNetworkSettingsUseTheirOwnTitle) {
    TAutoLaunchBox box(nullptr);
    QString title;
    WhenModal<TProtocolBox>([&](TProtocolBox* protocol) {
        EXPECT_EQ(ProtocolBoxMode(), 0);
        title = protocol->what->text();
        protocol->ipxspx->setChecked(true);
        protocol->NodeNumber->setText(QStringLiteral("AABBCCDDEEFF"));
        protocol->OKButton->click();
    });
    box.NetworkMenu->trigger();
    EXPECT_EQ(title, QStringLiteral("コンピュータプレーヤの呼び出し"));
    EXPECT_EQ(box.Protocol->text(), QStringLiteral("IPX/SPX"));
    EXPECT_EQ(box.Host->text(), QStringLiteral("AABBCCDDEEFF"));
    box.ImageClick(1);
    EXPECT_EQ(starter.starts[0].commandLine,
              "zvauto.exe -n auto -S  -p 2FFF -h AABBCCDDEEFF -B \"" + Install() + "usr/auto\" -X  -k ");
}

// --- Custom execution ----------------------------------------------------

TEST_F(NetworkBoxesTest, CustomExecShowsTheSummariesOfTheDefaults) {
    QWidget owner;
    owner.move(100, 120);
    bool shown = false;
    WhenModal<TCustomExec>([&](TCustomExec* box) {
        shown = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("麻雀  起動時のダイアログについて"));
        EXPECT_EQ(box->pos(), QPoint(150, 170));
        EXPECT_EQ(box->ServerInfo->text(), QStringLiteral("東風戦 牌譜をとる  TCP/IP localhost 4112"));
        EXPECT_EQ(box->ClientInfo->text(), QStringLiteral("TCP/IP localhost 4112"));
        EXPECT_EQ(box->AutoInfo->text(), QStringLiteral("TCP/IP localhost 4112"));
        EXPECT_EQ(box->Zelvan1Info->text(), QStringLiteral("東風戦 牌譜をとる "));
        for (QCheckBox* check :
             {box->CheckBoxServer, box->CheckBoxClient, box->CheckBoxAuto, box->CheckBoxZelvan1})
            EXPECT_TRUE(check->isChecked()) << check->objectName().toStdString();
        EXPECT_TRUE(box->HiColorCharCheckBox->isChecked());
        EXPECT_FALSE(box->HiColorCharCheckBox->isVisible());
        box->CheckBoxAuto->click();
        box->OKButton->click();
    });
    RunCustomExec(&owner);
    EXPECT_TRUE(shown);
    EXPECT_EQ(Settings().execdlg_server, 1);
    EXPECT_EQ(Settings().execdlg_client, 1);
    EXPECT_EQ(Settings().execdlg_auto, 0);
    EXPECT_EQ(Settings().execdlg_zelvan1, 1);
    EXPECT_EQ(Settings().hicolorchar, 1);
}

TEST_F(NetworkBoxesTest, CustomExecChecksOnlyOnesAndStoresWhenClosedByTheFrame) {
    Settings().execdlg_client = 2;
    Settings().execdlg_server = 0;
    Settings().execdlg_zelvan1 = -1;
    Settings().hicolorchar = 2;
    Settings().protocol = "NetBEUI";
    WhenModal<TCustomExec>([](TCustomExec* box) {
        EXPECT_FALSE(box->CheckBoxClient->isChecked());
        EXPECT_FALSE(box->CheckBoxServer->isChecked());
        EXPECT_FALSE(box->CheckBoxZelvan1->isChecked());
        EXPECT_TRUE(box->HiColorCharCheckBox->isChecked());
        EXPECT_EQ(box->AutoInfo->text(), QString());
        EXPECT_EQ(box->ClientInfo->text(), QString());
        EXPECT_EQ(box->ServerInfo->text(), QStringLiteral("東風戦 牌譜をとる  "));
        box->CheckBoxServer->click();
        box->close();
    });
    RunCustomExec(nullptr);
    EXPECT_EQ(Settings().execdlg_client, 0);
    EXPECT_EQ(Settings().execdlg_server, 1);
    EXPECT_EQ(Settings().execdlg_zelvan1, 0);
    EXPECT_EQ(Settings().execdlg_auto, 1);
    EXPECT_EQ(Settings().hicolorchar, 1);
}

// --- The main window's commands -------------------------------------------

using NetworkCommandsTest = NetworkBoxesTest;

TEST_F(NetworkCommandsTest, ServerCommandAndItsTwinOpenThePlacedDialog) {
    TLaunch window(launcherDialogs);
    int opened = 0;
    auto start = [&](TServerBox* box) {
        ++opened;
        EXPECT_EQ(box->parentWidget(), &window);
        EXPECT_EQ(box->pos(), window.pos() + QPoint(50, 50));
        box->OKButton->click();
    };
    WhenModal<TServerBox>(start);
    window.GameServerClick();
    WhenModal<TServerBox>(start);
    window.GameServerMenuClick();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(starter.starts.size(), 2u);
}

TEST_F(NetworkCommandsTest, ClientLayoutCommandsWithAndWithoutTheDialog) {
    TLaunch window(launcherDialogs);
    Settings().execdlg_client = 0;
    for (auto command : {&TLaunch::Standard4Click, &TLaunch::Small4Click, &TLaunch::Taku4Click,
                         &TLaunch::smalltaku4Click, &TLaunch::Standard4MenuClick, &TLaunch::Small4MenuClick,
                         &TLaunch::Taku4MenuClick, &TLaunch::SmallTaku4MenuClick})
        (window.*command)();
    std::vector<std::string> layouts;
    for (const auto& start : starter.starts) {
        EXPECT_EQ(start.showMode, 5);
        layouts.push_back(start.commandLine.substr(0, start.commandLine.find(" -B ")));
    }
    EXPECT_EQ(layouts, (std::vector<std::string>{"zvclient.exe  -T large ", "zvclient.exe  -T small ",
                                                 "zvclient.exe  -T large4 ", "zvclient.exe  -T small4 ",
                                                 "zvclient.exe  -T large ", "zvclient.exe  -T small ",
                                                 "zvclient.exe  -T large4 ", "zvclient.exe  -T small4 "}));

    // With the dialog (any non-zero value), its OK starts the same line.
    Settings().execdlg_client = 2;
    starter.starts.clear();
    WhenModal<TClientBox>([&](TClientBox* box) {
        EXPECT_EQ(box->pos(), window.pos() + QPoint(50, 50));
        box->OKButton->click();
    });
    window.Taku4Click();
    ASSERT_EQ(starter.starts.size(), 1u);
    const std::string line = starter.starts[0].commandLine;
    EXPECT_EQ(line.substr(0, line.find(" -c ")), "zvclient.exe  -T large4  -B \"" + UserDir() + "\"");
}

TEST_F(NetworkCommandsTest, ComputerPlayerCommandWithAndWithoutTheDialog) {
    TLaunch window(launcherDialogs);
    Settings().auto1 = "_min";
    Settings().execdlg_auto = 0;
    window.AutoClick();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine,
              "zvauto.exe -n auto -p 4112 -h localhost -B \"" + Install() + "usr/auto\" -X  -k ");
    EXPECT_EQ(starter.starts[0].showMode, 6);

    Settings().execdlg_auto = 1;
    bool shown = false;
    WhenModal<TAutoLaunchBox>([&](TAutoLaunchBox* box) {
        shown = true;
        EXPECT_EQ(box->pos(), window.pos() + QPoint(50, 50));
        box->ImageClick(0);
        box->ImageClick(0);
        box->CancelButton->click();
    });
    window.AutoMenuClick();
    EXPECT_TRUE(shown);
    ASSERT_EQ(starter.starts.size(), 3u);
    EXPECT_EQ(starter.starts[2].commandLine.substr(0, 17), "zvauto.exe -n _mi");
}

TEST_F(NetworkCommandsTest, CustomExecutionCommandAndItsTwin) {
    TLaunch window(launcherDialogs);
    int opened = 0;
    auto close = [&](TCustomExec* box) {
        ++opened;
        EXPECT_EQ(box->pos(), window.pos() + QPoint(50, 50));
        box->CheckBoxZelvan1->click();
        box->OKButton->click();
    };
    WhenModal<TCustomExec>(close);
    window.CustomExClick();
    EXPECT_EQ(Settings().execdlg_zelvan1, 0);
    WhenModal<TCustomExec>(close);
    window.CustomExMenuClick();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(Settings().execdlg_zelvan1, 1);

    // Without the one-player dialog, Play starts the default opponents.
    Settings().execdlg_zelvan1 = 0;
    window.Small1Click();
    window.Taku1Click();
    ASSERT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(starter.starts[0].commandLine.substr(0, 24), "zelvan1.exe  -T small  -");
    EXPECT_EQ(starter.starts[1].commandLine.substr(0, 25), "zelvan1.exe  -T large4  -");
}

TEST_F(NetworkCommandsTest, MenuItemsOfEarlierEditionsDoNothing) {
    TLaunch window(launcherDialogs);
    dialogs.calls.clear();
    for (auto command : {&TLaunch::Standard1MenuClick, &TLaunch::Small1MenuClick, &TLaunch::Taku1MenuClick,
                         &TLaunch::SmallTaku1MenuClick, &TLaunch::CustomButtonMenuClick,
                         &TLaunch::HostNameButtonMenuClick, &TLaunch::PortNumberButtonMenuClick})
        (window.*command)();
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace zv
