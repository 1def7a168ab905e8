#include "rules/gui/mk_char_box.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "platform/platform.h"

namespace zv {
namespace {

constexpr const char* kScoringHint =
    "コンピュータプレーヤは、以下のパラメータに応じて手牌のひとつひとつに点数をつけ最も点数が低いものを捨てま"
    "す。";

QSpinBox* SpinField(const CharacterParam& param, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(param.control);
    if (param.bounded) {
        spin->setRange(kCharacterMin, kCharacterMax);
        spin->setMinimumWidth(90);
    } else {
        spin->setRange(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
        spin->setMinimumWidth(130);
    }
    spin->setSingleStep(10);
    spin->setAlignment(Qt::AlignRight);
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return spin;
}

}  // namespace

TMkCharBox::TMkCharBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TMkCharBox");
    setWindowTitle(QStringLiteral("麻雀  キャラクタ作成"));
    setWindowFlags(kFixedDialogFlags);

    CharacterNameLabel = PlainLabel(this, nullptr, QStringLiteral("キャラクタ名"));
    CharacterNameLabel->setObjectName("CharacterNameLabel");
    CharacterName = PlainLabel(this, nullptr);
    CharacterName->setObjectName("CharacterName");
    QFont bold = CharacterName->font();
    bold.setBold(true);
    CharacterName->setFont(bold);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    std::array<QFormLayout*, 4> forms{};
    for (int tab = 0; tab < 4; ++tab) {
        auto* page = new QWidget(PageControl);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(tab + 1));
        auto* pageLayout = new QVBoxLayout(page);
        forms[tab] = new QFormLayout;
        forms[tab]->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        forms[tab]->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        forms[tab]->setHorizontalSpacing(16);
        if (tab < 3) {
            auto* hint = PlainLabel(page, nullptr, QString::fromUtf8(kScoringHint), true);
            hint->setObjectName(QStringLiteral("Hint%1").arg(tab + 1));
            pageLayout->addWidget(hint);
        }
        pageLayout->addLayout(forms[tab]);
        pageLayout->addStretch();
        PageControl->addTab(page, QStringLiteral("パラメータその%1").arg(tab + 1));
        if (tab < 3) PageControl->setTabToolTip(tab, QString::fromUtf8(kScoringHint));
    }

    const auto& params = CharacterParams();
    for (std::size_t i = 0; i < params.size(); ++i) {
        QWidget* page = PageControl->widget(params[i].tab - 1);
        Fields[i] = SpinField(params[i], page);
        auto* label = PlainLabel(page, nullptr, QString::fromUtf8(params[i].label));
        label->setObjectName(QStringLiteral("%1Label").arg(params[i].control));
        label->setBuddy(Fields[i]);
        if (*params[i].hint != '\0') {
            label->setToolTip(QString::fromUtf8(params[i].hint));
            Fields[i]->setToolTip(QString::fromUtf8(params[i].hint));
        }
        forms[params[i].tab - 1]->addRow(label, Fields[i]);
    }

    QWidget* namePage = PageControl->widget(3);
    auto* nameLayout = qobject_cast<QVBoxLayout*>(namePage->layout());
    NameEdit = new QLineEdit(namePage);
    NameEdit->setObjectName("NameEdit");
    NameEdit->setMinimumWidth(200);
    Tomato = new QCheckBox(QStringLiteral("とまと"), namePage);
    Tomato->setObjectName("Tomato");
    Tomato->setVisible(false);
    forms[3]->addRow(PlainLabel(namePage, nullptr, QStringLiteral("名前")), NameEdit);
    int at = 0;
    for (const char* line :
         {"ここで指定した名前は、ゲーム上の名前として利用されます。",
          "ただし、パラメータに関するファイル名などはユーザ名あるいはログイン名を元に設定されます。",
          "空白は、全角の空白のみを受けつけます。"})
        nameLayout->insertWidget(at++, PlainLabel(namePage, nullptr, QString::fromUtf8(line), true));

    SaveButton = new QPushButton(QStringLiteral("OK"), this);
    SaveButton->setObjectName("SaveButton");
    SaveButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(CharacterNameLabel);
    nameRow->addWidget(CharacterName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    PageControl->setMinimumWidth(480);

    connect(SaveButton, &QPushButton::clicked, this, &TMkCharBox::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMkCharBox::CancelButtonClick);

    SetValues(DefaultCharacterValues("user"));
}

QSpinBox* TMkCharBox::Field(const char* control) const {
    auto index = CharacterParamIndex(control);
    return index ? Fields[*index] : nullptr;
}

void TMkCharBox::SetCharacter(const std::string& name) {
    CharacterName->setText(Q(name));
    NameEdit->setText(Q(name));
}

CharacterValues TMkCharBox::Values() const {
    CharacterValues values;
    const auto& params = CharacterParams();
    for (std::size_t i = 0; i < params.size(); ++i) {
        bool ok = false;
        int value = Fields[i]->cleanText().toInt(&ok);
        values.weights[i] = ok ? ClampCharacterValue(params[i], value) : 0;
    }
    values.noisy = Tomato->isChecked();
    values.displayName = S(NameEdit->text());
    return values;
}

void TMkCharBox::SetValues(const CharacterValues& values) {
    const auto& params = CharacterParams();
    for (std::size_t i = 0; i < params.size(); ++i)
        Fields[i]->setValue(ClampCharacterValue(params[i], values.weights[i]));
    Tomato->setChecked(values.noisy);
    NameEdit->setText(Q(values.displayName));
}

void TMkCharBox::SaveButtonClick() {
    std::string name = S(CharacterName->text());
    std::string path = CharacterFilePath(CurrentPlatform().InstallDir(), name);
    switch (SaveCharacterFile(path, Values())) {
        case SaveResult::CannotCreate:
            ShowErrorDialog(this, path, "ファイルをオープンできません",
                            "ディレクトリが存在するかどうか、ディレクトリの属性を確認してください");
            return;
        case SaveResult::WriteFailed:
            ShowErrorDialog(
                this, path, "ファイルに書き込みができません",
                "ディスクがいっぱいではないか、ファイルに書き込みが可能かどうかを確認してください");
            reject();
            return;
        case SaveResult::Saved:
            ShowMsgBox(this, "麻雀 ", "\"" + name + "\"のパラメータファイルをセーブできました");
            accept();
            return;
    }
}

void TMkCharBox::CancelButtonClick() { reject(); }

bool LoadCharacterFile(TMkCharBox* box, const std::string& name) {
    CharacterValues values = box->Values();
    WidgetDialogs dialogs(box);
    if (!LoadCharacterFile(CharacterFilePath(CurrentPlatform().InstallDir(), name), values, dialogs))
        return false;
    box->SetValues(values);
    return true;
}

}  // namespace zv
