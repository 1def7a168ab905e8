#include "game/gui/zv_form_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "game/gui/zelvan1_box.h"
#include "gui_common/button_pictures.h"
#include "gui_common/message_boxes.h"
#include "rules/gui/rule_box.h"

namespace zv {
namespace {

QToolButton* SetupButton(QWidget* parent, const char* name, const QString& caption, const char* picture) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(LauncherButtonPicture(picture));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(64, 60);
    return button;
}

}  // namespace

const std::array<const char*, 4> TLayoutFormBox::kLayouts = {"large", "small", "large4", "small4"};

TLayoutFormBox::TLayoutFormBox(QWidget* owner, std::string LauncherSettings::*layout,
                               std::int32_t LauncherSettings::*realTiles,
                               const std::array<QString, 4>& captions)
    : QDialog(owner), layout_(layout), realTiles_(realTiles) {
    setWindowFlags(kFixedDialogFlags);

    const char* radioNames[] = {"rblarge", "rbsmall", "rblarge4", "rbsmall4"};
    const char* pictureNames[] = {"large", "Small", "large4", "small4"};
    const QString hints[] = {QStringLiteral("標準"), QStringLiteral("小さい"), QStringLiteral("卓"),
                             QStringLiteral("卓(小さい)")};
    QRadioButton* radios[4];
    QToolButton* pictures[4];
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < 4; ++i) {
        radios[i] = new QRadioButton(captions[i], this);
        radios[i]->setObjectName(radioNames[i]);
        pictures[i] = new QToolButton(this);
        pictures[i]->setObjectName(pictureNames[i]);
        pictures[i]->setToolTip(hints[i]);
        pictures[i]->setIcon(LayoutPicture(kLayouts[i]));
        pictures[i]->setIconSize(QSize(48, 48));
        pictures[i]->setAutoRaise(true);
        pictures[i]->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(pictures[i], i, 0);
        grid->addWidget(radios[i], i, 1);
    }
    rblarge = radios[0];
    rbsmall = radios[1];
    rblarge4 = radios[2];
    rbsmall4 = radios[3];
    large = pictures[0];
    Small = pictures[1];
    large4 = pictures[2];
    small4 = pictures[3];

    realpai = new QCheckBox(QStringLiteral("ﾘｱﾙな牌"), this);
    realpai->setObjectName("realpai");
    realpai->setVisible(false);
    CloseButton = new QPushButton(QStringLiteral("OK"), this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setDefault(true);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(grid);
    layoutBox->addWidget(realpai);
    layoutBox->addWidget(CloseButton, 0, Qt::AlignHCenter);
    layoutBox->setSizeConstraint(QLayout::SetFixedSize);

    connect(CloseButton, &QPushButton::clicked, this, &TLayoutFormBox::CloseButtonClick);
    connect(realpai, &QCheckBox::clicked, this, &TLayoutFormBox::realpaiClick);
}

QToolButton* TLayoutFormBox::PictureButton(const std::string& layout) const {
    if (layout == "small") return Small;
    if (layout == "large4") return large4;
    if (layout == "small4") return small4;
    return large;
}

void TLayoutFormBox::FormCreate() {
    const LauncherSettings& settings = Settings();
    const std::string& chosen = settings.*layout_;
    QRadioButton* checked = rblarge;
    auto radios = Radios();
    for (std::size_t i = 0; i < kLayouts.size(); ++i)
        if (chosen == kLayouts[i]) {
            checked = radios[i];
            break;
        }
    checked->setChecked(true);
    realpai->setChecked(settings.*realTiles_ != 0);
}

void TLayoutFormBox::StoreChoice() {
    LauncherSettings& settings = Settings();
    std::string chosen = "large";
    auto radios = Radios();
    for (std::size_t i = 0; i < kLayouts.size(); ++i)
        if (radios[i]->isChecked()) {
            chosen = kLayouts[i];
            break;
        }
    settings.*layout_ = chosen;
    settings.*realTiles_ = realpai->isChecked() ? 1 : 0;
}

void TLayoutFormBox::CloseButtonClick() { accept(); }

void TLayoutFormBox::realpaiClick() { Settings().*realTiles_ = realpai->isChecked() ? 1 : 0; }

