#pragma once
// Small builders of the controls every dialog makes the same way.
#include <QString>

class QLabel;
class QWidget;

namespace zv {

// A label that shows its text as written, never as markup (names and paths
// come from the user and the system), with `name` as its object name when
// one is given, and wrapped at word boundaries when `wrap` is set.
QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text = {}, bool wrap = false);

}  // namespace zv
