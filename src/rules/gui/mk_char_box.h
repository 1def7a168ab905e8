#pragma once
// The character maker: the playing style of one computer character, saved
// as its personal file usr/<name>/<name>.pf. Opened by the naming dialog,
// which sets the character name and loads an existing file first.
#include <QDialog>
#include <array>
#include <string>

#include "rules/character_file.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace zv {

class TMkCharBox : public QDialog {
    Q_OBJECT
public:
    explicit TMkCharBox(QWidget* owner);

    // Sets the CharacterName caption and the NameEdit text.
    void SetCharacter(const std::string& name);

    // The values the fields show; a spin field whose text is not a number
    // counts as 0. Setting pulls bounded fields into 0..1000.
    CharacterValues Values() const;
    void SetValues(const CharacterValues& values);

    QLabel* CharacterNameLabel;
    QLabel* CharacterName;
    QTabWidget* PageControl;
    // One spin field per entry of CharacterParams(), in that order.
    std::array<QSpinBox*, kCharacterParamCount> Fields{};
    QSpinBox* Field(const char* control) const;
    QCheckBox* Tomato;
    QLineEdit* NameEdit;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

    void SaveButtonClick();
    void CancelButtonClick();
};

// Loads usr/<name>/<name>.pf into the maker; failures are reported (owner:
// the maker) and give false, leaving the fields as they were.
bool LoadCharacterFile(TMkCharBox* box, const std::string& name);

}  // namespace zv
