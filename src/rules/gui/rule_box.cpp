#include "rules/gui/rule_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"

namespace zv {
namespace {

const char* const kRuleBoxTitle = "麻雀  ルール設定";

// Which tab each check box and drop-down box lives on.
const char* const kYakuKeys[] = {"nopintumo", "noakadora", "nonakitan", "nokanura", "nonakiaka", "77mangan"};
const char* const kGameKeys[] = {"startpoint", "nofly",    "under", "atamahane",
                                 "nosancyaho", "nokuikae", "pao"};
const char* const kChipKeys[] = {"yakuman-chip", "ippatu-chip", "uradora-chip", "akadora-chip", "noallstars"};

const RuleKey& KeyEntry(const std::string& key) {
    for (const RuleKey& entry : kRuleKeys)
        if (key == entry.key) return entry;
    return kRuleKeys.front();
}

// Accepts every text a rules file can hold and nothing else: the box keeps
// exactly what was typed.
class RuleTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return IsStorableRuleText(S(input)) ? Acceptable : Invalid;
    }
};

// Radio buttons that are exclusive among their siblings cannot be unchecked
// one by one; this clears all of them.
void ClearRadios(std::initializer_list<QRadioButton*> buttons) {
    for (QRadioButton* button : buttons) button->setAutoExclusive(false);
    for (QRadioButton* button : buttons) button->setChecked(false);
    for (QRadioButton* button : buttons) button->setAutoExclusive(true);
}

QLabel* Explanation(const RuleKey& entry, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(entry.explanation), parent);
    label->setObjectName(QString::fromUtf8(entry.component) + "Label");
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TRuleBox::TRuleBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TRuleBox");
    setWindowTitle(QStringLiteral("麻雀  ローカルルール設定"));
    setWindowFlags(kFixedDialogFlags);

    // The game kind is carried by two radio buttons the user never sees.
    GameGroup = new QGroupBox(QStringLiteral("ルールを設定するゲーム"), this);
    GameGroup->setObjectName("GameGroup");
    play1 = new QRadioButton(QStringLiteral("一人遊び"), GameGroup);
    play1->setObjectName("play1");
    play4 = new QRadioButton(QStringLiteral("ネットワーク対戦"), GameGroup);
    play4->setObjectName("play4");
    play4->setToolTip(QStringLiteral("ｹﾞｰﾑｻｰﾊﾞのﾙｰﾙ設定です"));
    play1->setVisible(false);
    play4->setVisible(false);
    GameGroup->setVisible(false);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    auto addPage = [&](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        PageControl->addTab(page, caption);
        return page;
    };
    ruleyaku = addPage("ruleyaku", QStringLiteral("役"));
    rulegame = addPage("rulegame", QStringLiteral("ゲーム運び"));
    ruletip = addPage("ruletip", QStringLiteral("チップ"));
    ruleuma = addPage("ruleuma", QStringLiteral("ウマ"));

    // One row of a page: a check box with its explanation, or the
    // explanation of a drop-down box followed by the box.
    auto addRow = [&](QWidget* page, QGridLayout* grid, const std::string& key) {
        const RuleKey& entry = KeyEntry(key);
        int row = grid->rowCount();
        if (entry.control == RuleControl::Flag) {
            auto* box = new QCheckBox(QString::fromUtf8(entry.caption), page);
            box->setObjectName(entry.component);
            flagBoxes[key] = box;
            grid->addWidget(box, row, 0);
            if (*entry.explanation != '\0') grid->addWidget(Explanation(entry, page), row, 1);
        } else {
            auto* box = new QComboBox(page);
            box->setObjectName(entry.component);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            for (const std::string& item : RuleTextItems(key)) box->addItem(Q(item));
            box->lineEdit()->setValidator(new RuleTextValidator(box));
            box->setMinimumContentsLength(6);
            textBoxes[key] = box;
            QLabel* label = Explanation(entry, page);
            label->setBuddy(box);
            grid->addWidget(label, row, 0);
            grid->addWidget(box, row, 1, Qt::AlignLeft);
        }
    };
    auto pageGrid = [](QWidget* page) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(16);
        grid->setVerticalSpacing(6);
        grid->setColumnStretch(2, 1);  // keeps the explanations beside their controls
        auto* outer = new QVBoxLayout(page);
        outer->addLayout(grid);
        outer->addStretch();
        return grid;
    };

    QGridLayout* yaku = pageGrid(ruleyaku);
    for (const char* key : kYakuKeys) addRow(ruleyaku, yaku, key);

    TonpuGroup = new QGroupBox(QStringLiteral("荘の設定"), rulegame);
    TonpuGroup->setObjectName("TonpuGroup");
    TonpuButton = new QRadioButton(QStringLiteral("東風戦"), TonpuGroup);
    TonpuButton->setObjectName("TonpuButton");
    TonnanButton = new QRadioButton(QStringLiteral("東南戦"), TonpuGroup);
    TonnanButton->setObjectName("TonnanButton");
    auto* lengths = new QHBoxLayout(TonpuGroup);
    lengths->addWidget(TonpuButton);
    lengths->addWidget(TonnanButton);
    lengths->addStretch();
    QGridLayout* game = pageGrid(rulegame);
    game->addWidget(TonpuGroup, 0, 0, 1, 3);
    for (const char* key : kGameKeys) addRow(rulegame, game, key);
    textBoxes["startpoint"]->setToolTip(QStringLiteral("ｹﾞｰﾑ開始時のﾌﾟﾚｰﾔそれぞれの持ち点"));

    QGridLayout* chips = pageGrid(ruletip);
    for (const char* key : kChipKeys) addRow(ruletip, chips, key);

    UmaGroup = new QGroupBox(QStringLiteral("ウマ(トップ賞)についての設定"), ruleuma);
    UmaGroup->setObjectName("UmaGroup");
    auto* umaGrid = new QGridLayout(UmaGroup);
    for (std::size_t i = 0; i < kUmaChoices.size(); ++i) {
        umaButtons[i] = new QRadioButton(QString::fromUtf8(kUmaChoices[i].caption), UmaGroup);
        umaButtons[i]->setObjectName(kUmaChoices[i].component);
        umaGrid->addWidget(umaButtons[i], static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    umaGrid->setHorizontalSpacing(32);
    auto* umaPage = new QVBoxLayout(ruleuma);
    umaPage->addWidget(UmaGroup);
    umaPage->addStretch();

    SaveButton = new QPushButton(QStringLiteral("OK"), this);
    SaveButton->setObjectName("SaveButton");
    SaveButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GameGroup);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(SaveButton, &QPushButton::clicked, this, &TRuleBox::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TRuleBox::CancelButtonClick);

    ShowRules(LocalRules());
}

