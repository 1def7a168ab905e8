#include "game/gui/custom_exec.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "game/network_start.h"
#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"

namespace zv {
namespace {

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption, const QString& hint = {}) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    if (!hint.isEmpty()) box->setToolTip(hint);
    return box;
}

QLabel* InfoLabel(QWidget* parent, const char* name) {
    QLabel* label = PlainLabel(parent, name);
    label->setMinimumWidth(260);
    return label;
}

}  // namespace

TCustomExec::TCustomExec(QWidget* owner) : QDialog(owner) {
    setObjectName("TCustomExec");
    setWindowTitle(QStringLiteral("麻雀  起動時のダイアログについて"));
    setWindowFlags(kFixedDialogFlags);

    Label1 = new QLabel(QStringLiteral("各プログラム起動時の設定ダイアログを表示するかどうかを設定します。"),
                        this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(QStringLiteral("起動時の設定は、保存されているものが用いられます。"), this);
    Label2->setObjectName("Label2");
    CheckBoxServer = CheckBox(this, "CheckBoxServer", QStringLiteral("ゲームサーバ"));
    CheckBoxClient = CheckBox(this, "CheckBoxClient", QStringLiteral("ネットワーク対戦"));
    CheckBoxAuto = CheckBox(this, "CheckBoxAuto", QStringLiteral("コンピュータプレーヤ"),
                            QStringLiteral("ｺﾝﾋﾟｭｰﾀﾌﾟﾚｰﾔのﾀﾞｲｱﾛｸﾞを表示しないようにした場合、autoという名前の"
                                           "ﾌﾟﾚｰﾔが選択されたとみなされます。"));
    CheckBoxZelvan1 = CheckBox(this, "CheckBoxZelvan1", QStringLiteral("一人遊び"),
                               QStringLiteral("ﾀﾞｲｱﾛｸﾞを表示しない場合、相手は固定になります。"));
    ServerInfo = InfoLabel(this, "ServerInfo");
    ClientInfo = InfoLabel(this, "ClientInfo");
    AutoInfo = InfoLabel(this, "AutoInfo");
    Zelvan1Info = InfoLabel(this, "Zelvan1Info");
    HiColorCharCheckBox =
        CheckBox(this, "HiColorCharCheckBox", QStringLiteral("キャラクタの顔グラフィックを有効にする"),
                 QStringLiteral("色化けを防ぐときはﾁｪｯｸをはずしてください。"));
    HiColorCharCheckBox->setVisible(false);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TCustomExec::OKButtonClick);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(16);
    QCheckBox* boxes[] = {CheckBoxServer, CheckBoxClient, CheckBoxAuto, CheckBoxZelvan1};
    QLabel* infos[] = {ServerInfo, ClientInfo, AutoInfo, Zelvan1Info};
    for (int row = 0; row < 4; ++row) {
        rows->addWidget(boxes[row], row, 0);
        rows->addWidget(infos[row], row, 1);
    }
    rows->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(8);
    layout->addLayout(rows);
    layout->addWidget(HiColorCharCheckBox);
    layout->addSpacing(8);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TCustomExec::OKButtonClick() { accept(); }

void RunCustomExec(QWidget* owner) {
    LauncherSettings& settings = Settings();
    TCustomExec box(owner);
    PlaceDialog(owner, &box);
    box.CheckBoxServer->setChecked(ChecksBox(settings.execdlg_server));
    box.CheckBoxClient->setChecked(ChecksBox(settings.execdlg_client));
    box.CheckBoxAuto->setChecked(ChecksBox(settings.execdlg_auto));
    box.CheckBoxZelvan1->setChecked(ChecksBox(settings.execdlg_zelvan1));
    box.HiColorCharCheckBox->setChecked(settings.hicolorchar != 0);
    StartSummaries summaries = StartSettingsSummaries(settings);
    box.ServerInfo->setText(Q(summaries.server));
    box.ClientInfo->setText(Q(summaries.client));
    box.AutoInfo->setText(Q(summaries.autoPlayer));
    box.Zelvan1Info->setText(Q(summaries.zelvan1));
    box.exec();
    settings.execdlg_server = CheckValue(box.CheckBoxServer->isChecked());
    settings.execdlg_auto = CheckValue(box.CheckBoxAuto->isChecked());
    settings.execdlg_client = CheckValue(box.CheckBoxClient->isChecked());
    settings.execdlg_zelvan1 = CheckValue(box.CheckBoxZelvan1->isChecked());
    settings.hicolorchar = CheckValue(box.HiColorCharCheckBox->isChecked());
}

}  // namespace zv
