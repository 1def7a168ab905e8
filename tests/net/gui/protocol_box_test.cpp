#include "net/gui/protocol_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "config/codec.h"
#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "net/gui/net_dialogs.h"
#include "net/protocol_settings.h"
#include "support/loopback_sockets.h"
#include "support/modal.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::WhenModal;

class ProtocolBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogOverrideForTests(&dialogs);
        Settings() = LauncherSettings{};
        SetProtocolBoxMode(0);
        sockets.hostsPath = dir.Write("hosts", ToCp932("127.0.0.1 localhost\n# 10.0.0.9 hidden\n"
                                                       "  # shown here\n127.0.0.7 gamehost alias\n"));
    }

    bool Enabled(QWidget* box, const char* name) {
        auto* widget = box->findChild<QWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget != nullptr && widget->isEnabled();
    }

    test::TempDir dir;
    void TearDown() override { SetDialogOverrideForTests(nullptr); }

    test::LoopbackSockets sockets;
    RecordingDialogs dialogs;
};

TEST_F(ProtocolBoxTest, ClientModeOpensWithTheSettingsAndHostsNames) {
    Settings().hostname = "gamehost";
    Settings().port = "5001";
    Settings().kanji = "shiftjis";
    bool checked = false;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        checked = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("麻雀  ネットワークの設定"));
        EXPECT_EQ(box->what->text(), QStringLiteral("ネットワークの設定"));
        EXPECT_TRUE(box->tcpip->isChecked());
        EXPECT_EQ(box->PageControl->currentWidget(), box->TabSheetTCPIP);
        ASSERT_EQ(box->TcpipHostName->count(), 3);
        EXPECT_EQ(box->TcpipHostName->itemText(0), "localhost");
        EXPECT_EQ(box->TcpipHostName->itemText(1), "shown");
        EXPECT_EQ(box->TcpipHostName->itemText(2), "gamehost");
        EXPECT_EQ(box->TcpipHostName->currentText(), "gamehost");
        EXPECT_EQ(box->TcpipPortNumber->text(), "5001");
        EXPECT_TRUE(box->ShiftJIS->isChecked());
        EXPECT_FALSE(box->unicode->isVisibleTo(box));
        EXPECT_FALSE(box->unicode->isEnabled());
        for (const char* name :
             {"TcpipGroupBox", "TcpipHostName", "tcpip1", "tcpip2", "TcpipPortNumber", "ReadHostsCheckBox"})
            EXPECT_TRUE(Enabled(box, name)) << name;
        for (const char* name :
             {"IPXMsg", "IpxspxGroupBox", "NodeNumber", "SocketNumber", "IpxNetworknumber"})
            EXPECT_FALSE(Enabled(box, name)) << name;

        // Choosing IPX/SPX switches the page and the usable fields.
        box->ipxspx->click();
        EXPECT_EQ(box->PageControl->currentWidget(), box->TabSheetIPXSPX);
        EXPECT_TRUE(Enabled(box, "NodeNumber"));
        EXPECT_TRUE(Enabled(box, "ipx1"));
        EXPECT_FALSE(Enabled(box, "SocketNumber"));
        EXPECT_FALSE(Enabled(box, "TcpipPortNumber"));
        box->tcpip->click();
        box->TcpipHostName->setEditText("other");
        box->OKButton->click();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_TRUE(checked);
    EXPECT_EQ(Settings().hostname, "other");
    EXPECT_EQ(Settings().kanji, "shiftjis");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ProtocolBoxTest, ServerModeDisablesHostAndNodeFields) {
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        EXPECT_FALSE(Enabled(box, "TcpipHostName"));
        EXPECT_FALSE(Enabled(box, "tcpip1"));
        EXPECT_FALSE(Enabled(box, "tcpip2"));
        EXPECT_TRUE(Enabled(box, "TcpipPortNumber"));
        EXPECT_TRUE(Enabled(box, "ReadHostsCheckBox"));
        box->ipxspx->click();
        EXPECT_FALSE(Enabled(box, "NodeNumber"));
        EXPECT_FALSE(Enabled(box, "ipx1"));
        EXPECT_TRUE(Enabled(box, "IpxspxGroupBox"));
        box->OKButton->click();
    });
    RunProtocolBox(nullptr, 1, "ゲームサーバー");
    EXPECT_EQ(ProtocolBoxMode(), 1);  // kept after closing
    EXPECT_EQ(Settings().protocol, "IPX/SPX");
    EXPECT_EQ(Settings().nodenum, "000000000000");
}

TEST_F(ProtocolBoxTest, ClosingByTheFrameStoresAShortNodeNumber) {
    Settings().protocol = "IPX/SPX";
    Settings().readhosts = 0;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        EXPECT_TRUE(box->ipxspx->isChecked());
        EXPECT_EQ(box->TcpipHostName->count(), 0);
        EXPECT_EQ(box->TcpipHostName->currentText(), "localhost");
        box->NodeNumber->setText("12345678901");
        box->ReadHostsCheckBox->setChecked(true);
        box->close();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_EQ(Settings().protocol, "IPX/SPX");
    EXPECT_EQ(Settings().nodenum, "12345678901");
    EXPECT_EQ(Settings().readhosts, 0);  // stored by OK only
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ProtocolBoxTest, OkRefusesANodeNumberThatIsNot12Long) {
    Settings().protocol = "IPX/SPX";
    bool stayedOpen = false;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        box->NodeNumber->setText("ABCDEF12345");
        box->ReadHostsCheckBox->setChecked(false);
        box->OKButton->click();
        stayedOpen = box->isVisible();
        box->NodeNumber->setText("ABCDEF123456");
        box->OKButton->click();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(
        dialogs.calls[0].texts,
        (std::vector<std::string>{"麻雀  ", "IPX/SPXのノードナンバーは12桁です。", "再入力してください。"}));
    EXPECT_EQ(Settings().nodenum, "ABCDEF123456");
    EXPECT_EQ(Settings().readhosts, 0);
}

