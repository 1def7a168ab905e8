#include "board/hand_tile.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "board/table_style.h"
#include "board/table_view.h"

namespace zv::board {

using riichi::TileId;
using table_style::Idx;
using table_style::kTurn;

HandTile::HandTile(const TilePainter& painter, QWidget* parent) : QAbstractButton(parent), painter_(painter) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setObjectName("HandTile");
}

void HandTile::SetTile(TileId tile) {
    tile_ = tile;
    setAccessibleName(TileSpokenName(tile));
    setText(TileSpokenName(tile));
    update();
}

void HandTile::SetDimmed(bool dimmed) {
    dimmed_ = dimmed;
    update();
}

QSize HandTile::sizeHint() const { return size(); }

void HandTile::paintEvent(QPaintEvent*) {
    QPainter p(this);
    double lift = height() * 0.12;
    bool raised = isEnabled() && (hasFocus() || underMouse());
    QRectF rect(0, raised ? 0 : lift, width(), height() - lift);
    painter_.Face(p, rect, tile_, dimmed_);
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kTurn, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(rect.adjusted(1, 1, -1, -1), width() * 0.12, width() * 0.12);
    }
}

void HandTile::keyPressEvent(QKeyEvent* event) {
    auto* table = dynamic_cast<TableView*>(parentWidget());
    if (table != nullptr && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        auto tiles = table->handTiles();
        auto it = std::find(tiles.begin(), tiles.end(), this);
        if (it != tiles.end()) {
            long i = it - tiles.begin() + (event->key() == Qt::Key_Left ? -1 : 1);
            long n = static_cast<long>(tiles.size());
            tiles[Idx(static_cast<int>((i + n) % n))]->setFocus(Qt::TabFocusReason);
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (isEnabled()) click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace zv::board
