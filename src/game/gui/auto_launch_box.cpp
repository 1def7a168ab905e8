#include "game/gui/auto_launch_box.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "game/gui/click_label.h"
#include "game/network_start.h"
#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"
#include "rules/gui/char_select_box.h"
#include "rules/gui/characters.h"

namespace zv {
namespace {

// The last computer-player dialog created; cleared when it is freed.
QPointer<TAutoLaunchBox> g_current;

}  // namespace

TAutoLaunchBox::TAutoLaunchBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TAutoLaunchBox");
    setWindowTitle(QStringLiteral("麻雀  コンピュータプレーヤの起動"));
    setWindowFlags(kFixedMinimizableDialogFlags);

    OptionMenu = new QMenuBar(this);
    OptionMenu->setObjectName("OptionMenu");
    OptionMenu->setNativeMenuBar(false);
    Port = OptionMenu->addMenu(QStringLiteral("オプション"));
    Port->setObjectName("Port");
    NetworkMenu =
        Port->addAction(QStringLiteral("ネットワークの設定"), this, &TAutoLaunchBox::NetworkMenuClick);
    NetworkMenu->setObjectName("NetworkMenu");
    M1 = OptionMenu->addMenu(QStringLiteral("キャラクタ"));
    M1->setObjectName("M1");
    CharSelectMenu =
        M1->addAction(QStringLiteral("キャラクタの選択"), this, &TAutoLaunchBox::CharSelectMenuClick);
    CharSelectMenu->setObjectName("CharSelectMenu");
    CharAssocMenu =
        M1->addAction(QStringLiteral("キャラクタの関連づけ"), this, &TAutoLaunchBox::CharAssocMenuClick);
    CharAssocMenu->setObjectName("CharAssocMenu");

    Label2 = PlainLabel(this, "Label2", QStringLiteral("呼び出すプレーヤを指定してください。"));
    Label3 = PlainLabel(this, "Label3", QStringLiteral("マウスでクリックすると起動します。"));
    Label5 =
        PlainLabel(this, "Label5", QStringLiteral("他のキャラクタは、キャラクタメニューから選択できます。"));
    Label4 = PlainLabel(this, "Label4", QStringLiteral("プロトコル"));
    Protocol = PlainLabel(this, "Protocol");
    Label1 = PlainLabel(this, "Label1", QStringLiteral("接続先"));
    Host = PlainLabel(this, "Host");

    GroupBox1 = new QGroupBox(QStringLiteral("相手コンピュータプレーヤのリスト"), this);
    GroupBox1->setObjectName("GroupBox1");
    auto* places = new QGridLayout(GroupBox1);
    places->setHorizontalSpacing(12);
    const char* nameIds[] = {"player1", "player2", "player3", "player4"};
    const char* imageIds[] = {"Image1", "Image2", "Image3", "Image4"};
    QLabel** names[] = {&player1, &player2, &player3, &player4};
    TClickLabel** images[] = {&Image1, &Image2, &Image3, &Image4};
    for (int place = 0; place < 4; ++place) {
        QLabel* name = PlainLabel(GroupBox1, nameIds[place]);
        name->setAlignment(Qt::AlignCenter);
        name->setMinimumWidth(90);
        QFont font = name->font();
        font.setBold(true);
        name->setFont(font);
        auto* image = new TClickLabel(GroupBox1);
        image->setObjectName(imageIds[place]);
        image->setFixedSize(48, 48);
        image->setScaledContents(true);
        image->setFrameShape(QFrame::Box);
        image->setCursor(Qt::PointingHandCursor);
        connect(image, &TClickLabel::clicked, this, [this, place] { ImageClick(place); });
        connect(image, &TClickLabel::doubleClicked, this, [this, place] { ImageClick(place); });
        places->addWidget(image, 0, place, Qt::AlignHCenter);
        places->addWidget(name, 1, place, Qt::AlignHCenter);
        *names[place] = name;
        *images[place] = image;
    }

    NonTerminate = new QCheckBox(QStringLiteral("半荘終了後も継続する"), this);
    NonTerminate->setObjectName("NonTerminate");
    NonTerminate->setToolTip(QStringLiteral("接続断時にｺﾝﾋﾟｭｰﾀﾌﾟﾚｰﾔがｻｰﾊﾞに再接続を試みるかどうかの指定"));
    connect(NonTerminate, &QCheckBox::clicked, this, &TAutoLaunchBox::NonTerminateClick);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    connect(CancelButton, &QPushButton::clicked, this, &TAutoLaunchBox::CancelButtonClick);

    auto* address = new QGridLayout;
    address->setHorizontalSpacing(16);
    address->addWidget(Label4, 0, 0);
    address->addWidget(Protocol, 0, 1);
    address->addWidget(Label1, 1, 0);
    address->addWidget(Host, 1, 1);
    address->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(NonTerminate);
    bottom->addStretch();
    bottom->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(OptionMenu);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Label5);
    layout->addLayout(address);
    layout->addWidget(GroupBox1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const LauncherSettings& settings = Settings();
    NonTerminate->setChecked(settings.autononterm == 1);
    Protocol->setText(Q(settings.protocol));
    Host->setText(Q(AutoHostOnOpen(settings)));
    for (int place = 0; place < 4; ++place) ShowCharacter(place, AutoPlace(Settings(), place));
    g_current = this;
}

QLabel* TAutoLaunchBox::Names(int place) const {
    QLabel* names[] = {player1, player2, player3, player4};
    return names[place & 3];
}

TClickLabel* TAutoLaunchBox::Images(int place) const {
    TClickLabel* images[] = {Image1, Image2, Image3, Image4};
    return images[place & 3];
}

void TAutoLaunchBox::ShowCharacter(int place, const std::string& name) {
    Names(place)->setText(Q(name));
    Images(place)->setPixmap(CharacterPicture(name));
    Images(place)->setToolTip(PlainToolTip(CharacterDescription(name)));
}

std::string TAutoLaunchBox::PlaceName(int place) const { return S(Names(place)->text()); }

void TAutoLaunchBox::ImageClick(int place) { StartAutoPlayer(this, PlaceName(place)); }

void TAutoLaunchBox::NonTerminateClick() { Settings().autononterm = CheckValue(NonTerminate->isChecked()); }

void TAutoLaunchBox::NetworkMenuClick() {
    RunProtocolBox(this, 0, "コンピュータプレーヤの呼び出し");
    const LauncherSettings& settings = Settings();
    Protocol->setText(Q(settings.protocol));
    Host->setText(Q(HostAfterSettings(settings, S(Host->text()))));
}

void TAutoLaunchBox::CharSelectMenuClick() {
    TCharSelectBox box(this);
    PlaceDialog(this, &box);
    SetCharSelectCallback(OnAutoPlayerSelected);
    box.exec();
}

void TAutoLaunchBox::CharAssocMenuClick() {
    RunCharAssocBox(this, Settings().charassoc);
    // The next player started uses the associations just edited.
    ReloadCharAssoc(Settings());
}

void TAutoLaunchBox::CancelButtonClick() { reject(); }

void StartAutoPlayer(QWidget* owner, const std::string& name) {
    WidgetDialogs dialogs(owner);
    StartAutoPlayer(static_cast<MessageDialogs&>(dialogs), name);
}

void OnAutoPlayerSelected(const std::string& name) {
    if (g_current.isNull()) return;
    int place = NextAutoSlot % 4;
    g_current->ShowCharacter(place, name);
    AutoPlace(Settings(), place) = name;
    ++NextAutoSlot;
}

void RunAutoLaunchBox(QWidget* owner) {
    TAutoLaunchBox box(owner);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
