#pragma once
// The rule editor: a modal dialog with four tabs (hands, game flow, chips,
// placement bonus) that edits the rules file of the one-player game or of
// the game server. Setting the game kind selects the file and loads it;
// OK writes it whole, "閉じる" closes without writing.
#include <QDialog>
#include <map>
#include <string>

#include "rules/rule_file.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace zv {

class TRuleBox : public QDialog {
    Q_OBJECT
public:
    explicit TRuleBox(QWidget* owner);

    // Checks play1 (kind 1) or play4 (any other kind), disables the other
    // and loads that kind's rules file into the controls.
    void SetGameKind(int gameKind);

    // The rules as the controls show them, and the reverse.
    LocalRules Rules() const;
    void ShowRules(const LocalRules& rules);

    void SaveButtonClick();
    void CancelButtonClick();

    QTabWidget* PageControl;
    QWidget* ruleyaku;
    QWidget* rulegame;
    QWidget* ruletip;
    QWidget* ruleuma;

    QGroupBox* GameGroup;  // "ルールを設定するゲーム", never shown
    QRadioButton* play1;
    QRadioButton* play4;

    QGroupBox* TonpuGroup;
    QRadioButton* TonpuButton;
    QRadioButton* TonnanButton;
    std::map<std::string, QCheckBox*> flagBoxes;  // by key
    std::map<std::string, QComboBox*> textBoxes;  // by key
    QGroupBox* UmaGroup;
    QRadioButton* umaButtons[6];  // by kUmaChoices index

    QPushButton* SaveButton;
    QPushButton* CancelButton;

private:
    // The game kind the checked radio button stands for; false when neither
    // is checked.
    bool CheckedGameKind(int& gameKind) const;
    // Reports the missing game kind.
    void ReportNoGameKind();
};

// Opens the editor for a game kind: created, placed beside the owner, loaded,
// shown modally and destroyed.
void OpenRuleBox(QWidget* owner, int gameKind);

}  // namespace zv
