#include "gui_common/dialog_widgets.h"

#include <QLabel>

namespace zv {

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text, bool wrap) {
    auto* label = new QLabel(text, parent);
    if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

}  // namespace zv