TEST_F(ProtocolBoxTest, OkRefusesADoubleQuoteInTheHostName) {
    bool stayedOpen = false;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        box->TcpipHostName->setEditText("bad\"name");
        box->OKButton->click();
        stayedOpen = box->isVisible();
        box->TcpipHostName->setEditText("good");
        box->OKButton->click();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(Settings().hostname, "good");
}

TEST_F(ProtocolBoxTest, ClosingRefusesADoubleQuoteAsOkDoes) {
    Settings().hostname = "before";
    bool stayedOpen = false, stayedOpenOnEscape = false;
    std::string storedWhileOpen;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        box->TcpipHostName->setEditText("srv\"1");
        box->OKButton->click();
        box->close();  // refused with OK, then the window frame
        stayedOpen = box->isVisible();
        box->reject();  // Escape
        stayedOpenOnEscape = box->isVisible();
        storedWhileOpen = Settings().hostname;
        box->TcpipHostName->setEditText("srv1");
        box->close();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(stayedOpenOnEscape);
    EXPECT_EQ(storedWhileOpen, "before");
    ASSERT_EQ(dialogs.Of("error").size(), 3u);
    EXPECT_EQ(dialogs.calls[1].texts,
              (std::vector<std::string>{"麻雀  ", "ダブルクォーテーション(\")は使えません。",
                                        "再入力してください。"}));
    EXPECT_EQ(Settings().hostname, "srv1");

    // The node number likewise; a quote in the fields of the protocol that
    // is not checked is neither stored nor in the way.
    dialogs.calls.clear();
    bool nodeStayedOpen = false;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        box->TcpipHostName->setEditText("srv\"2");
        box->ipxspx->click();
        box->NodeNumber->setText("12345\"789012");
        box->close();
        nodeStayedOpen = box->isVisible();
        box->NodeNumber->setText("123456789012");
        box->close();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_TRUE(nodeStayedOpen);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(Settings().protocol, "IPX/SPX");
    EXPECT_EQ(Settings().nodenum, "123456789012");
    EXPECT_EQ(Settings().hostname, "srv1");
}

TEST_F(ProtocolBoxTest, UnknownKanjiIsWrittenBackAsUnicode) {
    Settings().kanji = "jis";
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        EXPECT_TRUE(box->unicode->isChecked());
        EXPECT_FALSE(box->EUC->isChecked());
        box->OKButton->click();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_EQ(Settings().kanji, "unicode");
}

TEST_F(ProtocolBoxTest, OtherProtocolOpensAsTcpipAndIsReplaced) {
    Settings().protocol = "NetBEUI";
    Settings().nodenum = "111111111111";
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        EXPECT_TRUE(box->tcpip->isChecked());
        box->reject();
    });
    RunProtocolBox(nullptr, 0, "ネットワークの設定");
    EXPECT_EQ(Settings().protocol, "TCP/IP");
    EXPECT_EQ(Settings().nodenum, "111111111111");
}

TEST_F(ProtocolBoxTest, ChooseProtocolStoresNothingButReadHosts) {
    SetProtocolBoxMode(1);
    Settings().hostname = "keep";
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        EXPECT_TRUE(box->ipxspx->isChecked());  // anything but TCP/IP
        EXPECT_EQ(box->NodeNumber->text(), "000000000000");
        EXPECT_EQ(box->TcpipHostName->currentText(), "localhost");
        EXPECT_FALSE(Enabled(box, "NodeNumber"));  // the stored purpose still counts
        box->tcpip->click();
        box->TcpipHostName->setEditText("changed");
        box->ReadHostsCheckBox->setChecked(false);
        box->OKButton->click();
    });
    EXPECT_EQ(ChooseProtocol(nullptr, "NetBEUI"), "TCP/IP");
    EXPECT_EQ(ProtocolBoxMode(), 1);
    EXPECT_EQ(Settings().hostname, "keep");
    EXPECT_EQ(Settings().protocol, "TCP/IP");
    EXPECT_EQ(Settings().readhosts, 0);

    WhenModal<TProtocolBox>([&](TProtocolBox* box) { box->close(); });
    EXPECT_EQ(ChooseProtocol(nullptr, "IPX/SPX"), "IPX/SPX");
}

TEST_F(ProtocolBoxTest, IsPlacedBelowAndRightOfItsOwner) {
    QWidget owner;
    owner.move(200, 120);
    owner.resize(300, 200);
    owner.show();
    QPoint where;
    WhenModal<TProtocolBox>([&](TProtocolBox* box) {
        where = box->pos();
        box->close();
    });
    RunProtocolBox(&owner, 0, "ネットワークの設定");
    EXPECT_EQ(where, owner.pos() + QPoint(50, 50));
}

}  // namespace
}  // namespace zv
