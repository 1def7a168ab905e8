#include "net/gui/ping_box.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"
#include "net/server_check.h"
#include "net/socket_helpers.h"

namespace zv {

TPingBox::TPingBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TPingBox");
    setWindowTitle(QStringLiteral("麻雀  ゲームサーバーの動作の確認"));

    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName("MainMenu");
    QMenu* options = menuBar->addMenu(QStringLiteral("オプション"));
    options->setObjectName("OptionMenu");
    NetworkMenu = options->addAction(QStringLiteral("ネットワークの設定"));
    NetworkMenu->setObjectName("NetworkMenu");

    Label1 = new QLabel(QStringLiteral(
        "確認ボタンをクリックすると指定されたホストでゲームサーバーが稼動しているかどうかを確認できます。"));
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label3 = new QLabel(QStringLiteral(
        "ただし、ゲームサーバーに接続中あるいは待機中のプログラムについて、接続を切断してしまうので注意して"
        "ください。"));
    Label3->setObjectName("Label3");
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);

    // The address line shows the host name as typed, never as markup.
    NetworkProtocol = new QLabel;
    NetworkProtocol->setObjectName("NetworkProtocol");
    NetworkProtocol->setTextFormat(Qt::PlainText);
    NetworkProtocol->setFrameShape(QFrame::StyledPanel);
    ConnectButton = new QPushButton(QStringLiteral("確認"));
    ConnectButton->setObjectName("ConnectButton");
    ConnectButton->setToolTip(QStringLiteral("ｹﾞｰﾑｻｰﾊﾞとの接続の確認を行います"));
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(NetworkProtocol, 1);
    addressRow->addWidget(ConnectButton);

    Label2 = new QLabel(QStringLiteral("状態"));
    Label2->setObjectName("Label2");
    Label2->setTextFormat(Qt::PlainText);
    pingresult = new QLabel;
    pingresult->setObjectName("pingresult");
    pingresult->setTextFormat(Qt::PlainText);
    pingresult->setWordWrap(true);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(Label2);
    stateRow->addWidget(pingresult, 1);

    OkButton = new QPushButton(QStringLiteral("閉じる"));
    OkButton->setObjectName("OkButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    layout->addLayout(addressRow);
    layout->addLayout(stateRow);
    layout->addLayout(buttons);
    Label1->setMinimumWidth(440);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ConnectButton, &QPushButton::clicked, this, &TPingBox::ConnectButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TPingBox::OkButtonClick);
    connect(NetworkMenu, &QAction::triggered, this, &TPingBox::NetworkMenuClick);

    FormCreate();
}

void TPingBox::FormCreate() {
    const LauncherSettings& settings = Settings();
    NetworkProtocol->setText(Q(PingAddressLine(settings)));
    bool tcp = UsesTcpip(settings);
    pingresult->setText(QString::fromUtf8(tcp ? kPingPrompt : kPingNoIpx));
    ConnectButton->setEnabled(tcp);
    WidgetDialogs dialogs(this);
    SocketStartup(dialogs);
}

void TPingBox::ConnectButtonClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int result = RunServerCheck(Settings());
    QApplication::restoreOverrideCursor();
    if (result == kConnected) {
        pingresult->setText(QString::fromUtf8(kPingRunning));
        return;
    }
    pingresult->setText(QString::fromUtf8(kPingFailed));
    ShowErrorDialog(this, kPingFailed, PingFailureLine(result), SocketErrorText());
}

void TPingBox::NetworkMenuClick() {
    RunProtocolBox(this, 0, "ゲームサーバーの確認");
    // Only the address line follows the new settings; the button and the
    // state line stay as they were.
    NetworkProtocol->setText(Q(PingAddressLine(Settings())));
}

void TPingBox::OkButtonClick() {
    SocketCleanup();
    accept();
}

void RunPingBox(QWidget* owner) {
    TPingBox box(owner);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
