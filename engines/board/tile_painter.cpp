#include "board/tile_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

namespace zv::board {
namespace {

using riichi::Kind;
using riichi::TileId;

const QColor kIvory(0xfb, 0xf8, 0xee);
const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kRed(0xc8, 0x14, 0x1e);
const QColor kGreen(0x10, 0x80, 0x3c);
const QColor kBlue(0x1c, 0x3c, 0x9c);
const QColor kBackGreen(0x1f, 0x6e, 0x4a);
const QColor kBackOrange(0xe0, 0x8a, 0x2c);

const char* const kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const kHonours[] = {"東", "南", "西", "北", "白", "發", "中"};
const char* const kSuitNames[] = {"萬", "筒", "索"};

struct Dot {
    double x, y;
    int colour;  // 0 blue, 1 green, 2 red
};

QColor DotColour(int colour, bool red) {
    if (red) return kRed;
    return colour == 0 ? kBlue : colour == 1 ? kGreen : kRed;
}

// Where the circles of 2..9 circles sit in the face (fractions of its width
// and height) and how large they are (fraction of the face width).
struct CirclePattern {
    double radius;
    std::vector<Dot> dots;
};

const CirclePattern& CirclesOf(int number) {
    static const std::array<CirclePattern, 10> patterns = {{
        {0, {}},
        {0.40, {{0.5, 0.5, 2}}},
        {0.22, {{0.5, 0.27, 1}, {0.5, 0.73, 0}}},
        {0.19, {{0.24, 0.2, 0}, {0.5, 0.5, 2}, {0.76, 0.8, 1}}},
        {0.19, {{0.28, 0.27, 0}, {0.72, 0.27, 1}, {0.28, 0.73, 1}, {0.72, 0.73, 0}}},
        {0.17, {{0.26, 0.2, 0}, {0.74, 0.2, 1}, {0.5, 0.5, 2}, {0.26, 0.8, 1}, {0.74, 0.8, 0}}},
        {0.16,
         {{0.29, 0.17, 1},
          {0.71, 0.17, 1},
          {0.29, 0.55, 2},
          {0.71, 0.55, 2},
          {0.29, 0.83, 2},
          {0.71, 0.83, 2}}},
        {0.14,
         {{0.2, 0.11, 1},
          {0.5, 0.21, 1},
          {0.8, 0.31, 1},
          {0.3, 0.59, 2},
          {0.7, 0.59, 2},
          {0.3, 0.86, 2},
          {0.7, 0.86, 2}}},
        {0.15,
         {{0.29, 0.13, 0},
          {0.71, 0.13, 0},
          {0.29, 0.38, 0},
          {0.71, 0.38, 0},
          {0.29, 0.62, 0},
          {0.71, 0.62, 0},
          {0.29, 0.87, 0},
          {0.71, 0.87, 0}}},
        {0.14,
         {{0.2, 0.17, 0},
          {0.5, 0.17, 0},
          {0.8, 0.17, 0},
          {0.2, 0.5, 2},
          {0.5, 0.5, 2},
          {0.8, 0.5, 2},
          {0.2, 0.83, 1},
          {0.5, 0.83, 1},
          {0.8, 0.83, 1}}},
    }};
    return patterns[static_cast<std::size_t>(std::clamp(number, 0, 9))];
}

// Bamboo sticks: centre (fractions), the stick's length (fraction of the
// face height) and whether it is the red one of the pattern.
struct Stick {
    double x, y;
    bool red;
};

struct StickPattern {
    double length;
    std::vector<Stick> sticks;
};

const StickPattern& SticksOf(int number) {
    static const std::array<StickPattern, 10> patterns = {{
        {0, {}},
        {0, {}},
        {0.40, {{0.5, 0.27, false}, {0.5, 0.73, false}}},
        {0.40, {{0.5, 0.27, false}, {0.28, 0.73, false}, {0.72, 0.73, false}}},
        {0.40, {{0.28, 0.27, false}, {0.72, 0.27, false}, {0.28, 0.73, false}, {0.72, 0.73, false}}},
        {0.40,
         {{0.22, 0.27, false},
          {0.78, 0.27, false},
          {0.5, 0.5, true},
          {0.22, 0.73, false},
          {0.78, 0.73, false}}},
        {0.40,
         {{0.2, 0.27, false},
          {0.5, 0.27, false},
          {0.8, 0.27, false},
          {0.2, 0.73, false},
          {0.5, 0.73, false},
          {0.8, 0.73, false}}},
        {0.28,
         {{0.5, 0.16, true},
          {0.2, 0.5, false},
          {0.5, 0.5, false},
          {0.8, 0.5, false},
          {0.2, 0.84, false},
          {0.5, 0.84, false},
          {0.8, 0.84, false}}},
        {0.40,
         {{0.14, 0.27, false},
          {0.38, 0.27, false},
          {0.62, 0.27, false},
          {0.86, 0.27, false},
          {0.14, 0.73, false},
          {0.38, 0.73, false},
          {0.62, 0.73, false},
          {0.86, 0.73, false}}},
        {0.28,
         {{0.2, 0.16, false},
          {0.5, 0.16, true},
          {0.8, 0.16, false},
          {0.2, 0.5, false},
          {0.5, 0.5, true},
          {0.8, 0.5, false},
          {0.2, 0.84, false},
          {0.5, 0.84, true},
          {0.8, 0.84, false}}},
    }};
    return patterns[static_cast<std::size_t>(std::clamp(number, 0, 9))];
}

}  // namespace

TilePainter::TilePainter(TileLook look) : look_(look) {}

QFont TilePainter::GlyphFont(double pixels) const {
    QFont font(look_ == TileLook::Real ? "IPAMincho" : "IPAGothic");
    font.setPixelSize(std::max(4, static_cast<int>(pixels)));
    if (look_ == TileLook::Flat) font.setBold(true);
    return font;
}

void TilePainter::Body(QPainter& painter, const QRectF& rect, bool dim, bool redFive) const {
    double radius = rect.width() * 0.12;
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    if (look_ == TileLook::Flat) {
        // A red five's face is tinted so that it stands out in a row of tiles.
        painter.setBrush(dim ? QColor(0xd8, 0xd6, 0xcf) : redFive ? QColor(0xff, 0xe4, 0xe0) : kIvory);
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        return;
    }
    // The real look: the coloured back shows as the tile's thickness at the
    // bottom; the face is lit from the top left.
    painter.setBrush(kBackGreen);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QRectF face = rect.adjusted(0.5, 0.5, -0.5, -rect.height() * 0.1);
    QLinearGradient light(face.topLeft(), face.bottomRight());
    light.setColorAt(0, dim ? QColor(0xe0, 0xdd, 0xd4) : QColor(0xff, 0xff, 0xfb));
    light.setColorAt(1, dim       ? QColor(0xbc, 0xb8, 0xac)
                        : redFive ? QColor(0xf0, 0xcf, 0xc8)
                                  : QColor(0xe6, 0xdf, 0xca));
    painter.setBrush(light);
    painter.drawRoundedRect(face, radius, radius);
    // Bevel: a bright line along the top and left, a shadow inside the
    // bottom and right.
    QRectF inner = face.adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(QPen(QColor(0, 0, 0, 50), 1));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

void TilePainter::Face(QPainter& painter, const QRectF& rect, TileId tile, bool dim) const {
    if (tile < 0 || tile >= riichi::kTiles) {
        Back(painter, rect);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    Body(painter, rect, dim, riichi::IsRedFive(tile));
    double bottom = look_ == TileLook::Real ? rect.height() * 0.1 : 0;
    QRectF face = rect.adjusted(rect.width() * 0.1, rect.height() * 0.07, -rect.width() * 0.1,
                                -rect.height() * 0.07 - bottom);
    Kind kind = riichi::KindOf(tile);
    bool red = riichi::IsRedFive(tile);
    int suit = riichi::SuitOf(kind);
    int number = riichi::NumberOf(kind);
    if (suit == 0)
        Numbers(painter, face, kind, red);
    else if (suit == 1)
        Circles(painter, face, number, red);
    else if (suit == 2)
        Bamboo(painter, face, number, red);
    else
        Honour(painter, face, kind);
    if (dim) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(90, 90, 90, 90));
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), rect.width() * 0.12,
                                rect.width() * 0.12);
    }
    painter.restore();
}

