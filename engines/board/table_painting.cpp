// The painting of the table view: the felt, the rivers, the other hands and
// the melds, and the centre box with the winds, scores, round and dora.
#include "board/table_view.h"

#include <QPainter>
#include <algorithm>

#include "board/table_style.h"

namespace zv::board {

using riichi::Kind;
using riichi::Meld;
using riichi::MeldType;
using riichi::TileId;
using table_style::Idx;
using table_style::kFelt;
using table_style::kFeltDark;
using table_style::kTurn;
using table_style::kWood;
using table_style::UiFont;
using table_style::WindName;

void TableView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(rect(), QColor(0xe4, 0xe2, 0xdc));
    p.fillRect(g_.table, kFelt);
    p.fillRect(g_.handStrip, kWood);
    // The turn seat's card gets a frame.
    if (hasView_ && view_.phase != riichi::Phase::Over) {
        QRect card = cards_[Idx(Relative(view_.turn))]->geometry();
        p.setPen(QPen(QColor(0xd4, 0x9a, 0x10), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(card.adjusted(-2, -2, 1, 1));
    }
    if (!hasView_) return;
    for (int seat = 0; seat < Players(); ++seat) PaintSeatFrame(p, seat);
    PaintCentre(p);
    // Own melds at the right end of the hand strip, the norths set aside
    // beside them.
    double mh = g_.handH * 0.82;
    double mw = TilePainter::WidthFor(mh);
    double meldBottom = g_.handStrip.bottom() - (g_.handStrip.height() - mh) / 2;
    double left =
        PaintMelds(p, view_.melds[Idx(view_.seat)], view_.seat, g_.handStrip.right() - 8, meldBottom, mw, mh);
    PaintNorths(p, view_.north[Idx(view_.seat)], left, meldBottom, mw, mh);
    QString waits = waitsText();
    if (!waits.isEmpty()) {
        p.setFont(UiFont(std::max(12.0, g_.riverW * 0.55), true));
        QRectF box(4, g_.table.bottom() - g_.riverW * 1.1, g_.table.width() * 0.6, g_.riverW);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawRoundedRect(box.adjusted(0, 0, 0, 0), 4, 4);
        p.setPen(QColor(0xff, 0xf4, 0xc0));
        p.drawText(box.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, waits);
    }
}

void TableView::PaintSeatFrame(QPainter& p, int seat) const {
    static const double angles[] = {0, -90, 180, 90};
    int rel = Relative(seat);
    p.save();
    p.translate(g_.table.center());
    p.rotate(angles[rel]);
    PaintRiver(p, seat);
    if (rel != 0) PaintOtherHand(p, seat);
    p.restore();
}

void TableView::PaintRiver(QPainter& p, int seat) const {
    const auto& river = view_.rivers[Idx(seat)];
    double w = g_.riverW, h = g_.riverH;
    double c = 3.2 * w;
    double top = c + 0.15 * w;
    std::array<double, 3> x{-3 * w, -3 * w, -3 * w};
    bool lastClaimable = view_.phase == riichi::Phase::Claims && view_.turn == seat && !view_.claimIsKan &&
                         !view_.claimIsNorth;
    for (std::size_t i = 0; i < river.size(); ++i) {
        int row = std::min(static_cast<int>(i) / 6, 2);
        double y = top + row * h;
        const riichi::RiverTile& rt = river[i];
        QRectF where;
        if (rt.riichi) {
            where = QRectF(x[Idx(row)], y + h - w, h, w);
            p.save();
            p.translate(where.center());
            p.rotate(-90);
            painter_.Face(p, QRectF(-w / 2, -h / 2, w, h), rt.tile, rt.called);
            p.restore();
            x[Idx(row)] += h;
        } else {
            where = QRectF(x[Idx(row)], y, w, h);
            painter_.Face(p, where, rt.tile, rt.called);
            x[Idx(row)] += w;
        }
        if (lastClaimable && i + 1 == river.size()) {
            p.setPen(QPen(QColor(0xff, 0x40, 0x30), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(where.adjusted(-1, -1, 1, 1), 3, 3);
        }
    }
}

void TableView::PaintOtherHand(QPainter& p, int seat) const {
    double T = g_.table.width();
    double oh = g_.riverH * 0.88;
    double ow = TilePainter::WidthFor(oh);
    double bottom = T / 2 - 0.12 * g_.riverW;
    double left = -T / 2 + oh + 0.3 * g_.riverW;
    const auto& open = openHands_[Idx(seat)];
    if (!open.empty()) {
        for (std::size_t i = 0; i < open.size(); ++i)
            painter_.Face(p, QRectF(left + static_cast<double>(i) * ow, bottom - oh, ow, oh), open[i], false);
    } else {
        int count = view_.concealedCount[Idx(seat)];
        for (int i = 0; i < count; ++i) painter_.Back(p, QRectF(left + i * ow, bottom - oh, ow, oh));
    }
    double meldsLeft =
        PaintMelds(p, view_.melds[Idx(seat)], seat, T / 2 - oh - 0.3 * g_.riverW, bottom, ow, oh);
    // A north just set aside that may be won on is marked as a claimable discard is.
    bool claimable = view_.phase == riichi::Phase::Claims && view_.turn == seat && view_.claimIsNorth;
    PaintNorths(p, view_.north[Idx(seat)], meldsLeft, bottom, ow, oh);
    if (claimable && !view_.north[Idx(seat)].empty()) {
        p.setPen(QPen(QColor(0xff, 0x40, 0x30), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(meldsLeft - ow - 1, bottom - oh - 1, ow + 2, oh + 2), 3, 3);
    }
}

double TableView::PaintNorths(QPainter& p, const std::vector<TileId>& norths, double right, double bottom,
                              double w, double h) const {
    if (norths.empty()) return right;
    double x = right - w * static_cast<double>(norths.size());
    // A thin frame keeps them apart from the melds: they are no meld.
    p.setPen(QPen(QColor(0xf0, 0xd0, 0x60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(x - 2, bottom - h - 2, right - x + 4, h + 4), 3, 3);
    for (std::size_t i = 0; i < norths.size(); ++i)
        painter_.Face(p, QRectF(x + static_cast<double>(i) * w, bottom - h, w, h), norths[i]);
    return x - w * 0.25;
}

double TableView::PaintMelds(QPainter& p, const std::vector<Meld>& melds, int owner, double right,
                             double bottom, double w, double h) const {
    double x = right;
    for (auto it = melds.rbegin(); it != melds.rend(); ++it) {
        const Meld& m = *it;
        std::vector<TileId> tiles;
        for (int i = 0; i < m.size; ++i)
            if (m.tiles[Idx(i)] >= 0 && m.tiles[Idx(i)] != m.called) tiles.push_back(m.tiles[Idx(i)]);
        std::sort(tiles.begin(), tiles.end());
        // Where the called tile lies: left from the seat on the left, in the
        // middle from across, right from the seat on the right.
        int sideways = -1;
        TileId added = -1;
        if (m.type == MeldType::AddedKan && !tiles.empty()) {
            added = tiles.back();
            tiles.pop_back();
        }
        if (m.called >= 0) {
            int from = table_style::RelativeSeat(m.from, owner, Players());
            sideways = from == 3 ? 0 : from == 2 ? 1 : static_cast<int>(tiles.size());
            tiles.insert(tiles.begin() + sideways, m.called);
        }
        double width = 0;
        for (std::size_t i = 0; i < tiles.size(); ++i) width += static_cast<int>(i) == sideways ? h : w;
        x -= width;
        double tx = x;
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            if (static_cast<int>(i) == sideways) {
                for (int layer = 0; layer < (added >= 0 ? 2 : 1); ++layer) {
                    p.save();
                    p.translate(tx + h / 2, bottom - w / 2 - layer * w);
                    p.rotate(-90);
                    painter_.Face(p, QRectF(-w / 2, -h / 2, w, h), layer == 0 ? tiles[i] : added);
                    p.restore();
                }
                tx += h;
            } else {
                bool hidden = m.type == MeldType::ClosedKan && (i == 0 || i + 1 == tiles.size());
                QRectF r(tx, bottom - h, w, h);
                if (hidden)
                    painter_.Back(p, r);
                else
                    painter_.Face(p, r, tiles[i]);
                tx += w;
            }
        }
        x -= w * 0.25;
    }
    return x;
}

void TableView::PaintCentre(QPainter& p) const {
    double w = g_.riverW;
    double c = 3.2 * w;
    QPointF centre = g_.table.center();
    QRectF box(centre.x() - c + 2, centre.y() - c + 2, 2 * c - 4, 2 * c - 4);
    p.setPen(QPen(QColor(0x0c, 0x2c, 0x1a), 2));
    p.setBrush(kFeltDark);
    p.drawRoundedRect(box, 6, 6);

    // Along each side of the box: the seat's wind and score, its riichi stick.
    static const double angles[] = {0, -90, 180, 90};
    double textH = std::max(10.0, w * 0.52);
    for (int seat = 0; seat < Players(); ++seat) {
        p.save();
        p.translate(centre);
        p.rotate(angles[Relative(seat)]);
        bool turn = view_.phase != riichi::Phase::Over && view_.turn == seat;
        Kind wind = table_style::SeatWind(seat, view_.dealer, Players());
        QRectF line(-c + 4, c - textH - 5, 2 * c - 8, textH + 2);
        p.setFont(UiFont(textH, true));
        p.setPen(turn ? kTurn : QColor(0xe8, 0xe8, 0xe0));
        p.drawText(line, Qt::AlignCenter, WindName(wind) + " " + QString::number(view_.scores[Idx(seat)]));
        if (turn) {
            p.setPen(Qt::NoPen);
            p.setBrush(kTurn);
            p.drawRect(QRectF(-c * 0.6, c - 4, c * 1.2, 2));
        }
        if (view_.riichi[Idx(seat)]) {
            QRectF stick(-w * 1.4, c - textH - 5 - w * 0.3, w * 2.8, w * 0.2);
            p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
            p.setBrush(Qt::white);
            p.drawRoundedRect(stick, 2, 2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xc8, 0x14, 0x1e));
            p.drawEllipse(stick.center(), w * 0.09, w * 0.09);
        }
        p.restore();
    }

    // The round, honba and sticks, tiles left and the dora indicators.
    QRectF inner = box.adjusted(textH + 8, textH + 8, -(textH + 8), -(textH + 8));
    static const char* rounds[] = {"東", "南", "西", "北"};
    int roundIndex = std::clamp(static_cast<int>(view_.roundWind - riichi::kEast), 0, 3);
    QString round =
        QString::fromUtf8(rounds[roundIndex]) + QString::number(view_.dealer + 1) + QString::fromUtf8("局");
    double dh = w * 0.95;
    double dw = TilePainter::WidthFor(dh);
    double lineH = (inner.height() - dh) / 3;
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.setFont(UiFont(std::min(lineH * 0.95, w * 0.8), true));
    p.drawText(QRectF(inner.left(), inner.top(), inner.width(), lineH), Qt::AlignCenter, round);
    p.setFont(UiFont(std::min(lineH * 0.8, w * 0.5)));
    p.setPen(QColor(0xe0, 0xe0, 0xd0));
    p.drawText(QRectF(inner.left(), inner.top() + lineH, inner.width(), lineH), Qt::AlignCenter,
               QString::fromUtf8("%1本場  供託%2").arg(view_.honba).arg(view_.sticks));
    double doraY = inner.top() + 2 * lineH;
    double doraX = inner.center().x() - dw * 2.5;
    for (int i = 0; i < 5; ++i) {
        QRectF r(doraX + i * dw, doraY, dw, dh);
        if (i < static_cast<int>(view_.doraIndicators.size()))
            painter_.Face(p, r, view_.doraIndicators[Idx(i)]);
        else
            painter_.Back(p, r);
    }
    p.setPen(QColor(0xe0, 0xe0, 0xd0));
    p.drawText(QRectF(inner.left(), doraY + dh, inner.width(), lineH), Qt::AlignCenter,
               QString::fromUtf8("残り %1").arg(view_.liveTiles));
}

}  // namespace zv::board