LocalRules TRuleBox::Rules() const {
    LocalRules rules;
    if (TonpuButton->isChecked())
        rules.length = GameLength::EastOnly;
    else if (TonnanButton->isChecked())
        rules.length = GameLength::EastSouth;
    else
        rules.length = GameLength::Unset;
    for (const auto& [key, box] : flagBoxes) rules.flags[key] = box->isChecked();
    for (const auto& [key, box] : textBoxes) rules.texts[key] = S(box->currentText());
    for (std::size_t i = 0; i < kUmaChoices.size(); ++i) rules.uma[i] = umaButtons[i]->isChecked();
    return rules;
}

void TRuleBox::ShowRules(const LocalRules& rules) {
    switch (rules.length) {
        case GameLength::EastOnly:
            TonpuButton->setChecked(true);
            break;
        case GameLength::EastSouth:
            TonnanButton->setChecked(true);
            break;
        case GameLength::Unset:
            ClearRadios({TonpuButton, TonnanButton});
            break;
    }
    for (const auto& [key, box] : flagBoxes) box->setChecked(rules.flags.at(key));
    for (const auto& [key, box] : textBoxes) box->setCurrentText(Q(rules.texts.at(key)));
    ClearRadios({umaButtons[0], umaButtons[1], umaButtons[2], umaButtons[3], umaButtons[4], umaButtons[5]});
    for (std::size_t i = 0; i < kUmaChoices.size(); ++i)
        if (rules.uma[i]) umaButtons[i]->setChecked(true);
}

bool TRuleBox::CheckedGameKind(int& gameKind) const {
    if (play1->isChecked()) {
        gameKind = kOnePlayerGame;
        return true;
    }
    if (play4->isChecked()) {
        gameKind = 0;
        return true;
    }
    return false;
}

void TRuleBox::ReportNoGameKind() {
    ShowErrorDialog(this, kRuleBoxTitle, "1人遊び、ネットワーク対戦のいずれかを指定してください", "");
}

void TRuleBox::SetGameKind(int gameKind) {
    bool onePlayer = !IsServerRules(gameKind);
    play1->setEnabled(onePlayer);
    play4->setEnabled(!onePlayer);
    (onePlayer ? play1 : play4)->setChecked(true);

    int kind = 0;
    if (!CheckedGameKind(kind)) {
        ReportNoGameKind();
        return;
    }
    // Keys the file lacks keep what the controls show; a missing file
    // leaves the defaults.
    LocalRules rules = Rules();
    ReadRulesFile(RulesFilePath(Settings().UserDir, kind), rules);
    ShowRules(rules);
}

void TRuleBox::SaveButtonClick() {
    int kind = 0;
    if (!CheckedGameKind(kind)) {
        ReportNoGameKind();
        return;
    }
    std::string path = RulesFilePath(Settings().UserDir, kind);
    switch (WriteRulesFile(path, Rules())) {
        case SaveResult::CannotCreate:
            ShowErrorDialog(this, path, "ファイルオープンエラー", "ファイルをオープンできません");
            return;
        case SaveResult::WriteFailed:
            ShowErrorDialog(this, path, "ファイルI/Oエラー", "ファイルに書き出せません");
            break;
        case SaveResult::Saved:
            break;
    }
    accept();
    if (IsServerRules(kind))
        ShowMsgBox(this, "麻雀 ルール設定", "ゲームサーバーが起動している場合は起動しなおしてください。");
}

void TRuleBox::CancelButtonClick() { reject(); }

void OpenRuleBox(QWidget* owner, int gameKind) {
    TRuleBox box(owner);
    PlaceDialog(owner, &box);
    box.SetGameKind(gameKind);
    box.exec();
}

}  // namespace zv
