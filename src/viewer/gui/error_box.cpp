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
    QMessageBox::critical(parent, QString::fromUtf8(kBrowserTitle), text);
}

void SetErrorBoxHook(ErrorBoxHook hook) { Hook() = std::move(hook); }

}  // namespace zv::viewer
