#include "game/gui/server_box.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "game/gui/zelvan1_box.h"
#include "game/network_start.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"

namespace zv {

TServerBox::TServerBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TServerBox");
    setWindowTitle(QStringLiteral("麻雀  ゲームサーバの起動"));
    setWindowFlags(kFixedMinimizableDialogFlags);

    OptionMenu = new QMenuBar(this);
    OptionMenu->setObjectName("OptionMenu");
    OptionMenu->setNativeMenuBar(false);
    Port = OptionMenu->addMenu(QStringLiteral("設定"));
    Port->setObjectName("Port");
    haifu = Port->addAction(QStringLiteral("牌譜設定"), this, &TServerBox::haifuClick);
    haifu->setObjectName("haifu");
    NetworkMenu = Port->addAction(QStringLiteral("ネットワークの設定"), this, &TServerBox::NetworkMenuClick);
    NetworkMenu->setObjectName("NetworkMenu");

    Label2 = new QLabel(QStringLiteral("マージャンゲームサーバを起動します。"), this);
    Label2->setObjectName("Label2");
    Label1 = new QLabel(QStringLiteral("プロトコル"), this);
    Label1->setObjectName("Label1");
    Protocol = new QLabel(this);
    Protocol->setObjectName("Protocol");
    Protocol->setTextFormat(Qt::PlainText);
    Protocol->setToolTip(QStringLiteral("使用するﾈｯﾄﾜｰｸﾌﾟﾛﾄｺﾙを表示しています"));
    Protocol->setMinimumWidth(100);
    ResidentCheckBox = new QCheckBox(QStringLiteral("常駐"), this);
    ResidentCheckBox->setObjectName("ResidentCheckBox");
    ResidentCheckBox->setToolTip(QStringLiteral("タスクバー通知領域にアイコンを登録します。"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");

    auto* protocolRow = new QHBoxLayout;
    protocolRow->addWidget(Label1);
    protocolRow->addSpacing(12);
    protocolRow->addWidget(Protocol, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ResidentCheckBox);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(OptionMenu);
    layout->addWidget(Label2);
    layout->addLayout(protocolRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &TServerBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TServerBox::CancelButtonClick);

    const LauncherSettings& settings = Settings();
    Protocol->setText(Q(settings.protocol));
    ResidentCheckBox->setChecked(settings.resident != 0);
}

void TServerBox::haifuClick() { EditRecordOption(this, 0); }

void TServerBox::NetworkMenuClick() {
    RunProtocolBox(this, 1, "ゲームサーバー");
    Protocol->setText(Q(Settings().protocol));
}

void TServerBox::StoreResident() { Settings().resident = CheckValue(ResidentCheckBox->isChecked()); }

void TServerBox::OKButtonClick() {
    StoreResident();
    WidgetDialogs dialogs(this);
    StartGameServer(dialogs);
    accept();
}

void TServerBox::CancelButtonClick() { reject(); }

void TServerBox::done(int result) {
    StoreResident();
    QDialog::done(result);
}

void RunServerBox(QWidget* owner) {
    TServerBox box(owner);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
