#pragma once
// The four small modal dialogs through which every window talks to the user,
// and the two placement helpers every dialog uses.
//
// Each call creates its dialog owned by `owner`, places it 50 pixels right of
// and below the owner, shows it modally and destroys it before returning.
// Tests can send every call to a MessageDialogs recorder instead
// (SetDialogOverrideForTests), so no window appears.
#include <QDialog>
#include <QPointer>
#include <string>

#include "config/message_dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zv {

// Window flags of the fixed-size dialogs: a title, a system menu and a close
// box, and the same with a minimise box.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
inline constexpr Qt::WindowFlags kFixedMinimizableDialogFlags =
    kFixedDialogFlags | Qt::WindowMinimizeButtonHint;

// Error report: "麻雀  エラー" with what was being done, what failed and a
// detail or advice.
class TErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit TErrorDialog(QWidget* owner);
    QLabel* cmdmsg;
    QLabel* failmsg;
    QLabel* msg;
    QPushButton* OkButton;
};

// Plain message with a caller-given title.
class TMsgBox : public QDialog {
    Q_OBJECT
public:
    explicit TMsgBox(QWidget* owner);
    QLabel* Text;
    QPushButton* OkButton;
};

// Yes/no question; the answer is "yes" only when YesButton was pressed.
class TYesNoBox : public QDialog {
    Q_OBJECT
public:
    explicit TYesNoBox(QWidget* owner);
    bool Answer() const { return answer_; }
    QLabel* Text;
    QPushButton* YesButton;
    QPushButton* NoButton;

    void YesButtonClick();
    void NoButtonClick();

private:
    bool answer_ = false;
};

// One-line text entry. OK and the close box keep the typed text; "閉じる"
// empties it, so the caller's value stays as it was.
class TInputLineBox : public QDialog {
    Q_OBJECT
public:
    explicit TInputLineBox(QWidget* owner);
    QLabel* InputLabel;
    QLineEdit* InputEdit;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void OKButtonClick();
    void CancelButtonClick();
};

void ShowErrorDialog(QWidget* owner, const std::string& what, const std::string& failure,
                     const std::string& detail);
void ShowMsgBox(QWidget* owner, const std::string& title, const std::string& text);
bool AskYesNo(QWidget* owner, const std::string& title, const std::string& question);
// `value` becomes the typed text only when that text is not empty.
void AskInputLine(QWidget* owner, const std::string& title, const std::string& label, std::string& value);

// Moves `dialog` to the owner's left + 50, top + 50 (screen pixels).
void PlaceDialog(const QWidget* owner, QWidget* dialog);
// Moves `window` directly below the owner: same left edge, owner's top plus
// its height.
void PlaceBelow(const QWidget* owner, QWidget* window);

// The four dialogs bound to an owner window, for core functions that report
// through MessageDialogs.
class WidgetDialogs : public MessageDialogs {
public:
    explicit WidgetDialogs(QWidget* owner) : owner_(owner) {}
    // For a window that reports through dialogs it owns itself, which are
    // made before it: binds them once it exists. After the window is gone
    // the dialogs have no owner.
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override;
    void ShowMsgBox(const std::string& title, const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    void AskInputLine(const std::string& title, const std::string& label, std::string& value) override;

private:
    QPointer<QWidget> owner_;
};

// Sends every dialog call to `dialogs` instead of showing a window; nullptr
// shows real dialogs again.
void SetDialogOverrideForTests(MessageDialogs* dialogs);

}  // namespace zv
