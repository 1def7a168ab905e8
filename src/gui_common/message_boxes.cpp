#include "gui_common/message_boxes.h"
#include "gui_common/dialog_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui_common/qt_text.h"

namespace zv {
namespace {

MessageDialogs* g_override = nullptr;

// Fixed-size dialog window with a close box and a minimise box.
void SetUpDialogWindow(QDialog* dialog, const char* name) {
    dialog->setObjectName(name);
    dialog->setWindowFlags(kFixedMinimizableDialogFlags);
    dialog->setModal(true);
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// A row with the buttons centred.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (auto* button : buttons) row->addWidget(button);
    row->addStretch();
    return row;
}

void FixSize(QDialog* dialog, QLayout* layout) {
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->setLayout(layout);
}

}  // namespace

TErrorDialog::TErrorDialog(QWidget* owner) : QDialog(owner) {
    SetUpDialogWindow(this, "TErrorDialog");
    setWindowTitle(QStringLiteral("麻雀  エラー"));
    cmdmsg = PlainLabel(this, "cmdmsg", {}, true);
    failmsg = PlainLabel(this, "failmsg", {}, true);
    msg = PlainLabel(this, "msg", {}, false);
    OkButton = NewButton(this, "OkButton", QStringLiteral("OK"));
    OkButton->setDefault(true);
    for (auto* label : {cmdmsg, failmsg}) label->setFixedWidth(320);
    msg->setMinimumWidth(320);
    auto* layout = new QVBoxLayout;
    layout->addWidget(cmdmsg);
    layout->addWidget(failmsg);
    layout->addWidget(msg);
    layout->addLayout(ButtonRow({OkButton}));
    FixSize(this, layout);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

TMsgBox::TMsgBox(QWidget* owner) : QDialog(owner) {
    SetUpDialogWindow(this, "TMsgBox");
    Text = PlainLabel(this, "Text", {}, true);
    Text->setFixedWidth(320);
    Text->setMinimumHeight(Text->fontMetrics().lineSpacing() * 3);
    Text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    OkButton = NewButton(this, "OkButton", QStringLiteral("OK"));
    OkButton->setDefault(true);
    auto* layout = new QVBoxLayout;
    layout->addWidget(Text);
    layout->addLayout(ButtonRow({OkButton}));
    FixSize(this, layout);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

TYesNoBox::TYesNoBox(QWidget* owner) : QDialog(owner) {
    SetUpDialogWindow(this, "TYesNoBox");
    Text = PlainLabel(this, "Text", {}, true);
    Text->setFixedWidth(320);
    Text->setMinimumHeight(Text->fontMetrics().lineSpacing() * 2);
    YesButton = NewButton(this, "YesButton", QStringLiteral("はい"));
    NoButton = NewButton(this, "NoButton", QStringLiteral("いいえ"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(Text);
    layout->addLayout(ButtonRow({YesButton, NoButton}));
    FixSize(this, layout);
    connect(YesButton, &QPushButton::clicked, this, &TYesNoBox::YesButtonClick);
    connect(NoButton, &QPushButton::clicked, this, &TYesNoBox::NoButtonClick);
}

void TYesNoBox::YesButtonClick() {
    answer_ = true;
    accept();
}

void TYesNoBox::NoButtonClick() {
    answer_ = false;
    reject();
}

TInputLineBox::TInputLineBox(QWidget* owner) : QDialog(owner) {
    SetUpDialogWindow(this, "TInputLineBox");
    InputLabel = PlainLabel(this, "InputLabel", {}, false);
    InputEdit = new QLineEdit(this);
    InputEdit->setObjectName("InputEdit");
    InputEdit->setMinimumWidth(200);
    OKButton = NewButton(this, "OKButton", QStringLiteral("OK"));
    OKButton->setDefault(true);
    CancelButton = NewButton(this, "CancelButton", QStringLiteral("閉じる"));
    auto* field = new QHBoxLayout;
    field->addWidget(InputLabel);
    field->addWidget(InputEdit, 1);
    auto* layout = new QVBoxLayout;
    layout->addLayout(field);
    layout->addLayout(ButtonRow({OKButton, CancelButton}));
    FixSize(this, layout);
    connect(OKButton, &QPushButton::clicked, this, &TInputLineBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TInputLineBox::CancelButtonClick);
    connect(InputEdit, &QLineEdit::returnPressed, this, &TInputLineBox::OKButtonClick);
}

void TInputLineBox::OKButtonClick() { accept(); }

void TInputLineBox::CancelButtonClick() {
    InputEdit->clear();
    reject();
}

void PlaceDialog(const QWidget* owner, QWidget* dialog) {
    if (owner == nullptr || dialog == nullptr) return;
    QPoint origin = owner->isWindow() ? owner->pos() : owner->mapToGlobal(QPoint(0, 0));
    dialog->move(origin.x() + 50, origin.y() + 50);
}

void PlaceBelow(const QWidget* owner, QWidget* window) {
    if (owner == nullptr || window == nullptr) return;
    QRect frame =
        owner->isWindow() ? owner->frameGeometry() : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    window->move(frame.left(), frame.top() + frame.height());
}

void ShowErrorDialog(QWidget* owner, const std::string& what, const std::string& failure,
                     const std::string& detail) {
    if (g_override != nullptr) return g_override->ShowErrorDialog(what, failure, detail);
    TErrorDialog dialog(owner);
    dialog.cmdmsg->setText(Q(what));
    dialog.failmsg->setText(Q(failure));
    dialog.msg->setText(Q(detail));
    PlaceDialog(owner, &dialog);
    dialog.exec();
}

void ShowMsgBox(QWidget* owner, const std::string& title, const std::string& text) {
    if (g_override != nullptr) return g_override->ShowMsgBox(title, text);
    TMsgBox dialog(owner);
    dialog.setWindowTitle(Q(title));
    dialog.Text->setText(Q(text));
    PlaceDialog(owner, &dialog);
    dialog.exec();
}

bool AskYesNo(QWidget* owner, const std::string& title, const std::string& question) {
    if (g_override != nullptr) return g_override->AskYesNo(title, question);
    TYesNoBox dialog(owner);
    dialog.setWindowTitle(Q(title));
    dialog.Text->setText(Q(question));
    PlaceDialog(owner, &dialog);
    dialog.exec();
    return dialog.Answer();
}

void AskInputLine(QWidget* owner, const std::string& title, const std::string& label, std::string& value) {
    if (g_override != nullptr) return g_override->AskInputLine(title, label, value);
    TInputLineBox dialog(owner);
    dialog.setWindowTitle(Q(title));
    dialog.InputLabel->setText(Q(label));
    dialog.InputEdit->setText(Q(value));
    PlaceDialog(owner, &dialog);
    dialog.exec();
    QString typed = dialog.InputEdit->text();
    if (!typed.isEmpty()) value = S(typed);
}

void WidgetDialogs::ShowErrorDialog(const std::string& what, const std::string& failure,
                                    const std::string& detail) {
    zv::ShowErrorDialog(owner_, what, failure, detail);
}

void WidgetDialogs::ShowMsgBox(const std::string& title, const std::string& text) {
    zv::ShowMsgBox(owner_, title, text);
}

bool WidgetDialogs::AskYesNo(const std::string& title, const std::string& question) {
    return zv::AskYesNo(owner_, title, question);
}

void WidgetDialogs::AskInputLine(const std::string& title, const std::string& label, std::string& value) {
    zv::AskInputLine(owner_, title, label, value);
}

void SetDialogOverrideForTests(MessageDialogs* dialogs) { g_override = dialogs; }

}  // namespace zv
