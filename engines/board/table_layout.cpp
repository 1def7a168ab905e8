// Where the table view's parts go for its size: the table square, the hand
// strip, the seat cards and the action buttons.
#include "board/table_view.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "board/table_style.h"

namespace zv::board {

using table_style::Idx;
using table_style::UiFont;

namespace {

double HandHeight(double H) { return std::clamp(std::floor(H * 0.095), 36.0, 64.0); }
double StripHeight(double H) { return HandHeight(H) + 14; }
double TableSide(double W, double H) { return std::floor(std::min(H - StripHeight(H), W * 0.66)); }

}  // namespace

void TableView::resizeEvent(QResizeEvent*) { Layout(); }

int TableView::HeightFor(int width) {
    double side = std::floor(width * 0.66);
    double H = side + StripHeight(side);
    while (TableSide(width, H) < side) ++H;  // the strip grows a little with the height
    return static_cast<int>(H);
}

void TableView::Layout() {
    double W = width(), H = height();
    g_.handH = HandHeight(H);
    g_.handW = std::floor(TilePainter::WidthFor(g_.handH));
    double stripH = StripHeight(H);
    g_.handStrip = QRectF(0, H - stripH, W, stripH);
    double T = TableSide(W, H);
    g_.table = QRectF(0, 0, T, T);
    g_.riverW = T / 17.7;
    g_.riverH = g_.riverW / 0.74;
    g_.side = QRectF(T, 0, W - T, H - stripH);

    // The hand: tiles from the left, the drawn one set apart.
    double x = 8;
    double tileH = g_.handH + std::round(g_.handH * 0.12);
    double y = g_.handStrip.top() + (stripH - tileH) / 2;
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (view_.drawn >= 0 && i + 1 == tiles_.size()) x += g_.handW * 0.4;
        tiles_[i]->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(g_.handW),
                               static_cast<int>(tileH));
        x += g_.handW;
    }

    // Seat cards in the side panel: across, left, right, own; the buttons below.
    double buttonH = std::max(30.0, g_.handH * 0.7);
    double toggleH = toggles_.empty() ? 0.0 : std::clamp(std::floor(g_.handH * 0.5), 22.0, 30.0);
    double buttonsArea = buttonH * 2 + 18 + (toggles_.empty() ? 0.0 : toggleH + 6);
    // With three players the seat across is empty and has no row.
    const bool three = Players() == 3;
    double cardH = std::floor((g_.side.height() - buttonsArea - 6) / Players());
    double face = std::clamp(cardH - 10, 24.0, 80.0);
    const int order[] = {2, 3, 1, 0};
    for (int row = 0, shown = 0; row < 4; ++row) {
        int rel = order[row];
        if (three && rel == 2) continue;
        const int slot = shown++;
        QWidget* card = cards_[Idx(rel)];
        card->setGeometry(static_cast<int>(g_.side.left() + 6), static_cast<int>(4 + slot * cardH),
                          static_cast<int>(g_.side.width() - 10), static_cast<int>(cardH - 4));
        cardFaces_[Idx(rel)]->setGeometry(4, static_cast<int>((cardH - 4 - face) / 2), static_cast<int>(face),
                                          static_cast<int>(face));
        int textX = static_cast<int>(face + 10);
        int textW = card->width() - textX - 4;
        int lineH = static_cast<int>((cardH - 8) / 2);
        cardNames_[Idx(rel)]->setGeometry(textX, 4, textW, lineH);
        cardScores_[Idx(rel)]->setGeometry(textX, 4 + lineH, textW, lineH);
        QFont nameFont = UiFont(std::clamp(cardH * 0.2, 12.0, 18.0), true);
        cardNames_[Idx(rel)]->setFont(nameFont);
        cardScores_[Idx(rel)]->setFont(UiFont(std::clamp(cardH * 0.19, 12.0, 17.0)));
    }
    // Buttons: right-aligned rows at the bottom of the side panel, bottom up.
    double right = W - 6;
    double rowY = g_.side.bottom() - buttonH - 6 - (toggles_.empty() ? 0.0 : toggleH + 4);
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        QPushButton* b = *it;
        double bw = std::max(72.0, static_cast<double>(b->sizeHint().width()) + 8);
        if (right - bw < g_.side.left() + 4) {
            right = W - 6;
            rowY -= buttonH + 6;
        }
        b->setGeometry(static_cast<int>(right - bw), static_cast<int>(rowY), static_cast<int>(bw),
                       static_cast<int>(buttonH));
        b->raise();
        right -= bw + 6;
    }
    LayoutToggles(toggleH);
    LayoutReadableAreas();
    update();
}

void TableView::LayoutToggles(double toggleH) {
    // The toggles: one row at the foot of the side panel, beside the hand.
    if (toggles_.empty()) return;
    double gap = 4;
    double w = (g_.side.width() - 10 - gap * static_cast<double>(toggles_.size() - 1)) /
               static_cast<double>(toggles_.size());
    double x = g_.side.left() + 6;
    double y = g_.side.bottom() - toggleH - 2;
    QFont font = UiFont(std::clamp(toggleH * 0.5, 11.0, 14.0));
    for (QAbstractButton* b : toggles_) {
        b->setFont(font);
        b->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                       static_cast<int>(toggleH));
        x += w + gap;
    }
}

void TableView::LayoutReadableAreas() {
    // Rough places of the painted parts: enough for a tool to point at them.
    double T = g_.table.width();
    double band = g_.riverH * 4;
    const QRectF rivers[] = {
        QRectF(T / 2 - 3.2 * g_.riverW, T / 2 + 3.2 * g_.riverW, 6.4 * g_.riverW, band),
        QRectF(T / 2 + 3.2 * g_.riverW, T / 2 - 3.2 * g_.riverW, band, 6.4 * g_.riverW),
        QRectF(T / 2 - 3.2 * g_.riverW, T / 2 - 3.2 * g_.riverW - band, 6.4 * g_.riverW, band),
        QRectF(T / 2 - 3.2 * g_.riverW - band, T / 2 - 3.2 * g_.riverW, band, 6.4 * g_.riverW)};
    const QRectF melds[] = {QRectF(g_.handStrip.right() - 4 * g_.handW * 3, g_.handStrip.top(),
                                   4 * g_.handW * 3, g_.handStrip.height()),
                            QRectF(T - g_.riverH * 2, T / 2, g_.riverH * 2, T / 2),
                            QRectF(0, 0, T / 2, g_.riverH * 2), QRectF(0, T / 2, g_.riverH * 2, T / 2)};
    for (std::size_t i = 0; i < 4; ++i) {
        riverAreas_[i]->setGeometry(rivers[i].toRect());
        meldAreas_[i]->setGeometry(melds[i].toRect());
    }
    QRect waits(4, static_cast<int>(g_.table.bottom() - g_.riverW * 1.1), static_cast<int>(T * 0.6),
                static_cast<int>(g_.riverW));
    waitsArea_->setGeometry(waits);
    furitenArea_->setGeometry(waits);
}

}  // namespace zv::board
