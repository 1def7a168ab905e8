#pragma once
// Conversions between the core's UTF-8 strings and Qt's strings.
#include <QString>
#include <string>

namespace zv {

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace zv
