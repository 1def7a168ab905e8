#include "records/gui/player_info_box.h"

#include <QAction>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "records/gui/statistics_window.h"
#include "records/rating.h"
#include "records/results.h"
#include "rules/gui/characters.h"

namespace zv {
namespace {

const char* const kTitle = "麻雀  プレーヤ情報";
const char* const kChoiceTitle = "麻雀  コンピュータプレーヤの選択";

QLabel* ValueLabel(QWidget* parent, const char* name) {
    QLabel* label = PlainLabel(parent, name);  // player names are shown as written
    label->setMinimumWidth(80);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A player's face: the shared character picture.
QPixmap PlayerFacePicture(const std::string& name) { return CharacterPicture(name); }

// Fills the list with every player (the shared character list: never
// _default; faces only when faces are read).
void FillPlayerList(QWidget* owner, QListWidget* list) {
    list->clear();
    FillCharacterList(owner, list);
}

}  // namespace

// ---------------------------------------------------------------------------

TShowPlayerBox::TShowPlayerBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ShowPlayerBox"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setModal(false);

    struct Row {
        QLabel*& label;
        const char* name;
        const char* caption;
    };
    const Row rows[] = {
        {PlayerName, "PlayerName", "プレーヤ名"},
        {TotalGame, "TotalGame", "総ゲーム数"},
        {TotalPlay, "TotalPlay", "総プレイ数"},
        {TotalPoint, "TotalPoint", "総ポイント"},
        {TotalTip, "TotalTip", "総チップ"},
        {TotalMoney, "TotalMoney", "持ち金"},
        {First, "First", "1位回数"},
        {Second, "Second", "2位回数"},
        {Third, "Third", "3位回数"},
        {Fourth, "Fourth", "4位回数"},
        {TumoCount, "TumoCount", "ツモ回数"},
        {RonCount, "RonCount", "ロン回数"},
        {FuriCount, "FuriCount", "放銃回数"},
        {ReachCount, "ReachCount", "リーチ回数"},
        {NakiCount, "NakiCount", "鳴いた回数"},
        {TumoAve, "TumoAve", "ツモ平均点"},
        {RonAve, "RonAve", "ロン平均点"},
        {FuriAve, "FuriAve", "放銃平均点"},
    };
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    // Two columns: the totals with reaches and calls on the left, places,
    // wins, deal-ins and their averages on the right.
    int index = 0, leftLine = 0, rightLine = 0;
    for (const Row& row : rows) {
        row.label = ValueLabel(this, row.name);
        const bool left = index < 6 || row.label == ReachCount || row.label == NakiCount;
        const int column = left ? 0 : 2;
        const int line = left ? leftLine++ : rightLine++;
        figures->addWidget(new QLabel(QString::fromUtf8(row.caption), this), line, column);
        figures->addWidget(row.label, line, column + 1);
        ++index;
    }

    CharImage = new QLabel(this);
    CharImage->setObjectName(QStringLiteral("CharImage"));
    CharImage->setFixedSize(64, 64);
    CharImage->setAlignment(Qt::AlignCenter);

    YakuListBox = new QListWidget(this);
    YakuListBox->setObjectName(QStringLiteral("YakuListBox"));
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    YakuListBox->setFont(fixed);
    YakuListBox->setMinimumWidth(220);

    OkButton = Button(this, "OkButton", "閉じる");
    connect(OkButton, &QPushButton::clicked, this, &TShowPlayerBox::OkButtonClick);

    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(CharImage);
    top->addStretch();
    left->addLayout(top);
    left->addLayout(figures);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QString::fromUtf8("和了した役一覧"), this));
    right->addWidget(YakuListBox, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
}

void TShowPlayerBox::ShowResults(const std::string& playerName, const PlayerResults& results) {
    for (const auto& [name, text] : StatisticsTexts(playerName, results)) {
        if (auto* label = findChild<QLabel*>(Q(name))) label->setText(Q(text));
    }
    YakuListBox->clear();
    for (const std::string& line : YakuListLines(results)) YakuListBox->addItem(Q(line));
}

void TShowPlayerBox::OkButtonClick() { hide(); }

// ---------------------------------------------------------------------------

TShowPointBox::TShowPointBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ShowPointBox"));
    setWindowTitle(QString::fromUtf8("麻雀  ポイントの表示"));
    setModal(false);

    struct Row {
        QLabel*& label;
        const char* name;
        const char* caption;
    };
    const Row rows[] = {
        {user, "user", "プレーヤ名"},           {tech, "tech", "技能ポイント"}, {luck, "luck", "運ポイント"},
        {strength, "strength", "雀力ポイント"}, {attr, "attr", "属性"},
    };
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    int line = 0;
    for (const Row& row : rows) {
        row.label = ValueLabel(this, row.name);
        figures->addWidget(new QLabel(QString::fromUtf8(row.caption), this), line, 0);
        figures->addWidget(row.label, line, 1);
        ++line;
    }

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setAlignment(Qt::AlignCenter);

    CloseButton = Button(this, "CloseButton", "閉じる");
    connect(CloseButton, &QPushButton::clicked, this, &TShowPointBox::CloseButtonClick);

    auto* body = new QHBoxLayout;
    body->addWidget(Image1, 0, Qt::AlignTop);
    body->addLayout(figures);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
}

void TShowPointBox::ShowRating(const std::string& playerName, const PlayerResults& results) {
    PlayerRating rating = RatePlayer(results);
    user->setText(Q(playerName));
    tech->setText(QString::number(rating.technique));
    luck->setText(QString::number(rating.luck));
    strength->setText(QString::number(rating.strength));
    attr->setText(Q(AttributeClass(rating.attribute)));
}

