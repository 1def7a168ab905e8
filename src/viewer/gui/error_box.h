#pragma once
// The application's standard error box: a modal message box titled with the
// application's title. Everything the viewer reports goes through one hook,
// which tests replace with a recorder.
#include <QString>
#include <functional>

class QWidget;

namespace zv::viewer {

using ErrorBoxHook = std::function<void(QWidget* parent, const QString& text)>;

void ShowErrorBox(QWidget* parent, const QString& text);

// Installs a replacement; an empty hook restores the real message box.
void SetErrorBoxHook(ErrorBoxHook hook);

}  // namespace zv::viewer