void TilePainter::Back(QPainter& painter, const QRectF& rect) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    double radius = rect.width() * 0.12;
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
    if (look_ == TileLook::Flat) {
        painter.setBrush(kBackGreen);
    } else {
        QLinearGradient light(rect.topLeft(), rect.bottomRight());
        light.setColorAt(0, kBackOrange.lighter(125));
        light.setColorAt(1, kBackOrange.darker(125));
        painter.setBrush(light);
    }
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void TilePainter::Numbers(QPainter& painter, const QRectF& face, Kind kind, bool red) const {
    QRectF top(face.left(), face.top(), face.width(), face.height() * 0.46);
    QRectF bottom(face.left(), face.top() + face.height() * 0.44, face.width(), face.height() * 0.56);
    double size = std::min(face.width() * 0.95, face.height() * 0.44);
    painter.setFont(GlyphFont(size));
    painter.setPen(red ? kRed : kInk);
    painter.drawText(top, Qt::AlignCenter, QString::fromUtf8(kNumerals[riichi::NumberOf(kind) - 1]));
    painter.setFont(GlyphFont(std::min(face.width() * 1.0, face.height() * 0.5)));
    painter.setPen(kRed);
    painter.drawText(bottom, Qt::AlignCenter, QString::fromUtf8(kSuitNames[0]));
}

