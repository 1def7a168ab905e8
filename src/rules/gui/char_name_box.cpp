#include "rules/gui/char_name_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/user_identity.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "platform/platform.h"
#include "rules/character_roster.h"
#include "rules/gui/characters.h"
#include "rules/gui/mk_char_box.h"

namespace zv {

TInputCharNameBox::TInputCharNameBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TInputCharNameBox");
    setWindowTitle(QStringLiteral("麻雀キャラクタのカスタマイズ"));
    setWindowFlags(kFixedDialogFlags);

    NameLabel = new QLabel(QStringLiteral("キャラクタ名"), this);
    NameLabel->setObjectName("NameLabel");
    ModifyCharNameComboBox = new QComboBox(this);
    ModifyCharNameComboBox->setObjectName("ModifyCharNameComboBox");
    ModifyCharNameComboBox->setEditable(true);
    ModifyCharNameComboBox->setInsertPolicy(QComboBox::NoInsert);
    ModifyCharNameComboBox->setMinimumWidth(220);
    NameLabel->setBuddy(ModifyCharNameComboBox);

    ModifyCharButton = new QPushButton(QStringLiteral("OK"), this);
    ModifyCharButton->setObjectName("ModifyCharButton");
    ModifyCharButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(NameLabel);
    nameRow->addWidget(ModifyCharNameComboBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ModifyCharButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ModifyCharButton, &QPushButton::clicked, this, &TInputCharNameBox::ModifyCharButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TInputCharNameBox::CancelButtonClick);

    for (const std::string& name : ListUsrEntryNames(CurrentPlatform().InstallDir()))
        ModifyCharNameComboBox->addItem(Q(name));
    std::string logon;
    if (!ReadRegistryString(RegistryRoot::LocalMachine, "Network\\Logon", "username", logon)) logon.clear();
    ModifyCharNameComboBox->setEditText(Q(logon));
}

void TInputCharNameBox::ModifyCharButtonClick() {
    const std::string name = S(ModifyCharNameComboBox->currentText());
    const std::string installDir = CurrentPlatform().InstallDir();
    if (!IsUsableCharacterName(name)) {
        ShowErrorDialog(this, name, "このキャラクタ名は使えません",
                        "空の名前、「.」「..」と、「/」「\"」「\\」を含む名前は使えません");
        return;
    }
    const std::string path = CharacterFilePath(installDir, name);
    bool isNew = false;
    if (!PathExists(path)) {
        if (!AskYesNo(this, "麻雀  キャラクタメイキング",
                      "キャラクタファイルが見つかりません。新規に作成しますか？"))
            return;
        if (!MakeCharacterDir(installDir, name)) {
            ShowErrorDialog(this, CharacterDir(installDir, name), "ディレクトリを作成できません",
                            "パーミッションを確認してください");
            return;
        }
        isNew = true;
    }

    TMkCharBox maker(this);
    PlaceDialog(this, &maker);
    maker.SetCharacter(name);
    if (!isNew && !LoadCharacterFile(&maker, name)) return;
    maker.exec();
    accept();
}

void TInputCharNameBox::CancelButtonClick() { reject(); }

void OpenCharNameBox(QWidget* owner) {
    TInputCharNameBox box(owner);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
