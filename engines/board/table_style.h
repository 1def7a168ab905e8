#pragma once
// The look the table view's parts share: the colours of the table and of
// whose turn it is, the interface font and the names of the winds.
#include <QColor>
#include <QFont>
#include <QString>
#include <algorithm>
#include <cstddef>

#include "riichi/table.h"

namespace zv::board::table_style {

inline const QColor kFelt(0x1d, 0x5e, 0x3a);
inline const QColor kFeltDark(0x15, 0x45, 0x2a);
inline const QColor kWood(0x6b, 0x4a, 0x2b);
inline const QColor kTurn(0xff, 0xd8, 0x40);

inline std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

inline QString WindName(riichi::Kind wind) {
    static const char* names[] = {"東", "南", "西", "北"};
    int i = wind - riichi::kEast;
    return i >= 0 && i < 4 ? QString::fromUtf8(names[i]) : QString("?");
}

inline QFont UiFont(double pixels, bool bold = false) {
    QFont font("IPAGothic");
    font.setPixelSize(std::max(8, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

}  // namespace zv::board::table_style
