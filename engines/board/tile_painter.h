#pragma once
// Drawing mahjong tiles with QPainter: the faces of all 34 kinds (red fives
// in red, on a tinted face) and the backs, in two looks: flat simple tiles,
// or real-looking ones with a shaded, bevelled body. Every
// tile is drawn upright into the rectangle given; callers rotate the painter
// for tiles lying sideways or seen from another seat.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <vector>

#include "riichi/tile.h"

class QPainter;

namespace zv::board {

enum class TileLook { Flat, Real };

class TilePainter {
public:
    explicit TilePainter(TileLook look = TileLook::Flat);

    TileLook look() const { return look_; }
    // The face of `tile` (0..135). `dim` greys it (a tile that may not be
    // played now); `lifted` is drawn with a light edge (the focused tile).
    void Face(QPainter& painter, const QRectF& rect, riichi::TileId tile, bool dim = false) const;
    void Back(QPainter& painter, const QRectF& rect) const;

    // A row of faces `height` pixels high, with small gaps where `gaps`
    // says (a gap before the tile of that index). For the result panel.
    QPixmap Row(const std::vector<riichi::TileId>& tiles, int height,
                const std::vector<int>& gaps = {}) const;

    // The width of a tile for a given height (the tiles' proportions).
    static double WidthFor(double height) { return height * 0.74; }

private:
    void Body(QPainter& painter, const QRectF& rect, bool dim, bool redFive) const;
    void Numbers(QPainter& painter, const QRectF& face, riichi::Kind kind, bool red) const;
    void Circles(QPainter& painter, const QRectF& face, int number, bool red) const;
    void Bamboo(QPainter& painter, const QRectF& face, int number, bool red) const;
    void Honour(QPainter& painter, const QRectF& face, riichi::Kind kind) const;
    QFont GlyphFont(double pixels) const;

    TileLook look_;
};

// The name of a tile as a player says it: "5萬", "赤5筒", "3索", "東", "白".
QString TileSpokenName(riichi::TileId tile);
// The name of a kind: "5萬", "東".
QString KindSpokenName(riichi::Kind kind);

}  // namespace zv::board
