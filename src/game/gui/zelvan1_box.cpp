#include "game/gui/zelvan1_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "rules/gui/characters.h"

namespace zv {
namespace {

QLabel* BoldLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* FaceImage(QWidget* parent, const char* name) {
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setFixedSize(48, 48);
    image->setScaledContents(true);
    image->setFrameShape(QFrame::Box);
    return image;
}

std::string& OpponentSetting(int slot) {
    LauncherSettings& settings = Settings();
    if (slot == 0) return settings.player1;
    if (slot == 1) return settings.player2;
    return settings.player3;
}

}  // namespace

TZelvan1Box::TZelvan1Box(QWidget* owner, int& nextOpponentSlot)
    : QDialog(owner), nextOpponentSlot_(nextOpponentSlot) {
    setObjectName("TZelvan1Box");
    setWindowTitle(QStringLiteral("麻雀  ひとり遊び"));
    setWindowFlags(kFixedMinimizableDialogFlags);

    Label2 = new QLabel(QStringLiteral("ユーザ名"), this);
    Label2->setObjectName("Label2");
    UserName = BoldLabel(this, "UserName");

    GroupBox1 = new QGroupBox(QStringLiteral("相手コンピュータプレーヤの指定"), this);
    GroupBox1->setObjectName("GroupBox1");
    player1 = BoldLabel(GroupBox1, "player1");
    player2 = BoldLabel(GroupBox1, "player2");
    player3 = BoldLabel(GroupBox1, "player3");
    Image1 = FaceImage(GroupBox1, "Image1");
    Image2 = FaceImage(GroupBox1, "Image2");
    Image3 = FaceImage(GroupBox1, "Image3");
    CharSelectButton = new QPushButton(QStringLiteral("キャラクタの選択"), GroupBox1);
    CharSelectButton->setObjectName("CharSelectButton");

    auto* faces = new QGridLayout(GroupBox1);
    QLabel* names[] = {player1, player2, player3};
    QLabel* images[] = {Image1, Image2, Image3};
    for (int i = 0; i < 3; ++i) {
        names[i]->setMinimumWidth(90);
        names[i]->setAlignment(Qt::AlignCenter);
        faces->addWidget(images[i], 0, i, Qt::AlignHCenter);
        faces->addWidget(names[i], 1, i, Qt::AlignHCenter);
    }
    faces->addWidget(CharSelectButton, 2, 0, 1, 3, Qt::AlignHCenter);

    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setVisible(false);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);

    auto* user = new QHBoxLayout;
    user->addWidget(Label2);
    user->addWidget(UserName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(user);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CharSelectButton, &QPushButton::clicked, this, &TZelvan1Box::CharSelectButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TZelvan1Box::CancelButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TZelvan1Box::OKButtonClick);

    const LauncherSettings& settings = Settings();
    const std::string opponents[] = {settings.player1, settings.player2, settings.player3};
    for (int i = 0; i < 3; ++i) ShowOpponent(i, opponents[i]);
    UserName->setText(Q(settings.UserName));
}

TZelvan1Box::~TZelvan1Box() = default;

void TZelvan1Box::ShowOpponent(int slot, const std::string& name) {
    QLabel* names[] = {player1, player2, player3};
    QLabel* images[] = {Image1, Image2, Image3};
    names[slot]->setText(Q(name));
    images[slot]->setPixmap(CharacterPicture(name));
    images[slot]->setToolTip(PlainToolTip(CharacterDescription(name)));
}

Opponents TZelvan1Box::Captions() const {
    return {S(player1->text()), S(player2->text()), S(player3->text())};
}

void TZelvan1Box::CharSelectButtonClick() {
    // The selection dialog's callback slot may outlive this dialog.
    RunCharSelectBox(this, [box = QPointer<TZelvan1Box>(this)](const std::string& name) {
        if (!box.isNull()) box->PickOpponent(name);
    });
}

void TZelvan1Box::CancelButtonClick() { reject(); }

void TZelvan1Box::OKButtonClick() {
    Opponents captions = Captions();
    for (int i = 0; i < 3; ++i) OpponentSetting(i) = captions[i];
    StartZelvan1(this, StartKind::DialogOpponents);
    accept();
}

void TZelvan1Box::PickOpponent(const std::string& name) {
    int slot = nextOpponentSlot_ % 3;
    ShowOpponent(slot, name);
    OpponentSetting(slot) = name;
    ++nextOpponentSlot_;
}

void OpenZelvan1(QWidget* mainWindow, int& nextOpponentSlot) {
    if (Settings().execdlg_zelvan1 != 0) {
        TZelvan1Box box(mainWindow, nextOpponentSlot);
        PlaceDialog(mainWindow, &box);
        box.exec();
    } else {
        StartZelvan1(mainWindow, StartKind::DefaultOpponents);
    }
}

int StartZelvan1(QWidget* owner, StartKind kind) {
    Opponents captions;
    if (auto* box = qobject_cast<TZelvan1Box*>(owner)) captions = box->Captions();
    WidgetDialogs dialogs(owner);
    return StartZelvan1(dialogs, kind, captions);
}

TMajOptionBox::TMajOptionBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TMajOptionBox");
    setWindowTitle(QStringLiteral("麻雀  牌譜設定"));
    setWindowFlags(kFixedDialogFlags);
    RadioGroup2 = new QGroupBox(QStringLiteral("牌譜"), this);
    RadioGroup2->setObjectName("RadioGroup2");
    haifubutton = new QCheckBox(QStringLiteral("牌譜をとる"), RadioGroup2);
    haifubutton->setObjectName("haifubutton");
    auto* inner = new QVBoxLayout(RadioGroup2);
    inner->addWidget(haifubutton);
    OKbutton = new QPushButton(QStringLiteral("OK"), this);
    OKbutton->setObjectName("OKbutton");
    OKbutton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup2);
    layout->addWidget(OKbutton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    RadioGroup2->setMinimumWidth(180);
    connect(OKbutton, &QPushButton::clicked, this, &QDialog::accept);
}

void EditRecordOption(QWidget* owner, int which) {
    TMajOptionBox box(owner);
    PlaceDialog(owner, &box);
    int& setting = RecordSwitch(Settings(), which);
    box.haifubutton->setChecked(setting != 0);
    box.exec();
    setting = box.haifubutton->isChecked() ? 1 : 0;
}

}  // namespace zv
