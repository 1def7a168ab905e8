#include "net/gui/ping_box.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "net/gui/net_dialogs.h"
#include "net/gui/protocol_box.h"
#include "net/protocol_settings.h"
#include "net/socket_helpers.h"
#include "support/loopback_sockets.h"
#include "support/modal.h"
#include "support/recording_dialogs.h"

namespace zv {
namespace {

using test::WhenModal;

class PingBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogOverrideForTests(&dialogs);
        Settings() = LauncherSettings{};
        Settings().readhosts = 0;
        SetLastSocketError(0);
    }

    void TearDown() override { SetDialogOverrideForTests(nullptr); }

    test::LoopbackSockets sockets;
    RecordingDialogs dialogs;
};

TEST_F(PingBoxTest, OpensWithTheAddressLineAndStartsSockets) {
    Settings().hostname = "127.0.0.1";
    Settings().port = "4999";
    TPingBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  ゲームサーバーの動作の確認"));
    EXPECT_EQ(box.NetworkProtocol->text(), "TCP/IP 127.0.0.1 4999");
    EXPECT_EQ(box.pingresult->text(), QStringLiteral("確認ボタンを押してください"));
    EXPECT_TRUE(box.ConnectButton->isEnabled());
    EXPECT_EQ(sockets.startups, 1);
    box.OkButton->click();
    EXPECT_EQ(sockets.cleanups, 1);
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(PingBoxTest, AddressLineShowsATypedHostNameAsPlainText) {
    Settings().hostname = "<h1>big</h1>";
    Settings().port = "4999";
    TPingBox box(nullptr);
    EXPECT_EQ(box.NetworkProtocol->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.NetworkProtocol->text(), "TCP/IP <h1>big</h1> 4999");
    EXPECT_EQ(box.pingresult->textFormat(), Qt::PlainText);
    // Every label of the dialog, the fixed ones too, shows its text as written.
    for (QLabel* label : box.findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    box.OkButton->click();
}

TEST_F(PingBoxTest, RunningServerIsReported) {
    test::Listener listener;
    Settings().port = listener.portText();
    TPingBox box(nullptr);
    box.ConnectButton->click();
    EXPECT_EQ(box.pingresult->text(), QStringLiteral("ゲームサーバーは稼動中です"));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(PingBoxTest, RefusedConnectIsReportedAndCanBeRepeated) {
    test::ClosedPort closed;
    Settings().port = closed.portText();
    TPingBox box(nullptr);
    box.ConnectButton->click();
    EXPECT_EQ(box.pingresult->text(), QStringLiteral("ゲームサーバーへの接続に失敗しました"));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_EQ(
        dialogs.calls[0].texts,
        (std::vector<std::string>{"ゲームサーバーへの接続に失敗しました", "接続に失敗しました (connect)",
                                  "The attempt to connect was forcefully rejected."}));
    box.ConnectButton->click();
    EXPECT_EQ(dialogs.calls.size(), 2u);
}

TEST_F(PingBoxTest, UnresolvableHostHasAnEmptyMessage) {
    Settings().hostname = "nonexistent.invalid";
    TPingBox box(nullptr);
    box.ConnectButton->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"ゲームサーバーへの接続に失敗しました",
                                        "ホストアドレスを得ることができません (gethostbyname)", ""}));
}

TEST_F(PingBoxTest, StartupFailureIsReportedAndTheDialogOpensAnyway) {
    sockets.startupError = 10092;
    TPingBox box(nullptr);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts[0], "WSAStartup");
    EXPECT_EQ(dialogs.calls[0].texts[1], "winsockの初期化が失敗しました。");
    EXPECT_TRUE(box.ConnectButton->isEnabled());
}

TEST_F(PingBoxTest, IpxOpeningKeepsTheButtonDisabledAfterSwitchingToTcpip) {
    Settings().protocol = "IPX/SPX";
    Settings().nodenum = "0123456789AB";
    TPingBox box(nullptr);
    EXPECT_EQ(box.NetworkProtocol->text(), "IPX/SPX 0123456789AB 2FFF");
    EXPECT_FALSE(box.ConnectButton->isEnabled());
    const QString noIpx =
        QStringLiteral("このﾊﾞｰｼﾞｮﾝでは、IPX/SPXの場合はゲームサーバの動作確認はサポートされていません。");
    EXPECT_EQ(box.pingresult->text(), noIpx);

    QString title;
    WhenModal<TProtocolBox>([&](TProtocolBox* settingsBox) {
        title = settingsBox->what->text();
        settingsBox->tcpip->click();
        settingsBox->OKButton->click();
    });
    box.NetworkMenu->trigger();
    EXPECT_EQ(title, QStringLiteral("ゲームサーバーの確認"));
    EXPECT_EQ(ProtocolBoxMode(), 0);
    EXPECT_EQ(box.NetworkProtocol->text(), "TCP/IP localhost 4112");
    EXPECT_FALSE(box.ConnectButton->isEnabled());
    EXPECT_EQ(box.pingresult->text(), noIpx);
}

TEST_F(PingBoxTest, SwitchingToIpxRunsTheIpxTest) {
    TPingBox box(nullptr);
    WhenModal<TProtocolBox>([&](TProtocolBox* settingsBox) {
        settingsBox->ipxspx->click();
        settingsBox->NodeNumber->setText("00AA00BB00CC");
        settingsBox->OKButton->click();
    });
    box.NetworkMenu->trigger();
    EXPECT_EQ(box.NetworkProtocol->text(), "IPX/SPX 00AA00BB00CC 2FFF");
    EXPECT_TRUE(box.ConnectButton->isEnabled());
    box.ConnectButton->click();
    EXPECT_TRUE(sockets.tried.empty());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{
                  "ゲームサーバーへの接続に失敗しました", "ソケットを得ることができません (socket)",
                  "Addresses in the specified family cannot be used with this socket."}));
}

TEST_F(PingBoxTest, RunPingBoxShowsItModally) {
    bool shown = false;
    WhenModal<TPingBox>([&](TPingBox* box) {
        shown = true;
        box->OkButton->click();
    });
    RunPingBox(nullptr);
    EXPECT_TRUE(shown);
    EXPECT_EQ(sockets.cleanups, 1);
}

}  // namespace
}  // namespace zv
