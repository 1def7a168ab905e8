#include "viewer/gui/error_box.h"

#include <QMessageBox>

#include "viewer/picture_rules.h"

namespace zv::viewer {

namespace {
ErrorBoxHook& Hook() {
    static ErrorBoxHook hook;
    return hook;
}
}  // namespace

void ShowErrorBox(QWidget* parent, const QString& text) {
    if (Hook()) {
        Hook()(parent, text);
        return;
    }
    // The text holds file names, shown as they are and never as markup.
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kBrowserTitle), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void SetErrorBoxHook(ErrorBoxHook hook) { Hook() = std::move(hook); }

}  // namespace zv::viewer
