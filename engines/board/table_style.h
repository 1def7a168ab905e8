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

// Where `seat` sits for `viewer`: 0 the viewer, 1 at the right (the next to
// play), 2 across, 3 at the left. With three players the next seat sits at
// the right, the one before at the left, and the empty seat 3 across.
inline int RelativeSeat(int seat, int viewer, int players) {
    if (players != 3) return (seat - viewer + 4) % 4;
    if (seat == 3) return 2;
    int ahead = (seat - viewer % 3 + 3) % 3;
    return ahead == 2 ? 3 : ahead;
}

// The wind of `seat` when `dealer` is east: east, south and west only with
// three players.
inline riichi::Kind SeatWind(int seat, int dealer, int players) {
    return riichi::kEast + (seat - dealer + players) % players;
}

inline QFont UiFont(double pixels, bool bold = false) {
    QFont font("IPAGothic");
    font.setPixelSize(std::max(8, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

}  // namespace zv::board::table_style
