#pragma once
#include <QAbstractButton>

#include "board/tile_painter.h"
#include "riichi/table.h"

namespace zv::board {

// One tile of the player's hand: a button that paints the tile, takes the
// keyboard focus (arrow keys move along the hand, Enter or Space discards)
// and is named after its tile for assistive tools.
class HandTile : public QAbstractButton {
public:
    HandTile(const TilePainter& painter, QWidget* parent);
    void SetTile(riichi::TileId tile);
    riichi::TileId tile() const { return tile_; }
    // Dimmed while it is the player's turn but this tile may not be played.
    void SetDimmed(bool dimmed);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TilePainter& painter_;
    riichi::TileId tile_ = -1;
    bool dimmed_ = false;
};

}  // namespace zv::board