void TilePainter::Circles(QPainter& painter, const QRectF& face, int number, bool red) const {
    const CirclePattern& pattern = CirclesOf(number);
    double r = pattern.radius * face.width();
    for (const Dot& dot : pattern.dots) {
        QPointF centre(face.left() + dot.x * face.width(), face.top() + dot.y * face.height());
        QColor colour = DotColour(dot.colour, red);
        if (number == 1 && !red) {
            // The one of circles: rings of green, blue and red.
            painter.setPen(Qt::NoPen);
            painter.setBrush(kGreen);
            painter.drawEllipse(centre, r, r);
            painter.setBrush(kIvory);
            painter.drawEllipse(centre, r * 0.8, r * 0.8);
            painter.setBrush(kBlue);
            painter.drawEllipse(centre, r * 0.62, r * 0.62);
            painter.setBrush(kIvory);
            painter.drawEllipse(centre, r * 0.42, r * 0.42);
            painter.setBrush(kRed);
            painter.drawEllipse(centre, r * 0.28, r * 0.28);
            continue;
        }
        painter.setPen(QPen(colour, std::max(1.0, r * 0.32)));
        painter.setBrush(kIvory);
        painter.drawEllipse(centre, r * 0.84, r * 0.84);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(centre, r * 0.34, r * 0.34);
    }
}

void TilePainter::Bamboo(QPainter& painter, const QRectF& face, int number, bool red) const {
    if (number == 1) {
        // The one of bamboo: a single tall stick with a red crest.
        double w = face.width() * 0.3;
        QRectF stick(face.center().x() - w / 2, face.top() + face.height() * 0.2, w, face.height() * 0.76);
        painter.setPen(Qt::NoPen);
        painter.setBrush(red ? kRed : kGreen);
        painter.drawRoundedRect(stick, w / 2, w / 2);
        painter.setBrush(kIvory);
        for (double f : {0.33, 0.66})
            painter.drawRect(
                QRectF(stick.left(), stick.top() + stick.height() * f, w, std::max(1.0, w * 0.15)));
        painter.setBrush(kRed);
        painter.drawEllipse(QPointF(face.center().x(), face.top() + face.height() * 0.12), w * 0.55,
                            w * 0.55);
        return;
    }
    const StickPattern& pattern = SticksOf(number);
    double length = pattern.length * face.height();
    double width = std::max(2.0, face.width() * (number == 8 ? 0.13 : 0.16));
    for (const Stick& s : pattern.sticks) {
        QPointF centre(face.left() + s.x * face.width(), face.top() + s.y * face.height());
        QRectF stick(centre.x() - width / 2, centre.y() - length / 2, width, length);
        painter.setPen(Qt::NoPen);
        painter.setBrush(red || s.red ? kRed : kGreen);
        painter.drawRoundedRect(stick, width / 2, width / 2);
        painter.setBrush(kIvory);
        painter.drawRect(QRectF(stick.left(), centre.y() - 0.5, width, std::max(1.0, width * 0.18)));
    }
}

void TilePainter::Honour(QPainter& painter, const QRectF& face, Kind kind) const {
    if (kind == riichi::kWhite) {
        if (look_ == TileLook::Flat) {
            // White dragon: an empty frame.
            QRectF frame = face.adjusted(face.width() * 0.08, face.height() * 0.1, -face.width() * 0.08,
                                         -face.height() * 0.1);
            painter.setPen(QPen(kBlue, std::max(1.5, face.width() * 0.08)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame);
        }
        return;
    }
    double size = std::min(face.width() * 1.0, face.height() * 0.66);
    painter.setFont(GlyphFont(size));
    painter.setPen(kind == riichi::kGreen ? kGreen : kind == riichi::kRed ? kRed : kInk);
    painter.drawText(face, Qt::AlignCenter, QString::fromUtf8(kHonours[kind - riichi::kEast]));
}

QPixmap TilePainter::Row(const std::vector<TileId>& tiles, int height, const std::vector<int>& gaps) const {
    double w = WidthFor(height);
    double gap = w * 0.35;
    double total = w * static_cast<double>(tiles.size()) + gap * static_cast<double>(gaps.size());
    QPixmap pixmap(std::max(1, static_cast<int>(total + 1)), height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    double x = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (std::find(gaps.begin(), gaps.end(), static_cast<int>(i)) != gaps.end()) x += gap;
        Face(painter, QRectF(x, 0, w, height), tiles[i]);
        x += w;
    }
    return pixmap;
}

QString KindSpokenName(Kind kind) {
    if (kind < 0 || kind >= riichi::kKinds) return "?";
    if (riichi::IsHonor(kind)) return QString::fromUtf8(kHonours[kind - riichi::kEast]);
    return QString::number(riichi::NumberOf(kind)) + QString::fromUtf8(kSuitNames[riichi::SuitOf(kind)]);
}

QString TileSpokenName(TileId tile) {
    if (tile < 0 || tile >= riichi::kTiles) return "?";
    QString name = KindSpokenName(riichi::KindOf(tile));
    return riichi::IsRedFive(tile) ? QString::fromUtf8("赤") + name : name;
}

}  // namespace zv::board
