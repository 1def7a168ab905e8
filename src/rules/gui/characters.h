#pragma once
// Computer characters for every window that shows or picks them: faces,
// descriptions, the character list, the selection and association dialogs,
// and the naming dialog behind the main window's character button.
#include <QPixmap>
#include <functional>
#include <string>

#include "rules/character_roster.h"

class QListWidget;
class QWidget;

namespace zv {

struct NucNode;

// The face of a character: full colour when `hicolorchar` is set, else the
// 16-colour one; the _default faces stand in for missing files. A null
// pixmap when even those are missing.
QPixmap CharacterFace(const std::string& name);
// The same face for a picture control (48 x 48, stretched by the control).
QPixmap CharacterPicture(const std::string& name);
// The first line of the character's .cha file, or "".
std::string CharacterDescription(const std::string& name);

// The view of character lists, from the `liststyle` setting.
CharacterListKind CharacterListStyle();

// Fills `list` with every character below usr/ (not _default), captions
// only, or with their faces as 48 x 48 icons when `readface` is 1. The owner
// is the window that shows the list.
void FillCharacterList(QWidget* owner, QListWidget* list);
// Large icons (faces), small icons, or a plain list of names.
void ApplyCharacterListStyle(QListWidget* list, CharacterListKind kind);

// Shows the association dialog of characters and computer-player programs,
// created on the first call of the run from `list` (the launch.nuc pairs)
// and kept afterwards, so edits survive between openings. When it closes,
// its rows become the text CharAssocText returns.
void RunCharAssocBox(QWidget* owner, const NucNode* list);

// Called with each character newly picked in the selection dialog.
using CharacterPicked = std::function<void(const std::string& name)>;
// The process-wide slot the selection dialog reports to.
void SetCharSelectCallback(CharacterPicked callback);
// Opens the selection dialog directly below `owner`, reporting to `picked`.
void RunCharSelectBox(QWidget* owner, CharacterPicked picked);

// The naming dialog: creates or opens a character for the character maker.
void OpenCharNameBox(QWidget* owner);

}  // namespace zv