void TLayoutFormBox::done(int result) {
    StoreChoice();
    QDialog::done(result);
}

TZv1FormBox::TZv1FormBox(QWidget* owner)
    : TLayoutFormBox(owner, &LauncherSettings::zv1form, &LauncherSettings::real1,
                     {QStringLiteral("標準(800x600)"), QStringLiteral("縦並び(640x480)"),
                      QStringLiteral("卓(1024x768)"), QStringLiteral("卓 (800x600)")}) {
    setObjectName("TZv1FormBox");
    setWindowTitle(QStringLiteral("麻雀  盤設定"));
    OfferEveryChoice(false);
    FormCreate();
}

void TZv1FormBox::OfferEveryChoice(bool every) {
    for (QWidget* optional : std::initializer_list<QWidget*>{rblarge, large, rblarge4, large4, realpai})
        optional->setVisible(every);
}

TZv4FormBox::TZv4FormBox(QWidget* owner)
    : TLayoutFormBox(owner, &LauncherSettings::zv4form, &LauncherSettings::real4,
                     {QStringLiteral("標準"), QStringLiteral("小さい"), QStringLiteral("卓"),
                      QStringLiteral("卓(小さい)")}) {
    setObjectName("TZv4FormBox");
    setWindowTitle(QStringLiteral("麻雀  ネットワーク対戦の設定"));
    FormCreate();
}

TZvSetupBox::TZvSetupBox(QWidget* owner, LayoutWindows& windows) : QDialog(owner), windows_(windows) {
    setObjectName("TZvSetupBox");
    setWindowTitle(QStringLiteral("麻雀  設定"));
    setWindowFlags(kFixedDialogFlags);

    ZvInstall = SetupButton(this, "ZvInstall", QStringLiteral("盤設定"), "ZvInstall");
    haifubutton = SetupButton(this, "haifubutton", QStringLiteral("牌譜"), "haifuswbutton");
    SpeedButton1 = SetupButton(this, "SpeedButton1", QStringLiteral("ルール"), "RuleButton");
    SpeedButton1->setToolTip(QStringLiteral("ルールのカスタマイズ"));
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");

    auto* row = new QHBoxLayout;
    row->addWidget(ZvInstall);
    row->addWidget(haifubutton);
    row->addWidget(SpeedButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ZvInstall, &QToolButton::clicked, this, &TZvSetupBox::ZvInstallClick);
    connect(haifubutton, &QToolButton::clicked, this, &TZvSetupBox::haifubuttonClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TZvSetupBox::SpeedButton1Click);
    connect(CancelButton, &QPushButton::clicked, this, &TZvSetupBox::CancelButtonClick);
}

void TZvSetupBox::ZvInstallClick() {
    QWidget* owner = parentWidget() != nullptr ? parentWidget() : this;
    QDialog* form = Kind == kOnePlayerGame ? static_cast<QDialog*>(windows_.Zv1Form(owner))
                                           : static_cast<QDialog*>(windows_.Zv4Form(owner));
    PlaceDialog(this, form);
    form->exec();
}

void TZvSetupBox::haifubuttonClick() { EditRecordOption(this, Kind); }

void TZvSetupBox::SpeedButton1Click() { OpenRuleBox(this, Kind); }

void TZvSetupBox::CancelButtonClick() { reject(); }

void LayoutWindows::Create(QWidget* mainWindow) {
    Zv4Form(mainWindow);
    Zv1Form(mainWindow);
    Setup(mainWindow);
}

TZv1FormBox* LayoutWindows::Zv1Form(QWidget* owner) {
    if (zv1Form_.isNull()) zv1Form_ = new TZv1FormBox(owner);
    return zv1Form_;
}

TZv4FormBox* LayoutWindows::Zv4Form(QWidget* owner) {
    if (zv4Form_.isNull()) zv4Form_ = new TZv4FormBox(owner);
    return zv4Form_;
}

TZvSetupBox* LayoutWindows::Setup(QWidget* owner) {
    if (setup_.isNull()) setup_ = new TZvSetupBox(owner, *this);
    return setup_;
}

void ShowKeptWindow(QWidget* owner, QDialog* window) {
    PlaceDialog(owner, window);
    window->exec();
}

}  // namespace zv
