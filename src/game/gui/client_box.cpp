#include "game/gui/client_box.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "game/gui/click_label.h"
#include "game/network_start.h"
#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"

namespace zv {
namespace {

QLabel* ValueLabel(QWidget* parent, const char* name) {
    QLabel* label = PlainLabel(parent, name);
    label->setMinimumWidth(160);
    return label;
}

// A switch drawn with a radio mark that can still be cleared.
QAction* RadioItem(QMenu* menu, const QString& caption, const char* name) {
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    group->addAction(action);
    return action;
}

}  // namespace

TClientBox::TClientBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TClientBox");
    setWindowTitle(QStringLiteral("麻雀  ネットワーク対戦"));
    setWindowFlags(kFixedMinimizableDialogFlags);

    OptionMenu = new QMenuBar(this);
    OptionMenu->setObjectName("OptionMenu");
    OptionMenu->setNativeMenuBar(false);
    N1 = OptionMenu->addMenu(QStringLiteral("設定"));
    N1->setObjectName("N1");
    NetworkMenu = N1->addAction(QStringLiteral("ネットワークの設定"), this, &TClientBox::NetworkMenuClick);
    NetworkMenu->setObjectName("NetworkMenu");
    RealPai = RadioItem(N1, QStringLiteral("リアルな牌"), "RealPai");
    RealPai->setVisible(false);
    Communication = RadioItem(N1, QStringLiteral("簡易トーク機能"), "Communication");
    connect(Communication, &QAction::triggered, this, &TClientBox::CommunicationClick);

    Label2 = new QLabel(QStringLiteral("ユーザ名"), this);
    Label2->setObjectName("Label2");
    UserName = ValueLabel(this, "UserName");
    Label4 = new QLabel(QStringLiteral("プロトコル"), this);
    Label4->setObjectName("Label4");
    Protocol = ValueLabel(this, "Protocol");
    Label1 = new QLabel(QStringLiteral("接続先"), this);
    Label1->setObjectName("Label1");
    Host = new TClickLabel(this);
    Host->setObjectName("Host");
    Host->setMinimumWidth(160);
    Host->setCursor(Qt::PointingHandCursor);
    Host->setToolTip(QStringLiteral("ﾒﾆｭｰのﾈｯﾄﾜｰｸの設定から行ってください"));
    connect(Host, &TClickLabel::clicked, this, &TClientBox::HostClick);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    connect(OKButton, &QPushButton::clicked, this, &TClientBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TClientBox::CancelButtonClick);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(16);
    fields->addWidget(Label2, 0, 0);
    fields->addWidget(UserName, 0, 1);
    fields->addWidget(Label4, 1, 0);
    fields->addWidget(Protocol, 1, 1);
    fields->addWidget(Label1, 2, 0);
    fields->addWidget(Host, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(OptionMenu);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const LauncherSettings& settings = Settings();
    UserName->setText(Q(settings.UserName));
    Communication->setChecked(settings.clienttalk == 1);
    RealPai->setChecked(settings.real4 == 1);
    Protocol->setText(Q(settings.protocol));
    Host->setText(Q(ClientHostOnOpen(settings)));
}

void TClientBox::NetworkMenuClick() {
    RunProtocolBox(this, 0, "ユーザクライアントプログラム");
    const LauncherSettings& settings = Settings();
    Protocol->setText(Q(settings.protocol));
    Host->setText(Q(HostAfterSettings(settings, S(Host->text()))));
}

void TClientBox::HostClick() { NetworkMenuClick(); }

void TClientBox::CommunicationClick() { Settings().clienttalk = CheckValue(Communication->isChecked()); }

void TClientBox::SearchServerMenuClick() {
    std::string server = RunSearchServerBox(this);
    if (!server.empty()) Host->setText(Q(server));
}

void TClientBox::OKButtonClick() {
    StartClient(this);
    accept();
}

void TClientBox::CancelButtonClick() { reject(); }

void StartClient(QWidget* owner) {
    WidgetDialogs dialogs(owner);
    StartNetworkClient(dialogs);
}

void RunClientBox(QWidget* owner) {
    TClientBox box(owner);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