void TShowPointBox::CloseButtonClick() { hide(); }

// ---------------------------------------------------------------------------

TPlayerInfoBox::TPlayerInfoBox(QWidget* owner, bool powerUp) : QDialog(owner) {
    setObjectName(QStringLiteral("PlayerInfoBox"));
    setWindowTitle(QString::fromUtf8(kTitle));

    auto* menuBar = new QMenuBar(this);
    QMenu* view = menuBar->addMenu(QString::fromUtf8("表示"));
    FaceMenu = view->addAction(QString::fromUtf8("フェイス"));
    FaceMenu->setObjectName(QStringLiteral("FaceMenu"));
    ListMenu = view->addAction(QString::fromUtf8("リスト"));
    ListMenu->setObjectName(QStringLiteral("ListMenu"));
    connect(FaceMenu, &QAction::triggered, this, &TPlayerInfoBox::FaceMenuClick);
    connect(ListMenu, &QAction::triggered, this, &TPlayerInfoBox::ListMenuClick);

    auto* group = new QGroupBox(QString::fromUtf8("プレーヤの選択"), this);
    ListView = new QListWidget(group);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setMinimumSize(360, 220);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(ListView);

    // Which results file is read; the choice is shown in the power-up edition.
    ClientCheck = new QRadioButton(QString::fromUtf8("ネットワーク対戦"), this);
    ClientCheck->setObjectName(QStringLiteral("ClientCheck"));
    ClientCheck->setChecked(true);
    ClientCheck->setVisible(false);
    Zelvan1Check = new QRadioButton(QString::fromUtf8("一人遊び"), this);
    Zelvan1Check->setObjectName(QStringLiteral("Zelvan1Check"));
    Zelvan1Check->setVisible(false);

    OKButton = Button(this, "OKButton", "統計");
    PointButton = Button(this, "PointButton", "ポイント");
    PointButton->setVisible(false);
    StatsButton = Button(this, "StatsButton", "成績グラフ");
    StatsButton->setToolTip(QString::fromUtf8("成績の統計とグラフ、記録された対局を表示します"));
    StatsButton->setVisible(powerUp);
    CancelButton = Button(this, "CancelButton", "閉じる");
    connect(StatsButton, &QPushButton::clicked, this, &TPlayerInfoBox::StatsButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TPlayerInfoBox::OKButtonClick);
    connect(PointButton, &QPushButton::clicked, this, &TPlayerInfoBox::PointButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TPlayerInfoBox::CancelButtonClick);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(PointButton);
    if (powerUp) buttons->addWidget(StatsButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(group, 1);
    body->addLayout(buttons);
    if (powerUp) {
        buttons->insertWidget(0, ClientCheck);
        buttons->insertWidget(1, Zelvan1Check);
        for (QWidget* shown : std::initializer_list<QWidget*>{ClientCheck, Zelvan1Check, PointButton})
            shown->setVisible(true);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(body);

    FormCreate();
}

void TPlayerInfoBox::FormCreate() {
    FillPlayerList(this, ListView);
    ApplyCharacterListStyle(ListView, CharacterListStyle());
}

bool TPlayerInfoBox::ReadSelected(std::string& name, PlayerResults& results) {
    QListWidgetItem* item = ListView->currentItem();
    if (item == nullptr || !item->isSelected()) {
        ShowMsgBox(this, kChoiceTitle, "プレーヤが選択されていません");
        return false;
    }
    name = S(item->text());
    if (!ReadResults(results, name, ClientCheck->isChecked())) {
        ShowErrorDialog(this, kChoiceTitle, name, "成績ﾌｧｲﾙを読み込めません");
        return false;
    }
    return true;
}

void TPlayerInfoBox::OKButtonClick() {
    std::string name;
    PlayerResults results;
    if (!ReadSelected(name, results)) return;
    auto* box = new TShowPlayerBox(this);
    PlaceDialog(this, box);
    box->CharImage->setPixmap(PlayerFacePicture(name).scaled(box->CharImage->size(), Qt::KeepAspectRatio));
    box->ShowResults(name, results);
    box->show();
}

void TPlayerInfoBox::PointButtonClick() {
    std::string name;
    PlayerResults results;
    if (!ReadSelected(name, results)) return;
    auto* box = new TShowPointBox(this);
    PlaceDialog(this, box);
    box->Image1->setPixmap(PlayerFacePicture(name).scaled(box->Image1->size(), Qt::KeepAspectRatio));
    box->ShowRating(name, results);
    box->show();
}

void TPlayerInfoBox::StatsButtonClick() {
    QListWidgetItem* item = ListView->currentItem();
    if (item == nullptr || !item->isSelected()) {
        ShowMsgBox(this, kChoiceTitle, "プレーヤが選択されていません");
        return;
    }
    // A player without results yet gets the window too: it says so itself.
    auto* window = new TStatisticsWindow(this, S(item->text()));
    PlaceDialog(this, window);
    window->show();
}

void TPlayerInfoBox::CancelButtonClick() { close(); }

void TPlayerInfoBox::FaceMenuClick() {
    Settings().liststyle = "normal";
    ApplyCharacterListStyle(ListView, CharacterListStyle());
}

void TPlayerInfoBox::ListMenuClick() {
    Settings().liststyle = "list";
    ApplyCharacterListStyle(ListView, CharacterListStyle());
}

void RunPlayerInfoBox(QWidget* owner, bool powerUp) {
    TPlayerInfoBox box(owner, powerUp);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
