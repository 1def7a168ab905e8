#pragma once
// Conversions between the core's UTF-8 strings and Qt's strings.
#include <QString>
#include <QTextDocument>
#include <string>

namespace zv {

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string S(const QString& text) { return text.toStdString(); }

// A tool tip that shows the text as written: Qt takes a text that looks like
// markup (a character's description, say) for rich text, so such a text is
// escaped; any other text is left as it is.
inline QString PlainToolTip(const std::string& utf8) {
    QString text = Q(utf8);
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

}  // namespace zv
